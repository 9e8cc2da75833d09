// The three readers of the hand-off file on any bytes: every text ends within its capacity, the
// lap count stays in 0..999, what is read is written and read back the same; and the run read is
// analysed and drawn in the three views over a range taken from the input, to hold the
// statistics' arithmetic and the views to their bounds on damaged runs.
#include <cstdint>
#include <cstring>
#include <string>

#include "analysis/detail_results_file.h"
#include "analysis/lap_graphs.h"
#include "analysis/lap_statistics.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace zarvo;

bool Terminated(const char* text, size_t capacity) {
  return std::memchr(text, 0, capacity) != nullptr;
}

void CheckSheet(const SetupSheet& sheet) {
  for (int i = 0; i < kSetupFieldCount; ++i) {
    FUZZ_CHECK(Terminated(SetupField(sheet, i), SetupFieldCapacity(i)));
  }
}

int32_t Take(const uint8_t* data, size_t size, size_t at) {
  int32_t v = 0;
  if (size >= at + 4) std::memcpy(&v, data + at, 4);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  static RunHandOff run;
  static RunHandOff again;
  ParseRunHandOff(input, run);
  const ParticipantRecord& p = run.participant;
  FUZZ_CHECK(p.lapCount >= 0 && p.lapCount <= kMaxLapCount);
  FUZZ_CHECK(Terminated(p.driverName, sizeof p.driverName));
  FUZZ_CHECK(Terminated(run.runCaption, sizeof run.runCaption));
  FUZZ_CHECK(Terminated(run.circuitName, sizeof run.circuitName));
  FUZZ_CHECK(Terminated(run.runTitle, sizeof run.runTitle));
  CheckSheet(p.setup);
  const std::string written = FormatRunHandOff(p, run.runCaption, run.circuitName, run.runTitle);
  ParseRunHandOff(written, again);
  FUZZ_CHECK(again.participant.lapCount == p.lapCount);
  FUZZ_CHECK(std::memcmp(again.participant.passageTimes, p.passageTimes,
                         sizeof(int32_t) * (p.lapCount + 1)) == 0);
  FUZZ_CHECK(FormatRunHandOff(again.participant, again.runCaption, again.circuitName,
                              again.runTitle) == written);

  SetupSheet sheet = {};
  const int flag = ParseSetupAnswer(input, sheet);
  FUZZ_CHECK(flag == 1 || flag == 0 || flag == kNotASetupAnswer);
  CheckSheet(sheet);
  if (flag == 1) {
    SetupSheet back = {};
    FUZZ_CHECK(ParseSetupAnswer(FormatSetupAnswer(sheet, true), back) == 1);
    FUZZ_CHECK(FormatSetupAnswer(back, true) == FormatSetupAnswer(sheet, true));
  } else {
    static const SetupSheet kEmpty = {};
    FUZZ_CHECK(std::memcmp(&sheet, &kEmpty, sizeof sheet) == 0);
  }

  ArchivedRunRequest request;
  ParseArchivedRunRequest(input, request);
  FUZZ_CHECK(Terminated(request.runsFilePath, sizeof request.runsFilePath));
  FUZZ_CHECK(Terminated(request.runTitle, sizeof request.runTitle));

  static RunLaps laps;
  static DrawList list;
  static ViewNumbers numbers;
  LoadRunLaps(p, laps);
  GraphInputs in = {};
  in.laps = &laps;
  // Mostly ranges near the run's laps, sometimes any 32-bit values.
  const bool wild = size > 24 && (data[24] & 1) != 0;
  in.first = wild ? Take(data, size, 0) : Take(data, size, 0) % 1200;
  in.last = wild ? Take(data, size, 4) : Take(data, size, 4) % 1200;
  in.stripOffset = wild ? Take(data, size, 8) : Take(data, size, 8) % 1200;
  in.headingLine = run.runCaption;
  in.trackLine = run.runTitle;
  in.hover = CurveHover{true, Take(data, size, 12) % 120,
                        wild ? Take(data, size, 16) : Take(data, size, 16) % 2000,
                        wild ? Take(data, size, 20) : Take(data, size, 20) % 2000};
  for (GraphView view : {GraphView::kData, GraphView::kHisto, GraphView::kCurve}) {
    for (GraphForm form : {GraphForm::kScreen, GraphForm::kPaper}) {
      list.Clear();
      DrawView(view, in, form, numbers, list);
      FUZZ_CHECK(!list.overflowed);
      FUZZ_CHECK(numbers.summary.lapTotal >= 0 && numbers.summary.lapTotal <= laps.lapCount);
    }
  }
  TrackCurveHover(in.hover, in.hover.mouseX, in.hover.mouseY, laps, in.first, numbers.curve,
                  numbers.curveScale);
  return 0;
}
