// The files shipped in the program folder (data/): the display settings make every column of the
// results table visible and fit at least 12 rows on the screens it is made for; every sound file
// the announcements name is there as plain PCM; the bitmaps are 24-bit BMP files.
#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "display/results_layout.h"
#include "platform/files.h"
#include "settings/display_settings.h"

namespace zarvo {
namespace {

// Paths in Windows-1252, as the program names its files.
std::string DataPath(const char* name) { return std::string(ZARVO_SOURCE_DIR) + "/data/" + name; }

uint32_t Le32(const std::string& b, size_t at) {
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
         uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t Le16(const std::string& b, size_t at) {
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

struct Shipped : ::testing::Test {
  void SetUp() override {
    std::memset(&settings, 0, sizeof settings);
    custom = {};
    ASSERT_EQ(ReadDisplaySettings(DataPath(kDisplaySettingsFile).c_str(), settings, custom),
              DisplayFileRead::kRead);
  }
  // A text-metric height estimated from a font size: a cell height is the height itself, a
  // character height grows by the font's leading (about 15 % for Arial).
  static int EstimatedTextHeight(int32_t size, int screenWidth) {
    const int h = FontHeight(size, screenWidth);
    return h >= 0 ? h : (-h * 115 + 99) / 100;
  }
  RowFit Fit(int z, int y) const {
    int heights[kColumnCount];
    for (int k = 0; k < kColumnCount; ++k) {
      heights[k] = EstimatedTextHeight(settings.fonts[kFontFirstColumn + k].size, z);
    }
    return FitVisibleRows(heights, 20, z, y);
  }
  DisplaySettings settings;
  CustomColours custom;
};

TEST_F(Shipped, DisplaySettingsAreWrittenExactlyAsTheProgramWritesThem) {
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(DataPath(kDisplaySettingsFile).c_str(), bytes, 1 << 16));
  EXPECT_EQ(FormatDisplaySettings(settings, custom), bytes);
}

TEST_F(Shipped, DisplaySettingsShowEveryColumnOnCommonScreens) {
  for (const auto& [z, y] : {std::pair{1600, 900}, {1920, 1080}, {1366, 768}, {1280, 1024}}) {
    TableMetrics m = {z, y, {}, 0, 0};
    std::copy(std::begin(settings.columnWidths), std::end(settings.columnWidths),
              std::begin(m.columnWidths));
    for (int k = 0; k < kColumnCount; ++k) EXPECT_TRUE(ColumnVisible(m, k)) << z << " " << k;
    // The table stays on the screen.
    EXPECT_LE(ComputeResultsLayout(m).tableArea.right, z) << z;
  }
}

TEST_F(Shipped, DisplaySettingsFitAtLeast12RowsAt1600x900And1920x1080) {
  EXPECT_GE(Fit(1600, 900).rowsThatFit, 12);
  EXPECT_GE(Fit(1920, 1080).rowsThatFit, 12);
}

TEST_F(Shipped, DisplaySettingsUseTheReliefStyleWithTwoGradients) {
  EXPECT_EQ(settings.tableStyle, kStyleRelief);
  EXPECT_NE(settings.colours[kColourHeadingTop], settings.colours[kColourHeadingBottom]);
  EXPECT_NE(settings.colours[kColourRowsTop], settings.colours[kColourRowsBottom]);
  for (const FontSpec& f : settings.fonts) EXPECT_STREQ(f.faceName, "Arial");
}

TEST(ShippedSettings, SoundsAllOnInEnglishAndTheDecoderOnCom1) {
  std::string sounds;
  ASSERT_TRUE(ReadWholeFile(DataPath("RéglagesSons.rg").c_str(), sounds, 1024));
  EXPECT_EQ(sounds,
            "SONLANGUEAnglais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEoui\r\n"
            "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n");
  std::string interface;
  ASSERT_TRUE(ReadWholeFile(DataPath("RéglagesInterface2.rg").c_str(), interface, 1024));
  EXPECT_EQ(interface, "COM1\t1\tZarvo\r\n");
}

// Every file the sound announcements play.
std::vector<std::string> SoundFiles() {
  std::vector<std::string> names = {"nokia-sms", "foghorn", "beep1", "youpi", "buzz", "truckhorn",
                                    "5minutesRaceGB"};
  for (const char* spoken : {"60minutes", "30minutes", "15minutes", "5minutes", "2minutes",
                             "1minute", "30secondes", "10secondes", "cinq", "quatre", "trois",
                             "deux", "un", "miCourse"}) {
    names.push_back(spoken);
    names.push_back(std::string(spoken) + "GB");
  }
  for (int slot = 1; slot <= 20; ++slot) {
    names.push_back("FinCourseVoiture" + std::to_string(slot));
    names.push_back("FinCourseVoiture" + std::to_string(slot) + "GB");
  }
  return names;
}

TEST(ShippedSounds, EveryAnnouncedFileIsAShortPlainPcmWave) {
  size_t total = 0;
  for (const std::string& name : SoundFiles()) {
    std::string b;
    ASSERT_TRUE(ReadWholeFile(DataPath(("sons/" + name + ".wav").c_str()).c_str(), b, 1 << 20))
        << name;
    ASSERT_GE(b.size(), 44u) << name;
    EXPECT_EQ(b.substr(0, 4), "RIFF") << name;
    EXPECT_EQ(b.substr(8, 8), "WAVEfmt ") << name;
    EXPECT_EQ(Le16(b, 20), 1) << name << ": not plain PCM";
    EXPECT_EQ(Le16(b, 22), 1) << name << ": not mono";
    EXPECT_LE(Le32(b, 24), 22050u) << name;
    EXPECT_EQ(Le16(b, 34), 16) << name;
    // At least a tenth of a second of sound, at most three seconds.
    const uint32_t bytesPerSecond = Le32(b, 28);
    EXPECT_GT(b.size(), bytesPerSecond / 10) << name;
    EXPECT_LT(b.size(), bytesPerSecond * 3) << name;
    total += b.size();
  }
  EXPECT_LT(total, size_t(4) << 20);
}

TEST(ShippedImages, BitmapsAre24BitUncompressedOfTheirSize) {
  struct Expected {
    const char* name;
    int width;
    int height;
  };
  for (const Expected& e : {Expected{"logo", 200, 50}, {"drapeauArrivee", 32, 16},
                            {"voyantRouge", 24, 24}, {"voyantVert", 24, 24},
                            {"voyantScanPuce1", 40, 24}, {"voyantScanPuce2", 40, 24},
                            {"voyantScanPuce3", 40, 24}, {"voyantScanPuce4", 40, 24},
                            {"impression", 32, 32}}) {
    std::string b;
    ASSERT_TRUE(
        ReadWholeFile(DataPath((std::string("images/") + e.name + ".bmp").c_str()).c_str(), b,
                      1 << 20))
        << e.name;
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b.substr(0, 2), "BM") << e.name;
    EXPECT_EQ(Le32(b, 14), 40u) << e.name << ": not a BITMAPINFOHEADER";
    EXPECT_EQ(int32_t(Le32(b, 18)), e.width) << e.name;
    EXPECT_EQ(int32_t(Le32(b, 22)), e.height) << e.name;
    EXPECT_EQ(Le16(b, 28), 24) << e.name;
    EXPECT_EQ(Le32(b, 30), 0u) << e.name << ": compressed";
  }
}

}  // namespace
}  // namespace zarvo
