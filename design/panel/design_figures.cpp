// The one place where the analyses' results become the panel's figures.
#include "active_feedback.h"
#include "design_report.h"
#include "elementary.h"

namespace notchwell {
namespace {

struct Figures {
  DesignReport& report;
  void Set(Figure figure, double value) {
    report.values[static_cast<int>(figure)] = value;
    report.available[static_cast<int>(figure)] = true;
  }
  void SetIf(bool holds, Figure figure, double value) {
    if (holds) Set(figure, value);
  }
  void Notch(const BuildNotch& notch, Figure fo, Figure error, Figure reject) {
    SetIf(notch.found, fo, notch.hertz);
    SetIf(notch.found, error, notch.error_percent);
    Set(reject, notch.reject_db);
  }
  void Harmonics(const double (&decibels)[kHarmonics], const Figure (&figures)[kHarmonics]) {
    for (int n = 0; n < kHarmonics; ++n) Set(figures[n], decibels[n]);
  }
  // A network's time figures; a build's only where it notches.
  void Time(const TimeFigures& t, bool holds, Figure burst, Figure step, Figure low) {
    SetIf(holds && t.burst.found, burst, t.burst.seconds);
    SetIf(holds && t.step.found, step, t.step.seconds);
    SetIf(holds && t.step.found, low, t.step.lowest);
  }
  void Trim(const FixedAndTrimmer& chosen, double low, double high, const Figure (&figures)[4]) {
    Set(figures[0], low);
    Set(figures[1], high);
    SetIf(chosen.found, figures[2], chosen.fixed);
    SetIf(chosen.found, figures[3], chosen.trimmer);
  }
};

constexpr Figure kIdealHarmonics[kHarmonics] = {Figure::H2, Figure::H3, Figure::H4, Figure::H5};
constexpr Figure kBuildHarmonics[kHarmonics] = {Figure::BuildH2, Figure::BuildH3, Figure::BuildH4, Figure::BuildH5};
constexpr Figure kTrimR1[4] = {Figure::TrimR1Low, Figure::TrimR1High, Figure::TrimR1Fixed, Figure::TrimR1Pot};
constexpr Figure kTrimR3[4] = {Figure::TrimR3Low, Figure::TrimR3High, Figure::TrimR3Fixed, Figure::TrimR3Pot};
constexpr Figure kExactPositions[kPositions] = {Figure::ExactR, Figure::ExactR3, Figure::ExactC, Figure::ExactC3};

}  // namespace

void SetFigures(const DesignInputs& inputs, DesignReport& report) {
  for (int i = 0; i < kFigureCount; ++i) {
    report.values[i] = 0;
    report.available[i] = false;
  }
  Figures f{report};
  f.Set(Figure::Fo, inputs.fo_hertz);
  f.Set(Figure::R, inputs.r_ohms);
  f.Set(Figure::R3, inputs.r_ohms / 2);
  f.Set(Figure::C, inputs.c_farads);
  f.Set(Figure::C3, 2 * inputs.c_farads);
  f.Set(Figure::Source, inputs.source_ohms);
  f.SetIf(inputs.load_ohms > 0, Figure::Load, inputs.load_ohms);

  const Feedback& feedback = report.feedback;
  f.SetIf(feedback.active, Figure::K, feedback.k);
  if (Holds(report, Section::DividerFound)) {
    f.Set(Figure::DividerTop, feedback.divider.top);
    f.Set(Figure::DividerBottom, feedback.divider.bottom);
    f.Set(Figure::KBuild, feedback.divider.k);
    f.Set(Figure::QBuild, QForFeedback(feedback.divider.k));
  }

  const IdealResult& ideal = report.ideal;
  f.Set(Figure::Notch, ideal.notch_hertz);
  f.SetIf(ideal.band.low_found, Figure::BandLow, ideal.band_low_hertz);
  f.SetIf(ideal.band.high_found, Figure::BandHigh, ideal.band_high_hertz);
  f.SetIf(ideal.band.low_found && ideal.band.high_found, Figure::Q,
          ideal.notch_hertz / (ideal.band_high_hertz - ideal.band_low_hertz));
  f.Harmonics(ideal.harmonics_db, kIdealHarmonics);
  f.Time(report.curves[static_cast<int>(Curve::Ideal)].time, true, Figure::BurstSettle, Figure::StepSettle,
         Figure::StepLow);
  f.Set(Figure::BandRejectIdeal, ideal.band_reject_db);

  if (Holds(report, Section::Build)) {
    const NearestResult& n = report.nearest;
    f.Set(Figure::BuildR, n.r);
    f.Set(Figure::BuildC, n.c);
    f.Notch(n.notch, Figure::BuildFo, Figure::BuildError, Figure::BuildReject);
    f.Harmonics(n.harmonics_db, kBuildHarmonics);
    f.SetIf(n.corners.found, Figure::FoLow, n.corners.fo_low_hertz);
    f.SetIf(n.corners.found, Figure::FoHigh, n.corners.fo_high_hertz);
    f.Set(Figure::NoNotchCorners, n.corners.without_notch);
    f.Set(Figure::SpreadLow, n.spread_low_db);
    f.Set(Figure::SpreadHigh, n.spread_high_db);
    f.Set(Figure::Depth90, n.random.depth_90_db);
    f.Set(Figure::Reject90, n.random.reject_90_db);
    f.Set(Figure::BandReject90, n.band_reject_90_db);
    f.Set(Figure::BandReject, n.band_reject_db);
    f.Time(report.curves[static_cast<int>(Curve::Build)].time, n.notch.found, Figure::BuildBurstSettle,
           Figure::BuildStepSettle, Figure::BuildStepLow);
    f.Set(Figure::NoNotchRandom, n.random.without_notch);
    f.SetIf(feedback.active, Figure::Depth90Passive, n.depth_90_passive_db);
    f.Trim(n.trim_r1, n.trims.r1_low, n.trims.r1_high, kTrimR1);
    f.Trim(n.trim_r3, n.trims.r3_low, n.trims.r3_high, kTrimR3);
    f.SetIf(n.drift.found, Figure::DriftFoLow, n.drift.fo_low_hertz);
    f.SetIf(n.drift.found, Figure::DriftFoHigh, n.drift.fo_high_hertz);
    f.Set(Figure::DriftReject, n.drift.least_reject_db);

    for (int i = 0; i < kPositions; ++i) f.Set(kExactPositions[i], report.exact.positions[i].value);
    f.Notch(report.exact.notch, Figure::ExactFo, Figure::ExactError, Figure::ExactReject);
    f.Set(Figure::BandRejectExact, report.exact.band_reject_db);
  }

  if (Holds(report, Section::Pair)) {
    f.Set(Figure::BestR, report.pair.r);
    f.Set(Figure::BestC, report.pair.c);
    f.Notch(report.pair.notch, Figure::BestFo, Figure::BestError, Figure::BestReject);
  }

  if (Holds(report, Section::OpAmp)) {
    const OpAmpResponse& o = report.opamp;
    f.Set(Figure::OpAmpGbw, feedback.opamp.gbw_hertz);
    f.Set(Figure::OpAmpGain, feedback.opamp.gain_db);
    f.Set(Figure::OpAmpSlew, feedback.opamp.slew_volts_per_us * 1e6);
    f.Set(Figure::OpAmpEn, feedback.opamp.noise_volts);
    f.Set(Figure::OpAmpIn, feedback.opamp.noise_amps);
    f.Set(Figure::OpAmpFollowerGain, report.follower_db);
    f.SetIf(o.band.low_found, Figure::OpAmpBandLow, o.band_low_hertz);
    f.SetIf(o.band.high_found, Figure::OpAmpBandHigh, o.band_high_hertz);
    f.SetIf(o.q > 0, Figure::OpAmpQ, o.q);
    f.Set(Figure::OpAmpPeak, o.peak_db);
    f.SetIf(o.gbw_found, Figure::OpAmpGbwNeeded, o.gbw_needed_hertz);
    f.Set(Figure::OpAmpSlewLimit, o.slew_limit_volts);
  }

  const TuneResult& t = report.tune;
  if (Holds(report, Section::TuneSweep)) f.Set(Figure::TunePoints, t.points);
  if (Holds(report, Section::Tuned)) {
    f.SetIf(t.notch_found, Figure::TuneNotch, t.notch_hertz);
    f.SetIf(t.notch_found, Figure::TuneDepth, t.depth_db);
    f.Set(Figure::TuneReject, t.reject_db);
    f.Set(Figure::TuneFitRms, t.fit_rms_db);
    f.SetIf(Holds(report, Section::TuneOffset), Figure::TuneOffset, t.offset_db);
  }
  if (Holds(report, Section::TuneTurns)) {
    f.Set(Figure::TuneR1Change, t.trim.r1_change_percent);
    f.Set(Figure::TuneR3Change, t.trim.r3_change_percent);
    f.Set(Figure::TuneR1Spread, t.r1_spread_percent);
    f.Set(Figure::TuneR3Spread, t.r3_spread_percent);
    f.Set(Figure::TuneR1, t.trim.r1);
    f.Set(Figure::TuneR3, t.trim.r3);
  }
  if (Holds(report, Section::TuneAlternative)) {
    f.Set(Figure::TuneR1ChangeAlt, t.alternative_trim.r1_change_percent);
    f.Set(Figure::TuneR3ChangeAlt, t.alternative_trim.r3_change_percent);
  }
  if (Holds(report, Section::TuneRound)) {
    f.Set(Figure::TuneNotchBefore, t.notch_before_hertz);
    f.Set(Figure::TuneRejectBefore, t.reject_before_db);
    f.Set(Figure::TuneNearer, t.nearer_percent);
  }
  if (Holds(report, Section::Noise)) {
    const NoiseResult& n = report.noise;
    const double total = TotalOf(n.band);
    f.Set(Figure::NoiseTotal, SquareRoot(total));
    f.Set(Figure::NoiseDensity, n.density_at_fo);
    // dB below the signal: a power ratio, its square.
    const double signal = inputs.noise_signal_volts * inputs.noise_signal_volts;
    f.Set(Figure::NoiseFloor, -PowerRatioToDecibels(total / signal));
    f.Set(Figure::NoiseSignal, inputs.noise_signal_volts);
    f.Set(Figure::NoiseResistors, SquareRoot(n.band.resistors));
    f.SetIf(feedback.active, Figure::NoiseOpAmpVoltage, SquareRoot(n.band.opamp_voltage));
    f.SetIf(feedback.active, Figure::NoiseOpAmpCurrent, SquareRoot(n.band.opamp_current));
    f.Set(Figure::NoiseFloorTenth, -PowerRatioToDecibels(n.tenth_band / signal));
  }
  if (inputs.measured) {
    const MeasuredResult& m = report.measured;
    f.SetIf(m.notch_found, Figure::MeasuredFo, m.notch_hertz);
    f.SetIf(m.notch_found, Figure::MeasuredDepth, m.depth_db);
    f.Set(Figure::MeasuredReject, m.reject_db);
    if (m.trim.found) {
      f.Set(Figure::MeasuredTrimR1, m.trim.r1);
      f.Set(Figure::MeasuredTrimR3, m.trim.r3);
      f.Set(Figure::MeasuredTrimR1Change, m.trim.r1_change_percent);
      f.Set(Figure::MeasuredTrimR3Change, m.trim.r3_change_percent);
    }
  }
}

}  // namespace notchwell
