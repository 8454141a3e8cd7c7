// Real-time factor of the whole processing chain: seconds of audio processed per second of CPU
// time, for the rates, channel layouts and block sizes a host uses, at the load-time settings and
// at the densest ones (both Density knobs at 1), on every kernel path the processor offers.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "effects/kernel_path.h"
#include "plugin/entry_points.h"
#include "plugin/param_block.h"

namespace {

using namespace lumra;

void ConfigureInstance(bool densest) {
  plugin::Destroy();
  plugin::LoadLibraryInstance();
  ParamBlock block = LoadTimeBlock();
  if (densest) {
    block.Values[3] = 1.0f;
    block.Values[26] = 1.0f;
  }
  plugin::SetData(&block, sizeof block);
}

void Chain(benchmark::State& state, KernelPath path) {
  const ScopedKernelPath force(path);
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

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  std::string offered;
  for (const KernelPath path : SupportedKernelPaths()) {
    offered += std::string(offered.empty() ? "" : " ") + KernelPathName(path);
    // Each path's rows are named after it: "Chain/avx2/rate:48000/...".
    const std::string name = std::string("Chain/") + KernelPathName(path);
    benchmark::RegisterBenchmark(name.c_str(), Chain, path)->Apply(ChainArguments)->MinTime(0.3);
  }
  benchmark::AddCustomContext("processor_features", ProcessorFeatures());
  benchmark::AddCustomContext("kernel_paths_offered", offered);
  benchmark::AddCustomContext("kernel_path_at_load", KernelPathName(BestKernelPath()));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
