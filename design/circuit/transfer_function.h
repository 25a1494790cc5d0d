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
//
// With real op-amps in the active form each follower passes its input
// times F = a / (1 + lag p) (a = A0 / (1 + A0), and the closed-loop pole
// at omega_ref / lag), and H = N (1 + lag p) / D with D of fifth degree;
// lag is 0 with ideal followers, where D is the cubic alone.
struct TransferFunction {
  double numerator[4];    // of p^0 .. p^3: three capacitors, third order
  double denominator[6];  // of p^0 .. p^5: p^4 and p^5 only with real op-amps
  double lag;
  // |H|^2 far above the notch with ideal followers: the real op-amps' own
  // roll-off there is no asymptote of the notch.
  double far_above;
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

// The same for a quintic: the real part P0 - P2 x + P4 x^2, the imaginary
// y (P1 - P3 x + P5 x^2); above x = 1 divided by x^5.
inline double SquaredMagnitudeOfQuintic(const double* c, double x) {
  if (x > 1) {
    const double inverse = 1 / x;
    const double real = (c[0] * inverse - c[2]) * inverse + c[4];
    const double imaginary = (c[1] * inverse - c[3]) * inverse + c[5];
    return real * real * inverse + imaginary * imaginary;
  }
  const double real = c[0] - (c[2] - c[4] * x) * x;
  const double imaginary = c[1] - (c[3] - c[5] * x) * x;
  return real * real + x * (imaginary * imaginary);
}

// |N|^2 |1 + lag p|^2 / |D|^2 of real op-amps, from |N|^2 and |D|^2 as
// the squared magnitudes above give them (divided by x^3 and x^5 above
// x = 1).
inline double QuinticPowerRatio(double numerator, double denominator, double lag, double x) {
  if (x > 1) {
    const double inverse = 1 / x;
    return numerator * ((inverse + lag * lag) * inverse) / denominator;
  }
  return numerator * (1 + lag * lag * x) / denominator;
}

// |H(jy)|^2 at y = omega / omega_ref, as a function of x = y^2. |N|^2 and
// |D|^2 are each summed from the squares of their real and imaginary
// parts, so the value stays accurate deep in a notch. Inline: the spread
// of the random builds takes it some million times an update.
// Real op-amps' responses take the call; the ideal ones' stay small enough
// to be inlined.
double PowerRatioWithLag(const TransferFunction& h, double x);
inline double PowerRatio(const TransferFunction& h, double x) {
  const double* d = h.denominator;
  if (h.lag == 0) return SquaredMagnitude(h.numerator, x) / SquaredMagnitudeOf(d[0], d[1], d[2], d[3], x);
  return PowerRatioWithLag(h, x);
}

// |H|^2 at a frequency in hertz.
inline double PowerRatioAtHertz(const TransferFunction& h, double hertz) {
  const double y = hertz * (2 * kPi) / h.omega_ref;
  return PowerRatio(h, y * y);
}

// |H| in dB at a frequency in hertz.
inline double LevelDb(const TransferFunction& h, double hertz) {
  return PowerRatioToDecibels(PowerRatioAtHertz(h, hertz));
}

// |H|^2 far below and far above every corner of the network (x -> 0 and
// x -> infinity; far above taken with ideal followers): finite and
// non-zero for every circuit here.
inline double PowerRatioAtZero(const TransferFunction& h) {
  const double ratio = h.numerator[0] / h.denominator[0];
  return ratio * ratio;
}
inline double PowerRatioAtInfinity(const TransferFunction& h) { return h.far_above; }

}  // namespace notchwell
