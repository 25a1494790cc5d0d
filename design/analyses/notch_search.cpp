#include "notch_search.h"

namespace notchwell {
namespace {

// The scan of a build within its tolerances: x from 1/2 to 2 in 16 equal
// ratios.
constexpr int kScanSteps = 16;
constexpr double kScanStart = 0.5;
constexpr double kScanRatio = 1.0905077326652577;  // 4^(1/16)

// Brent's minimisation on [a, b] (golden sections with parabolic steps)
// from the bracket's best point `x`, to a relative width of
// `relative_width`.
double MinimiseBetween(const TransferFunction& h, double a, double b, double x, double& fx, double relative_width) {
  constexpr double kGolden = 0.3819660112501051;  // (3 - sqrt 5) / 2
  double w = x, v = x;
  double fw = fx, fv = fx;
  double d = 0, e = 0;
  for (int iteration = 0; iteration < 200; ++iteration) {
    const double middle = 0.5 * (a + b);
    const double tolerance = relative_width * x;
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

Notch FindNotch(const TransferFunction& h, double relative_width) {
  return FindNotchInScan(h, kScanStart, kScanRatio, kScanSteps, relative_width);
}

Notch FindNotchInScan(const TransferFunction& h, double lowest_x, double ratio, int steps, double relative_width) {
  steps = steps < 2 ? 2 : steps > kMaxScanSteps ? kMaxScanSteps : steps;
  double points[kMaxScanSteps + 1];
  double values[kMaxScanSteps + 1];
  int best = 0;
  double x = lowest_x;
  for (int i = 0; i <= steps; ++i, x *= ratio) {
    points[i] = x;
    values[i] = PowerRatio(h, x);
    if (values[i] < values[best]) best = i;
  }
  // A smallest value at either end is no minimum: |H| falls on beyond it.
  if (best == 0 || best == steps) return {false, 1, values[best]};
  double value = values[best];
  const double at = MinimiseBetween(h, points[best - 1], points[best + 1], points[best], value, relative_width);
  const double far = PowerRatioAtZero(h) < PowerRatioAtInfinity(h) ? PowerRatioAtZero(h) : PowerRatioAtInfinity(h);
  return {value < far, at, value};
}

namespace {

// Out from the notch by `step` in x (a decade of frequency either way),
// until |H|^2 is back at `level`; then the crossing within the last step.
bool CrossingFrom(const TransferFunction& h, double notch_x, double step, double level, double& crossing) {
  double near = notch_x;
  if (!(PowerRatio(h, near) < level)) return false;
  for (int decade = 0; decade < kBandReachDecades; ++decade) {
    const double far = near * step;
    if (PowerRatio(h, far) >= level) {
      crossing = step < 1 ? CrossingBetween(h, far, near, level) : CrossingBetween(h, near, far, level);
      return true;
    }
    near = far;
  }
  return false;
}

// Out from the notch by `step` in x, no further than `last`, until |H|^2
// is back at `level`; then the crossing within the last step.
bool NearestCrossingFrom(const TransferFunction& h, double notch_x, double step, double last, double level,
                         double& crossing) {
  double near = notch_x;
  if (!(PowerRatio(h, near) < level)) return false;
  for (double far = near * step; step < 1 ? far >= last : far <= last; far *= step) {
    if (PowerRatio(h, far) >= level) {
      crossing = step < 1 ? CrossingBetween(h, far, near, level) : CrossingBetween(h, near, far, level);
      return true;
    }
    near = far;
  }
  return false;
}

}  // namespace

HalfPowerBand NearestCrossings(const TransferFunction& h, double notch_x, double level, double reach) {
  constexpr double kStep = 1.00500625;  // 1.0025^2: a quarter of a percent of frequency
  HalfPowerBand band{false, false, notch_x, notch_x};
  band.low_found = NearestCrossingFrom(h, notch_x, 1 / kStep, notch_x / reach, level, band.low_x);
  band.high_found = NearestCrossingFrom(h, notch_x, kStep, notch_x * reach, level, band.high_x);
  return band;
}

HalfPowerBand HalfPowerBandAround(const TransferFunction& h, double notch_x) {
  HalfPowerBand band{false, false, notch_x, notch_x};
  band.low_found = CrossingFrom(h, notch_x, 0.01, PowerRatioAtZero(h) / 2, band.low_x);
  band.high_found = CrossingFrom(h, notch_x, 100, PowerRatioAtInfinity(h) / 2, band.high_x);
  return band;
}

}  // namespace notchwell
