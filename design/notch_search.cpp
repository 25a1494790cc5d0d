#include "notch_search.h"

namespace notchwell {
namespace {

// The scan: x from 1/2 to 2 in 16 equal ratios.
constexpr int kScanSteps = 16;
constexpr double kScanStart = 0.5;
constexpr double kScanRatio = 1.0905077326652577;  // 4^(1/16)

// Brent's minimisation on [a, b] (golden sections with parabolic steps)
// from the bracket's best point `x`, to a relative width of 1e-12: far
// finer than the 1e-7 the figures need, and a deep notch is a clean
// parabola there.
double MinimiseBetween(const TransferFunction& h, double a, double b, double x, double& fx) {
  constexpr double kGolden = 0.3819660112501051;  // (3 - sqrt 5) / 2
  constexpr double kRelative = 1e-12;
  double w = x, v = x;
  double fw = fx, fv = fx;
  double d = 0, e = 0;
  for (int iteration = 0; iteration < 200; ++iteration) {
    const double middle = 0.5 * (a + b);
    const double tolerance = kRelative * x;
    if (Abs(x - middle) <= 2 * tolerance - 0.5 * (b - a)) break;
    bool parabolic = false;
    if (Abs(e) > tolerance) {
      double r = (x - w) * (fx - fv);
      double q = (x - v) * (fx - fw);
      double p = (x - v) * q - (x - w) * r;
      q = 2 * (q - r);
      if (q > 0) p = -p;
      q = Abs(q);
      r = e;
      e = d;
      if (Abs(p) < Abs(0.5 * q * r) && p > q * (a - x) && p < q * (b - x)) {
        d = p / q;
        parabolic = true;
        if ((x + d) - a < 2 * tolerance || b - (x + d) < 2 * tolerance) d = x < middle ? tolerance : -tolerance;
      }
    }
    if (!parabolic) {
      e = (x < middle ? b : a) - x;
      d = kGolden * e;
    }
    const double u = x + (Abs(d) >= tolerance ? d : d > 0 ? tolerance : -tolerance);
    const double fu = PowerRatio(h, u);
    if (fu <= fx) {
      (u < x ? b : a) = x;
      v = w, fv = fw;
      w = x, fw = fx;
      x = u, fx = fu;
    } else {
      (u < x ? a : b) = u;
      if (fu <= fw || w == x) {
        v = w, fv = fw;
        w = u, fw = fu;
      } else if (fu <= fv || v == x || v == w) {
        v = u, fv = fu;
      }
    }
  }
  return x;
}

// Halves the interval, on a logarithmic scale, until it holds the point
// where |H|^2 crosses `level`; |H|^2 - level changes sign across it.
double CrossingBetween(const TransferFunction& h, double a, double b, double level) {
  const bool rising = PowerRatio(h, a) < level;
  for (int iteration = 0; iteration < 100 && b / a > 1 + 1e-15; ++iteration) {
    const double middle = SquareRoot(a) * SquareRoot(b);
    ((PowerRatio(h, middle) < level) == rising ? a : b) = middle;
  }
  return SquareRoot(a) * SquareRoot(b);
}

}  // namespace

Notch FindNotch(const TransferFunction& h) {
  double points[kScanSteps + 1];
  double values[kScanSteps + 1];
  int best = 0;
  double x = kScanStart;
  for (int i = 0; i <= kScanSteps; ++i, x *= kScanRatio) {
    points[i] = x;
    values[i] = PowerRatio(h, x);
    if (values[i] < values[best]) best = i;
  }
  // A smallest value at either end is no minimum: |H| falls on beyond it.
  if (best == 0 || best == kScanSteps) return {false, 1, values[best]};
  double value = values[best];
  const double at = MinimiseBetween(h, points[best - 1], points[best + 1], points[best], value);
  const double far = PowerRatioAtZero(h) < PowerRatioAtInfinity(h) ? PowerRatioAtZero(h) : PowerRatioAtInfinity(h);
  return {value < far, at, value};
}

HalfPowerBand HalfPowerBandAround(const TransferFunction& h, double notch_x) {
  // Six decades of x either side are far enough for any Q from 1/4 up.
  constexpr double kReach = 1e6;
  return {CrossingBetween(h, notch_x / kReach, notch_x, PowerRatioAtZero(h) / 2),
          CrossingBetween(h, notch_x, notch_x * kReach, PowerRatioAtInfinity(h) / 2)};
}

}  // namespace notchwell
