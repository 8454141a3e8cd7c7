#include "effects/wav_buffer.h"

#include <algorithm>
#include <cstring>

#include "effects/vector_kernels.h"

namespace lumra {

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
  for (std::int32_t i = 0; i < count_; ++i)
    std::memcpy(&data_[i], &src[offset + static_cast<std::ptrdiff_t>(i) * step], sizeof(float));
}

void TWavBuffer::Interleave(float* dest, std::int32_t step, std::int32_t offset) const {
  for (std::int32_t i = 0; i < count_; ++i)
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
