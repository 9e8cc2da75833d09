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
  EXPECT_EQ(Cp1252ToUtf8("BaseDonn\xE9" "esPilotes.bd"), "BaseDonn\xC3\xA9" "esPilotes.bd");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
  EXPECT_EQ(Cp1252ToUtf16("R\xE9glages"), u"R\u00E9glages");
}

TEST(Codepage, InvalidOrUnmappableUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");           // truncated sequence
  EXPECT_EQ(Utf8ToCp1252("\x80z"), "?z");           // stray continuation byte
  EXPECT_EQ(Utf8ToCp1252("\xE6\x97\xA5"), "?");     // a character outside Windows-1252
  EXPECT_EQ(Utf8ToCp1252("\xC3\xA9t\xC3\xA9"), "\xE9t\xE9");
}

}  // namespace
}  // namespace zarvo
