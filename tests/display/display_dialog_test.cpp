// The display options dialog: the places of its swatches and samples and what a click inside
// them edits, the preview it paints, the column width rules, the font chooser's results, and
// which file each of "Load", "Save", "Ok" and "Cancel" reads or writes.
#include "display/display_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "platform/files.h"
#include "tests/support/fakes.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

std::string ShippedFile() {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(
      (std::string(ZARVO_SOURCE_DIR) + "/data/" + kDisplaySettingsFile).c_str(), bytes, 65536));
  return bytes;
}

class DisplayDialogTest : public ::testing::Test {
 protected:
  DisplayDialogTest() {
    MakeDirectory("Private");
    WriteBytes(kDisplaySettingsFile, ShippedFile());
  }
  std::unique_ptr<DisplayDialogModel> Open() {
    auto model = std::make_unique<DisplayDialogModel>();
    OpenDisplayDialogModel(*model, memory, boxes);
    return model;
  }

  testing::TempFolder folder;
  testing::RecordingMessageBoxes boxes;
  testing::ScriptedFileDialogs files;
  DisplayDialogMemory memory;
};

// ---- Places and hits.

TEST(DisplayPreview, SwatchesAndSamplesSitAtTheirPixelPlaces) {
  EXPECT_EQ(SwatchRect(0).left, 200);
  EXPECT_EQ(SwatchRect(0).top, 85);
  EXPECT_EQ(SwatchRect(2).bottom, 165);
  EXPECT_EQ(SwatchRect(3).top, 215);
  EXPECT_EQ(SwatchRect(7).bottom, 355);
  EXPECT_EQ(SwatchRect(9).left, 250);
  EXPECT_EQ(SwatchRect(9).top, 405);
  EXPECT_EQ(SwatchRect(11).right, 290);
  EXPECT_EQ(SwatchRect(11).top, 435);
  const LayoutRect grid = SwatchRect(12);
  EXPECT_EQ(grid.left, 300);
  EXPECT_EQ(grid.right, 390);
  EXPECT_EQ(grid.bottom, 455);
  EXPECT_EQ(SampleRect(kSampleRunCaption).left, 250);
  EXPECT_EQ(SampleRect(kSampleEventLine).top, 245);
  EXPECT_EQ(SampleRect(kSampleHeadings).left, 300);
  EXPECT_EQ(SampleRect(kSampleColumn).top, 500);
  EXPECT_EQ(SampleRect(kSampleColumn).bottom, 520);
  for (int i = 0; i < kSwatchCount; ++i) {
    const LayoutRect r = SwatchRect(i);
    EXPECT_EQ(r.bottom - r.top, 20) << i;
  }
}

TEST(DisplayPreview, OnlyClicksStrictlyInsideASwatchOrSampleHitIt) {
  for (int i = 0; i < kSwatchCount; ++i) {
    const LayoutRect r = SwatchRect(i);
    const PreviewHit inside = PreviewHitAt(r.left + 1, r.bottom - 1);
    EXPECT_EQ(inside.kind, PreviewHit::kSwatch) << i;
    EXPECT_EQ(inside.index, i);
    EXPECT_EQ(PreviewHitAt(r.left, r.top + 5).kind, PreviewHit::kNothing) << i << " left edge";
    EXPECT_EQ(PreviewHitAt(r.right, r.top + 5).kind, PreviewHit::kNothing) << i << " right edge";
    EXPECT_EQ(PreviewHitAt(r.left + 5, r.top).kind, PreviewHit::kNothing) << i << " top edge";
    EXPECT_EQ(PreviewHitAt(r.left + 5, r.bottom).kind, PreviewHit::kNothing) << i;
  }
  for (int i = 0; i < kSampleCount; ++i) {
    const LayoutRect r = SampleRect(i);
    const PreviewHit inside = PreviewHitAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(inside.kind, PreviewHit::kSample) << i;
    EXPECT_EQ(inside.index, i);
    EXPECT_EQ(PreviewHitAt(r.right, r.top + 5).kind, PreviewHit::kNothing) << i;
  }
  EXPECT_EQ(PreviewHitAt(245, 95).kind, PreviewHit::kNothing) << "between two places";
  EXPECT_EQ(PreviewHitAt(10, 10).kind, PreviewHit::kNothing);
}

TEST(DisplayPreview, SamplesEditTheirFontSlotsAndSizeRanges) {
  EXPECT_EQ(SampleFontSlot(kSampleRunCaption, 5), kFontRunCaption);
  EXPECT_EQ(SampleFontSlot(kSampleEventLine, 5), kFontEventLine);
  EXPECT_EQ(SampleFontSlot(kSampleHeadings, 5), kFontHeadings);
  EXPECT_EQ(SampleFontSlot(kSampleColumn, 0), 3);
  EXPECT_EQ(SampleFontSlot(kSampleColumn, 8), 11);
  EXPECT_EQ(SampleSizeRange(kSampleRunCaption).maximum, 25);
  EXPECT_EQ(SampleSizeRange(kSampleEventLine).maximum, 40);
  EXPECT_EQ(SampleSizeRange(kSampleHeadings).minimum, 8);
  EXPECT_EQ(SampleSizeRange(kSampleHeadings).maximum, 16);
  EXPECT_EQ(SampleSizeRange(kSampleColumn).maximum, 50);
  EXPECT_EQ(SampleSizeRange(kSampleColumn).minimum, 0);
}

// ---- The preview.

DisplaySettings Coloured() {
  DisplaySettings s = {};
  for (int i = 0; i < kColourSlotCount; ++i)
    s.colours[i] = MakeColour(i * 10, i * 10 + 1, i * 10 + 2);
  for (int i = 0; i < kFontSlotCount; ++i) s.textColours[i] = MakeColour(0, 0, i);
  return s;
}

std::vector<PreviewStep> StepsOf(const std::vector<PreviewStep>& steps, PreviewStep::Kind kind) {
  std::vector<PreviewStep> of;
  for (const PreviewStep& step : steps) {
    if (step.kind == kind) of.push_back(step);
  }
  return of;
}

bool Within(const LayoutRect& inner, const LayoutRect& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

TEST(DisplayPreview, FramesOnePixelOutsideThenSwatchesThenTextsLast) {
  const std::vector<PreviewStep> steps = PreviewSteps(Coloured(), 4);
  const auto frames = StepsOf(steps, PreviewStep::kFrame);
  ASSERT_EQ(frames.size(), size_t(kSwatchCount + kSampleCount));
  EXPECT_EQ(frames[0].rect.left, 199);
  EXPECT_EQ(frames[0].rect.top, 84);
  EXPECT_EQ(frames[0].rect.right, 241);
  EXPECT_EQ(frames[0].rect.bottom, 106);
  for (int i = 0; i < kColourGrid; ++i) {
    const PreviewStep& fill = steps[kSwatchCount + kSampleCount + i];
    EXPECT_EQ(fill.kind, PreviewStep::kFill);
    EXPECT_EQ(fill.colour, Coloured().colours[i]) << i;
    EXPECT_EQ(fill.rect.left, SwatchRect(i).left);
    EXPECT_EQ(fill.rect.top, SwatchRect(i).top);
  }
  const auto texts = StepsOf(steps, PreviewStep::kText);
  ASSERT_EQ(texts.size(), size_t(kSampleCount));
  EXPECT_EQ(steps.back().kind, PreviewStep::kText);
  EXPECT_EQ(texts[0].rect.left, 255);
  EXPECT_EQ(texts[0].rect.top, 215);
  EXPECT_EQ(texts[3].fontSlot, 3 + 4) << "the chosen column's slot";
  EXPECT_EQ(texts[3].colour, MakeColour(0, 0, 7));
  EXPECT_EQ(texts[2].fontSlot, kFontHeadings);
}

TEST(DisplayPreview, SampleBackgroundsAndTheGridLine) {
  const DisplaySettings s = Coloured();
  const std::vector<PreviewStep> steps = PreviewSteps(s, 0);
  std::set<Colour> headingLines, columnLines, gridSwatchLines;
  bool captionFilled = false, eventFilled = false;
  for (const PreviewStep& step : steps) {
    if (step.kind != PreviewStep::kFill) continue;
    if (Within(step.rect, SampleRect(kSampleHeadings))) {
      EXPECT_EQ(step.rect.bottom - step.rect.top, 1) << "a gradient is drawn line by line";
      headingLines.insert(step.colour);
    }
    if (Within(step.rect, SampleRect(kSampleColumn))) columnLines.insert(step.colour);
    if (Within(step.rect, SwatchRect(kColourGrid))) gridSwatchLines.insert(step.colour);
    if (Within(step.rect, SampleRect(kSampleRunCaption))) {
      captionFilled = step.colour == s.colours[kColourRunCaption];
    }
    if (Within(step.rect, SampleRect(kSampleEventLine))) {
      eventFilled = step.colour == s.colours[kColourEventLine];
    }
  }
  EXPECT_TRUE(captionFilled);
  EXPECT_TRUE(eventFilled);
  EXPECT_TRUE(headingLines.count(s.colours[kColourHeadingTop]));
  EXPECT_TRUE(headingLines.count(GradientLineColour(s.colours[8], s.colours[9], 19, 20)));
  EXPECT_GT(headingLines.size(), 2u);
  EXPECT_TRUE(columnLines.count(s.colours[kColourRowsTop]));
  EXPECT_EQ(columnLines, gridSwatchLines) << "swatch 12 shows the rows gradient";
  const auto lines = StepsOf(steps, PreviewStep::kLine);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].colour, s.colours[kColourGrid]);
  EXPECT_EQ(lines[0].width, 3);
  EXPECT_EQ(lines[0].rect.left, 305);
  EXPECT_EQ(lines[0].rect.top, 445);
  EXPECT_EQ(lines[0].rect.right, 385);
  EXPECT_EQ(lines[0].rect.bottom, 445);
}

TEST(DisplayPreview, EqualHeadingColoursGiveAFlatHeadingSample) {
  DisplaySettings s = Coloured();
  s.colours[kColourHeadingBottom] = s.colours[kColourHeadingTop];
  int headingFills = 0;
  for (const PreviewStep& step : PreviewSteps(s, 0)) {
    if (step.kind == PreviewStep::kFill && Within(step.rect, SampleRect(kSampleHeadings))) {
      ++headingFills;
      EXPECT_EQ(step.colour, s.colours[kColourHeadingTop]);
      EXPECT_EQ(step.rect.bottom - step.rect.top, 20);
    }
  }
  EXPECT_EQ(headingFills, 1);
}

// ---- Opening, columns and widths.

TEST_F(DisplayDialogTest, OpensOnTheSettingsFileAndTheColumnChosenLastTime) {
  auto model = Open();
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(model->column, 0) << "Lane at first";
  EXPECT_EQ(ChosenColumnWidth(*model), 70);
  EXPECT_STREQ(model->settings.fonts[0].faceName, "Arial");
  EXPECT_EQ(model->custom.colours[15], 16777215u);
  DisplayColumnChosen(*model, memory, 3);
  DisplayColumnChosen(*model, memory, 9);  // not a column
  EXPECT_EQ(ChosenColumnWidth(*model), 160);
  model = Open();
  EXPECT_EQ(model->column, 3);
}

TEST_F(DisplayDialogTest, WidthsStayWithin0And999) {
  auto model = Open();
  DisplayColumnChosen(*model, memory, 8);
  EXPECT_FALSE(DisplayWidthTyped(*model, "0"));
  EXPECT_EQ(model->settings.columnWidths[8], 0);
  EXPECT_FALSE(DisplayWidthStepped(*model, -1)) << "\"-\" at 0";
  EXPECT_EQ(model->settings.columnWidths[8], 0);
  EXPECT_TRUE(DisplayWidthStepped(*model, 1));
  EXPECT_EQ(model->settings.columnWidths[8], 1);
  EXPECT_FALSE(DisplayWidthTyped(*model, "999"));
  EXPECT_FALSE(DisplayWidthStepped(*model, 1)) << "\"+\" at 999";
  EXPECT_EQ(model->settings.columnWidths[8], 999);
  EXPECT_TRUE(DisplayWidthStepped(*model, -1));
  EXPECT_EQ(model->settings.columnWidths[8], 998);
  EXPECT_FALSE(DisplayWidthTyped(*model, ""));
  EXPECT_EQ(model->settings.columnWidths[8], 0) << "an empty box is 0";
  EXPECT_TRUE(DisplayWidthTyped(*model, "12345")) << "more than three digits";
  EXPECT_EQ(model->settings.columnWidths[8], 123);
  EXPECT_TRUE(DisplayWidthTyped(*model, "-5"));
  EXPECT_EQ(model->settings.columnWidths[8], 0);
  EXPECT_EQ(model->settings.columnWidths[7], 135) << "other columns untouched";
}

TEST_F(DisplayDialogTest, ColoursAndFontsGoToTheSlotsOfWhatWasClicked) {
  auto model = Open();
  SwatchColourChosen(*model, 12, MakeColour(1, 2, 3));
  EXPECT_EQ(model->settings.colours[kColourGrid], MakeColour(1, 2, 3));
  DisplayColumnChosen(*model, memory, 6);
  const ChosenFont font{"Arial Black", -27, 900, true, false, true, MakeColour(9, 8, 7)};
  SampleFontChosen(*model, kSampleColumn, font);
  const FontSpec& stored = model->settings.fonts[3 + 6];
  EXPECT_STREQ(stored.faceName, "Arial Black");
  EXPECT_EQ(stored.size, -27);
  EXPECT_EQ(stored.weight, 900);
  EXPECT_EQ(stored.italic, 1);
  EXPECT_EQ(stored.underline, 0);
  EXPECT_EQ(stored.strikeOut, 1);
  EXPECT_EQ(model->settings.textColours[3 + 6], MakeColour(9, 8, 7));
  EXPECT_STREQ(model->settings.fonts[3].faceName, "Arial") << "the Lane slot is untouched";
  SampleFontChosen(*model, kSampleHeadings, font);
  EXPECT_STREQ(model->settings.fonts[kFontHeadings].faceName, "Arial Black");
}

TEST_F(DisplayDialogTest, ALongFaceNameIsCutTo31BytesAndNamesWithSpacesSurviveTheFile) {
  auto model = Open();
  const std::string longName = "Zarvo Extended Condensed Display Bold";  // 37 bytes
  SampleFontChosen(*model, kSampleRunCaption,
                   ChosenFont{longName, -20, 400, false, false, false, 0});
  EXPECT_EQ(std::string(model->settings.fonts[0].faceName), longName.substr(0, 31));
  SampleFontChosen(*model, kSampleEventLine,
                   ChosenFont{"Arial Black", -20, 400, false, false, false, 0});
  ConfirmDisplayDialog(*model, boxes);
  DisplaySettings back = {};
  CustomColours custom = {};
  ASSERT_EQ(ReadDisplaySettings(kDisplaySettingsFile, back, custom), DisplayFileRead::kRead);
  EXPECT_EQ(std::string(back.fonts[0].faceName), longName.substr(0, 31));
  EXPECT_STREQ(back.fonts[1].faceName, "Arial Black");
  EXPECT_STREQ(back.fonts[2].faceName, "Arial");
}

// ---- Files.

TEST_F(DisplayDialogTest, OkWritesTheCopyAndCancelWritesNothing) {
  auto model = Open();
  DisplayColumnChosen(*model, memory, 8);
  DisplayWidthTyped(*model, "0");
  DisplayStyleChosen(*model, kStyleGradient);
  CloseDisplayDialog(*model);
  EXPECT_EQ(ReadBytes(kDisplaySettingsFile), ShippedFile()) << "Cancel";

  ConfirmDisplayDialog(*model, boxes);
  const std::string written = ReadBytes(kDisplaySettingsFile);
  EXPECT_EQ(written.substr(0, 4), "0\t\r\n");
  EXPECT_NE(written.find("\r\n70\t280\t80\t160\t135\t135\t135\t135\t0\t\r\n"), std::string::npos);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DisplayDialogTest, SaveAppendsTheExtensionWhenMissingAndAsksWithTheFilter) {
  auto model = Open();
  DisplayWidthTyped(*model, "55");
  files.saveAnswers = {folder.File("mine"), folder.File("club.scrn"), std::nullopt,
                       ProposedDisplayFileName(*model)};
  SaveDisplayFile(*model, files, boxes);
  SaveDisplayFile(*model, files, boxes);
  SaveDisplayFile(*model, files, boxes);  // cancelled
  SaveDisplayFile(*model, files, boxes);  // the proposal confirmed unchanged
  ASSERT_EQ(files.asked.size(), 4u);
  EXPECT_TRUE(files.asked[0].save);
  EXPECT_EQ(files.asked[0].filterName, TXT_DISPLAY_FILE_FILTER);
  EXPECT_EQ(files.asked[0].pattern, "*.scrn");
  EXPECT_EQ(files.asked[0].initialFolder, model->folder);
  EXPECT_EQ(files.asked[0].initialName, model->folder + "\\*.scrn");
  EXPECT_EQ(files.asked[0].defaultExtension, "scrn") << "the dialog asks before overwriting";
  EXPECT_NE(ReadBytes("mine.scrn").find("\r\n55\t280\t"), std::string::npos);
  EXPECT_EQ(ReadBytes("mine"), "<missing>");
  EXPECT_NE(ReadBytes("club.scrn"), "<missing>");
  EXPECT_EQ(ReadBytes("club.scrn.scrn"), "<missing>");
  EXPECT_EQ(ReadBytes(kDisplaySettingsFile), ShippedFile()) << "only Ok writes the settings";
  EXPECT_EQ(DisplayFileName("a.scrn.old"), "a.scrn.old");
  EXPECT_EQ(DisplayFileName("a.scr"), "a.scr.scrn");
}

TEST_F(DisplayDialogTest, SaveOverAFileTheDialogDidNotAskAboutAsksFirstAndTheExtensionIgnoresCase) {
  auto model = Open();
  WriteBytes("club.v2.scrn", "older");
  // The dialog leaves a name with an extension of its own as typed, and asked about that name.
  files.saveAnswers = {folder.File("club.v2"), folder.File("club.v2"), folder.File("MINE.SCRN")};
  boxes.answers = {Answer::kNo, Answer::kYes};
  SaveDisplayFile(*model, files, boxes);
  EXPECT_EQ(ReadBytes("club.v2.scrn"), "older");
  ASSERT_EQ(boxes.shown.size(), 1u);
  char question[512];
  std::snprintf(question, sizeof question, TXT_REPLACE_FILE_QUESTION,
                folder.File("club.v2.scrn").c_str());
  EXPECT_EQ(boxes.shown[0].text, question);
  SaveDisplayFile(*model, files, boxes);
  EXPECT_EQ(ReadBytes("club.v2.scrn"), FormatDisplaySettings(model->settings, model->custom));
  SaveDisplayFile(*model, files, boxes);
  EXPECT_NE(ReadBytes("MINE.SCRN"), "<missing>");
  EXPECT_EQ(ReadBytes("MINE.SCRN.scrn"), "<missing>");
  EXPECT_EQ(boxes.shown.size(), 2u) << "the dialog itself asked about MINE.SCRN";
  EXPECT_EQ(DisplayFileName("Mine.Scrn"), "Mine.Scrn");
}

TEST_F(DisplayDialogTest, LoadTakesACompleteFileChoosesLaneAndCancelLeavesTheSettingsFile) {
  auto model = Open();
  DisplaySettings other = model->settings;
  other.columnWidths[0] = 33;
  other.colours[kColourTable] = MakeColour(10, 20, 30);
  SetText(other.fonts[5].faceName, "Arial Black");
  CustomColours custom = model->custom;
  custom.colours[0] = 42;
  ASSERT_TRUE(WriteDisplaySettings("other.scrn", other, custom));
  DisplayColumnChosen(*model, memory, 5);

  files.openAnswers = {folder.File("other.scrn")};
  ASSERT_TRUE(LoadDisplayFile(*model, memory, files, boxes));
  EXPECT_EQ(files.asked[0].save, false);
  EXPECT_EQ(files.asked[0].initialFolder, model->folder);
  EXPECT_EQ(model->column, 0);
  EXPECT_EQ(memory.column, 0);
  EXPECT_EQ(ChosenColumnWidth(*model), 33);
  EXPECT_EQ(model->settings.colours[kColourTable], MakeColour(10, 20, 30));
  EXPECT_STREQ(model->settings.fonts[5].faceName, "Arial Black");
  EXPECT_EQ(model->custom.colours[0], 42u);
  CloseDisplayDialog(*model);
  EXPECT_EQ(ReadBytes(kDisplaySettingsFile), ShippedFile());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DisplayDialogTest, ADamagedOrForeignFileIsReportedAndChangesNothing) {
  auto model = Open();
  DisplayColumnChosen(*model, memory, 2);
  const DisplaySettings before = model->settings;
  const std::string shipped = ShippedFile();
  // Cut in the middle of the colours: the face names and sizes would already have been read.
  WriteBytes("cut.scrn", shipped.substr(0, shipped.find("15129814")));
  WriteBytes("notes.scrn", "Saturday practice\r\nbring spare tyres\r\n");
  files.openAnswers = {folder.File("cut.scrn"), folder.File("notes.scrn"), folder.File("gone.scrn"),
                       std::nullopt};
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(LoadDisplayFile(*model, memory, files, boxes));
  ASSERT_EQ(boxes.shown.size(), 3u);
  for (const auto& shown : boxes.shown) {
    EXPECT_EQ(shown.caption, TXT_CAPTION_ERROR);
    EXPECT_EQ(shown.text, TXT_DISPLAY_FILE_NOT_FOUND);
  }
  EXPECT_EQ(std::memcmp(&model->settings, &before, sizeof before), 0);
  EXPECT_EQ(model->column, 2);
}

TEST_F(DisplayDialogTest, TheFileDialogsLeaveTheCurrentDirectoryAsItWas) {
  auto model = Open();
  ASSERT_TRUE(MakeDirectory("elsewhere"));
  // A file dialog that moves the current directory, as the platform's may.
  struct MovingDialogs : testing::ScriptedFileDialogs {
    bool AskSaveFile(const FileRequest&, std::string& chosen) override {
      SetCurrentFolder("elsewhere");
      chosen = "moved";
      return true;
    }
  } moving;
  SaveDisplayFile(*model, moving, boxes);
  EXPECT_EQ(CurrentFolder(), model->folder);
  EXPECT_NE(ReadBytes("moved.scrn"), "<missing>") << "written where the dialog opened";
}

TEST_F(DisplayDialogTest, AMissingOrDamagedSettingsFileIsReportedOnceAndTheShippedSettingsShown) {
  RemoveFile(kDisplaySettingsFile);
  auto model = Open();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DISPLAY_SETTINGS_NOT_FOUND);
  EXPECT_EQ(FormatDisplaySettings(model->settings, model->custom), ShippedFile());
  EXPECT_EQ(ChosenColumnWidth(*model), 70);
  ConfirmDisplayDialog(*model, boxes);  // "Ok" gives the program its settings back
  EXPECT_EQ(ReadBytes(kDisplaySettingsFile), ShippedFile());

  WriteBytes(kDisplaySettingsFile, "1\t\r\nCourier\t\r\n");
  model = Open();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, TXT_DISPLAY_SETTINGS_DAMAGED);
  EXPECT_STREQ(model->settings.fonts[0].faceName, "Arial") << "nothing half-read";
  EXPECT_EQ(FormatDisplaySettings(model->settings, model->custom), ShippedFile());
}

}  // namespace
}  // namespace zarvo
