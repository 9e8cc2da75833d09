// The three views of a 999-lap run over its whole range: numbers and drawing list, as every
// paint of a run window computes them (the curve repaints on mouse moves while hovering).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "analysis/lap_graphs.h"

namespace zarvo {
namespace {

struct Run999 {
  RunLaps laps;
  DrawList list;
  ViewNumbers numbers;
  GraphInputs in;
};

std::unique_ptr<Run999> MakeRun999() {
  auto run = std::make_unique<Run999>();
  auto record = std::make_unique<ParticipantRecord>();
  std::memset(record.get(), 0, sizeof *record);
  record->lapCount = kMaxLapCount;
  unsigned seed = 99;
  for (int k = 1; k <= kMaxLapCount; ++k) {
    seed = seed * 1103515245u + 12345u;
    record->passageTimes[k] = record->passageTimes[k - 1] + 19800 + int32_t((seed >> 16) % 2400);
  }
  LoadRunLaps(*record, run->laps);
  run->in = GraphInputs{};
  run->in.laps = &run->laps;
  run->in.first = 1;
  run->in.last = kMaxLapCount;
  run->in.headingLine = " Training - Run1  : Lucas MARTIN";
  run->in.trackLine = " Track : Mornay   (Start 2026/12/07 14:03:10 - Duration 6:00:00) ";
  run->in.stripOffset = 500;
  run->in.hover = CurveHover{true, 40, 600, 250};
  return run;
}

void BM_ThreeViewsOf999Laps(benchmark::State& state) {
  auto run = MakeRun999();
  for (auto _ : state) {
    for (GraphView view : {GraphView::kData, GraphView::kHisto, GraphView::kCurve}) {
      run->list.Clear();
      DrawView(view, run->in, GraphForm::kScreen, run->numbers, run->list);
      benchmark::DoNotOptimize(run->list.count);
    }
  }
}
BENCHMARK(BM_ThreeViewsOf999Laps);

void BM_ViewOf999Laps(benchmark::State& state) {
  auto run = MakeRun999();
  const GraphView view = static_cast<GraphView>(state.range(0));
  for (auto _ : state) {
    run->list.Clear();
    DrawView(view, run->in, GraphForm::kScreen, run->numbers, run->list);
    benchmark::DoNotOptimize(run->list.count);
  }
  state.counters["primitives"] = run->list.count;
}
BENCHMARK(BM_ViewOf999Laps)->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace zarvo
