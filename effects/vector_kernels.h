#pragma once
// The element-wise inner loops of the effects. Each loop has no dependency between its samples,
// so the compiler vectorises it; every lane performs exactly the scalar operations in the same
// order, so the results do not depend on the vector width. On x86-64 Linux the loops are built
// for AVX-512, AVX2 and baseline SSE2, and the widest the processor runs is picked at load time;
// the all-pass run (AVX-512, AVX2, SSE2) and the feedback sums (AVX-512, AVX2) also have
// explicit forms with fused multiply-adds, chosen by the active kernel path (kernel_path.h),
// which the mingw builds run too, where clones do not exist.

#include <cstdint>

#if defined(__x86_64__) && defined(__linux__) && !defined(__SANITIZE_THREAD__) && \
    !defined(__SANITIZE_ADDRESS__)
#define LREVERB_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define LREVERB_VECTOR_CLONES
#endif

namespace lumra {

// Exchanges n samples between a block and a ring run (the plain delay).
void SwapSamples(float* block, float* ring, std::int32_t n);

// One run of the all-pass section: each ring cell is read once, then replaced.
void AllPassRun(float* block, float* ring, std::int32_t n, double gain);

// The element-wise sums of the sample buffers and the chain, each rounded once to float32:
// x[i] += y[i]; x[i] = y[i] * gain + x[i]; x[i] = x[i] * xGain + y[i] * yGain.
void AddRun(float* x, const float* y, std::int32_t n);
void AddScaledRun(float* x, const float* y, std::int32_t n, double gain);
void MixRun(float* x, const float* y, std::int32_t n, double xGain, double yGain);

// The largest magnitude among n samples and peak; a sample that is not a number never wins.
float PeakRun(const float* x, std::int32_t n, float peak);

// The feedback sums of one reverb chunk, v = cSelf * feedSelf + cOther * feedCross + x.
void FeedbackRun(float* v, const float* cSelf, const float* cOther, const float* x,
                 std::int32_t n, double feedSelf, double feedCross);

// The damped ring cells of one reverb chunk: (v - (v - damp) * mix) * norm, tiny values flushed.
void DampedCellRun(float* ring, const float* v, const float* damp, std::int32_t n, double mix,
                   double norm);

}  // namespace lumra
