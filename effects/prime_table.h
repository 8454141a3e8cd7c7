#pragma once
// Every prime up to a limit, ascending; ring lengths and tap offsets are taken from it.

#include <cstdint>
#include <vector>

namespace lumra {

class TPrimeTable {
 public:
  // Always holds 2, even for a limit below 3.
  explicit TPrimeTable(std::int32_t limit);

  // The first prime strictly greater than value; the largest prime when none is.
  std::int32_t NextAbove(std::int32_t value) const;

  const std::vector<std::int32_t>& Primes() const { return primes_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(primes_.size()); }
  std::int32_t Limit() const { return limit_; }

 private:
  std::int32_t limit_;
  std::vector<std::int32_t> primes_;
};

}  // namespace lumra
