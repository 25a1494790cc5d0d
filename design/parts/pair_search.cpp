#include "pair_search.h"

#include "elementary.h"
#include "part_ranges.h"

namespace notchwell {
namespace {

// How far a capacitor lies from the one asked for, on a log scale.
double Distance(double c, double wanted) { return c > wanted ? c / wanted : wanted / c; }

}  // namespace

double BalancedNotchHertz(double r, double c) { return 1 / (2 * kPi * r * c); }

double RelativeError(double hertz, double wanted_hertz) { return (hertz - wanted_hertz) / wanted_hertz; }

bool IsSameError(double a, double b) { return Abs(Abs(a) - Abs(b)) <= 1e-9 * (Abs(a) + Abs(b)) + 1e-15; }

bool IsSmallerError(double a, double b) { return Abs(a) < Abs(b) && !IsSameError(a, b); }

StandardPair BestPair(ESeries r_series, ESeries c_series, double c_farads, double fo_hertz) {
  StandardPair best{false, 0, 0, 0};
  const double lowest = c_farads / 10 > kCapacitorLowest ? c_farads / 10 : kCapacitorLowest;
  const double highest = c_farads * 10 < kCapacitorHighest ? c_farads * 10 : kCapacitorHighest;
  if (lowest > highest) return best;
  SeriesStep step = StepAtOrBelow(c_series, lowest);
  if (SeriesValue(c_series, step) < lowest) ++step.index;
  for (double c = SeriesValue(c_series, step); c <= highest; c = SeriesValue(c_series, {++step.index, step.exponent})) {
    // Of the resistors either side of the ideal one (or the ends of the
    // range), one is nearest in frequency.
    double r_ideal = 1 / (2 * kPi * fo_hertz * c);
    if (r_ideal < kPairResistorLowest) r_ideal = kPairResistorLowest;
    if (r_ideal > kPairResistorHighest) r_ideal = kPairResistorHighest;
    const SeriesNeighbours n = NeighboursIn(r_series, r_ideal);
    const double candidates[] = {n.below, n.above};
    for (const double r : candidates) {
      const double error = RelativeError(BalancedNotchHertz(r, c), fo_hertz);
      const bool better =
          !best.found || IsSmallerError(error, best.relative_error) ||
          (IsSameError(error, best.relative_error) && Distance(c, c_farads) < Distance(best.c, c_farads));
      if (better) best = {true, r, c, error};
    }
  }
  return best;
}

}  // namespace notchwell
