#include "polynomial_roots.h"

namespace notchwell {
namespace {

constexpr double kClusterWidth = 1e-4;

}  // namespace

Roots RootsOf(const double* c, int degree) {
  // Aberth's simultaneous iteration from a circle of the roots' mean size:
  // each root moves by Newton's step corrected for the others, cubic
  // convergence to simple roots, linear to a repeated one.
  Complex z[kMostRoots];
  const double size = Pow10(Log10(Abs(c[0] / c[degree]) + 1e-300) / degree);
  for (int i = 0; i < degree; ++i) {
    double cosine, sine;
    CosSin(2 * kPi * (i + 0.25) / degree + 0.4, cosine, sine);
    z[i] = {size * cosine, size * sine};
  }
  for (int iteration = 0; iteration < 500; ++iteration) {
    bool moved = false;
    for (int i = 0; i < degree; ++i) {
      Complex p{c[degree], 0}, slope{0, 0};
      for (int k = degree - 1; k >= 0; --k) {
        slope = slope * z[i] + p;
        p = p * z[i] + Complex{c[k], 0};
      }
      if (p.re == 0 && p.im == 0) continue;
      const Complex newton = p / slope;
      Complex others{0, 0};
      for (int j = 0; j < degree; ++j) {
        if (j != i) others = others + Complex{1, 0} / (z[i] - z[j]);
      }
      const Complex step = newton / (Complex{1, 0} - newton * others);
      const Complex next = z[i] - step;
      if (next.re != z[i].re || next.im != z[i].im) moved = Magnitude(step) > 1e-15 * Magnitude(z[i]) || moved;
      z[i] = next;
    }
    if (!moved) break;
  }
  // Near roots as one: each joins the first cluster within reach.
  Roots roots{0, {}, {}};
  Complex sum[kMostRoots];
  for (int i = 0; i < degree; ++i) {
    int k = 0;
    while (k < roots.count &&
           Magnitude(z[i] - roots.root[k]) > kClusterWidth * (Magnitude(roots.root[k]) + Magnitude(z[i])) / 2) {
      ++k;
    }
    if (k == roots.count) {
      roots.count++;
      sum[k] = {0, 0};
      roots.multiplicity[k] = 0;
    }
    sum[k] = sum[k] + z[i];
    roots.multiplicity[k]++;
    roots.root[k] = (1.0 / roots.multiplicity[k]) * sum[k];
  }
  // A repeated root is found only to the m-th root of the rounding; it is
  // a simple root of the (m - 1)-th derivative, which Newton's method
  // finds to the rounding itself.
  for (int k = 0; k < roots.count; ++k) {
    const int m = roots.multiplicity[k];
    if (m == 1) continue;
    double d[kMostRoots + 1];
    for (int i = 0; i + m - 1 <= degree; ++i) {
      d[i] = c[i + m - 1];
      for (int f = i + 1; f < i + m; ++f) d[i] *= f;
    }
    for (int iteration = 0; iteration < 8; ++iteration) {
      Complex value{d[degree - m + 1], 0}, slope{0, 0};
      for (int i = degree - m; i >= 0; --i) {
        slope = slope * roots.root[k] + value;
        value = value * roots.root[k] + Complex{d[i], 0};
      }
      if (slope.re == 0 && slope.im == 0) break;
      roots.root[k] = roots.root[k] - value / slope;
    }
  }
  return roots;
}

}  // namespace notchwell
