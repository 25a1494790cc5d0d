// The active (bootstrapped) twin-T: the common node of R3 and C3 driven
// with k times the output through a divider and a follower, which narrows
// the notch to Q = 1 / (4 (1 - k)).
#pragma once

#include "e_series.h"

namespace notchwell {

inline double FeedbackForQ(double q) { return 1 - 1 / (4 * q); }
inline double QForFeedback(double k) { return 1 / (4 * (1 - k)); }

// Standard divider resistors, each from kDividerLowest to kDividerHighest.
inline constexpr double kDividerLowest = 1e3;
inline constexpr double kDividerHighest = 1e5;

// Top from the output to the tap, bottom from the tap to ground.
struct Divider {
  bool found;  // false when no pair comes within 10 % of the Q asked for
  double top;
  double bottom;
  double k;  // bottom / (top + bottom)
};

// The pair from the series whose ratio lies nearest k; of pairs with the
// same ratio, the one nearest 10 kOhm (their geometric mean).
Divider NearestDivider(ESeries series, double k);

}  // namespace notchwell
