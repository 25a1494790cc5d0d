// Whether a sweep is a new measurement, and so a new round of trimming, or
// the one before edited: a person fixes a line, adds a point or pastes the
// same file again, and none of that is a round.
#pragma once

#include "sweep_text.h"

namespace notchwell {

// A new measurement: more than kRoundPoints of its points within the
// sweep before's span lie more than kRoundLevelDb from its level there
// (an edit changes a line or two; a turn of a trimmer moves every point
// about the notch).
constexpr double kRoundLevelDb = 1;
constexpr int kRoundPoints = 3;

// Whether `sweep` measures the build anew after `before`: it differs from
// it beyond what an edit or the noise of a measurement changes.
bool IsNewMeasurement(const MeasuredSweep& before, const MeasuredSweep& sweep);

}  // namespace notchwell
