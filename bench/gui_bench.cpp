// Time to draw everything the editor draws once when its window opens: the grained face,
// 36 knob bodies, the 64-frame knob sheet with its tick rings, the labels and titles and the
// three display panels. Fonts are found and opened on the first run, outside the timing.

#include <benchmark/benchmark.h>

#include "common/random.h"
#include "tests/gui/sample_face.h"

namespace {

void BM_DrawEditorFace(benchmark::State& state) {
  lumra::DrawSampleFace();
  for (auto _ : state) {
    lumra::SetRandomSeed(0);
    benchmark::DoNotOptimize(lumra::DrawSampleFace());
  }
}
BENCHMARK(BM_DrawEditorFace)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
