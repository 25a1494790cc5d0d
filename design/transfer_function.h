// Vout/Vs of a twin-T circuit from the nodal equations of its four nodes,
// reduced once to a ratio of polynomials so that any number of frequencies
// cost a few multiplications each.
#pragma once

#include "elementary.h"
#include "twin_t_circuit.h"

namespace notchwell {

// H(p) = N(p) / D(p) in the normalised frequency p = s / omega_ref, with
// omega_ref = 1 / (r_ref c_ref). The coefficients stay near 1 whatever the
// parts' magnitudes.
struct TransferFunction {
  double numerator[4];  // of p^0 .. p^3: three capacitors, third order
  double denominator[4];
  double omega_ref;  // rad/s
};

TransferFunction TransferFunctionOf(const TwinTCircuit& circuit, double r_ref, double c_ref);

// |P(jy)|^2 with x = y^2: the real part P0 - P2 x and the imaginary part
// y (P1 - P3 x), each squared. Above x = 1 both are taken divided by x, so
// that the value, divided by x^3, cannot overflow however far x goes.
inline double SquaredMagnitudeOf(double c0, double c1, double c2, double c3, double x) {
  if (x > 1) {
    const double inverse = 1 / x;
    const double real = c0 * inverse - c2;
    const double imaginary = c1 * inverse - c3;
    return real * real * inverse + imaginary * imaginary;
  }
  const double real = c0 - c2 * x;
  const double imaginary = c1 - c3 * x;
  return real * real + x * (imaginary * imaginary);
}
inline double SquaredMagnitude(const double (&c)[4], double x) { return SquaredMagnitudeOf(c[0], c[1], c[2], c[3], x); }

// |H(jy)|^2 at y = omega / omega_ref, as a function of x = y^2. |N|^2 and
// |D|^2 are each summed from the squares of their real and imaginary
// parts, so the value stays accurate deep in a notch. Inline: the spread
// of the random builds takes it some million times an update.
inline double PowerRatio(const TransferFunction& h, double x) {
  return SquaredMagnitude(h.numerator, x) / SquaredMagnitude(h.denominator, x);
}

// |H|^2 at a frequency in hertz.
inline double PowerRatioAtHertz(const TransferFunction& h, double hertz) {
  const double y = hertz * (2 * kPi) / h.omega_ref;
  return PowerRatio(h, y * y);
}

// |H|^2 far below and far above every corner of the network (x -> 0 and
// x -> infinity): finite and non-zero for every circuit here.
inline double PowerRatioAtZero(const TransferFunction& h) {
  const double ratio = h.numerator[0] / h.denominator[0];
  return ratio * ratio;
}
inline double PowerRatioAtInfinity(const TransferFunction& h) {
  const double ratio = h.numerator[3] / h.denominator[3];
  return ratio * ratio;
}

}  // namespace notchwell
