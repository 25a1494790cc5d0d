#include "sweep_tuning.h"

#include "null_conditions.h"

namespace notchwell {
namespace {

// What the sweep decides of the turns, in percent: two standard
// deviations of each, from the fit's covariance and the turns' slopes;
// and never finer than twice the turn that takes the nulled build from a
// null to the floor the sweep rests on (as fitted) at Fo: below its floor
// no sweep tells a build from a null.
struct TurnSpreads {
  double r1_percent, r3_percent;
};

TurnSpreads TurnSpreadsOf(const SweepFit& fit, const SweepModel& model, double fo_hertz, const NullingChange& trim) {
  constexpr double kMove = 1e-5;
  double slopes[2][kFitParameters] = {};  // of R1's turn and R3's, by the parts'
  for (int j = 0; j < kFeedbackParameter; ++j) {
    double theta[kFitParameters];
    for (int k = 0; k < kFitParameters; ++k) theta[k] = fit.theta[k];
    theta[j] += kMove;
    PositionValues parts;
    double feedback;
    PartsOfFit(model, theta, parts, feedback);
    const NullingChange moved = NullingChangeAt(parts, fo_hertz);
    if (!moved.found) continue;
    slopes[0][j] = (moved.r1_change_percent - trim.r1_change_percent) / kMove;
    slopes[1][j] = (moved.r3_change_percent - trim.r3_change_percent) / kMove;
  }
  double spread[2];
  for (int q = 0; q < 2; ++q) {
    double variance = 0;
    for (int a = 0; a < kFeedbackParameter; ++a) {
      for (int b = 0; b < kFeedbackParameter; ++b) variance += slopes[q][a] * fit.covariance[a][b] * slopes[q][b];
    }
    spread[q] = 2 * SquareRoot(variance > 0 ? variance : 0);
  }
  const PositionValues& m = model.parts;
  const double r_ref = SquareRoot(m.r1) * SquareRoot(m.r2), c_ref = SquareRoot(m.c1) * SquareRoot(m.c2);
  const double floor = Exp(fit.theta[kFloorParameter]);
  for (int q = 0; q < 2; ++q) {
    PositionValues nulled = fit.parts;
    nulled.r1 = trim.r1 * (q == 0 ? 1 + kMove : 1);
    nulled.r3 = trim.r3 * (q == 1 ? 1 + kMove : 1);
    const TransferFunction h = TransferFunctionOf(CircuitOfModel(model, nulled, fit.feedback), r_ref, c_ref);
    const double slope = SquareRoot(PowerRatioAtHertz(h, fo_hertz)) / kMove;  // |H| by the log of the part
    const double unseen = slope > 0 ? 2 * 100 * floor / slope : 0;
    if (unseen > spread[q]) spread[q] = unseen;
  }
  return {spread[0], spread[1]};
}

// The depth of a network's notch below its level far below it, in dB (0
// where it has none).
double DepthOf(const TransferFunction& h) {
  const Notch notch = FindNotchWide(h);
  return notch.found ? PowerRatioToDecibels(PowerRatioAtZero(h)) - PowerRatioToDecibels(notch.power_ratio) : 0;
}

// The sweep's deepest point within the span fitted (levels beyond any
// network's left out, as the fit leaves them), and its index; -1 for none.
int DeepestPoint(const MeasuredSweep& sweep) {
  int deepest = -1;
  for (int i = 0; i < sweep.count; ++i) {
    if (Abs(sweep.level_db[i]) > kMostMeasuredDb) continue;
    if (deepest < 0 || sweep.level_db[i] < sweep.level_db[deepest]) deepest = i;
  }
  return deepest;
}

// The level of the line through the points on either side of `hertz`, on
// a logarithmic frequency axis; a notch lies below it.
double LevelOnChord(const MeasuredSweep& sweep, double hertz) {
  int i = 0;
  while (i + 2 < sweep.count && sweep.hertz[i + 1] <= hertz) ++i;
  const double t = Log10(hertz / sweep.hertz[i]) / Log10(sweep.hertz[i + 1] / sweep.hertz[i]);
  return sweep.level_db[i] + (sweep.level_db[i + 1] - sweep.level_db[i]) * t;
}

}  // namespace

TuneResult TuneFromSweep(const MeasuredSweep& sweep, const SweepModel& model, double fo_hertz,
                         const TuneRound& before) {
  TuneResult result{};
  result.points = sweep.count;
  result.phase = sweep.phase;
  if (!(sweep.hertz[0] < fo_hertz / kSpan && sweep.hertz[sweep.count - 1] > kSpan * fo_hertz)) {
    result.outcome = TuneOutcome::NotSpanning;
    return result;
  }
  static SweepFits fits;
  FitSweep(sweep, model, fits);
  const SweepFit& fit = fits.best;
  result.noise_db = fits.noise_db;
  result.left_out_count = fits.left_out_count;
  for (int k = 0; k < fits.left_out_count; ++k) result.left_out_lines[k] = sweep.line[fits.left_out[k]];
  result.worst_line = fits.worst >= 0 ? sweep.line[fits.worst] : 0;
  result.offset_db = fits.offset_db;
  if (!fit.found) {
    result.outcome = TuneOutcome::NoFit;
    return result;
  }
  result.fit_rms_db = fit.rms_db;
  if (!FitsWithinNoise(fit, fits.noise_db) || !PartsNear(fit, model)) {
    result.outcome = TuneOutcome::NoFit;
    return result;
  }
  result.outcome = TuneOutcome::Tuned;
  const TransferFunction& h = fit.function;
  result.function = h;
  result.notch = FindNotchWide(h);
  result.notch_found = result.notch.found;
  if (result.notch.found) {
    result.notch_hertz = HertzAt(h, result.notch.x);
    result.depth_db = DepthOf(h);
  }
  result.reject_db = -LevelDb(h, fo_hertz);
  result.depth_decided = result.reject_decided = true;
  // The level alone: how near the zeros lie to the j-omega axis shows only
  // in points within the notch's width, and a floor under a deep notch
  // fits a shallow one's points as well. The depth is decided where the
  // deepest point lies within the notch's bottom and the fit without a
  // floor fits as well with the same depth; else the deepest point's depth
  // is what the sweep decides, and the rejection at Fo next to that point
  // is what the line through the points about Fo decides.
  const int deepest = DeepestPoint(sweep);
  if (!sweep.phase && result.notch.found && deepest >= 0) {
    const double deepest_db = PowerRatioToDecibels(PowerRatioAtZero(h)) - sweep.level_db[deepest];
    const SweepFit& bare = fits.floorless;
    const bool floor_decides_nothing = bare.found && FitsWithinNoise(bare, fits.noise_db) &&
                                       bare.rms_db <= 1.5 * fit.rms_db + fits.noise_db &&
                                       Abs(DepthOf(bare.function) - result.depth_db) <= kDepthAgreementDb;
    if (result.depth_db > deepest_db + kDecidedDepthDb || !floor_decides_nothing) {
      result.depth_decided = false;
      result.depth_db = deepest_db;
      const int below = deepest > 0 ? deepest - 1 : 0, above = deepest + 1 < sweep.count ? deepest + 1 : deepest;
      if (fo_hertz > sweep.hertz[below] && fo_hertz < sweep.hertz[above]) {
        result.reject_decided = false;
        result.reject_db = -LevelOnChord(sweep, fo_hertz);
      }
    }
  }
  // Measured parts decide what the level leaves open; the nearest build's
  // tolerances do not.
  result.turns_decided = result.depth_decided || model.resistor_spread <= kMeterSpread;
  result.trim = NullingChangeAt(fit.parts, fo_hertz);
  if (result.trim.found) {
    const TurnSpreads spreads = TurnSpreadsOf(fit, model, fo_hertz, result.trim);
    result.r1_spread_percent = spreads.r1_percent;
    result.r3_spread_percent = spreads.r3_percent;
  }
  const SweepFit& other = fits.mirrored;
  result.alternative = !sweep.phase && result.turns_decided && other.found && FitsWithinNoise(other, fits.noise_db) &&
                       other.rms_db <= 1.5 * fit.rms_db + fits.noise_db && PartsNear(other, model);
  if (result.alternative) {
    result.alternative_trim = NullingChangeAt(other.parts, fo_hertz);
    result.alternative = result.alternative_trim.found;
  }
  result.round = before.given && before.fo_hertz == fo_hertz && result.notch_found && before.notch_hertz > 0 &&
                 before.notch_hertz != fo_hertz;
  if (result.round) {
    result.notch_before_hertz = before.notch_hertz;
    result.reject_before_db = before.reject_db;
    result.nearer_percent = 100 * (1 - Abs(result.notch_hertz - fo_hertz) / Abs(before.notch_hertz - fo_hertz));
  }
  return result;
}

}  // namespace notchwell
