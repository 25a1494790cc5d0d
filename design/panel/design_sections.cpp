// The one place where the analyses' results become the sections of the
// report that hold: the page shows and hides by these.
#include "design_report.h"
#include "followers.h"

namespace notchwell {
namespace {

struct Sections {
  DesignReport& report;
  void Set(Section section, bool holds) { report.sections[static_cast<int>(section)] = holds; }
};

void SetTuneSections(const DesignInputs& inputs, Sections& s) {
  const DesignReport& report = s.report;
  const TuneResult& t = report.tune;
  const bool swept = inputs.sweep != nullptr && inputs.sweep->count > 0;
  const bool modelled = swept && report.tune_modelled;
  const bool tuned = modelled && t.outcome == TuneOutcome::Tuned;
  s.Set(Section::TuneSweep, swept);
  s.Set(Section::TuneNoBuild, swept && !modelled);
  s.Set(Section::TuneNotSpanning, modelled && t.outcome == TuneOutcome::NotSpanning);
  s.Set(Section::TuneNoFit, modelled && t.outcome == TuneOutcome::NoFit);
  s.Set(Section::TuneLeftOut, tuned && t.left_out_count > 0);
  s.Set(Section::TuneOffset, tuned && t.offset_db != 0);
  const bool turns = tuned && t.trim.found && t.turns_decided;
  s.Set(Section::Tuned, tuned && t.trim.found);
  s.Set(Section::TuneTurns, turns);
  s.Set(Section::TuneUndecided, tuned && t.trim.found && !t.turns_decided);
  s.Set(Section::TuneNotch, tuned && t.notch_found);
  s.Set(Section::TuneDepthBound, tuned && t.notch_found && !t.depth_decided);
  s.Set(Section::TuneRejectBound, tuned && !t.reject_decided);
  s.Set(Section::TuneAlternative, turns && t.alternative);
  s.Set(Section::TuneRound, tuned && t.round);
}

// Where most of the noise comes from.
void SetNoiseSections(Sections& s) {
  const bool noise = s.report.in_range;
  const NoisePower& p = s.report.noise.band;
  s.Set(Section::Noise, noise);
  s.Set(Section::NoiseMostResistors, noise && p.resistors >= p.opamp_voltage && p.resistors >= p.opamp_current);
  s.Set(Section::NoiseMostVoltage, noise && p.opamp_voltage > p.resistors && p.opamp_voltage >= p.opamp_current);
  s.Set(Section::NoiseMostCurrent, noise && p.opamp_current > p.resistors && p.opamp_current > p.opamp_voltage);
}

}  // namespace

void SetSections(const DesignInputs& inputs, DesignReport& report) {
  Sections s{report};
  const bool in_range = report.in_range;
  const Feedback& feedback = report.feedback;
  const bool real_opamps = feedback.active && feedback.real_opamps;
  s.Set(Section::Build, in_range);
  s.Set(Section::Pair, report.pair.found);
  s.Set(Section::Active, feedback.active);
  s.Set(Section::DividerFound, feedback.active && feedback.divider.found);
  s.Set(Section::NoNotch, in_range && report.nearest.corners.without_notch + report.nearest.random.without_notch > 0);
  s.Set(Section::Measured, inputs.measured);
  s.Set(Section::MeasuredDip, inputs.measured && report.measured.notch_found);
  s.Set(Section::MeasuredTrim, inputs.measured && report.measured.trim.found);
  s.Set(Section::BandLow, report.ideal.band.low_found);
  s.Set(Section::BandHigh, report.ideal.band.high_found);
  s.Set(Section::TrimR1, in_range && report.nearest.trim_r1.found);
  s.Set(Section::TrimR3, in_range && report.nearest.trim_r3.found);
  s.Set(Section::OpAmp, real_opamps);
  s.Set(Section::OpAmpNeeded, real_opamps && report.opamp.gbw_found);
  s.Set(Section::OpAmpBandLow, real_opamps && report.opamp.band.low_found);
  s.Set(Section::OpAmpBandHigh, real_opamps && report.opamp.band.high_found);
  s.Set(Section::OpAmpWeak, real_opamps && report.follower_db < -kFollowerDropDb);
  s.Set(Section::OpAmpQ, real_opamps && report.opamp.q > 0);
  s.Set(Section::Q, report.ideal.band.low_found && report.ideal.band.high_found);
  s.Set(Section::Load, inputs.load_ohms > 0);
  const bool build_notch = in_range && report.nearest.notch.found;
  s.Set(Section::BuildNotch, build_notch);
  s.Set(Section::ExactNotch, in_range && report.exact.notch.found);
  s.Set(Section::BestNotch, report.pair.found && report.pair.notch.found);
  s.Set(Section::Drift, in_range && report.nearest.drift.found);
  const TimeFigures& ideal_time = CurveOf(report, Curve::Ideal).time;
  const TimeFigures& build_time = CurveOf(report, Curve::Build).time;
  s.Set(Section::StepSettles, ideal_time.step.found);
  s.Set(Section::BurstSettles, ideal_time.burst.found);
  s.Set(Section::BuildStepSettles, build_notch && build_time.step.found);
  s.Set(Section::BuildBurstSettles, build_notch && build_time.burst.found);
  SetTuneSections(inputs, s);
  SetNoiseSections(s);
}

}  // namespace notchwell
