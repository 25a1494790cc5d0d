#include "design_report.h"

#include "band_rejection.h"
#include "design_choices.h"
#include "elementary.h"
#include "followers.h"
#include "notch_search.h"
#include "null_conditions.h"
#include "pair_search.h"
#include "part_ranges.h"

namespace notchwell {
namespace {

// A response still moving 10^4 cycles of Fo after it starts does not settle.
constexpr double kSettlingLimit = 1e4;

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

// A curve of network `h` whose own notch is `notch`: its level, phase
// and delay at `hertz`, at its notch, and its answer in time, whose
// settling times are figures (`settling`) or, for the curves drawn only,
// worked out for the time view alone (TimeView).
void DrawCurve(CurveResult& curve, const TransferFunction& h, const Notch& notch, const double (&hertz)[kCurvePoints],
               double fo_hertz, bool settling) {
  curve.drawn = true;
  curve.function = h;
  curve.notch_hertz = notch.found ? HertzAt(h, notch.x) : 0;
  curve.notch_db = notch.found ? PowerRatioToDecibels(notch.power_ratio) : 0;
  for (int i = 0; i < kCurvePoints; ++i) {
    curve.level_db[i] = LevelDb(h, hertz[i]);
    const PhaseAndDelay at = PhaseAndDelayAt(h, hertz[i]);
    curve.degrees[i] = at.degrees;
    curve.delay_s[i] = at.delay_seconds;
  }
  // At 0 Hz, where a curve without a notch has it, there is nothing to work out.
  const PhaseAndDelay at_notch = curve.notch_hertz > 0 ? PhaseAndDelayAt(h, curve.notch_hertz) : PhaseAndDelay{0, 0};
  curve.notch_degrees = at_notch.degrees;
  curve.notch_delay_s = at_notch.delay_seconds;
  const Roots poles = PolesOf(h);
  curve.step = StepResponseOf(h, poles);
  curve.sine = SineResponseOf(h, poles, fo_hertz);
  TimeFigures& t = curve.time;
  t.step = t.burst = {false, 0, 0};
  if (settling) {
    t.step = SettlingTime(curve.step, kSettlingLimit / fo_hertz, 0.01 / fo_hertz);
    t.burst = SettlingTime(curve.sine, kSettlingLimit / fo_hertz);
  }
}

// What the plot's view reads: the settling times of the curves that are
// worked out for the time view alone, and that view's points, from 0 to a
// fifth past the slowest settling time of the curves drawn (or 20 cycles
// of Fo where none settles).
void TimeView(DesignReport& report, const DesignInputs& inputs) {
  const PlotView view = static_cast<PlotView>(ChosenIndex(inputs.choices, PanelList::PlotView));
  const double fo = inputs.fo_hertz;
  constexpr Curve kTimeViewOnly[] = {Curve::Measured, Curve::OpAmp, Curve::Fitted};
  for (const Curve which : kTimeViewOnly) {
    CurveResult& curve = CurveOf(report, which);
    TimeFigures& t = curve.time;
    t.step = t.burst = {false, 0, 0};
    if (!curve.drawn) continue;
    if (view == PlotView::Step) t.step = SettlingTime(curve.step, kSettlingLimit / fo, 0.01 / fo);
    if (view == PlotView::Burst) t.burst = SettlingTime(curve.sine, kSettlingLimit / fo);
  }
  if (view != PlotView::Step && view != PlotView::Burst) return;
  const bool burst = view == PlotView::Burst;
  double slowest = 0;
  for (int c = 0; c < kCurves; ++c) {
    const Settling& s = burst ? report.curves[c].time.burst : report.curves[c].time.step;
    if (report.curves[c].drawn && s.found && s.seconds > slowest) slowest = s.seconds;
  }
  const double span = slowest > 0 ? 1.2 * slowest : 20 / inputs.fo_hertz;
  for (int i = 0; i < kTimePoints; ++i) report.time_seconds[i] = span * i / (kTimePoints - 1);
  for (int c = 0; c < kCurves; ++c) {
    if (!report.curves[c].drawn) continue;
    const TimeResponse& r = burst ? report.curves[c].sine : report.curves[c].step;
    for (int i = 0; i < kTimePoints; ++i) report.curves[c].time_output[i] = OutputAt(r, report.time_seconds[i]);
  }
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

// The frequencies every curve is drawn at, Fo exactly the middle one, and
// every other one for the random builds' band.
void MakeFrequencyGrid(DesignReport& report, double fo_hertz) {
  for (int i = 0; i < kCurvePoints; ++i) report.curve_hertz[i] = fo_hertz * Pow10(-2 + 4.0 * i / (kCurvePoints - 1));
  report.curve_hertz[kCurvePoints / 2] = fo_hertz;
  for (int i = 0; i < kBandPoints; ++i) report.band_hertz[i] = report.curve_hertz[2 * i];
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

// Each curve drawn at each curve's notch: its own as found, the others'
// worked out there.
void CurvesAtNotches(DesignReport& report) {
  for (int c = 0; c < kCurves; ++c) {
    for (int n = 0; n < kCurves; ++n) {
      const double hertz = report.curves[n].notch_hertz;
      const bool there = report.curves[c].drawn && report.curves[n].drawn && hertz > 0;
      double db = 0, degrees = 0, delay = 0;
      if (there && c == n) {
        db = report.curves[c].notch_db;
        degrees = report.curves[c].notch_degrees;
        delay = report.curves[c].notch_delay_s;
      } else if (there) {
        db = LevelDb(report.curves[c].function, hertz);
        const PhaseAndDelay at = PhaseAndDelayAt(report.curves[c].function, hertz);
        degrees = at.degrees;
        delay = at.delay_seconds;
      }
      report.at_notch_db[c][n] = db;
      report.at_notch_degrees[c][n] = degrees;
      report.at_notch_delay_s[c][n] = delay;
    }
  }
}

// What the reject band reads: the least each network takes off across
// it, and with `random_builds` what 90 % of the random builds reach there
// (which otherwise came with their spread).
void RejectBand(DesignReport& report, const DesignInputs& inputs, bool random_builds) {
  report.ideal.band_reject_db = BandRejectDb(report.curves[static_cast<int>(Curve::Ideal)].function, inputs);
  if (!Holds(report, Section::Build)) return;
  NearestResult& n = report.nearest;
  n.band_reject_db = BandRejectDb(report.curves[static_cast<int>(Curve::Build)].function, inputs);
  if (random_builds) {
    n.band_reject_90_db = RandomBuildsBandReject90Db(
        NearestCircuit(report, inputs), Tolerance(inputs, PartKind::Resistor), Tolerance(inputs, PartKind::Capacitor),
        inputs.fo_hertz, Chosen(kRejectBands, inputs, PanelList::RejectBand) / 100);
  }
  report.exact.band_reject_db = BandRejectDb(report.exact.function, inputs);
}

void SetSection(DesignReport& report, Section section, bool holds) {
  report.sections[static_cast<int>(section)] = holds;
}

constexpr unsigned ListBit(PanelList list) { return 1u << static_cast<int>(list); }

// What a part of the report reads of the inputs besides the form's values,
// the source and the load, which every part reads: the lists (a mask of
// list bits), the measured parts, the custom op-amp.
struct Reads {
  unsigned lists;
  bool measured_parts;
  bool custom_opamp;
  bool sweep;  // the measured sweep and the round before it
};
constexpr unsigned kAllLists = (1u << kPanelListCount) - 1;
constexpr unsigned kFeedbackLists =
    ListBit(PanelList::Network) | ListBit(PanelList::OpAmp) | ListBit(PanelList::ResistorSeries);
constexpr Reads kIdealReads = {ListBit(PanelList::Network), false, false, false};
// The nearest build, the exact values' and the best pair's builds.
constexpr Reads kBuildReads = {kFeedbackLists | ListBit(PanelList::CapacitorSeries), false, true, false};
// The nearest build's tolerances, trimmers and drift.
constexpr Reads kSpreadReads = {kBuildReads.lists | ListBit(PanelList::ResistorTolerance) |
                                    ListBit(PanelList::CapacitorTolerance) | ListBit(PanelList::ResistorTempco) |
                                    ListBit(PanelList::CapacitorTempco) | ListBit(PanelList::TemperatureRange),
                                false, true, false};
constexpr Reads kMeasuredReads = {kFeedbackLists, true, true, false};
constexpr Reads kOpAmpReads = {kFeedbackLists, false, true, false};
// A sweep's fit reads the build it was measured on, and how far its parts
// may be off.
constexpr Reads kTuneReads = {kBuildReads.lists | ListBit(PanelList::TuneBuilt) |
                                  ListBit(PanelList::ResistorTolerance) | ListBit(PanelList::CapacitorTolerance),
                              true, true, true};
constexpr unsigned kBandList = ListBit(PanelList::RejectBand), kViewList = ListBit(PanelList::PlotView);
constexpr Reads kAllBut(unsigned lists) { return {kAllLists & ~lists, true, true, true}; }

// Whether two states of the inputs are the same in what `reads` names:
// field by field, the inputs' padding never being written.
bool SameFor(const DesignInputs& a, const DesignInputs& b, Reads reads) {
  for (int i = 0; i < kPanelListCount; ++i) {
    const PanelList list = static_cast<PanelList>(i);
    if ((reads.lists & ListBit(list)) && ChosenIndex(a.choices, list) != ChosenIndex(b.choices, list)) return false;
  }
  const PositionValues &m = a.measured_parts, &n = b.measured_parts;
  const TuneRound &r = a.round, &s = b.round;
  if (reads.sweep && (a.sweep != b.sweep || a.sweep_generation != b.sweep_generation || r.given != s.given ||
                      r.fo_hertz != s.fo_hertz || r.notch_hertz != s.notch_hertz || r.reject_db != s.reject_db)) {
    return false;
  }
  const OpAmp &o = a.custom_opamp, &p = b.custom_opamp;
  return a.r_ohms == b.r_ohms && a.c_farads == b.c_farads && a.fo_hertz == b.fo_hertz &&
         a.source_ohms == b.source_ohms && a.load_ohms == b.load_ohms &&
         (!reads.measured_parts || (a.measured == b.measured && m.r1 == n.r1 && m.r2 == n.r2 && m.r3 == n.r3 &&
                                    m.c1 == n.c1 && m.c2 == n.c2 && m.c3 == n.c3)) &&
         (!reads.custom_opamp ||
          (o.gbw_hertz == p.gbw_hertz && o.gain_db == p.gain_db && o.slew_volts_per_us == p.slew_volts_per_us));
}

// A curve not drawn, and its notch nowhere.
void ClearCurve(DesignReport& report, Curve which) {
  CurveResult& curve = CurveOf(report, which);
  curve.notch_hertz = curve.notch_db = curve.notch_degrees = curve.notch_delay_s = 0;
  curve.drawn = false;
}

// The build a measured sweep was taken of, as the panel has it: the
// nearest build or the measured parts, in the form's surroundings, with
// the builds' feedback and the op-amps chosen. False for none.
bool TunedModel(const DesignReport& report, const DesignInputs& inputs, SweepModel& model) {
  const bool measured = ChosenIndex(inputs.choices, PanelList::TuneBuilt) == static_cast<int>(TuneBuilt::Measured);
  if (measured && !inputs.measured) return false;
  if (!measured && !Holds(report, Section::Build)) return false;
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
  const bool modelled = swept && TunedModel(report, inputs, model);
  if (modelled) {
    t = TuneFromSweep(*inputs.sweep, model, inputs.fo_hertz, inputs.round);
  } else {
    // Nothing to fit it to, yet the points were read.
    t = TuneResult{};
    if (swept) t.points = inputs.sweep->count;
  }
  const bool tuned = modelled && t.outcome == TuneOutcome::Tuned;
  if (tuned) {
    DrawCurve(CurveOf(report, Curve::Fitted), t.function, t.notch, report.curve_hertz, inputs.fo_hertz, false);
  } else {
    ClearCurve(report, Curve::Fitted);
  }
  SetSection(report, Section::TuneSweep, swept);
  SetSection(report, Section::TuneNoBuild, swept && !modelled);
  SetSection(report, Section::TuneNotSpanning, modelled && t.outcome == TuneOutcome::NotSpanning);
  SetSection(report, Section::TuneNoFit, modelled && t.outcome == TuneOutcome::NoFit);
  SetSection(report, Section::TuneLeftOut, tuned && t.left_out_count > 0);
  SetSection(report, Section::TuneOffset, tuned && t.offset_db != 0);
  const bool turns = tuned && t.trim.found && t.turns_decided;
  SetSection(report, Section::Tuned, tuned && t.trim.found);
  SetSection(report, Section::TuneTurns, turns);
  SetSection(report, Section::TuneUndecided, tuned && t.trim.found && !t.turns_decided);
  SetSection(report, Section::TuneNotch, tuned && t.notch_found);
  SetSection(report, Section::TuneDepthBound, tuned && t.notch_found && !t.depth_decided);
  SetSection(report, Section::TuneRejectBound, tuned && !t.reject_decided);
  SetSection(report, Section::TuneAlternative, turns && t.alternative);
  SetSection(report, Section::TuneRound, tuned && t.round);
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
  const double r = inputs.r_ohms;
  const double c = inputs.c_farads;
  report.feedback = FeedbackOf(inputs);
  MakeFrequencyGrid(report, inputs.fo_hertz);
  if (redo(kIdealReads)) report.ideal = AnalyseIdeal(report, inputs, report.feedback.k);
  const bool in_range =
      IsWithin(r, kResistorLowest, kResistorHighest) && IsWithin(c, kCapacitorLowest, kCapacitorHighest);
  SetSection(report, Section::Build, in_range);
  if (!in_range) {
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
  }
  if (redo(kBuildReads)) {
    const StandardPair pair =
        BestPair(Chosen(kResistorSeries, inputs, PanelList::ResistorSeries),
                 Chosen(kCapacitorSeries, inputs, PanelList::CapacitorSeries), c, inputs.fo_hertz);
    if (pair.found) {
      const TransferFunction h = TransferFunctionOf(
          CircuitOf(BalancedParts(pair.r, pair.c), inputs, report.feedback.k_build, report.feedback.followers), pair.r,
          pair.c);
      report.pair = {pair.r, pair.c, BuildNotchOf(h, FindNotch(h), inputs.fo_hertz)};
    }
    SetSection(report, Section::Pair, pair.found);
  }
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
  const bool pair_found = Holds(report, Section::Pair);

  SetSection(report, Section::Active, report.feedback.active);
  SetSection(report, Section::DividerFound, report.feedback.active && report.feedback.divider.found);
  SetSection(report, Section::NoNotch,
             in_range && report.nearest.corners.without_notch + report.nearest.random.without_notch > 0);
  SetSection(report, Section::Measured, inputs.measured);
  SetSection(report, Section::MeasuredDip, inputs.measured && report.measured.notch_found);
  SetSection(report, Section::MeasuredTrim, inputs.measured && report.measured.trim.found);
  SetSection(report, Section::BandLow, report.ideal.band.low_found);
  SetSection(report, Section::BandHigh, report.ideal.band.high_found);
  SetSection(report, Section::TrimR1, in_range && report.nearest.trim_r1.found);
  SetSection(report, Section::TrimR3, in_range && report.nearest.trim_r3.found);
  SetSection(report, Section::OpAmp, real_opamps);
  SetSection(report, Section::OpAmpNeeded, real_opamps && report.opamp.gbw_found);
  SetSection(report, Section::OpAmpBandLow, real_opamps && report.opamp.band.low_found);
  SetSection(report, Section::OpAmpBandHigh, real_opamps && report.opamp.band.high_found);
  report.follower_db = real_opamps ? FollowerGainDb(report.feedback.followers, inputs.fo_hertz) : 0;
  SetSection(report, Section::OpAmpWeak, real_opamps && report.follower_db < -kFollowerDropDb);
  SetSection(report, Section::OpAmpQ, real_opamps && report.opamp.q > 0);
  SetSection(report, Section::Q, report.ideal.band.low_found && report.ideal.band.high_found);
  SetSection(report, Section::Load, inputs.load_ohms > 0);
  const bool build_notch = in_range && report.nearest.notch.found;
  SetSection(report, Section::BuildNotch, build_notch);
  SetSection(report, Section::ExactNotch, in_range && report.exact.notch.found);
  SetSection(report, Section::BestNotch, pair_found && report.pair.notch.found);
  SetSection(report, Section::Drift, in_range && report.nearest.drift.found);
  const TimeFigures& ideal_time = report.curves[static_cast<int>(Curve::Ideal)].time;
  const TimeFigures& build_time = report.curves[static_cast<int>(Curve::Build)].time;
  SetSection(report, Section::StepSettles, ideal_time.step.found);
  SetSection(report, Section::BurstSettles, ideal_time.burst.found);
  SetSection(report, Section::BuildStepSettles, build_notch && build_time.step.found);
  SetSection(report, Section::BuildBurstSettles, build_notch && build_time.burst.found);
  CurvesAtNotches(report);
  return spread;
}

}  // namespace

void MakeDesignReport(const DesignInputs& inputs, DesignReport& report) {
  AnalyseDesign(inputs, report, nullptr);
  RejectBand(report, inputs, false);
  TimeView(report, inputs);
  SetFigures(inputs, report);
}

void UpdateDesignReport(const DesignInputs& before, const DesignInputs& inputs, DesignReport& report) {
  const bool design_same = SameFor(before, inputs, kAllBut(kBandList | kViewList));
  const bool spread = !design_same && AnalyseDesign(inputs, report, &before);
  const bool band_same = SameFor(before, inputs, {kBandList, false, false, false});
  if (!design_same || !band_same) RejectBand(report, inputs, !spread && !band_same);
  if (!design_same || !SameFor(before, inputs, kAllBut(kBandList))) TimeView(report, inputs);
  SetFigures(inputs, report);
}

}  // namespace notchwell
