#include "effects/reverb_bank.h"

#include <cstring>

namespace lumra {

void ReverbBank::Assign(std::span<TStereoReverb3_1* const> units) {
  count_ = 0;
  activeMask_ = 0;
  chunk_ = ChunkLimit;
  for (std::size_t u = 0; u < std::min(units.size(), MaxUnits); ++u) {
    if (!units[u]->Configured()) continue;
    units_[count_] = units[u];
    index_[count_] = u;
    ++count_;
    activeMask_ |= 1u << u;
    chunk_ = std::min(chunk_, units[u]->ShortestRing());
  }
}

void ReverbBank::Begin(const float* inLeft, const float* inRight, std::int32_t n) {
  for (std::size_t k = 0; k < count_; ++k)
    units_[k]->FeedbackChunk(inLeft, inRight, sum_[2 * k].data(), sum_[2 * k + 1].data(), n);
}

void ReverbBank::End(std::span<float* const> outLeft, std::span<float* const> outRight,
                     std::int32_t n) {
  for (std::size_t k = 0; k < count_; ++k) {
    const std::size_t u = index_[k];
    units_[k]->StoreChunk({sum_[2 * k].data(), sum_[2 * k + 1].data()},
                          {damped_[2 * k].data(), damped_[2 * k + 1].data()}, outLeft[u],
                          outRight[u], n);
  }
}

void ReverbBank::Finish() {
  for (std::size_t k = 0; k < count_; ++k) units_[k]->FlushDampStates();
}

void RunBank(ReverbBank& bank, std::span<TStereoReverb3_1* const> units, const float* inLeft,
             const float* inRight, std::span<float* const> outLeft,
             std::span<float* const> outRight, std::int32_t count) {
  bank.Assign(units);
  if (count <= 0) return;
  bool any = false;
  for (std::size_t u = 0; u < units.size(); ++u) {
    if (u < ReverbBank::MaxUnits && bank.Active(u)) {
      any = true;
      continue;
    }
    if (outLeft[u] != inLeft) std::memmove(outLeft[u], inLeft, sizeof(float) * count);
    if (outRight[u] != inRight) std::memmove(outRight[u], inRight, sizeof(float) * count);
  }
  if (!any) return;
  ReverbBank::NoCompanion none;
  const std::int32_t chunk = bank.ChunkLength();
  for (std::int32_t done = 0; done < count; done += chunk) {
    const std::int32_t n = std::min(count - done, chunk);
    std::array<float*, ReverbBank::MaxUnits> left{}, right{};
    for (std::size_t u = 0; u < std::min(units.size(), ReverbBank::MaxUnits); ++u) {
      left[u] = outLeft[u] + done;
      right[u] = outRight[u] + done;
    }
    bank.Begin(inLeft + done, inRight + done, n);
    bank.Damp(n, none, 0);
    bank.End(left, right, n);
  }
  bank.Finish();
}

}  // namespace lumra
