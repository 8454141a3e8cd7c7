// Real-time factor of the whole processing chain: seconds of audio processed per second of CPU
// time, for the rates, channel layouts and block sizes a host uses, at the load-time settings and
// at the densest ones (both Density knobs at 1).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "plugin/entry_points.h"
#include "plugin/instance.h"

namespace {

using namespace lumra;

void ConfigureInstance(bool densest) {
  plugin::Destroy();
  plugin::LoadLibraryInstance();
  if (!densest) return;
  ParamBlock block = plugin::TheInstance().Params;
  block.Values[3] = 1.0f;
  block.Values[26] = 1.0f;
  plugin::SetData(&block, sizeof block);
}

void Chain(benchmark::State& state) {
  const auto rate = static_cast<std::int32_t>(state.range(0));
  const auto channels = static_cast<int>(state.range(1));
  const auto block = static_cast<std::int32_t>(state.range(2));
  ConfigureInstance(state.range(3) != 0);

  // A second of noise per channel, handed over block by block the way a host copies its input.
  std::mt19937 gen(1);
  std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
  std::vector<std::vector<float>> source(channels, std::vector<float>(rate));
  for (auto& s : source)
    for (float& x : s) x = noise(gen);
  std::vector<std::vector<float>> buffers(channels, std::vector<float>(block));
  std::vector<float*> pointers;
  for (auto& b : buffers) pointers.push_back(b.data());
  // One second to settle the rate change and fill the rings.
  for (int i = 0; i < rate / block; ++i) plugin::PostWave(pointers.data(), rate, channels, block);

  std::size_t at = 0;
  for (auto _ : state) {
    if (at + block > source.front().size()) at = 0;
    for (int c = 0; c < channels; ++c)
      std::copy_n(source[c].begin() + static_cast<std::ptrdiff_t>(at), block, buffers[c].begin());
    at += block;
    plugin::PostWave(pointers.data(), rate, channels, block);
    benchmark::DoNotOptimize(buffers.front().data());
  }
  state.counters["realtime"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * block / rate, benchmark::Counter::kIsRate);
}

void ChainArguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"rate", "ch", "block", "densest"});
  for (int densest : {0, 1})
    for (int rate : {44100, 48000})
      for (int ch : {1, 2})
        for (int block : {64, 512, 4096}) b->Args({rate, ch, block, densest});
}

BENCHMARK(Chain)->Apply(ChainArguments)->UseRealTime()->MinTime(0.3);

}  // namespace

BENCHMARK_MAIN();
