// From a measured sweep of a build to the turns of its trimmers: where it
// notches now, how deep, and by how much R1 and R3 must change for it to
// null at Fo. The changes are relative, of the parts the fit finds, which
// may be off as a whole while their ratios hold (sweep_fit.h).
#pragma once

#include "notch_search.h"
#include "null_conditions.h"
#include "sweep_fit.h"

namespace notchwell {

// What the sweep before this one of the same build came to, for the next
// round of trimming.
struct TuneRound {
  bool given;
  double fo_hertz;
  double notch_hertz;
  double reject_db;
};

enum class TuneOutcome : int {
  Tuned,
  NotSpanning,  // not from below Fo / 1.2 to above 1.2 Fo
  NoFit,        // more left after the fit than the sweep's noise explains, or parts far off
};

struct TuneResult {
  TuneOutcome outcome;
  int points;
  bool phase;
  double fit_rms_db;
  double noise_db;
  bool notch_found;
  double notch_hertz;
  double depth_db;     // below the level far below the notch
  double reject_db;    // below Vs at Fo
  NullingChange trim;  // of the fitted build, at Fo
  // With the level alone, the mirror image of the fit where it fits alike.
  bool alternative;
  NullingChange alternative_trim;
  TransferFunction function;
  Notch notch;
  // Against the sweep before: how much nearer Fo the null has come, in
  // percent of the distance it had (negative: further away).
  bool round;
  double notch_before_hertz, reject_before_db;
  double nearer_percent;
};

// A sweep spans the notch from below Fo / kSpan to above kSpan Fo.
constexpr double kSpan = 1.2;
// A fit refused: a part more than this factor from its value.
constexpr double kFarthestPart = 1.3;

TuneResult TuneFromSweep(const MeasuredSweep& sweep, const SweepModel& model, double fo_hertz, const TuneRound& before);

}  // namespace notchwell
