#include "design_report.h"

#include "band_rejection.h"
#include "design_choices.h"
#include "design_curves.h"
#include "design_reads.h"
#include "elementary.h"
#include "followers.h"
#include "notch_search.h"
#include "null_conditions.h"
#include "pair_search.h"
#include "part_ranges.h"
#include "spice_netlist.h"

namespace notchwell {
namespace {

bool IsWithin(double value, double lowest, double highest) { return value >= lowest && value <= highest; }

// The option chosen on a list, or its default for an index out of range.
template <typename T, int N>
T Chosen(const Choices<T, N>& choices, const DesignInputs& inputs, PanelList list) {
  return choices.options[ChosenIndex(inputs.choices, list)];
}

// A circuit of these parts with the form's surroundings and, in the
// active form, these followers; feedback 0 makes it the passive one.
TwinTCircuit CircuitOf(const TwinTParts& parts, const DesignInputs& inputs, double feedback,
                       const FollowerOpAmps& followers) {
  const bool active = feedback > 0;
  return {parts, inputs.source_ohms, inputs.load_ohms, active, feedback, active ? followers : FollowerOpAmps{0, 0}};
}

BuildNotch BuildNotchOf(const TransferFunction& h, const Notch& notch, double fo_hertz) {
  BuildNotch b{notch.found, 0, 0, -LevelDb(h, fo_hertz)};
  if (notch.found) {
    b.hertz = HertzAt(h, notch.x);
    b.error_percent = 100 * RelativeError(b.hertz, fo_hertz);
  }
  return b;
}

double BandRejectDb(const TransferFunction& h, const DesignInputs& inputs) {
  return -PowerRatioToDecibels(
      BandPowerRatio(h, inputs.fo_hertz, Chosen(kRejectBands, inputs, PanelList::RejectBand) / 100));
}

void Harmonics(const TransferFunction& h, double fo_hertz, double (&decibels)[kHarmonics]) {
  for (int n = 0; n < kHarmonics; ++n) decibels[n] = LevelDb(h, (n + 2) * fo_hertz);
}

Feedback FeedbackOf(const DesignInputs& inputs) {
  const double target_q = Chosen(kNetworks, inputs, PanelList::Network);
  Feedback f{target_q > 0, 0, {false, 0, 0, 0}, 0, false, {0, 0, 0}, {0, 0}};
  if (!f.active) return f;
  f.opamp = ChosenOpAmp(inputs);
  f.followers = FollowersOf(f.opamp);
  f.real_opamps = f.followers.open_loop_gain > 0;
  f.k = f.k_build = FeedbackForQ(target_q);
  f.divider = NearestDivider(Chosen(kResistorSeries, inputs, PanelList::ResistorSeries), f.k);
  if (f.divider.found) f.k_build = f.divider.k;
  return f;
}

// The ideal network, with ideal op-amps in the active form: its notch,
// half-power band, curve and harmonics.
IdealResult AnalyseIdeal(DesignReport& report, const DesignInputs& inputs, double k) {
  const TwinTCircuit circuit = CircuitOf(BalancedParts(inputs.r_ohms, inputs.c_farads), inputs, k, {0, 0});
  const TransferFunction ideal = TransferFunctionOf(circuit, inputs.r_ohms, inputs.c_farads);
  const Notch notch = FindNotch(ideal);
  IdealResult result{HertzAt(ideal, notch.x), 0, HalfPowerBandAround(ideal, notch.x), 0, 0, {}};
  if (result.band.low_found) result.band_low_hertz = HertzAt(ideal, result.band.low_x);
  if (result.band.high_found) result.band_high_hertz = HertzAt(ideal, result.band.high_x);
  DrawCurve(CurveOf(report, Curve::Ideal), ideal, notch, report.curve_hertz, inputs.fo_hertz, true);
  Harmonics(ideal, inputs.fo_hertz, result.harmonics_db);
  return result;
}

double Tolerance(const DesignInputs& inputs, PartKind kind) {
  return (kind == PartKind::Resistor ? Chosen(kResistorTolerances, inputs, PanelList::ResistorTolerance)
                                     : Chosen(kCapacitorTolerances, inputs, PanelList::CapacitorTolerance)) /
         100;
}

// The nearest build's circuit, of its two values.
TwinTCircuit NearestCircuit(const DesignReport& report, const DesignInputs& inputs) {
  return CircuitOf(BalancedParts(report.nearest.r, report.nearest.c), inputs, report.feedback.k_build,
                   report.feedback.followers);
}

// The nearest build of standard parts: where it notches, its curve and
// its harmonics.
void AnalyseNearestBuild(DesignReport& report, const DesignInputs& inputs) {
  const ESeries r_series = Chosen(kResistorSeries, inputs, PanelList::ResistorSeries);
  NearestResult& n = report.nearest;
  n.r = NearestIn(r_series, inputs.r_ohms);
  n.c = NearestIn(Chosen(kCapacitorSeries, inputs, PanelList::CapacitorSeries), inputs.c_farads);
  const TwinTCircuit build = NearestCircuit(report, inputs);
  const TransferFunction h = TransferFunctionOf(build, n.r, n.c);
  const double fo = inputs.fo_hertz;
  const Notch notch = FindNotch(h);
  n.notch = BuildNotchOf(h, notch, fo);
  DrawCurve(CurveOf(report, Curve::Build), h, notch, report.curve_hertz, fo, true);
  Harmonics(h, fo, n.harmonics_db);
}

// How the nearest build's parts' tolerances and temperature move it, and
// the trimmers that bring every such build back onto Fo.
void SpreadNearestBuild(DesignReport& report, const DesignInputs& inputs) {
  NearestResult& n = report.nearest;
  const TwinTCircuit build = NearestCircuit(report, inputs);
  const ESeries r_series = Chosen(kResistorSeries, inputs, PanelList::ResistorSeries);
  const double fo = inputs.fo_hertz;
  const double r_tolerance = Tolerance(inputs, PartKind::Resistor);
  const double c_tolerance = Tolerance(inputs, PartKind::Capacitor);
  n.corners = SpreadAtCorners(build, r_tolerance, c_tolerance);
  // The spread at every other point of the curves, Fo among them.
  const SpreadBand band{report.band_hertz, kBandPoints, report.band_low_db, report.band_high_db};
  n.random = AnalyseRandomBuilds(build, r_tolerance, c_tolerance, fo,
                                 Chosen(kRejectBands, inputs, PanelList::RejectBand) / 100, &band);
  n.band_reject_90_db = n.random.band_reject_90_db;
  n.spread_low_db = report.band_low_db[kBandPoints / 2];
  n.spread_high_db = report.band_high_db[kBandPoints / 2];
  if (build.active) {
    // The passive network as the active one's sits: driven by the same
    // source, and with nothing but a follower after it.
    TwinTCircuit passive = CircuitOf(build.parts, inputs, 0, {0, 0});
    passive.load_ohms = 0;
    n.depth_90_passive_db = AnalyseRandomBuilds(passive, r_tolerance, c_tolerance, fo, 0, nullptr).depth_90_db;
  } else {
    n.depth_90_passive_db = 0;
  }

  n.trims = TrimRangesAt(build.parts, r_tolerance, c_tolerance, fo);
  n.trim_r1 = ChooseFixedAndTrimmer(r_series, r_tolerance, n.trims.r1_low, n.trims.r1_high);
  n.trim_r3 = ChooseFixedAndTrimmer(r_series, r_tolerance, n.trims.r3_low, n.trims.r3_high);

  const Tempco r_tempco = Chosen(kResistorTempcos, inputs, PanelList::ResistorTempco);
  const Tempco c_tempco = Chosen(kCapacitorTempcos, inputs, PanelList::CapacitorTempco);
  const TemperatureRange range = Chosen(kTemperatureRanges, inputs, PanelList::TemperatureRange);
  n.drift = DriftOverTemperature(build, r_tempco.ppm_per_kelvin, c_tempco.ppm_per_kelvin, range.low, range.high, fo);
}

// Each position from one or two standard parts, and the build of those.
ExactResult AnalyseExactValues(const DesignInputs& inputs, const Feedback& feedback) {
  const ESeries r_series = Chosen(kResistorSeries, inputs, PanelList::ResistorSeries);
  const ESeries c_series = Chosen(kCapacitorSeries, inputs, PanelList::CapacitorSeries);
  const double r = inputs.r_ohms, c = inputs.c_farads;
  ExactResult e{
      {NearestCombination(r_series, PartKind::Resistor, r), NearestCombination(r_series, PartKind::Resistor, r / 2),
       NearestCombination(c_series, PartKind::Capacitor, c), NearestCombination(c_series, PartKind::Capacitor, 2 * c)},
      {},
      {},
      0};
  const double er = e.positions[0].value, ec = e.positions[2].value;
  const PositionValues values{er, er, e.positions[1].value, ec, ec, e.positions[3].value};
  e.function = TransferFunctionOf(CircuitOf(PartsOf(values), inputs, feedback.k_build, feedback.followers), er, ec);
  e.notch = BuildNotchOf(e.function, FindNotch(e.function), inputs.fo_hertz);
  return e;
}

// The ideal parts with the real op-amps: their curve, and what the
// op-amps do to the notch.
OpAmpResponse AnalyseOpAmp(DesignReport& report, const DesignInputs& inputs, const Feedback& feedback) {
  const TwinTCircuit circuit =
      CircuitOf(BalancedParts(inputs.r_ohms, inputs.c_farads), inputs, feedback.k, feedback.followers);
  const TransferFunction h = TransferFunctionOf(circuit, inputs.r_ohms, inputs.c_farads);
  DrawCurve(CurveOf(report, Curve::OpAmp), h, FindNotch(h), report.curve_hertz, inputs.fo_hertz, false);
  return AnalyseOpAmpResponse(circuit, inputs.r_ohms, inputs.c_farads, feedback.opamp, report.ideal.notch_hertz,
                              inputs.fo_hertz);
}

// The build of the measured parts, and the R1 and R3 that null it at Fo.
MeasuredResult AnalyseMeasuredBuild(DesignReport& report, const DesignInputs& inputs, double k_build) {
  const PositionValues& m = inputs.measured_parts;
  const TwinTParts parts = PartsOf(m);
  const TransferFunction h =
      TransferFunctionOf(CircuitOf(parts, inputs, k_build, report.feedback.followers),
                         SquareRoot(m.r1) * SquareRoot(m.r2), SquareRoot(m.c1) * SquareRoot(m.c2));
  const Notch notch = FindNotchWide(h);

  MeasuredResult result{notch.found, 0, 0, -LevelDb(h, inputs.fo_hertz), NullingChangeAt(m, inputs.fo_hertz)};
  if (notch.found) {
    result.notch_hertz = HertzAt(h, notch.x);
    result.depth_db = -PowerRatioToDecibels(notch.power_ratio);
  }
  DrawCurve(CurveOf(report, Curve::Measured), h, notch, report.curve_hertz, inputs.fo_hertz, false);
  return result;
}

// What the reject band reads: the least each network takes off across
// it, and with `random_builds` what 90 % of the random builds reach there
// (which otherwise came with their spread).
void RejectBand(DesignReport& report, const DesignInputs& inputs, bool random_builds) {
  report.ideal.band_reject_db = BandRejectDb(report.curves[static_cast<int>(Curve::Ideal)].function, inputs);
  if (!report.in_range) return;
  NearestResult& n = report.nearest;
  n.band_reject_db = BandRejectDb(report.curves[static_cast<int>(Curve::Build)].function, inputs);
  if (random_builds) {
    n.band_reject_90_db = RandomBuildsBandReject90Db(
        NearestCircuit(report, inputs), Tolerance(inputs, PartKind::Resistor), Tolerance(inputs, PartKind::Capacitor),
        inputs.fo_hertz, Chosen(kRejectBands, inputs, PanelList::RejectBand) / 100);
  }
  report.exact.band_reject_db = BandRejectDb(report.exact.function, inputs);
}

// The build a measured sweep was taken of, as the panel has it: the
// nearest build or the measured parts, in the form's surroundings, with
// the builds' feedback and the op-amps chosen. False for none.
bool TunedModel(const DesignReport& report, const DesignInputs& inputs, SweepModel& model) {
  const bool measured = ChosenIndex(inputs.choices, PanelList::TuneBuilt) == static_cast<int>(TuneBuilt::Measured);
  if (measured && !inputs.measured) return false;
  if (!measured && !report.in_range) return false;
  const double r = report.nearest.r, c = report.nearest.c;
  model = {measured ? inputs.measured_parts : PositionValues{r, r, r / 2, c, c, 2 * c},
           inputs.source_ohms,
           inputs.load_ohms,
           report.feedback.active,
           report.feedback.active ? report.feedback.k_build : 0,
           report.feedback.followers,
           measured ? kMeterSpread : Tolerance(inputs, PartKind::Resistor),
           measured ? kMeterSpread : Tolerance(inputs, PartKind::Capacitor)};
  return true;
}

// A measured sweep's trims, and the fitted build's curve.
void TuneBuild(DesignReport& report, const DesignInputs& inputs) {
  TuneResult& t = report.tune;
  SweepModel model;
  const bool swept = inputs.sweep != nullptr && inputs.sweep->count > 0;
  report.tune_modelled = swept && TunedModel(report, inputs, model);
  if (report.tune_modelled) {
    t = TuneFromSweep(*inputs.sweep, model, inputs.fo_hertz, inputs.round);
  } else {
    // Nothing to fit it to, yet the points were read.
    t = TuneResult{};
    if (swept) t.points = inputs.sweep->count;
  }
  if (report.tune_modelled && t.outcome == TuneOutcome::Tuned) {
    DrawCurve(CurveOf(report, Curve::Fitted), t.function, t.notch, report.curve_hertz, inputs.fo_hertz, false);
  } else {
    ClearCurve(report, Curve::Fitted);
  }
}

// The best pair of standard parts for the form's Fo, and its build.
PairResult AnalysePair(const DesignInputs& inputs, const Feedback& feedback) {
  const StandardPair pair =
      BestPair(Chosen(kResistorSeries, inputs, PanelList::ResistorSeries),
               Chosen(kCapacitorSeries, inputs, PanelList::CapacitorSeries), inputs.c_farads, inputs.fo_hertz);
  PairResult result{pair.found, pair.r, pair.c, {false, 0, 0, 0}};
  if (pair.found) {
    const TransferFunction h = TransferFunctionOf(
        CircuitOf(BalancedParts(pair.r, pair.c), inputs, feedback.k_build, feedback.followers), pair.r, pair.c);
    result.notch = BuildNotchOf(h, FindNotch(h), inputs.fo_hertz);
  }
  return result;
}

// The nearest build's noise, with its divider as the netlist draws it and
// its op-amps' noise (none for ideal ones): over the band, at Fo, along
// the curves, and at a tenth of its impedance.
void AnalyseNoise(DesignReport& report, const DesignInputs& inputs) {
  const Feedback& f = report.feedback;
  const DividerResistors divider = DrawnDivider({f.divider.found, f.divider.top, f.divider.bottom}, f.k_build);
  const OpAmpNoise opamp =
      f.active && f.real_opamps ? OpAmpNoise{f.opamp.noise_volts, f.opamp.noise_amps} : OpAmpNoise{0, 0};
  const NoisyCircuit noisy{NearestCircuit(report, inputs), divider.top, divider.bottom, opamp};
  const NoiseBand band = Chosen(kNoiseBands, inputs, PanelList::NoiseBand);
  NoiseResult& n = report.noise;
  n.band = NoiseOverBand(noisy, band.low_hertz, band.high_hertz);
  n.tenth_band = TotalOf(NoiseOverBand(TenthImpedance(noisy), band.low_hertz, band.high_hertz));
  DrawNoise(report, noisy);
  // Fo is the curves' middle point exactly.
  n.density_at_fo = n.density[static_cast<int>(NoiseCurve::Total)][kCurvePoints / 2];
}

}  // namespace

OpAmp ChosenOpAmp(const DesignInputs& inputs) {
  return ChosenIndex(inputs.choices, PanelList::OpAmp) == kCustomOpAmp
             ? inputs.custom_opamp
             : Chosen(kOpAmps, inputs, PanelList::OpAmp).figures;
}

namespace {

// Everything but what the reject band and the plot's view read; with the
// inputs of the report `before`, only the parts that read what changed.
// Whether the nearest build's spread was worked out.
bool AnalyseDesign(const DesignInputs& inputs, DesignReport& report, const DesignInputs* before) {
  const auto redo = [&](Reads reads) { return before == nullptr || !SameFor(*before, inputs, reads); };
  bool spread = false;
  report.feedback = FeedbackOf(inputs);
  MakeFrequencyGrid(report, inputs.fo_hertz);
  if (redo(kIdealReads)) report.ideal = AnalyseIdeal(report, inputs, report.feedback.k);
  report.in_range = IsWithin(inputs.r_ohms, kResistorLowest, kResistorHighest) &&
                    IsWithin(inputs.c_farads, kCapacitorLowest, kCapacitorHighest);
  if (!report.in_range) {
    ClearCurve(report, Curve::Build);
  } else {
    if (redo(kBuildReads)) {
      AnalyseNearestBuild(report, inputs);
      report.exact = AnalyseExactValues(inputs, report.feedback);
    }
    if (redo(kSpreadReads)) {
      SpreadNearestBuild(report, inputs);
      spread = true;
    }
    if (redo(kNoiseReads)) AnalyseNoise(report, inputs);
  }
  if (redo(kBuildReads)) report.pair = AnalysePair(inputs, report.feedback);
  if (redo(kMeasuredReads)) {
    if (inputs.measured) {
      report.measured = AnalyseMeasuredBuild(report, inputs, report.feedback.k_build);
    } else {
      ClearCurve(report, Curve::Measured);
    }
  }
  if (redo(kTuneReads)) TuneBuild(report, inputs);
  const bool real_opamps = report.feedback.active && report.feedback.real_opamps;
  if (redo(kOpAmpReads)) {
    if (real_opamps) {
      report.opamp = AnalyseOpAmp(report, inputs, report.feedback);
    } else {
      ClearCurve(report, Curve::OpAmp);
    }
  }
  report.follower_db = real_opamps ? FollowerGainDb(report.feedback.followers, inputs.fo_hertz) : 0;
  CurvesAtNotches(report);
  return spread;
}

}  // namespace

void MakeDesignReport(const DesignInputs& inputs, DesignReport& report) {
  AnalyseDesign(inputs, report, nullptr);
  SetSections(inputs, report);
  RejectBand(report, inputs, false);
  TimeView(report, inputs);
  SetFigures(inputs, report);
}

void UpdateDesignReport(const DesignInputs& before, const DesignInputs& inputs, DesignReport& report) {
  const bool design_same = SameFor(before, inputs, kAllBut(kBandList | kViewList));
  const bool spread = !design_same && AnalyseDesign(inputs, report, &before);
  SetSections(inputs, report);
  const bool band_same = SameFor(before, inputs, {kBandList, false, false, false});
  if (!design_same || !band_same) RejectBand(report, inputs, !spread && !band_same);
  if (!design_same || !SameFor(before, inputs, kAllBut(kBandList))) TimeView(report, inputs);
  SetFigures(inputs, report);
}

}  // namespace notchwell
