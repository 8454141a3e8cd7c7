#pragma once
// A run of float32 samples of one channel that either owns its storage or borrows the host's.
//
// Owned storage only grows: a buffer that is resized to a count it has held before reuses its
// memory, so the audio path stops allocating once it has seen its block size.

#include <cstdint>
#include <memory>

namespace lumra {

class TWavBuffer {
 public:
  TWavBuffer() = default;
  TWavBuffer(const TWavBuffer&) = delete;
  TWavBuffer& operator=(const TWavBuffer&) = delete;
  ~TWavBuffer() = default;

  // Borrows count samples at data; they are never freed by the buffer.
  void Attach(float* data, std::int32_t count);
  void Release();
  // Keeps the storage and its contents when count equals Count(); otherwise the samples are
  // owned and their contents undefined.
  void SetCount(std::int32_t count);

  void CopyFrom(const float* data, std::int32_t count);
  void Assign(const TWavBuffer& other);
  void CopyTo(float* dest) const;
  void Deinterleave(const float* src, std::int32_t count, std::int32_t step, std::int32_t offset);
  void Interleave(float* dest, std::int32_t step, std::int32_t offset) const;

  float* Data() { return data_; }
  const float* Data() const { return data_; }
  std::int32_t Count() const { return count_; }
  bool Borrowed() const { return borrowed_; }

  // Element-wise operations over this buffer's Count(); other must hold at least as many.
  void Add(const TWavBuffer& other);
  void AddScaled(const TWavBuffer& other, float gain);
  void Mix(const TWavBuffer& other, float ownGain, float otherGain);
  void Subtract(const TWavBuffer& other);
  void Zero();
  float Peak() const;

 private:
  float* data_ = nullptr;
  std::int32_t count_ = 0;
  bool borrowed_ = false;
  std::unique_ptr<float[]> storage_;
  std::int32_t capacity_ = 0;
};

}  // namespace lumra
