#include "common/exact_math.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace lumra {
namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Distance in representable doubles; 0 for equal values, +0 and -0 included.
std::int64_t UlpsApart(double a, double b) {
  const auto ordered = [](double x) {
    std::int64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
  };
  const std::int64_t d = ordered(a) - ordered(b);
  return d < 0 ? -d : d;
}

double FromBits(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbourOthersToTheNearest) {
  const double cases[][2] = {{0.5, 0.0},   {1.5, 2.0},   {2.5, 2.0},   {3.5, 4.0},
                             {-0.5, 0.0},  {-1.5, -2.0}, {-2.5, -2.0}, {-3.5, -4.0},
                             {2.4, 2.0},   {2.6, 3.0},   {-2.4, -2.0}, {-2.6, -3.0},
                             {1e300, 1e300}, {-7.0, -7.0},
                             // floor(x + 0.5) would give 1 here, and 2^52 + 2 for the next one.
                             {0.49999999999999994, 0.0}, {4503599627370497.0, 4503599627370497.0}};
  for (const auto& [x, rounded] : cases) EXPECT_EQ(RoundHalfEven(x), rounded) << x;
  EXPECT_TRUE(std::isnan(RoundHalfEven(NaN)));
  EXPECT_EQ(RoundHalfEven(Inf), Inf);
}

TEST(RoundHalfEven, DoesNotFollowTheRoundingMode) {
  volatile double inputs[] = {0.5, 1.5, 2.5, -2.5, 2.4, -2.6, 123456.5};
  const double expected[] = {0.0, 2.0, 2.0, -2.0, 2.0, -3.0, 123456.0};
  const int saved = std::fegetround();
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
      const double rounded = RoundHalfEven(inputs[i]);
      std::fesetround(saved);
      EXPECT_EQ(rounded, expected[i]) << "mode " << mode << ", " << inputs[i];
      std::fesetround(mode);
    }
  }
  std::fesetround(saved);
}

TEST(RoundToInt, RoundsHalvesToEvenSaturatesAndMapsNotANumberToZero) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(-3.5), -4);
  EXPECT_EQ(RoundToInt(NaN), 0);
  EXPECT_EQ(RoundToInt(Inf), INT64_MAX);
  EXPECT_EQ(RoundToInt(-Inf), INT64_MIN);
  EXPECT_EQ(RoundToInt(9223372036854775808.0), INT64_MAX);   // 2^63
  EXPECT_EQ(RoundToInt(-9223372036854775808.0), INT64_MIN);  // -2^63 itself fits
  EXPECT_EQ(RoundToInt(9223372036854774784.0), 9223372036854774784);  // the largest below 2^63

  EXPECT_EQ(RoundToInt32(-0.5), 0);
  EXPECT_EQ(RoundToInt32(2147483646.5), 2147483646);
  EXPECT_EQ(RoundToInt32(2147483647.5), INT32_MAX);  // even neighbour 2^31 is out of range
  EXPECT_EQ(RoundToInt32(-2147483648.5), INT32_MIN);
  EXPECT_EQ(RoundToInt32(1e300), INT32_MAX);
  EXPECT_EQ(RoundToInt32(-Inf), INT32_MIN);
  EXPECT_EQ(RoundToInt32(NaN), 0);
}

// The functions are their own algorithms, not the C library's, so that every build gets the
// same bits; these pin those bits. They are 1 ulp off the correctly rounded value in places.
TEST(ExactFunctions, GiveTheirOwnBitsOnEveryBuild) {
  EXPECT_EQ(ExactExp(1.0), FromBits(0x4005bf0a8b14576aull));
  EXPECT_EQ(ExactLn(2.0), FromBits(0x3fe62e42fefa39efull));
  EXPECT_EQ(ExactExp(0.0), 1.0);
  EXPECT_EQ(ExactLn(1.0), 0.0);
  EXPECT_EQ(ExactPow(2.0, 0.5), ExactExp(0.5 * ExactLn(2.0)));
  EXPECT_EQ(IntPower(3.0, 20), 3486784401.0);
  EXPECT_EQ(IntPower(-2.0, 3), -8.0);
  EXPECT_EQ(IntPower(0.5, 1074), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(IntPower(7.25, 0), 1.0);
  EXPECT_EQ(IntPower(7.25, 1), 7.25);
}

// ExactExp and ExactLn are within 2 ulps of the C library's exp and log (glibc natively, Wine's
// in the cross build) over their whole range.
TEST(ExactFunctions, ExpAndLnStayWithinTwoUlpsOfTheCLibrary) {
  for (double x = -745.0; x <= 709.78; x += 0.0137)
    ASSERT_LE(UlpsApart(ExactExp(x), std::exp(x)), 2) << "exp " << x;
  for (double e = -1074.0; e < 1024.0; e += 0.37) {
    const double x = std::exp2(e);
    ASSERT_LE(UlpsApart(ExactLn(x), std::log(x)), 2) << "ln " << x;
  }
  for (double x = 0.5; x < 2.0; x += 1e-4)
    ASSERT_LE(UlpsApart(ExactLn(x), std::log(x)), 2) << "ln " << x;
}

TEST(ExactFunctions, ExpOverflowsAndUnderflowsWhereTheTrueValueDoes) {
  const double largest = 709.782712893383973096;  // ln of the largest double, rounded down
  EXPECT_LE(UlpsApart(ExactExp(largest), std::exp(largest)), 2);
  EXPECT_EQ(ExactExp(std::nextafter(largest, Inf)), Inf);
  EXPECT_EQ(ExactExp(Inf), Inf);
  EXPECT_EQ(ExactExp(-746.0), 0.0);
  EXPECT_EQ(ExactExp(-Inf), 0.0);
  EXPECT_EQ(ExactExp(-745.0), std::numeric_limits<double>::denorm_min());
  EXPECT_TRUE(std::isnan(ExactExp(NaN)));
}

// Pow is Exp(exponent * Ln(base)): the product's rounding error is scaled up by Exp, so the
// relative error grows with y = |exponent * ln(base)|. Measured: at most 2.6 (1 + y) 2^-53.
TEST(ExactFunctions, PowIsWithinTheErrorOfExpOfAProduct) {
  for (double base = 0.01; base < 100.0; base *= 1.07) {
    for (double exponent = -20.0; exponent < 20.0; exponent += 0.173) {
      // In long double, so that the reference's own error does not count.
      const long double y = exponent * std::log(static_cast<long double>(base));
      const long double expected = std::exp(y);
      const long double bound = (4.0L + 4.0L * std::fabs(y)) * 0x1p-53L;
      ASSERT_LE(std::fabs(ExactPow(base, exponent) - expected), bound * expected)
          << base << " ^ " << exponent;
    }
  }
}

// Repeated squaring doubles the relative error with each squaring: within exponent ulps.
TEST(ExactFunctions, IntPowerIsWithinExponentUlps) {
  for (double base = 0.5; base < 1.5; base += 0.0123) {
    for (std::int64_t exponent = 2; exponent < 2000; exponent += 7) {
      const double expected = std::pow(base, static_cast<double>(exponent));
      if (expected < std::numeric_limits<double>::min() || !std::isfinite(expected)) continue;
      ASSERT_LE(UlpsApart(IntPower(base, exponent), expected), exponent)
          << base << " ^ " << exponent;
    }
  }
}

}  // namespace
}  // namespace lumra
