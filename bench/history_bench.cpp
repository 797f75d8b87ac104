// The cost of undo on the million-triangle torus: each edit plain and recorded as a history
// step (the recording's share), and undo and redo of a whole-model Move and of a guillotine.
#include <benchmark/benchmark.h>

#include "bench_setup.h"
#include "model/cutting.h"
#include "model/fields.h"
#include "model/history.h"
#include "model/transforms.h"
#include "ui/commands.h"

namespace {

void selectAllTris(Model& m) {
  for (int32_t t = 0; t < m.triangleCount; ++t) m.triFlags[t] |= kSelectedBit;
}

Fields sliceFields() {
  Fields f;
  setFieldDefaults(f);
  f.floatFields[kX1] = 0.0f;
  return f;
}

// Argument 1: recorded as a history step; 0: the edit alone.
void moveWhole(benchmark::State& state) {
  const bool recorded = state.range(0) != 0;
  Model& m = benchTorus();
  selectAllTris(m);
  const Selection s;
  History h;
  for (auto _ : state) {
    if (recorded)
      recordStep(h, m, transformScope(), [&] {
        return moveSelection(m, s, Vec3{1.0f, 0.0f, 0.0f}, false, &h);
      });
    else
      moveSelection(m, s, Vec3{1.0f, 0.0f, 0.0f}, false);
    benchmark::ClobberMemory();
    state.PauseTiming();
    clearHistory(h);
    state.ResumeTiming();
  }
  resetBenchTorus();
}

void sliceMiddleRecorded(benchmark::State& state) {
  const bool recorded = state.range(0) != 0;
  Model& m = benchTorus();
  const Fields f = sliceFields();
  History h;
  for (auto _ : state) {
    state.PauseTiming();
    resetBenchTorus();
    clearHistory(h);
    state.ResumeTiming();
    if (recorded)
      recordStep(h, m, sliceScope(), [&] { return sliceModel(m, kAxisX, f.floatFields[kX1], &h); });
    else
      sliceModel(m, kAxisX, f.floatFields[kX1]);
    benchmark::ClobberMemory();
  }
  resetBenchTorus();
}

void deleteHalfRecorded(benchmark::State& state) {
  const bool recorded = state.range(0) != 0;
  Model& m = benchTorus();
  History h;
  for (auto _ : state) {
    state.PauseTiming();
    resetBenchTorus();
    clearHistory(h);
    for (int32_t t = 0; t < m.triangleCount / 2; ++t) m.triFlags[t] |= kSelectedBit;
    state.ResumeTiming();
    if (recorded)
      recordStep(h, m, deleteScope(true), [&] { return deleteSelection(m, true, &h); });
    else
      deleteSelection(m, true);
    benchmark::ClobberMemory();
  }
  resetBenchTorus();
}

// Argument 0: undo timed (redo paused); 1: redo timed. `edit` records into the history.
template <class Edit>
void undoRedo(benchmark::State& state, ChangeScope scope, Edit edit) {
  const bool timeRedo = state.range(0) != 0;
  Model& m = benchTorus();
  History h;
  recordStep(h, m, scope, [&] { return edit(h); });
  for (auto _ : state) {
    if (timeRedo) {
      state.PauseTiming();
      undoStep(h, m);
      state.ResumeTiming();
      redoStep(h, m);
    } else {
      undoStep(h, m);
      state.PauseTiming();
      redoStep(h, m);
      state.ResumeTiming();
    }
    benchmark::ClobberMemory();
  }
  state.counters["step MB"] = static_cast<double>(h.bytes) / 1.0e6;
  resetBenchTorus();
}

void undoRedoMoveWhole(benchmark::State& state) {
  Model& m = benchTorus();
  selectAllTris(m);
  const Selection s;
  undoRedo(state, transformScope(), [&](History& h) {
    return moveSelection(m, s, Vec3{1.0f, 0.0f, 0.0f}, false, &h);
  });
}

void undoRedoSlice(benchmark::State& state) {
  Model& m = benchTorus();
  const Fields f = sliceFields();
  undoRedo(state, sliceScope(),
           [&](History& h) { return sliceModel(m, kAxisX, f.floatFields[kX1], &h); });
}

}  // namespace

BENCHMARK(moveWhole)->ArgName("recorded")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(sliceMiddleRecorded)->ArgName("recorded")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(deleteHalfRecorded)->ArgName("recorded")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(undoRedoMoveWhole)->ArgName("redo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(undoRedoSlice)->ArgName("redo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
