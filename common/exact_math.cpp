#include "common/exact_math.h"

#include <cmath>

namespace lumra {
namespace {

// ln 2 split so that k * Ln2Hi is exact for |k| < 2^11.
constexpr double Ln2Hi = 6.93147180369123816490e-01;
constexpr double Ln2Lo = 1.90821492927058770002e-10;
constexpr double InvLn2 = 1.44269504088896338700e+00;
// The largest argument whose exponential is finite: ln of the largest double, rounded down.
constexpr double MaxExpArgument = 7.09782712893383973096e+02;

}  // namespace

double RoundHalfEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  if (fraction > 0.5) return lower + 1.0;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::int64_t RoundToInt(double x) {
  constexpr double limit = 9223372036854775807.0;  // 2^63
  if (!(x == x)) return 0;
  if (x >= limit) return INT64_MAX;
  if (x <= -limit) return INT64_MIN;
  return static_cast<std::int64_t>(RoundHalfEven(x));
}

std::int32_t RoundToInt32(double x) {
  const std::int64_t n = RoundToInt(x);
  if (n > INT32_MAX) return INT32_MAX;
  if (n < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(n);
}

double ExactLn(double x) {
  int exponent = 0;
  double m = std::frexp(x, &exponent);  // x = m * 2^exponent, m in [0.5, 1)
  if (m < 0.70710678118654752440) {
    m *= 2.0;
    --exponent;
  }
  // ln m = 2 atanh(f) with f = (m - 1) / (m + 1), |f| <= 0.1716
  const double f = (m - 1.0) / (m + 1.0);
  const double f2 = f * f;
  double series = 0.0;
  for (int k = 25; k >= 3; k -= 2) series = (series + 1.0 / k) * f2;
  const double lnM = 2.0 * f + 2.0 * f * series;
  return (exponent * Ln2Hi + lnM) + exponent * Ln2Lo;
}

double ExactExp(double x) {
  if (x != x) return x;
  if (x > MaxExpArgument) return HUGE_VAL;
  if (x < -745.0) return 0.0;
  const double k = RoundHalfEven(x * InvLn2);
  const double r = (x - k * Ln2Hi) - k * Ln2Lo;  // |r| <= 0.35
  double term = 1.0;
  double sum = 0.0;
  for (int i = 1; i <= 17; ++i) {
    term *= r / i;
    sum += term;
  }
  return std::ldexp(1.0 + sum, static_cast<int>(k));
}

double ExactPow(double base, double exponent) { return ExactExp(exponent * ExactLn(base)); }

double IntPower(double base, std::int64_t exponent) {
  double result = 1.0;
  double square = base;
  for (std::int64_t e = exponent; e > 0; e >>= 1) {
    if (e & 1) result *= square;
    square *= square;
  }
  return result;
}

}  // namespace lumra
