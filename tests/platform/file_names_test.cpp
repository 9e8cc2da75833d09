// Which Windows-1252 names are one file for Windows, and the extension of a save dialog's answer.
#include "platform/file_names.h"

#include <gtest/gtest.h>

#include <string>

namespace zarvo {
namespace {

// The letters of Windows-1252 with two forms, upper-case form above its lower-case one.
constexpr char kUpper[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZŠŒŽŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ";
constexpr char kLower[] = "abcdefghijklmnopqrstuvwxyzšœžÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ";

// The other byte of a letter's pair, or the byte itself.
unsigned char Partner(unsigned char b) {
  const std::string upper(kUpper), lower(kLower);
  const size_t u = upper.find(static_cast<char>(b));
  if (u != std::string::npos) return static_cast<unsigned char>(lower[u]);
  const size_t l = lower.find(static_cast<char>(b));
  if (l != std::string::npos) return static_cast<unsigned char>(upper[l]);
  return b;
}

TEST(FileNameCase, OverTheWholeByteRangeExactlyTheLetterPairsAreOneName) {
  static_assert(sizeof kUpper == sizeof kLower, "one lower-case form per letter");
  ASSERT_EQ(std::string(kUpper).size(), 60u);  // 26 + 4 + 30 (× is no letter)
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const std::string x(1, static_cast<char>(a)), y(1, static_cast<char>(b));
      const bool expected = a == b || Partner(static_cast<unsigned char>(a)) == b;
      ASSERT_EQ(SameFileName(x, y), expected) << "bytes " << a << " and " << b;
    }
    // Folding gives the lower-case form, so a folded key sorts and compares like the name.
    const unsigned char partner = Partner(static_cast<unsigned char>(a));
    const char folded = FoldFileNameCase(static_cast<char>(a));
    if (std::string(kUpper).find(static_cast<char>(a)) != std::string::npos) {
      EXPECT_EQ(static_cast<unsigned char>(folded), partner) << a;
    } else {
      EXPECT_EQ(folded, static_cast<char>(a)) << a;
    }
  }
}

TEST(FileNameCase, AccentedNamesThatDifferOnlyByCaseAreOneFile) {
  EXPECT_TRUE(SameFileName("Éric", "éric"));
  EXPECT_TRUE(SameFileName("ŒDIPE Ÿves", "œdipe ÿves"));
  EXPECT_TRUE(SameFileName("Base données runs/ANNA.bdr", "Base DONNÉES runs/anna.BDR"));
  EXPECT_FALSE(SameFileName("Éric", "Eric"));       // an accent is not a case
  EXPECT_FALSE(SameFileName("Straße", "STRASSE"));  // nor is ß two letters
  EXPECT_FALSE(SameFileName("×", "÷"));
  EXPECT_FALSE(SameFileName("Ann", "Anna"));
}

TEST(FileNameExtension, IsAppendedUnlessTheNameHoldsItAnywhereInAnyCase) {
  EXPECT_EQ(WithExtension("C:\\club", ".trng"), "C:\\club.trng");
  EXPECT_EQ(WithExtension("C:\\club.trng", ".trng"), "C:\\club.trng");
  EXPECT_EQ(WithExtension("C:\\CLUB.TRNG", ".trng"), "C:\\CLUB.TRNG");
  EXPECT_EQ(WithExtension("C:\\club.trng.old", ".trng"), "C:\\club.trng.old");
  EXPECT_EQ(WithExtension("C:\\club.v2", ".scrn"), "C:\\club.v2.scrn");
  EXPECT_EQ(WithExtension("C:\\Mine.Scrn", ".scrn"), "C:\\Mine.Scrn");
  EXPECT_EQ(WithExtension("", ".scrn"), ".scrn");
  EXPECT_EQ(WithExtension("C:\\.trn", ".trng"), "C:\\.trn.trng");
}

}  // namespace
}  // namespace zarvo
