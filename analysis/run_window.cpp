// The run window's rules, its layout and its printed page (see run_window.h).
#include "analysis/run_window.h"

#include <cstdio>
#include <cstring>

#include "analysis/detail_results_file.h"
#include "databases/runs_database.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

GraphView gKeptViews[2] = {GraphView::kData, GraphView::kData};

// The range edits' text as an unsigned number: its leading digits (at most the edit's three), 0
// when it does not begin with one.
int RangeValue(const char* text) {
  int value = 0;
  for (int i = 0; text != nullptr && i < kRangeEditDigits && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10 + (text[i] - '0');
  return value;
}

GraphInputs InputsOf(const RunWindowModel& model) {
  GraphInputs in;
  in.laps = &model.laps;
  in.first = model.first;
  in.last = model.last;
  in.headingLine = model.headingLine;
  in.trackLine = model.trackLine;
  in.stripOffset = model.stripOffset;
  in.hover = model.hover;
  return in;
}

constexpr DrawFont kPageHeadingFont = {25, 700, false};
constexpr DrawFont kPageCaptionFont = {18, 700, false};
constexpr DrawFont kPageColumnFont = {16, 400, true};
constexpr DrawFont kPageTextFont = {15, 400, false};

// The width of a text in Arial of that height, from the font's advance widths in thousandths of
// its em (rounded up; bold up to 15 % wider). The page places a value after its label at the
// given point unless the label, longer in one edition than the layout allows, reaches past it.
int EstimatedTextWidth(const char* text, int height, bool bold) {
  int64_t thousandths = 0;
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
    int w = 556;
    if (std::strchr(" .:;,'!/tf", *c) != nullptr) w = 278;
    if (std::strchr("cksvxyz", *c) != nullptr) w = 500;
    if (*c == 'i' || *c == 'j' || *c == 'l') w = 222;
    if (*c == 'r' || *c == '(' || *c == ')' || *c == '-') w = 333;
    if (*c >= 'A' && *c <= 'Z') w = 667;
    if (*c == 'I') w = 278;
    if (*c == 'M' || *c == 'm') w = 833;
    if (*c == 'W') w = 944;
    if (*c == 'w' || *c == 'C' || *c == 'D' || *c == 'G' || *c == 'H' || *c == 'N' || *c == 'O' ||
        *c == 'Q' || *c == 'R' || *c == 'U')
      w = 722;
    thousandths += w;
  }
  if (bold) thousandths = thousandths * 115 / 100;
  // The height is the cell's: Arial's em is 1000/1117 of it.
  return static_cast<int>((thousandths * height + 1116) / 1117);
}

// x of a left-aligned value: its place, or just after its label when the label is longer.
int ValueX(int placeX, int labelX, const char* label, int height, bool bold) {
  // The places of the layout let a label touch its value; only a longer label moves it.
  const int after = labelX + EstimatedTextWidth(label, height, bold) - 2;
  return after > placeX ? after : placeX;
}

}  // namespace

GraphView& KeptView(RunWindowKind kind) {
  return gKeptViews[kind == RunWindowKind::kSynthesis ? 1 : 0];
}

void ClearRunWindow(RunWindowModel& model, RunWindowKind kind) {
  std::memset(&model, 0, sizeof model);
  model.kind = kind;
  model.view = KeptView(kind);
  LoadRunLaps(model.record, model.laps);
}

void LoadRunWindow(RunWindowModel& model, const ParticipantRecord& record, const char* runCaption,
                   const char* circuitName, const char* runTitle) {
  model.record = record;
  SetText(model.runCaption, runCaption);
  SetText(model.circuitName, circuitName);
  SetText(model.runTitle, runTitle);
  FormatHeadingLine(model.runCaption, model.record.driverName, model.headingLine,
                    sizeof model.headingLine);
  FormatTrackLine(model.circuitName, model.runTitle, model.trackLine, sizeof model.trackLine);
  LoadRunLaps(model.record, model.laps);
  model.first = 1;
  model.last = model.laps.lapCount;
  model.stripOffset = 0;
  model.hover = CurveHover{false, 0, 0, 0};
}

void OpenArchivedRunWindow(RunWindowModel& model, MessageBoxes& boxes) {
  ClearRunWindow(model, RunWindowKind::kDetail);
  ParticipantRecord empty;
  std::memset(&empty, 0, sizeof empty);
  LoadRunWindow(model, empty, "", "", "");
  ArchivedRunRequest request;
  if (!ReadArchivedRunRequest(request)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_DETAIL_RESULTS_FILE_NOT_FOUND, MessageIcon::kError);
    return;
  }
  static ArchivedRun run;  // about 4 kB of passage times: kept off the stack
  std::memset(&run, 0, sizeof run);
  const RunsFileResult read = ReadRun(request.runsFilePath, request.runTitle, run, boxes);
  if (read == RunsFileResult::kFileNotOpened) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_DRIVER_RUNS_FILE_NOT_FOUND, MessageIcon::kError);
    return;
  }
  if (read != RunsFileResult::kDone) return;  // the reader has said why
  LoadRunWindow(model, run.participant, run.runCaption, run.trackName, run.runTitle);
}

bool HandOverArchivedRun(const char* runsFilePath, const char* runTitle, MessageBoxes& boxes) {
  if (WriteArchivedRunRequest(runsFilePath, runTitle)) return true;
  boxes.Show(TXT_CAPTION_ERROR, TXT_DETAIL_RESULTS_FILE_NOT_FOUND, MessageIcon::kError);
  return false;
}

bool FirstLapTyped(RunWindowModel& model, const char* text, int& rewriteTo) {
  const int n = model.laps.lapCount;
  int value = RangeValue(text);
  bool rewrite = false;
  // Laps are numbered from 1: a run without laps still shows "From lap" 1 (and an empty range).
  const int highest = n > 0 ? n : 1;
  if (value > highest) {
    value = highest;
    rewrite = true;
  } else if (value == 0) {
    value = 1;
  }
  model.first = value;
  rewriteTo = value;
  return rewrite;
}

bool LastLapTyped(RunWindowModel& model, const char* text, int& rewriteTo) {
  const int n = model.laps.lapCount;
  int value = RangeValue(text);
  bool rewrite = false;
  if (value > n) {
    value = n;
    rewrite = true;
  }
  model.last = value;
  rewriteTo = value;
  return rewrite;
}

void ChooseRunView(RunWindowModel& model, GraphView view) {
  model.view = view;
  KeptView(model.kind) = view;
  model.hover.active = false;
}

StripBar MakeStripBar(const RunWindowModel& model) {
  const int n = model.laps.lapCount;
  if (n < kStripColumns) return StripBar{false, 0};
  return StripBar{true, n - kStripColumns + 1};
}

bool ScrollStrip(RunWindowModel& model, StripScroll action, int thumb) {
  const StripBar bar = MakeStripBar(model);
  if (!bar.visible) return false;
  int position = model.stripOffset;
  switch (action) {
    case StripScroll::kLineLeft:
      if (position > 0) --position;
      break;
    case StripScroll::kLineRight:
      if (position < bar.maximum) ++position;
      break;
    case StripScroll::kPageLeft:
      position = 0;
      break;
    case StripScroll::kPageRight:
      position = bar.maximum;
      break;
    case StripScroll::kThumbPosition:
      position = thumb < 0 ? 0 : (thumb > bar.maximum ? bar.maximum : thumb);
      break;
    case StripScroll::kOther:
      break;
  }
  if (position == model.stripOffset) return false;
  model.stripOffset = position;
  return true;
}

bool RunWindowMouseMoved(RunWindowModel& model, int x, int y) {
  if (model.view != GraphView::kCurve) return false;
  CurveWindow window;
  std::memset(&window, 0, sizeof window);
  MakeCurveWindow(model.laps, model.first, model.last, window);
  const CurveScale scale = MakeCurveScale(window);
  return TrackCurveHover(model.hover, x, y, model.laps, model.first, window, scale);
}

void DrawRunWindow(const RunWindowModel& model, DrawList& list) {
  static ViewNumbers numbers;
  DrawView(model.view, InputsOf(model), GraphForm::kScreen, numbers, list);
}

// --- The printed page.

const PageSetupRow kPageSetupLayout[kPageSetupRows] = {
    {nullptr, 0, 0, 1, 105, 592, -1, 0},
    {TXT_PAGE_ENGINE, 60, 670, 2, 110, 670, -1, 0},
    {TXT_PAGE_PLUG, 60, 690, 3, 110, 690, -1, 0},
    {TXT_PAGE_RESTRICTOR, 215, 690, 6, 255, 690, -1, 0},
    {TXT_PAGE_PIPE, 60, 710, 4, 110, 710, -1, 0},
    {TXT_PAGE_MUFFLER, 215, 710, 5, 255, 710, -1, 0},
    {TXT_PAGE_CLUTCH_GEAR, 60, 740, 7, 140, 740, -1, 0},
    {TXT_PAGE_RATIO, 60, 770, 11, 120, 770, -1, 0},
    {TXT_PAGE_FUEL, 215, 770, 8, 255, 770, -1, 0},
    {TXT_PAGE_SPEED_CONTROLLER, 60, 790, 9, 130, 790, -1, 0},
    {TXT_PAGE_BATTERY, 225, 790, 10, 275, 790, -1, 0},
    {TXT_PAGE_DIFF_FRONT, 60, 850, 12, 110, 850, -1, 0},
    {TXT_PAGE_DIFF_CENTRE, 210, 850, 13, 265, 850, -1, 0},
    {TXT_PAGE_DIFF_REAR, 60, 870, 14, 110, 870, -1, 0},
    {TXT_PAGE_RIDE_HEIGHT, 390, 600, 26, 540, 600, 27, 630},
    {TXT_PAGE_ANTI_ROLL_BAR, 390, 620, 28, 540, 620, 29, 630},
    {TXT_PAGE_SHOCKS_FIXATION, 390, 640, 30, 540, 640, 31, 630},
    {TXT_PAGE_CAMBER, 390, 660, 32, 540, 660, 33, 630},
    {TXT_PAGE_TOE, 390, 680, 34, 540, 680, 35, 630},
    {TXT_PAGE_WHEELBASE, 400, 710, 25, 500, 710, -1, 0},
    {TXT_PAGE_SHOCKS, 390, 790, 15, 535, 790, 16, 630},
    {TXT_PAGE_SPRINGS, 390, 810, 17, 535, 810, 18, 630},
    {TXT_PAGE_FLUID, 390, 830, 19, 535, 830, 20, 630},
    {TXT_PAGE_PISTON, 390, 850, 21, 535, 850, 22, 630},
    {TXT_PAGE_REBOUND, 390, 870, 23, 535, 870, 24, 630},
    {TXT_PAGE_TIRES, 60, 950, 40, 215, 950, 41, 330},
    {TXT_PAGE_TIRE_INSERTS, 60, 970, 42, 215, 970, 43, 330},
    {TXT_PAGE_WHEELS, 60, 990, 44, 215, 990, 45, 330},
    {TXT_PAGE_BODY, 60, 1020, 36, 140, 1020, -1, 0},
    {TXT_PAGE_WING, 245, 1020, 37, 300, 1020, -1, 0},
    {TXT_PAGE_WING_POSITION, 60, 1040, 38, 170, 1040, -1, 0},
    {TXT_PAGE_WING_INCLINE, 60, 1060, 39, 180, 1060, -1, 0},
    {TXT_PAGE_RADIO, 430, 950, 46, 480, 950, -1, 0},
    {TXT_PAGE_STEERING_SERVO, 430, 970, 47, 535, 970, -1, 0},
    {TXT_PAGE_THROTTLE_SERVO, 430, 990, 48, 535, 990, -1, 0},
};

void DrawRunPage(const RunWindowModel& model, DrawList& list) {
  // The frames first, so that the captions drawn over them cut their lines.
  static const GraphRect kFrames[] = {
      {50, 260, 690, 518},  {50, 650, 360, 810},  {50, 830, 360, 890},  {380, 560, 690, 730},
      {380, 750, 690, 890}, {50, 910, 400, 1080}, {420, 910, 690, 1010}};
  for (const GraphRect& r : kFrames) list.Frame(r.left, r.top, r.right, r.bottom, kBlack);

  // The graph of the current view in its paper form.
  static ViewNumbers numbers;
  GraphInputs in = InputsOf(model);
  in.hover.active = false;
  DrawView(model.view, in, GraphForm::kPaper, numbers, list);

  list.OpaqueText(360, 130, TextAlign::kCentre, kPageHeadingFont, kBlack, kWhite,
                  model.headingLine);
  list.OpaqueText(60, 590, TextAlign::kLeft, kPageCaptionFont, kBlack, kWhite, TXT_PAGE_CAR);
  struct Caption {
    int x, y;
    const char* text;
  };
  static const Caption kCaptions[] = {
      {55, 640, TXT_PAGE_ENGINE_FRAME},   {55, 820, TXT_PAGE_DIFFERENTIALS_FRAME},
      {385, 550, TXT_PAGE_CHASSIS_FRAME}, {385, 740, TXT_PAGE_SHOCKS_FRAME},
      {55, 900, TXT_PAGE_TIRES_FRAME},    {425, 900, TXT_PAGE_RADIO_FRAME}};
  for (const Caption& c : kCaptions)
    list.OpaqueText(c.x, c.y, TextAlign::kLeft, kPageCaptionFont, kBlack, kWhite, c.text);
  static const Caption kColumnHeads[] = {{515, 580, TXT_PAGE_FRONT}, {605, 580, TXT_PAGE_REAR},
                                         {510, 770, TXT_PAGE_FRONT}, {605, 770, TXT_PAGE_REAR},
                                         {190, 930, TXT_PAGE_FRONT}, {300, 930, TXT_PAGE_REAR}};
  for (const Caption& c : kColumnHeads)
    list.Text(c.x, c.y, TextAlign::kLeft, kPageColumnFont, kBlack, c.text);

  list.Text(50, 210, TextAlign::kLeft, kPageTextFont, kBlack, model.trackLine);
  list.Text(50, 230, TextAlign::kLeft, kPageTextFont, kBlack, TXT_PAGE_TRACK_CONDITIONS);
  list.Text(ValueX(160, 50, TXT_PAGE_TRACK_CONDITIONS, kPageTextFont.height, false), 230,
            TextAlign::kLeft, kPageTextFont, kBlack, SetupField(model.record.setup, 0));

  char heading[96];
  std::snprintf(heading, sizeof heading,
                model.view == GraphView::kCurve ? TXT_PAGE_CURVE_HEADING : TXT_PAGE_SUMMARY_HEADING,
                model.first, model.last);
  list.Text(370, 270, TextAlign::kCentre, kPageTextFont, kBlack, heading);

  for (const PageSetupRow& row : kPageSetupLayout) {
    if (row.label != nullptr)
      list.Text(row.labelX, row.labelY, TextAlign::kLeft, kPageTextFont, kBlack, row.label);
    const char* value = SetupField(model.record.setup, row.field);
    if (row.rearField < 0) {
      // The car name follows the bold caption "Car :" drawn above.
      const int x = row.label != nullptr
                        ? ValueX(row.valueX, row.labelX, row.label, kPageTextFont.height, false)
                        : ValueX(row.valueX, 60, TXT_PAGE_CAR, kPageCaptionFont.height, true);
      list.Text(x, row.valueY, TextAlign::kLeft, kPageTextFont, kBlack, value);
    } else {
      list.Text(row.valueX, row.valueY, TextAlign::kCentre, kPageTextFont, kBlack, value);
      list.Text(row.rearX, row.valueY, TextAlign::kCentre, kPageTextFont, kBlack,
                SetupField(model.record.setup, row.rearField));
    }
  }
}

// --- Controls.

int SetupEditId(int field) {
  return field == 0 ? IDC_RUN_TRACK_CONDITIONS : IDC_RUN_CAR_LIST + field;
}

// Left column: track conditions, car, engine, differentials, shocks and chassis. Above the plot:
// range and views. Between plot and strip: the strip's caption; under the strip its scroll bar.
// Bottom right: tires and body, radio, the buttons.
const ControlPlace kRunWindowLayout[] = {
    {IDC_RUN_TRACK_CONDITIONS_LABEL, 10, 12, 150, 16},
    {IDC_RUN_TRACK_CONDITIONS, 162, 10, 158, 20},
    {IDC_RUN_CAR_LABEL, 10, 44, 58, 16},
    {IDC_RUN_CAR_LIST, 70, 42, 100, 200},
    {IDC_RUN_CAR_NAME, 175, 42, 145, 20},
    {IDC_RUN_ENGINE_GROUP, 6, 68, 318, 158},
    {IDC_RUN_ENGINE_LABEL, 14, 88, 72, 16},
    {IDC_RUN_ENGINE, 90, 86, 226, 20},
    {IDC_RUN_PLUG_LABEL, 14, 110, 72, 16},
    {IDC_RUN_PLUG, 90, 108, 80, 20},
    {IDC_RUN_RESTRICTOR_LABEL, 176, 110, 52, 16},
    {IDC_RUN_RESTRICTOR, 230, 108, 86, 20},
    {IDC_RUN_PIPE_LABEL, 14, 132, 72, 16},
    {IDC_RUN_PIPE, 90, 130, 80, 20},
    {IDC_RUN_MUFFLER_LABEL, 176, 132, 52, 16},
    {IDC_RUN_MUFFLER, 230, 130, 86, 20},
    {IDC_RUN_CLUTCH_GEAR_LABEL, 14, 154, 84, 16},
    {IDC_RUN_CLUTCH_GEAR, 100, 152, 216, 20},
    {IDC_RUN_RATIO_LABEL, 14, 176, 72, 16},
    {IDC_RUN_RATIO, 90, 174, 80, 20},
    {IDC_RUN_FUEL_LABEL, 176, 176, 72, 16},
    {IDC_RUN_FUEL, 250, 174, 66, 20},
    {IDC_RUN_SPEED_CONTROLLER_LABEL, 14, 198, 84, 16},
    {IDC_RUN_SPEED_CONTROLLER, 100, 196, 70, 20},
    {IDC_RUN_BATTERY_LABEL, 176, 198, 52, 16},
    {IDC_RUN_BATTERY, 230, 196, 86, 20},
    {IDC_RUN_DIFFERENTIALS_GROUP, 6, 230, 318, 72},
    {IDC_RUN_DIFF_FRONT_LABEL, 14, 250, 50, 16},
    {IDC_RUN_DIFF_FRONT, 66, 248, 96, 20},
    {IDC_RUN_DIFF_CENTRE_LABEL, 168, 250, 58, 16},
    {IDC_RUN_DIFF_CENTRE, 228, 248, 88, 20},
    {IDC_RUN_DIFF_REAR_LABEL, 14, 274, 50, 16},
    {IDC_RUN_DIFF_REAR, 66, 272, 96, 20},
    {IDC_RUN_SHOCKS_GROUP, 6, 306, 318, 150},
    {IDC_RUN_SHOCKS_FRONT_HEAD, 130, 322, 86, 16},
    {IDC_RUN_SHOCKS_REAR_HEAD, 222, 322, 94, 16},
    {IDC_RUN_SHOCKS_LABEL, 14, 342, 112, 16},
    {IDC_RUN_SHOCKS_FRONT, 130, 340, 86, 20},
    {IDC_RUN_SHOCKS_REAR, 222, 340, 94, 20},
    {IDC_RUN_SPRINGS_LABEL, 14, 364, 112, 16},
    {IDC_RUN_SPRINGS_FRONT, 130, 362, 86, 20},
    {IDC_RUN_SPRINGS_REAR, 222, 362, 94, 20},
    {IDC_RUN_FLUID_LABEL, 14, 386, 112, 16},
    {IDC_RUN_FLUID_FRONT, 130, 384, 86, 20},
    {IDC_RUN_FLUID_REAR, 222, 384, 94, 20},
    {IDC_RUN_PISTON_LABEL, 14, 408, 112, 16},
    {IDC_RUN_PISTON_FRONT, 130, 406, 86, 20},
    {IDC_RUN_PISTON_REAR, 222, 406, 94, 20},
    {IDC_RUN_REBOUND_LABEL, 14, 430, 112, 16},
    {IDC_RUN_REBOUND_FRONT, 130, 428, 86, 20},
    {IDC_RUN_REBOUND_REAR, 222, 428, 94, 20},
    {IDC_RUN_CHASSIS_GROUP, 6, 460, 318, 184},
    {IDC_RUN_CHASSIS_FRONT_HEAD, 130, 476, 86, 16},
    {IDC_RUN_CHASSIS_REAR_HEAD, 222, 476, 94, 16},
    {IDC_RUN_RIDE_HEIGHT_LABEL, 14, 496, 112, 16},
    {IDC_RUN_RIDE_HEIGHT_FRONT, 130, 494, 86, 20},
    {IDC_RUN_RIDE_HEIGHT_REAR, 222, 494, 94, 20},
    {IDC_RUN_ANTI_ROLL_BAR_LABEL, 14, 518, 112, 16},
    {IDC_RUN_ANTI_ROLL_BAR_FRONT, 130, 516, 86, 20},
    {IDC_RUN_ANTI_ROLL_BAR_REAR, 222, 516, 94, 20},
    {IDC_RUN_SHOCKS_FIXATION_LABEL, 14, 540, 112, 16},
    {IDC_RUN_SHOCKS_FIXATION_FRONT, 130, 538, 86, 20},
    {IDC_RUN_SHOCKS_FIXATION_REAR, 222, 538, 94, 20},
    {IDC_RUN_CAMBER_LABEL, 14, 562, 112, 16},
    {IDC_RUN_CAMBER_FRONT, 130, 560, 86, 20},
    {IDC_RUN_CAMBER_REAR, 222, 560, 94, 20},
    {IDC_RUN_TOE_LABEL, 14, 584, 112, 16},
    {IDC_RUN_TOE_FRONT, 130, 582, 86, 20},
    {IDC_RUN_TOE_REAR, 222, 582, 94, 20},
    {IDC_RUN_WHEELBASE_LABEL, 14, 612, 112, 16},
    {IDC_RUN_WHEELBASE, 130, 610, 86, 20},
    {IDC_RUN_SUMMARY_GROUP, 330, 106, 620, 40},
    {IDC_RUN_FROM_LAP_LABEL, 340, 124, 72, 16},
    {IDC_RUN_FIRST_LAP, 414, 122, 40, 20},
    {IDC_RUN_TO_LAP_LABEL, 458, 124, 80, 16},
    {IDC_RUN_LAST_LAP, 540, 122, 40, 20},
    {IDC_RUN_DATA, 640, 124, 90, 16},
    {IDC_RUN_HISTO, 740, 124, 90, 16},
    {IDC_RUN_CURVE, 840, 124, 100, 16},
    {IDC_RUN_STRIP_GROUP, 330, 348, 620, 21},
    {IDC_RUN_STRIP_SCROLL, 330, 440, 620, 17},
    {IDC_RUN_TIRES_GROUP, 330, 462, 340, 182},
    {IDC_RUN_TIRES_FRONT_HEAD, 450, 478, 96, 16},
    {IDC_RUN_TIRES_REAR_HEAD, 552, 478, 110, 16},
    {IDC_RUN_TIRES_LABEL, 338, 496, 110, 16},
    {IDC_RUN_TIRES_FRONT, 450, 494, 96, 20},
    {IDC_RUN_TIRES_REAR, 552, 494, 110, 20},
    {IDC_RUN_TIRE_INSERTS_LABEL, 338, 518, 110, 16},
    {IDC_RUN_TIRE_INSERTS_FRONT, 450, 516, 96, 20},
    {IDC_RUN_TIRE_INSERTS_REAR, 552, 516, 110, 20},
    {IDC_RUN_WHEELS_LABEL, 338, 540, 110, 16},
    {IDC_RUN_WHEELS_FRONT, 450, 538, 96, 20},
    {IDC_RUN_WHEELS_REAR, 552, 538, 110, 20},
    {IDC_RUN_BODY_LABEL, 338, 564, 82, 16},
    {IDC_RUN_BODY, 422, 562, 84, 20},
    {IDC_RUN_WING_LABEL, 510, 564, 50, 16},
    {IDC_RUN_WING, 562, 562, 100, 20},
    {IDC_RUN_WING_POSITION_LABEL, 338, 588, 110, 16},
    {IDC_RUN_WING_POSITION, 450, 586, 212, 20},
    {IDC_RUN_WING_INCLINE_LABEL, 338, 612, 128, 16},
    {IDC_RUN_WING_INCLINE, 468, 610, 194, 20},
    {IDC_RUN_RADIO_GROUP, 678, 462, 294, 98},
    {IDC_RUN_RADIO_LABEL, 686, 482, 110, 16},
    {IDC_RUN_RADIO, 800, 480, 164, 20},
    {IDC_RUN_STEERING_SERVO_LABEL, 686, 506, 110, 16},
    {IDC_RUN_STEERING_SERVO, 800, 504, 164, 20},
    {IDC_RUN_THROTTLE_SERVO_LABEL, 686, 530, 110, 16},
    {IDC_RUN_THROTTLE_SERVO, 800, 528, 164, 20},
    {1, 674, 600, 76, 24},
    {2, 756, 600, 64, 24},
    {IDC_RUN_PRINT, 830, 588, 40, 40},
    {IDC_RUN_EXPORT, 674, 568, 146, 24},
};
const int kRunWindowControlCount = sizeof kRunWindowLayout / sizeof kRunWindowLayout[0];

}  // namespace zarvo
