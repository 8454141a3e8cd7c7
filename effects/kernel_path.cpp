#include "effects/kernel_path.h"

#include <atomic>
#include <stdexcept>

namespace lumra {
namespace {

bool Offered(KernelPath path) {
#if LREVERB_X86
  __builtin_cpu_init();
  switch (path) {
    case KernelPath::Portable: return true;
    case KernelPath::Sse2: return __builtin_cpu_supports("sse2");
    case KernelPath::Avx2: return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    case KernelPath::Avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
  }
  return false;
#else
  return path == KernelPath::Portable;
#endif
}

KernelPath Widest() {
  KernelPath best = KernelPath::Portable;
  for (const KernelPath path : AllKernelPaths)
    if (Offered(path)) best = path;
  return best;
}

// Read before every kernel run; a function-local static so that it is set before any other
// static initialiser of the library can run a kernel.
std::atomic<KernelPath>& Active() {
  static std::atomic<KernelPath> path{Widest()};
  return path;
}

}  // namespace

KernelPath ActiveKernelPath() { return Active().load(std::memory_order_relaxed); }

KernelPath BestKernelPath() {
  static const KernelPath best = Widest();
  return best;
}

bool KernelPathSupported(KernelPath path) { return Offered(path); }

std::vector<KernelPath> SupportedKernelPaths() {
  std::vector<KernelPath> paths;
  for (const KernelPath path : AllKernelPaths)
    if (Offered(path)) paths.push_back(path);
  return paths;
}

const char* KernelPathName(KernelPath path) {
  switch (path) {
    case KernelPath::Portable: return "portable";
    case KernelPath::Sse2: return "sse2";
    case KernelPath::Avx2: return "avx2";
    case KernelPath::Avx512: return "avx512";
  }
  return "?";
}

std::string ProcessorFeatures() {
  std::string text;
#if LREVERB_X86
  __builtin_cpu_init();
  const auto add = [&text](bool present, const char* name) {
    if (!present) return;
    if (!text.empty()) text += ' ';
    text += name;
  };
  add(__builtin_cpu_supports("sse2"), "sse2");
  add(__builtin_cpu_supports("sse4.1"), "sse4.1");
  add(__builtin_cpu_supports("avx"), "avx");
  add(__builtin_cpu_supports("avx2"), "avx2");
  add(__builtin_cpu_supports("fma"), "fma");
  add(__builtin_cpu_supports("avx512f"), "avx512f");
  add(__builtin_cpu_supports("avx512dq"), "avx512dq");
  add(__builtin_cpu_supports("avx512bw"), "avx512bw");
  add(__builtin_cpu_supports("avx512vl"), "avx512vl");
#endif
  return text.empty() ? "none" : text;
}

ScopedKernelPath::ScopedKernelPath(KernelPath path) : previous_(ActiveKernelPath()) {
  if (!KernelPathSupported(path))
    throw std::invalid_argument(std::string("kernel path not offered here: ") +
                                KernelPathName(path));
  Active().store(path, std::memory_order_relaxed);
}

ScopedKernelPath::~ScopedKernelPath() { Active().store(previous_, std::memory_order_relaxed); }

}  // namespace lumra
