#include "band_rejection.h"

namespace notchwell {

double BandPowerRatio(const TransferFunction& h, double fo_hertz, double band) {
  const double low = fo_hertz * (1 - band), high = fo_hertz * (1 + band);
  const double at_low = PowerRatioAtHertz(h, low), at_high = PowerRatioAtHertz(h, high);
  double highest = at_low > at_high ? at_low : at_high;
  // Falling into the band from both ends: highest at an end. Rising into
  // it from either: seven points across it, and where the highest is
  // inside, golden sections between its neighbours.
  const double step = (high - low) * 1e-3;
  if (PowerRatioAtHertz(h, low + step) <= at_low && PowerRatioAtHertz(h, high - step) <= at_high) return highest;
  constexpr int kIntervals = 6;
  const double width = (high - low) / kIntervals;
  int best = 0;
  for (int i = 1; i < kIntervals; ++i) {
    const double level = PowerRatioAtHertz(h, low + i * width);
    if (level > highest) highest = level, best = i;
  }
  if (best == 0) return highest;
  constexpr double kGolden = 0.6180339887498949;
  double a = low + (best - 1) * width, b = low + (best + 1) * width;
  for (int i = 0; i < 40; ++i) {
    const double x1 = b - kGolden * (b - a), x2 = a + kGolden * (b - a);
    const double l1 = PowerRatioAtHertz(h, x1), l2 = PowerRatioAtHertz(h, x2);
    if (l1 > highest) highest = l1;
    if (l2 > highest) highest = l2;
    (l1 > l2 ? b : a) = l1 > l2 ? x2 : x1;
  }
  return highest;
}

}  // namespace notchwell
