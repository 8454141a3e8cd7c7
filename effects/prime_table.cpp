#include "effects/prime_table.h"

#include <algorithm>

namespace lumra {

TPrimeTable::TPrimeTable(std::int32_t limit) : limit_(limit) {
  primes_.push_back(2);
  if (limit < 3) return;
  // A sieve gives the same table as trial division, in time that stays small at high rates.
  std::vector<bool> composite(static_cast<std::size_t>(limit) + 1, false);
  for (std::int64_t b = 3; b <= limit; b += 2) {
    if (composite[b]) continue;
    primes_.push_back(static_cast<std::int32_t>(b));
    for (std::int64_t m = b * b; m <= limit; m += 2 * b) composite[m] = true;
  }
}

std::int32_t TPrimeTable::NextAbove(std::int32_t value) const {
  const auto it = std::upper_bound(primes_.begin(), primes_.end(), value);
  return it == primes_.end() ? primes_.back() : *it;
}

}  // namespace lumra
