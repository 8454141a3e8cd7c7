#pragma once
// Common interface of the signal processors. Process works in place, sample by sample, and
// carries its state from one call to the next so that consecutive blocks form one signal.

#include "effects/wav_buffer.h"

namespace lumra {

class TEffect {
 public:
  TEffect() = default;
  TEffect(const TEffect&) = delete;
  TEffect& operator=(const TEffect&) = delete;
  virtual ~TEffect() = default;

  // Forgets the signal history; the configuration stays.
  virtual void Clear() {}
  virtual void Process(TWavBuffer& /*buffer*/) {}
  // dst becomes the processed copy of src.
  virtual void ProcessTo(const TWavBuffer& src, TWavBuffer& dst);
  // Adds the processed copy of src to dst, which already holds as many samples.
  virtual void ProcessAddTo(const TWavBuffer& src, TWavBuffer& dst);
};

}  // namespace lumra
