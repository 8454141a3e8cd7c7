#pragma once
// Elementary functions built only from IEEE-754 double additions, multiplications and divisions,
// so that every platform and C runtime gets the same bits. Audio settings derived from them are
// stored as float32, and the Linux build must match the 32-bit DLL exactly.

#include <cstdint>

namespace lumra {

// Nearest integer, halves to the even neighbour; independent of the FPU rounding mode. The integer
// forms saturate at their type's range and give 0 for not-a-number.
double RoundHalfEven(double x);
std::int64_t RoundToInt(double x);
std::int32_t RoundToInt32(double x);

double ExactLn(double x);    // x > 0
double ExactExp(double x);
double ExactPow(double base, double exponent);  // base > 0: Exp(exponent * Ln(base))

// base^exponent for exponent >= 0 by repeated squaring, lowest bit first.
double IntPower(double base, std::int64_t exponent);

}  // namespace lumra
