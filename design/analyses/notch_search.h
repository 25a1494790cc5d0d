// Where a circuit's response is smallest, how deep it goes there, and the
// half-power band around it.
#pragma once

#include "elementary.h"
#include "transfer_function.h"

namespace notchwell {

// The minimum of |H| near omega_ref, where the notch of every build within
// its tolerances lies (within a factor of sqrt 2 either way). Not found
// when |H| has no minimum there, or one that does not dip below the level
// it tends to on either side: a sharp active network whose parts are far
// enough apart rises near Fo instead.
// The minimum is found to a relative width in x of 1e-12 (far finer than
// the 1e-7 the figures need, and a deep notch is a clean parabola there);
// a depth alone needs less, since a notch is flat at its bottom.
struct Notch {
  bool found;
  double x;            // (omega / omega_ref)^2 at the minimum
  double power_ratio;  // |H|^2 there
};
constexpr double kNotchWidth = 1e-12;
constexpr double kDepthWidth = 1e-9;
Notch FindNotch(const TransferFunction& h, double relative_width = kNotchWidth);

// The same over a wider scan, for a build whose parts may be far from
// equal: `steps` equal ratios of x from `lowest_x` (at most kMaxScanSteps).
constexpr int kMaxScanSteps = 64;
Notch FindNotchInScan(const TransferFunction& h, double lowest_x, double ratio, int steps,
                      double relative_width = kNotchWidth);

// A build whose parts may be far from equal (read off a meter, or fitted
// to a measured sweep) notches anywhere within a decade of its values'
// frequency either way: a scan of that.
constexpr double kWideScanStart = 0.01;
constexpr double kWideScanRatio = 1.1547819846894583;  // 10^(1/16)
constexpr int kWideScanSteps = 64;
inline Notch FindNotchWide(const TransferFunction& h) {
  return FindNotchInScan(h, kWideScanStart, kWideScanRatio, kWideScanSteps);
}

// The frequency of a point x = (omega / omega_ref)^2 in hertz.
inline double HertzAt(const TransferFunction& h, double x) { return SquareRoot(x) * h.omega_ref / (2 * kPi); }

// The points below and above the notch where |H|^2 is half of what it
// tends to far below (low) and far above (high) it. A source or load far
// larger or smaller than the network can put them many decades from the
// notch: the search goes out a decade of frequency at a time, as far as
// kBandReachDecades, and says when the level does not cross within that
// (or never falls to half power at the notch).
constexpr int kBandReachDecades = 30;
struct HalfPowerBand {
  bool low_found;
  bool high_found;
  double low_x;
  double high_x;
};
HalfPowerBand HalfPowerBandAround(const TransferFunction& h, double notch_x);

// The points nearest the notch either side where |H|^2 comes back up to
// `level`, looked for in steps of a quarter of a percent of frequency out
// to a factor of `reach` in x: a level that rises and falls again further
// out (a real op-amp's roll-off far above) is passed by.
HalfPowerBand NearestCrossings(const TransferFunction& h, double notch_x, double level, double reach);

}  // namespace notchwell
