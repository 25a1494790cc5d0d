// Complex numbers for the poles and residues of a response: a plain pair,
// since the WebAssembly module has no standard library to take one from.
#pragma once

#include "elementary.h"

namespace notchwell {

struct Complex {
  double re, im;
};

inline Complex operator+(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex operator-(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
inline Complex operator*(Complex a, Complex b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
inline Complex operator*(double s, Complex a) { return {s * a.re, s * a.im}; }
// Scaled by the larger part, so that neither overflows nor underflows.
inline Complex operator/(Complex a, Complex b) {
  if (Abs(b.re) >= Abs(b.im)) {
    const double r = b.im / b.re, d = b.re + b.im * r;
    return {(a.re + a.im * r) / d, (a.im - a.re * r) / d};
  }
  const double r = b.re / b.im, d = b.re * r + b.im;
  return {(a.re * r + a.im) / d, (a.im * r - a.re) / d};
}
inline double Magnitude(Complex a) {
  const double x = Abs(a.re), y = Abs(a.im);
  const double big = x > y ? x : y, small = x > y ? y : x;
  if (big == 0) return 0;
  const double r = small / big;
  return big * SquareRoot(1 + r * r);
}
// The root with a non-negative real part.
inline Complex SquareRootOf(Complex a) {
  const double m = Magnitude(a);
  if (m == 0) return {0, 0};
  const double t = SquareRoot((m + Abs(a.re)) / 2);
  if (a.re >= 0) return {t, a.im / (2 * t)};
  return {Abs(a.im) / (2 * t), a.im < 0 ? -t : t};
}
// P(z) for P's real coefficients c[0] .. c[degree].
inline Complex PolynomialAt(const double* c, int degree, Complex z) {
  Complex v{c[degree], 0};
  for (int i = degree - 1; i >= 0; --i) v = v * z + Complex{c[i], 0};
  return v;
}

}  // namespace notchwell
