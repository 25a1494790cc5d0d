// The few elementary functions the design code needs, written out so that
// every target computes the very same bits: the WebAssembly module has no
// maths library, and the C libraries of the other targets differ in their
// last digits.
#pragma once

namespace notchwell {

constexpr double kPi = 3.141592653589793;
// The largest finite double: beyond it a value is infinite.
constexpr double kLargestDouble = 1.7976931348623157e308;

inline bool IsPositiveFinite(double x) { return x > 0 && x <= kLargestDouble; }

inline double Abs(double x) { return x < 0 ? -x : x; }

// Correctly rounded by IEEE 754 on every target, so the instruction serves.
inline double SquareRoot(double x) { return __builtin_sqrt(x); }

// value * 10^exponent through the powers of ten that a double holds
// exactly (up to 10^22), a chunk at a time: one rounding when |exponent|
// <= 22 (the correctly rounded decimal value for an integer value below
// 2^53), one more for each further chunk.
double ScaleByPowerOfTen(double value, int exponent);

// Finite and positive x only; relative error below 1e-15.
double Log10(double x);
double NaturalLog(double x);

// 10^x for |x| up to 300; relative error below 1e-15 for |x| up to 2
// (the curves' frequency steps), growing to 1e-13 at 300.
double Pow10(double x);

// e^x; 0 below -745 (the smallest double), relative error below 1e-15
// for |x| up to 1, growing to 1e-13 at 700.
double Exp(double x);

// cos x and sin x together, for |x| up to some 1e6 (the phase of a few
// thousand cycles); absolute error below 1e-15 near 0, growing with |x|
// by the rounding of the reduction by pi / 2.
void CosSin(double x, double& cosine, double& sine);

// The angle of (x, y) in (-pi, pi]; (0, 0) gives 0.
double Atan2(double y, double x);

// The n-th smallest (from 0) of values[from] .. values[count - 1], which
// it leaves partitioned about it: everything before index n is no larger,
// everything after no smaller (Hoare's selection, in place).
double NthSmallest(double* values, int from, int count, int n);

// Level in decibels of a power ratio, floored at -400 dB so that a perfect
// null still gives a finite figure.
double PowerRatioToDecibels(double power_ratio);

}  // namespace notchwell
