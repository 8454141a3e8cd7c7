#include "effects/wav_buffer.h"

#include <algorithm>
#include <cstring>

#include "effects/vector_kernels.h"
#include "effects/wide_intrinsics.h"

namespace lumra {
namespace {

#if LREVERB_X86
// The stereo (step 2) forms: one channel's samples from, or into, four frames per vector. Only
// moves, so every bit pattern, not-a-number payloads included, travels unchanged.
std::int32_t DeinterleavePairs(float* dest, const float* src, std::int32_t count,
                               std::int32_t offset) {
  std::int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128 a = _mm_loadu_ps(src + 2 * i), b = _mm_loadu_ps(src + 2 * i + 4);
    _mm_storeu_ps(dest + i, offset == 0 ? _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))
                                        : _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  return i;
}

// The other channel's slots are read and written back as they were.
std::int32_t InterleavePairs(float* dest, const float* src, std::int32_t count,
                             std::int32_t offset) {
  std::int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128 own = _mm_loadu_ps(src + i);
    const __m128 a = _mm_loadu_ps(dest + 2 * i), b = _mm_loadu_ps(dest + 2 * i + 4);
    if (offset == 0) {
      const __m128 other = _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1));
      _mm_storeu_ps(dest + 2 * i, _mm_unpacklo_ps(own, other));
      _mm_storeu_ps(dest + 2 * i + 4, _mm_unpackhi_ps(own, other));
    } else {
      const __m128 other = _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0));
      _mm_storeu_ps(dest + 2 * i, _mm_unpacklo_ps(other, own));
      _mm_storeu_ps(dest + 2 * i + 4, _mm_unpackhi_ps(other, own));
    }
  }
  return i;
}
#endif

}  // namespace

void TWavBuffer::Attach(float* data, std::int32_t count) {
  Release();
  data_ = data;
  count_ = count;
  borrowed_ = true;
}

void TWavBuffer::Release() {
  data_ = nullptr;
  count_ = 0;
  borrowed_ = false;
}

void TWavBuffer::SetCount(std::int32_t count) {
  if (count == count_) return;
  Release();
  if (count <= 0) return;
  if (count > capacity_) {
    storage_ = std::make_unique_for_overwrite<float[]>(static_cast<std::size_t>(count));
    capacity_ = count;
  }
  data_ = storage_.get();
  count_ = count;
}

void TWavBuffer::CopyFrom(const float* data, std::int32_t count) {
  SetCount(count);
  if (count_ > 0 && data_ != data) std::memcpy(data_, data, sizeof(float) * count_);
}

void TWavBuffer::Assign(const TWavBuffer& other) { CopyFrom(other.data_, other.count_); }

void TWavBuffer::CopyTo(float* dest) const {
  if (count_ > 0 && dest != data_) std::memcpy(dest, data_, sizeof(float) * count_);
}

void TWavBuffer::Deinterleave(const float* src, std::int32_t count, std::int32_t step,
                              std::int32_t offset) {
  SetCount(count);
  std::int32_t i = 0;
#if LREVERB_X86
  if (step == 2 && (offset == 0 || offset == 1)) i = DeinterleavePairs(data_, src, count_, offset);
#endif
  for (; i < count_; ++i)
    std::memcpy(&data_[i], &src[offset + static_cast<std::ptrdiff_t>(i) * step], sizeof(float));
}

void TWavBuffer::Interleave(float* dest, std::int32_t step, std::int32_t offset) const {
  std::int32_t i = 0;
#if LREVERB_X86
  if (step == 2 && (offset == 0 || offset == 1)) i = InterleavePairs(dest, data_, count_, offset);
#endif
  for (; i < count_; ++i)
    std::memcpy(&dest[offset + static_cast<std::ptrdiff_t>(i) * step], &data_[i], sizeof(float));
}

void TWavBuffer::Add(const TWavBuffer& other) { AddRun(data_, other.data_, count_); }

void TWavBuffer::AddScaled(const TWavBuffer& other, float gain) {
  AddScaledRun(data_, other.data_, count_, gain);
}

void TWavBuffer::Mix(const TWavBuffer& other, float ownGain, float otherGain) {
  MixRun(data_, other.data_, count_, ownGain, otherGain);
}

// A float32 difference taken in double and rounded once equals the float32 difference itself.
void TWavBuffer::Subtract(const TWavBuffer& other) {
  const float* o = other.data_;
  for (std::int32_t i = 0; i < count_; ++i) data_[i] -= o[i];
}

void TWavBuffer::Zero() {
  if (count_ > 0) std::fill_n(data_, count_, 0.0f);
}

float TWavBuffer::Peak() const { return PeakRun(data_, count_, 0.0f); }

}  // namespace lumra
