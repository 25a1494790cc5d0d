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
  // The lines of the points left out of the fit as glitches, and where
  // the network does not fit, the line of the point it explains least (0
  // for none).
  int left_out_count;
  int left_out_lines[kMostLeftOut];
  int worst_line;
  // The sweep's levels above Vout/Vs, taken off before the fit, where
  // Vout/Vs alone does not explain them (0 where it does).
  double offset_db;
  bool phase;
  double fit_rms_db;
  double noise_db;
  bool notch_found;
  double notch_hertz;
  // Below the level far below the notch, and below Vs at Fo. Where the
  // sweep does not decide one (the level alone, its points farther apart
  // near the notch than the notch is wide), the bound it does decide:
  // at least the depth of its deepest point, at least the rejection of the
  // line through the points on either side of Fo.
  double depth_db;
  bool depth_decided;
  double reject_db;
  bool reject_decided;
  // Whether the sweep decides the turns: the level alone does not where
  // it leaves the depth open.
  bool turns_decided;
  NullingChange trim;  // of the fitted build, at Fo
  // What the sweep decides of them: two standard deviations, in percent of
  // each resistor.
  double r1_spread_percent, r3_spread_percent;
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
// The level alone decides the depth where the fit's lies within this of
// the sweep's deepest point's (a point within the notch's 3 dB width), and
// the fit without a floor agrees with it within kDepthAgreementDb.
constexpr double kDecidedDepthDb = 3;
constexpr double kDepthAgreementDb = 1;

TuneResult TuneFromSweep(const MeasuredSweep& sweep, const SweepModel& model, double fo_hertz, const TuneRound& before);

}  // namespace notchwell
