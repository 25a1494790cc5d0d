#include "sweep_round.h"

#include "elementary.h"

namespace notchwell {

bool IsNewMeasurement(const MeasuredSweep& before, const MeasuredSweep& sweep) {
  if (before.count < 2 || sweep.count == 0 || before.phase != sweep.phase) return true;
  int compared = 0, differing = 0;
  int j = 0;  // before's point at or below each of the sweep's, as both rise
  for (int i = 0; i < sweep.count; ++i) {
    const double hertz = sweep.hertz[i];
    if (hertz < before.hertz[0] || hertz > before.hertz[before.count - 1]) continue;
    while (j + 2 < before.count && before.hertz[j + 1] <= hertz) ++j;
    // The level before, on the line through its points about this one, on
    // a logarithmic frequency axis.
    const double t = Log10(hertz / before.hertz[j]) / Log10(before.hertz[j + 1] / before.hertz[j]);
    const double level = before.level_db[j] + (before.level_db[j + 1] - before.level_db[j]) * t;
    ++compared;
    if (!(Abs(sweep.level_db[i] - level) <= kRoundLevelDb)) ++differing;
  }
  return compared == 0 || differing > kRoundPoints;
}

}  // namespace notchwell
