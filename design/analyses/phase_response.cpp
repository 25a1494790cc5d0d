#include "phase_response.h"

#include "complex_number.h"

namespace notchwell {
namespace {

// P(z) and P'(z) of a real polynomial.
void ValueAndSlope(const double* c, int degree, Complex z, Complex& value, Complex& slope) {
  value = {c[degree], 0};
  slope = {0, 0};
  for (int i = degree - 1; i >= 0; --i) {
    slope = slope * z + value;
    value = value * z + Complex{c[i], 0};
  }
}

}  // namespace

PhaseAndDelay PhaseAndDelayAt(const TransferFunction& h, double hertz) {
  const double y = hertz * (2 * kPi) / h.omega_ref;
  const Complex p{0, y};
  const Complex lag{1, h.lag * y};
  Complex n, dn, d, dd;
  ValueAndSlope(h.numerator, 3, p, n, dn);
  ValueAndSlope(h.denominator, 5, p, d, dd);
  const Complex ratio = n * lag / d;
  double degrees = Atan2(ratio.im, ratio.re) * (180 / kPi);
  if (degrees <= -180) degrees += 360;
  // d(ln H)/dp = N'/N + lag/(1 + lag p) - D'/D; N'/N left out at an exact null.
  const Complex of_n = n.re == 0 && n.im == 0 ? Complex{0, 0} : dn / n;
  const Complex change = of_n + Complex{h.lag, 0} / lag - dd / d;
  return {degrees, -change.re / h.omega_ref};
}

}  // namespace notchwell
