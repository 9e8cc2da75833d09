// The display settings file: its exact bytes, reading back what was written, and damaged or
// truncated files that must change nothing.
#include "settings/display_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/files.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

// A complete file as the program writes it.
const std::string kFile =
    "1\t\r\n"
    "Arial\tArial Black\tTahoma\tArial\tArial\tArial\tArial\tArial\tArial\tArial\tArial\t"
    "Courier New\t\r\n"
    "-20\t-27\t-16\t26\t26\t26\t26\t26\t26\t26\t26\t-18\t\r\n"
    "700\t700\t700\t700\t700\t700\t700\t400\t700\t400\t400\t400\t\r\n"
    "0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t0\t0\t\r\n"
    "0\t0\t0\t0\t1\t0\t0\t0\t0\t0\t0\t0\t\r\n"
    "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t\r\n"
    "16777215\t16777215\t16777215\t0\t0\t8388608\t0\t0\t32768\t255\t0\t8421504\t\r\n"
    "13158600\t16777215\t15790320\t7222292\t2039004\t65535\t16744703\t8454016\t7222292\t"
    "11163688\t16777215\t15786465\t9203290\t\r\n"
    "70\t290\t80\t165\t140\t140\t140\t140\t110\t\r\n"
    "0\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14\t16777215\t\r\n";

DisplaySettings ExpectedSettings() {
  DisplaySettings s;
  std::memset(&s, 0, sizeof s);
  s.tableStyle = kStyleRelief;
  const char* faces[kFontSlotCount] = {"Arial", "Arial Black", "Tahoma", "Arial",
                                       "Arial", "Arial",       "Arial",  "Arial",
                                       "Arial", "Arial",       "Arial",  "Courier New"};
  const int32_t sizes[kFontSlotCount] = {-20, -27, -16, 26, 26, 26, 26, 26, 26, 26, 26, -18};
  const int32_t weights[kFontSlotCount] = {700, 700, 700, 700, 700, 700,
                                           700, 400, 700, 400, 400, 400};
  for (int i = 0; i < kFontSlotCount; ++i) {
    SetText(s.fonts[i].faceName, faces[i]);
    s.fonts[i].size = sizes[i];
    s.fonts[i].weight = weights[i];
  }
  s.fonts[9].italic = 1;
  s.fonts[4].underline = 1;
  s.fonts[11].strikeOut = 1;
  const Colour text[kFontSlotCount] = {16777215, 16777215, 16777215, 0, 0, 8388608,
                                       0,        0,        32768,    255, 0, 8421504};
  std::memcpy(s.textColours, text, sizeof text);
  const Colour colours[kColourSlotCount] = {13158600, 16777215, 15790320, 7222292, 2039004,
                                            65535,    16744703, 8454016,  7222292, 11163688,
                                            16777215, 15786465, 9203290};
  std::memcpy(s.colours, colours, sizeof colours);
  const int32_t widths[kColumnCount] = {70, 290, 80, 165, 140, 140, 140, 140, 110};
  std::memcpy(s.columnWidths, widths, sizeof widths);
  return s;
}

CustomColours ExpectedCustom() {
  CustomColours c;
  for (int i = 0; i < kCustomColourCount; ++i) c.colours[i] = Colour(i);
  c.colours[15] = 0xFFFFFF;
  return c;
}

// A record whose every byte is 0x5A, to see that a failed read leaves it alone.
DisplaySettings Untouched() {
  DisplaySettings s;
  std::memset(&s, 0x5A, sizeof s);
  return s;
}

bool SameRecord(const DisplaySettings& a, const DisplaySettings& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

TEST(DisplaySettingsFile, WritesElevenLinesEachValueFollowedByATab) {
  EXPECT_EQ(FormatDisplaySettings(ExpectedSettings(), ExpectedCustom()), kFile);
}

TEST(DisplaySettingsFile, ReadsEveryValueOfACompleteFile) {
  DisplaySettings s;
  std::memset(&s, 0, sizeof s);
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(kFile, s, c), DisplayFileRead::kRead);
  EXPECT_TRUE(SameRecord(s, ExpectedSettings()));
  const CustomColours expected = ExpectedCustom();
  EXPECT_EQ(std::memcmp(&c, &expected, sizeof c), 0);
}

TEST(DisplaySettingsFile, WhatIsWrittenIsReadBackByteForByte) {
  const std::string path = TempPath("round-trip.scrn");
  ASSERT_TRUE(WriteDisplaySettings(path.c_str(), ExpectedSettings(), ExpectedCustom()));
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path.c_str(), bytes, 1 << 16));
  EXPECT_EQ(bytes, kFile);

  DisplaySettings s;
  std::memset(&s, 0, sizeof s);
  CustomColours c = {};
  ASSERT_EQ(ReadDisplaySettings(path.c_str(), s, c), DisplayFileRead::kRead);
  EXPECT_TRUE(SameRecord(s, ExpectedSettings()));
  EXPECT_EQ(FormatDisplaySettings(s, c), kFile);
  RemoveFile(path.c_str());
}

TEST(DisplaySettingsFile, FaceNameWithASpaceSurvives) {
  DisplaySettings s = ExpectedSettings();
  SetText(s.fonts[6].faceName, "Arial Black");
  SetText(s.fonts[7].faceName, " Leading And Trailing ");
  DisplaySettings back;
  std::memset(&back, 0, sizeof back);
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(FormatDisplaySettings(s, ExpectedCustom()), back, c),
            DisplayFileRead::kRead);
  EXPECT_STREQ(back.fonts[6].faceName, "Arial Black");
  EXPECT_STREQ(back.fonts[7].faceName, " Leading And Trailing ");
  EXPECT_STREQ(back.fonts[1].faceName, "Arial Black");
}

TEST(DisplaySettingsFile, Windows1252FaceNameBytesSurvive) {
  DisplaySettings s = ExpectedSettings();
  SetText(s.fonts[3].faceName, "Poli\xE9 \xC7" "a");  // "Polié Ça" in Windows-1252
  DisplaySettings back = ExpectedSettings();
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(FormatDisplaySettings(s, ExpectedCustom()), back, c),
            DisplayFileRead::kRead);
  EXPECT_STREQ(back.fonts[3].faceName, "Poli\xE9 \xC7" "a");
}

TEST(DisplaySettingsFile, EmptyFaceNamesOfAnUnsetRecordRoundTrip) {
  // At start-up without a settings file the record is all zero; closing writes it back.
  DisplaySettings zero;
  std::memset(&zero, 0, sizeof zero);
  const CustomColours noCustom = {};
  const std::string bytes = FormatDisplaySettings(zero, noCustom);
  EXPECT_EQ(bytes.substr(0, 16), "0\t\r\n\t\t\t\t\t\t\t\t\t\t\t\t");
  DisplaySettings back = ExpectedSettings();
  CustomColours c = ExpectedCustom();
  ASSERT_EQ(ParseDisplaySettings(bytes, back, c), DisplayFileRead::kRead);
  EXPECT_TRUE(SameRecord(back, zero));
}

TEST(DisplaySettingsFile, LineFeedLineEndsAreAccepted) {
  std::string lf;
  for (char ch : kFile) {
    if (ch != '\r') lf += ch;
  }
  DisplaySettings s;
  std::memset(&s, 0, sizeof s);
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(lf, s, c), DisplayFileRead::kRead);
  EXPECT_TRUE(SameRecord(s, ExpectedSettings()));
}

TEST(DisplaySettingsFile, RestOfTheFirstLineIsIgnored) {
  std::string file = kFile;
  file.replace(0, 4, "0\tcomment 12 34\r\n");
  DisplaySettings s = ExpectedSettings();
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(file, s, c), DisplayFileRead::kRead);
  EXPECT_EQ(s.tableStyle, kStyleGradient);
  EXPECT_STREQ(s.fonts[0].faceName, "Arial");
}

TEST(DisplaySettingsFile, LongFaceNameIsCutAt31BytesAndTheNextValuesStayInPlace) {
  const std::string longName(50, 'W');
  std::string file = kFile;
  file.replace(file.find("Tahoma"), 6, longName);
  DisplaySettings s;
  std::memset(&s, 0, sizeof s);
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(file, s, c), DisplayFileRead::kRead);
  EXPECT_EQ(std::string(s.fonts[2].faceName), std::string(31, 'W'));
  EXPECT_EQ(s.fonts[2].faceName[31], '\0');
  EXPECT_STREQ(s.fonts[3].faceName, "Arial");
  EXPECT_STREQ(s.fonts[11].faceName, "Courier New");
  EXPECT_EQ(s.fonts[0].size, -20);
}

TEST(DisplaySettingsFile, ZeroByteEndsAFaceNameAndNothingFollowsItInTheRecord) {
  std::string file = kFile;
  file.replace(file.find("Tahoma"), 6, std::string("Ta\0oma", 6));
  DisplaySettings s;
  std::memset(&s, 0x5A, sizeof s);
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(file, s, c), DisplayFileRead::kRead);
  EXPECT_STREQ(s.fonts[2].faceName, "Ta");
  for (int i = 2; i < kFaceNameCapacity; ++i) EXPECT_EQ(s.fonts[2].faceName[i], '\0') << i;
  EXPECT_STREQ(s.fonts[3].faceName, "Arial");
}

TEST(DisplaySettingsFile, ColumnWidthsAreBroughtIntoTheirRange) {
  std::string file = kFile;
  file.replace(file.find("70\t290\t"), 7, "-5\t5000\t");
  DisplaySettings s = ExpectedSettings();
  CustomColours c = {};
  ASSERT_EQ(ParseDisplaySettings(file, s, c), DisplayFileRead::kRead);
  EXPECT_EQ(s.columnWidths[0], 0);
  EXPECT_EQ(s.columnWidths[1], 999);
  EXPECT_EQ(s.columnWidths[2], 80);
}

TEST(DisplaySettingsFile, MissingFileChangesNothing) {
  DisplaySettings s = Untouched();
  CustomColours c = ExpectedCustom();
  EXPECT_EQ(ReadDisplaySettings(TempPath("no-such-file.scrn").c_str(), s, c),
            DisplayFileRead::kCannotOpen);
  EXPECT_TRUE(SameRecord(s, Untouched()));
}

TEST(DamagedDisplayFile, EveryTruncationChangesNothing) {
  // Up to the tab after the last value, a cut file lacks a value (or holds a value cut short).
  const size_t complete = kFile.rfind('\t') + 1;
  for (size_t length = 0; length < complete; ++length) {
    DisplaySettings s = Untouched();
    CustomColours c = {};
    ASSERT_EQ(ParseDisplaySettings(kFile.substr(0, length), s, c), DisplayFileRead::kDamaged)
        << "cut at " << length;
    ASSERT_TRUE(SameRecord(s, Untouched())) << "cut at " << length;
  }
  for (size_t length = complete; length <= kFile.size(); ++length) {
    DisplaySettings s = Untouched();
    CustomColours c = {};
    EXPECT_EQ(ParseDisplaySettings(kFile.substr(0, length), s, c), DisplayFileRead::kRead);
  }
}

TEST(DamagedDisplayFile, LetterInsteadOfANumberChangesNothing) {
  std::string file = kFile;
  file.replace(file.find("65535"), 5, "6553x");
  DisplaySettings s = Untouched();
  CustomColours c = ExpectedCustom();
  EXPECT_EQ(ParseDisplaySettings(file, s, c), DisplayFileRead::kDamaged);
  EXPECT_TRUE(SameRecord(s, Untouched()));
}

TEST(DamagedDisplayFile, LineWithAValueMissingOrOneTooManyChangesNothing) {
  std::string missing = kFile;
  missing.replace(missing.find("70\t290\t"), 3, "");  // 8 column widths
  std::string extra = kFile;
  extra.replace(extra.find("70\t290\t"), 3, "70\t70\t");  // 10 column widths
  std::string fewNames = kFile;
  fewNames.replace(fewNames.find("Tahoma\t"), 7, "");  // 11 face names
  for (const std::string& file : {missing, extra, fewNames}) {
    DisplaySettings s = Untouched();
    CustomColours c = {};
    EXPECT_EQ(ParseDisplaySettings(file, s, c), DisplayFileRead::kDamaged);
    EXPECT_TRUE(SameRecord(s, Untouched()));
  }
}

TEST(DamagedDisplayFile, NumberBeyond32BitsIsDamageButTheSmallestIsRead) {
  std::string big = kFile;
  big.replace(big.find("8388608"), 7, "2147483648");
  DisplaySettings s = Untouched();
  CustomColours c = {};
  EXPECT_EQ(ParseDisplaySettings(big, s, c), DisplayFileRead::kDamaged);
  EXPECT_TRUE(SameRecord(s, Untouched()));

  std::string smallest = kFile;
  smallest.replace(smallest.find("-20\t"), 3, "-2147483648");
  ASSERT_EQ(ParseDisplaySettings(smallest, s, c), DisplayFileRead::kRead);
  EXPECT_EQ(s.fonts[0].size, INT32_MIN);
}

TEST(DamagedDisplayFile, GarbageAndEmptyFilesChangeNothing) {
  const std::string files[] = {std::string(), std::string("\r\n"), std::string(3000, '\t'),
                               std::string(100, '\0'), std::string("1\t\r\n") + std::string(40, 'A')};
  for (const std::string& file : files) {
    DisplaySettings s = Untouched();
    CustomColours c = {};
    EXPECT_EQ(ParseDisplaySettings(file, s, c), DisplayFileRead::kDamaged);
    EXPECT_TRUE(SameRecord(s, Untouched()));
  }
}

}  // namespace
}  // namespace zarvo
