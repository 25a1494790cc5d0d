#include "sweep_tuning.h"

#include "null_conditions.h"

namespace notchwell {
namespace {

// What a fit may leave of the level beyond three times the sweep's own
// noise: a sweep's steps and rounding.
constexpr double kFitAllowanceDb = 0.05;

bool Near(double value, double model) { return value <= kFarthestPart * model && model <= kFarthestPart * value; }

bool PartsNear(const SweepFit& fit, const SweepModel& model) {
  const PositionValues &p = fit.parts, &m = model.parts;
  return Near(p.r1, m.r1) && Near(p.r2, m.r2) && Near(p.r3, m.r3) && Near(p.c1, m.c1) && Near(p.c2, m.c2) &&
         Near(p.c3, m.c3) && (!model.active || Near(1 - fit.feedback, 1 - model.feedback));
}

bool FitsWithinNoise(const SweepFit& fit, double noise_db) { return fit.rms_db <= 3 * noise_db + kFitAllowanceDb; }

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
    result.depth_db = PowerRatioToDecibels(PowerRatioAtZero(h)) - PowerRatioToDecibels(result.notch.power_ratio);
  }
  result.reject_db = -LevelDb(h, fo_hertz);
  result.trim = NullingChangeAt(fit.parts, fo_hertz);
  const SweepFit& other = fits.mirrored;
  result.alternative = !sweep.phase && other.found && FitsWithinNoise(other, fits.noise_db) &&
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
