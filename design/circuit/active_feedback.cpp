#include "active_feedback.h"

#include "elementary.h"

namespace notchwell {
namespace {

// How far a pair sits from 10 kOhm on a log scale, squared away from roots.
double SpreadFrom10k(double top, double bottom) {
  const double product = top * bottom / 1e8;
  return product > 1 ? product : 1 / product;
}

}  // namespace

Divider NearestDivider(ESeries series, double k) {
  Divider best{false, 0, 0, 0};
  double best_error = 0;
  SeriesStep step = StepAtOrBelow(series, kDividerLowest);
  for (double bottom = SeriesValue(series, step); bottom <= kDividerHighest;
       bottom = SeriesValue(series, {++step.index, step.exponent})) {
    // Of the tops either side of the ideal one (or the ends of the range),
    // one gives the nearest ratio.
    double ideal_top = bottom * (1 - k) / k;
    if (ideal_top < kDividerLowest) ideal_top = kDividerLowest;
    if (ideal_top > kDividerHighest) ideal_top = kDividerHighest;
    const SeriesNeighbours n = NeighboursIn(series, ideal_top);
    const double tops[] = {n.below, n.above};
    for (const double top : tops) {
      const double ratio = bottom / (top + bottom);
      const double error = Abs(ratio - k);
      const bool tie = best.top != 0 && Abs(error - best_error) <= 1e-12;
      if (best.top == 0 || (error < best_error && !tie) ||
          (tie && SpreadFrom10k(top, bottom) < SpreadFrom10k(best.top, best.bottom))) {
        best = {false, top, bottom, ratio};
        best_error = error;
      }
    }
  }
  best.found = best.k < 1 && Abs(QForFeedback(best.k) / QForFeedback(k) - 1) <= 0.1;
  return best;
}

}  // namespace notchwell
