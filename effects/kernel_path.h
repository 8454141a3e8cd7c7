#pragma once
// Which explicit vector code the effect kernels run. The widest path the processor offers is
// chosen once, when the library loads; tests and benchmarks may force another one it offers.
// Every path gives the same bits: a fused multiply-add is only used where the product is of two
// float32 values, which is exact in double, so rounding once after the addition is what the
// separate operations do.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#if (defined(__x86_64__) || defined(__i386__)) && defined(__SSE2__)
#define LREVERB_X86 1
#define LREVERB_TARGET_AVX512 __attribute__((target("avx512f,fma")))
#define LREVERB_TARGET_AVX2 __attribute__((target("avx2,fma")))
#define LREVERB_TARGET_FMA __attribute__((target("fma")))
#else
#define LREVERB_X86 0
#endif

namespace lumra {

enum class KernelPath : std::uint8_t { Portable, Sse2, Avx2, Avx512 };

inline constexpr std::array<KernelPath, 4> AllKernelPaths{KernelPath::Portable, KernelPath::Sse2,
                                                          KernelPath::Avx2, KernelPath::Avx512};

// The path the kernels run now.
KernelPath ActiveKernelPath();
// The widest path this build and this processor run: the one chosen at load time.
KernelPath BestKernelPath();
bool KernelPathSupported(KernelPath path);
// The paths this build and this processor run, narrowest first.
std::vector<KernelPath> SupportedKernelPaths();
// "portable", "sse2", "avx2" or "avx512".
const char* KernelPathName(KernelPath path);
// The processor features the paths depend on, e.g. "sse2 avx avx2 fma avx512f".
std::string ProcessorFeatures();

// True when the active path is a vector one: the reverb damping then steps its companion with
// StepPair or StepPairFused instead of Step (see ReverbBank::Damp).
inline bool WideArithmetic() { return ActiveKernelPath() != KernelPath::Portable; }

// Runs the kernels on path until destroyed, then on the path before. For tests and benchmarks,
// between blocks; a path the processor does not offer throws std::invalid_argument.
class ScopedKernelPath {
 public:
  explicit ScopedKernelPath(KernelPath path);
  ~ScopedKernelPath();
  ScopedKernelPath(const ScopedKernelPath&) = delete;
  ScopedKernelPath& operator=(const ScopedKernelPath&) = delete;

 private:
  KernelPath previous_;
};

// a * b + c for a product of two float32 values: fused when Fused, else two operations.
template <bool Fused>
inline double ExactMulAdd(double a, double b, double c) {
  if constexpr (Fused)
    return __builtin_fma(a, b, c);
  else
    return a * b + c;
}

}  // namespace lumra
