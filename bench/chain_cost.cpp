// Renders seconds of stereo noise at 48 kHz through the plug-in's interleaved entry point, on a
// chosen kernel path, for counting instructions per frame with an instruction-level profiler:
//
//   valgrind --tool=callgrind --toggle-collect='*CountedFrames*' chain_cost avx2 60 [densest]
//
// Only CountedFrames is worth counting; the set-up and the first second that fills the rings
// run outside it.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string_view>
#include <vector>

#include "effects/kernel_path.h"
#include "plugin/entry_points.h"
#include "plugin/param_block.h"

namespace {

using namespace lumra;

constexpr std::int32_t Rate = 48000;
constexpr std::int32_t Block = 512;

[[gnu::noinline]] void RenderFrames(std::vector<float>& source, std::vector<float>& block,
                                    std::int64_t frames) {
  std::size_t at = 0;
  for (std::int64_t done = 0; done < frames; done += Block) {
    if (at + block.size() > source.size()) at = 0;
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(at), block.size(), block.begin());
    at += block.size();
    plugin::PostWaveData(block.data(), Rate, 2, Block);
  }
}

// The frames to count, apart from the ones that fill the rings.
[[gnu::noinline]] void CountedFrames(std::vector<float>& source, std::vector<float>& block,
                                     std::int64_t frames) {
  RenderFrames(source, block, frames);
}

int Usage() {
  std::fprintf(stderr, "usage: chain_cost portable|sse2|avx2|avx512 SECONDS [densest]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const KernelPath* path = nullptr;
  for (const KernelPath& p : AllKernelPaths)
    if (std::string_view(argv[1]) == KernelPathName(p)) path = &p;
  const double seconds = std::atof(argv[2]);
  if (path == nullptr || !(seconds > 0.0)) return Usage();
  if (!KernelPathSupported(*path)) {
    std::fprintf(stderr, "this processor does not offer %s (features: %s)\n", argv[1],
                 ProcessorFeatures().c_str());
    return 1;
  }
  const ScopedKernelPath force(*path);

  plugin::LoadLibraryInstance();
  ParamBlock params = LoadTimeBlock();
  if (argc > 3 && std::string_view(argv[3]) == "densest")
    params.Values[3] = params.Values[26] = 1.0f;
  plugin::SetData(&params, sizeof params);

  std::mt19937 gen(1);
  std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
  std::vector<float> source(2 * Rate);
  for (float& x : source) x = noise(gen);
  std::vector<float> block(2 * Block);
  RenderFrames(source, block, Rate);  // fills the rings, outside the count

  const auto frames = static_cast<std::int64_t>(seconds * Rate) / Block * Block;
  CountedFrames(source, block, frames);
  std::printf("path %s, features %s: %lld stereo frames\n", KernelPathName(*path),
              ProcessorFeatures().c_str(), static_cast<long long>(frames));
  plugin::Destroy();
  return 0;
}
