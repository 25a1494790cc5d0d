// Vout/Vs of a twin-T circuit from the nodal equations of its four nodes,
// reduced once to a ratio of polynomials so that any number of frequencies
// cost a few multiplications each.
#pragma once

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

// |H(jy)|^2 at y = omega / omega_ref, as a function of x = y^2. |N|^2 and
// |D|^2 are each summed from the squares of their real and imaginary
// parts, so the value stays accurate deep in a notch.
double PowerRatio(const TransferFunction& h, double x);

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
