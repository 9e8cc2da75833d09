// Conversions between Windows-1252 and the encodings of the operating system.
#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace zarvo {
namespace {

TEST(Codepage, Windows1252RoundTripsThroughUtf8AndUtf16) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
}

TEST(Codepage, FrenchFileNamesBecomeUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("BaseDonn\xE9"
                         "esPilotes.bd"),
            "BaseDonn\xC3\xA9"
            "esPilotes.bd");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Cp1252ToUtf16("R\xE9glages"), u"R\u00E9glages");
}

TEST(Codepage, InvalidOrUnmappableUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");        // truncated sequence
  EXPECT_EQ(Utf8ToCp1252("\x80z"), "?z");        // stray continuation byte
  EXPECT_EQ(Utf8ToCp1252("\xE6\x97\xA5"), "?");  // a character outside Windows-1252
  EXPECT_EQ(Utf8ToCp1252("\xC3\xA9t\xC3\xA9"), "\xE9t\xE9");
}

// "C:\Zawody Łódź\Łódź Ωμέγα.trng" as the file dialog gives it.
constexpr char16_t kPolishGreek[] =
    u"C:\\Zawody \u0141\u00F3d\u017A\\\u0141\u00F3d\u017A "
    u"\u03A9\u03BC\u03AD\u03B3\u03B1.trng";

TEST(PathText, LettersOutsideWindows1252AreKeptAndComeBackWhole) {
  const std::string path = Utf16ToPath(kPolishGreek);
  // Windows-1252 letters stay single bytes, the others are escaped: the path stays a text the
  // core can cut, compare and append ".trng" to.
  EXPECT_EQ(path,
            "C:\\Zawody \x81"
            "0141\xF3"
            "d\x81"
            "017A\\\x81"
            "0141\xF3"
            "d\x81"
            "017A "
            "\x81"
            "03A9\x81"
            "03BC\x81"
            "03AD\x81"
            "03B3\x81"
            "03B1.trng");
  EXPECT_FALSE(PathIsPlainCp1252(path));
  EXPECT_EQ(Cp1252ToUtf16(path), kPolishGreek);
  EXPECT_EQ(Cp1252ToUtf8(path),
            "C:\\Zawody \xC5\x81\xC3\xB3"
            "d\xC5\xBA\\\xC5\x81\xC3\xB3"
            "d\xC5\xBA "
            "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.trng");
  EXPECT_EQ(Utf8ToPath(Cp1252ToUtf8(path)), path);
}

TEST(PathText, APlainPathIsItsWindows1252Text) {
  const std::u16string french = u"C:\\Program Files\\Zarvo Training\\R\u00E9glages \u20AC.rg";
  EXPECT_EQ(Utf16ToPath(french), "C:\\Program Files\\Zarvo Training\\R\xE9glages \x80.rg");
  EXPECT_TRUE(PathIsPlainCp1252(Utf16ToPath(french)));
  EXPECT_EQ(Utf8ToPath("R\xC3\xA9glages"), "R\xE9glages");
  // A question mark is one, not the stand-in of a letter that did not fit.
  EXPECT_EQ(Utf16ToPath(u"a?b"), "a?b");
}

TEST(PathText, EveryCodeUnitAndSurrogatePairRoundTrips) {
  std::u16string all;
  for (char32_t u = 1; u < 0x10000; ++u) all += static_cast<char16_t>(u);
  EXPECT_EQ(Cp1252ToUtf16(Utf16ToPath(all)), all);
  // U+0081 itself is escaped: a 0x81 byte in a path always starts an escape.
  EXPECT_EQ(Utf16ToPath(u"\u0081"),
            "\x81"
            "0081");
  // A letter beyond the basic plane: two escaped units, one UTF-8 character.
  const std::string emoji = Utf8ToPath("\xF0\x9F\x8F\x81.bmp");
  EXPECT_EQ(emoji,
            "\x81"
            "D83C\x81"
            "DFC1.bmp");
  EXPECT_EQ(Cp1252ToUtf8(emoji), "\xF0\x9F\x8F\x81.bmp");
}

TEST(PathText, ABrokenEscapeIsTakenAsItsBytes) {
  // A 0x81 not followed by four upper-case hexadecimal digits (a cut or foreign text).
  EXPECT_EQ(Cp1252ToUtf16("\x81"
                          "01"),
            u"\u0081"
            u"01");
  EXPECT_EQ(Cp1252ToUtf16("\x81"
                          "01g4x"),
            u"\u0081"
            u"01g4x");
  EXPECT_EQ(Cp1252ToUtf16("\x81"
                          "01a4"),
            u"\u0081"
            u"01a4");
  EXPECT_TRUE(
      PathIsPlainCp1252("\x81"
                        "01"));
}

}  // namespace
}  // namespace zarvo
