#include "design_report.h"

#include "active_feedback.h"
#include "design_choices.h"
#include "elementary.h"
#include "notch_search.h"
#include "null_conditions.h"
#include "pair_search.h"
#include "temperature_drift.h"
#include "tolerance_analysis.h"
#include "trimmer_choice.h"

namespace notchwell {
namespace {

constexpr double kLargestDouble = 1.7976931348623157e308;

// A build of measured parts may notch far from where its values say: its
// scan covers a decade of frequency either way.
constexpr double kWideScanStart = 0.01;
constexpr double kWideScanRatio = 1.1547819846894583;  // 10^(1/16)
constexpr int kWideScanSteps = 64;

bool IsPositiveFinite(double value) { return value > 0 && value <= kLargestDouble; }

bool IsWithin(double value, double lowest, double highest) { return value >= lowest && value <= highest; }

// The option at `index`, or the default one for an index out of range.
template <typename T, int N>
T Chosen(const Choices<T, N>& choices, int index) {
  return choices.options[index >= 0 && index < N ? index : choices.default_index];
}

void Set(DesignReport& report, Figure figure, double value) {
  report.values[static_cast<int>(figure)] = value;
  report.available[static_cast<int>(figure)] = true;
}

Figure Nth(Figure first, int n) { return static_cast<Figure>(static_cast<int>(first) + n); }

double LevelDb(const TransferFunction& h, double hertz) { return PowerRatioToDecibels(PowerRatioAtHertz(h, hertz)); }

// A circuit of these parts with the form's surroundings; feedback 0 makes
// it the passive one.
TwinTCircuit CircuitOf(const TwinTParts& parts, const DesignInputs& inputs, double feedback) {
  return {parts, inputs.source_ohms, inputs.load_ohms, feedback > 0, feedback};
}

// A curve's own notch, or none.
void SetCurveNotch(DesignReport& report, int curve, const TransferFunction& h, const Notch& notch) {
  report.curve_notch_hertz[curve] = notch.found ? HertzAt(h, notch.x) : 0;
  report.curve_notch_db[curve] = notch.found ? PowerRatioToDecibels(notch.power_ratio) : 0;
}

// A build's notch and its distance from the form's Fo, and what it takes
// off the form's Fo itself.
Notch SetBuildFigures(DesignReport& report, const TransferFunction& h, double fo_hertz, Figure fo, Figure error,
                      Figure reject) {
  const Notch notch = FindNotch(h);
  if (notch.found) {
    const double hertz = HertzAt(h, notch.x);
    Set(report, fo, hertz);
    Set(report, error, 100 * RelativeError(hertz, fo_hertz));
  }
  Set(report, reject, -LevelDb(h, fo_hertz));
  return notch;
}

void Curve(const TransferFunction& h, const double (&hertz)[kCurvePoints], double (&decibels)[kCurvePoints]) {
  for (int i = 0; i < kCurvePoints; ++i) decibels[i] = LevelDb(h, hertz[i]);
}

void SetHarmonics(DesignReport& report, const TransferFunction& h, double fo_hertz, Figure first) {
  for (int n = 0; n < kHarmonics; ++n) Set(report, Nth(first, n), LevelDb(h, (n + 2) * fo_hertz));
}

// The ideal network: its notch, half-power band, curve and harmonics.
void SetIdealFigures(DesignReport& report, const DesignInputs& inputs, double k) {
  const TransferFunction ideal = TransferFunctionOf(CircuitOf(BalancedParts(inputs.r_ohms, inputs.c_farads), inputs, k),
                                                    inputs.r_ohms, inputs.c_farads);
  const Notch notch = FindNotch(ideal);
  const HalfPowerBand band = HalfPowerBandAround(ideal, notch.x);
  const double notch_hertz = HertzAt(ideal, notch.x);
  Set(report, Figure::Notch, notch_hertz);
  if (band.low_found) Set(report, Figure::BandLow, HertzAt(ideal, band.low_x));
  if (band.high_found) Set(report, Figure::BandHigh, HertzAt(ideal, band.high_x));
  if (band.low_found && band.high_found) {
    Set(report, Figure::Q, notch_hertz / (HertzAt(ideal, band.high_x) - HertzAt(ideal, band.low_x)));
  }
  for (int i = 0; i < kCurvePoints; ++i) {
    report.curve_hertz[i] = inputs.fo_hertz * Pow10(-2 + 4.0 * i / (kCurvePoints - 1));
  }
  report.curve_hertz[kCurvePoints / 2] = inputs.fo_hertz;
  Curve(ideal, report.curve_hertz, report.curve_ideal_db);
  SetCurveNotch(report, 0, ideal, notch);
  SetHarmonics(report, ideal, inputs.fo_hertz, Figure::H2);
}

// The nearest build of standard parts: where it notches, how its parts'
// tolerances and temperature move it, and the trimmers that bring every
// such build back onto Fo.
void SetNearestBuildFigures(DesignReport& report, const DesignInputs& inputs, double k_build) {
  const ESeries r_series = Chosen(kResistorSeries, inputs.resistor_series);
  const double build_r = NearestIn(r_series, inputs.r_ohms);
  const double build_c = NearestIn(Chosen(kCapacitorSeries, inputs.capacitor_series), inputs.c_farads);
  const TwinTCircuit build = CircuitOf(BalancedParts(build_r, build_c), inputs, k_build);
  const TransferFunction h = TransferFunctionOf(build, build_r, build_c);
  const double fo = inputs.fo_hertz;
  Set(report, Figure::BuildR, build_r);
  Set(report, Figure::BuildC, build_c);
  SetCurveNotch(report, 1, h, SetBuildFigures(report, h, fo, Figure::BuildFo, Figure::BuildError, Figure::BuildReject));
  Curve(h, report.curve_hertz, report.curve_build_db);
  SetHarmonics(report, h, fo, Figure::BuildH2);

  const double r_tolerance = Chosen(kResistorTolerances, inputs.resistor_tolerance) / 100;
  const double c_tolerance = Chosen(kCapacitorTolerances, inputs.capacitor_tolerance) / 100;
  const CornerSpread spread = SpreadAtCorners(build, r_tolerance, c_tolerance);
  if (spread.found) {
    Set(report, Figure::FoLow, spread.fo_low_hertz);
    Set(report, Figure::FoHigh, spread.fo_high_hertz);
  }
  Set(report, Figure::NoNotchCorners, spread.without_notch);
  // The spread at every other point of the curves, Fo among them.
  static double hertz[kBandPoints];
  for (int i = 0; i < kBandPoints; ++i) hertz[i] = report.curve_hertz[2 * i];
  const SpreadBand band{hertz, kBandPoints, report.band_low_db, report.band_high_db};
  const RandomBuilds random = AnalyseRandomBuilds(build, r_tolerance, c_tolerance, fo, &band);
  Set(report, Figure::SpreadLow, report.band_low_db[kBandPoints / 2]);
  Set(report, Figure::SpreadHigh, report.band_high_db[kBandPoints / 2]);
  Set(report, Figure::Depth90, random.depth_90_db);
  Set(report, Figure::Reject90, random.reject_90_db);
  Set(report, Figure::NoNotchRandom, random.without_notch);
  if (build.active) {
    // The passive network as the active one's sits: driven by the same
    // source, and with nothing but a follower after it.
    TwinTCircuit passive = CircuitOf(build.parts, inputs, 0);
    passive.load_ohms = 0;
    Set(report, Figure::Depth90Passive,
        AnalyseRandomBuilds(passive, r_tolerance, c_tolerance, fo, nullptr).depth_90_db);
  }

  const TrimRanges trims = TrimRangesAt(build.parts, r_tolerance, c_tolerance, fo);
  const double lows[] = {trims.r1_low, trims.r3_low};
  const double highs[] = {trims.r1_high, trims.r3_high};
  const Figure firsts[] = {Figure::TrimR1Low, Figure::TrimR3Low};
  for (int i = 0; i < 2; ++i) {
    // Low, high, fixed, trimmer in that order.
    Set(report, firsts[i], lows[i]);
    Set(report, Nth(firsts[i], 1), highs[i]);
    const FixedAndTrimmer chosen = ChooseFixedAndTrimmer(r_series, r_tolerance, lows[i], highs[i]);
    if (chosen.found) {
      Set(report, Nth(firsts[i], 2), chosen.fixed);
      Set(report, Nth(firsts[i], 3), chosen.trimmer);
    }
  }

  const Tempco r_tempco = Chosen(kResistorTempcos, inputs.resistor_tempco);
  const Tempco c_tempco = Chosen(kCapacitorTempcos, inputs.capacitor_tempco);
  const TemperatureRange range = Chosen(kTemperatureRanges, inputs.temperature_range);
  const TemperatureDrift drift =
      DriftOverTemperature(build, r_tempco.ppm_per_kelvin, c_tempco.ppm_per_kelvin, range.low, range.high, fo);
  if (drift.found) {
    Set(report, Figure::DriftFoLow, drift.fo_low_hertz);
    Set(report, Figure::DriftFoHigh, drift.fo_high_hertz);
  }
  Set(report, Figure::DriftReject, drift.least_reject_db);
}

// Each position from one or two standard parts, and the build of those.
void SetExactFigures(DesignReport& report, const DesignInputs& inputs, double k_build) {
  const ESeries r_series = Chosen(kResistorSeries, inputs.resistor_series);
  const ESeries c_series = Chosen(kCapacitorSeries, inputs.capacitor_series);
  const double r = inputs.r_ohms, c = inputs.c_farads;
  report.exact[0] = NearestCombination(r_series, PartKind::Resistor, r);
  report.exact[1] = NearestCombination(r_series, PartKind::Resistor, r / 2);
  report.exact[2] = NearestCombination(c_series, PartKind::Capacitor, c);
  report.exact[3] = NearestCombination(c_series, PartKind::Capacitor, 2 * c);
  for (int i = 0; i < kPositions; ++i) Set(report, Nth(Figure::ExactR, i), report.exact[i].value);
  const double er = report.exact[0].value, ec = report.exact[2].value;
  const PositionValues values{er, er, report.exact[1].value, ec, ec, report.exact[3].value};
  const TransferFunction h = TransferFunctionOf(CircuitOf(PartsOf(values), inputs, k_build), er, ec);
  SetBuildFigures(report, h, inputs.fo_hertz, Figure::ExactFo, Figure::ExactError, Figure::ExactReject);
}

// The build of the measured parts, and the R1 and R3 that null it at Fo.
void SetMeasuredFigures(DesignReport& report, const DesignInputs& inputs, double k_build) {
  const PositionValues& m = inputs.measured_parts;
  const TwinTParts parts = PartsOf(m);
  const TransferFunction h = TransferFunctionOf(CircuitOf(parts, inputs, k_build), SquareRoot(m.r1) * SquareRoot(m.r2),
                                                SquareRoot(m.c1) * SquareRoot(m.c2));
  const Notch notch = FindNotchInScan(h, kWideScanStart, kWideScanRatio, kWideScanSteps);
  SetCurveNotch(report, 2, h, notch);
  if (notch.found) {
    Set(report, Figure::MeasuredFo, HertzAt(h, notch.x));
    Set(report, Figure::MeasuredDepth, -PowerRatioToDecibels(notch.power_ratio));
  }
  Set(report, Figure::MeasuredReject, -LevelDb(h, inputs.fo_hertz));
  Curve(h, report.curve_hertz, report.curve_measured_db);
  // Nulling a build whose values lie far from Fo's would take resistors
  // beyond any double: then there is nothing to say.
  const NullingResistors n = NullingResistorsAt(parts, inputs.fo_hertz);
  const double r1_change = 100 * (n.r1 / m.r1 - 1), r3_change = 100 * (n.r3 / m.r3 - 1);
  if (IsPositiveFinite(n.r1) && IsPositiveFinite(n.r3) && r1_change <= kLargestDouble && r3_change <= kLargestDouble) {
    Set(report, Figure::MeasuredTrimR1, n.r1);
    Set(report, Figure::MeasuredTrimR3, n.r3);
    Set(report, Figure::MeasuredTrimR1Change, r1_change);
    Set(report, Figure::MeasuredTrimR3Change, r3_change);
  }
}

}  // namespace

bool IsDesignable(double r_ohms, double c_farads, double fo_hertz) {
  return IsPositiveFinite(r_ohms) && IsPositiveFinite(c_farads) && IsPositiveFinite(fo_hertz);
}

void MakeDesignReport(const DesignInputs& inputs, DesignReport& report) {
  for (int i = 0; i < kFigureCount; ++i) {
    report.values[i] = 0;
    report.available[i] = false;
  }
  for (int i = 0; i < kCurves; ++i) report.curve_notch_hertz[i] = report.curve_notch_db[i] = 0;
  const double r = inputs.r_ohms;
  const double c = inputs.c_farads;
  Set(report, Figure::Fo, inputs.fo_hertz);
  Set(report, Figure::R, r);
  Set(report, Figure::R3, r / 2);
  Set(report, Figure::C, c);
  Set(report, Figure::C3, 2 * c);
  Set(report, Figure::Source, inputs.source_ohms);
  if (inputs.load_ohms > 0) Set(report, Figure::Load, inputs.load_ohms);

  // The active network's feedback: exact for the ideal network, the
  // divider's for the builds (exact too when no divider comes near).
  const double target_q = Chosen(kNetworks, inputs.network);
  const double k = target_q > 0 ? FeedbackForQ(target_q) : 0;
  double k_build = k;
  if (target_q > 0) {
    Set(report, Figure::K, k);
    const Divider divider = NearestDivider(Chosen(kResistorSeries, inputs.resistor_series), k);
    if (divider.found) {
      k_build = divider.k;
      Set(report, Figure::DividerTop, divider.top);
      Set(report, Figure::DividerBottom, divider.bottom);
      Set(report, Figure::KBuild, divider.k);
      Set(report, Figure::QBuild, QForFeedback(divider.k));
    }
  }

  SetIdealFigures(report, inputs, k);
  report.build_in_range =
      IsWithin(r, kResistorLowest, kResistorHighest) && IsWithin(c, kCapacitorLowest, kCapacitorHighest);
  if (report.build_in_range) {
    SetNearestBuildFigures(report, inputs, k_build);
    SetExactFigures(report, inputs, k_build);
  }

  const StandardPair pair = BestPair(Chosen(kResistorSeries, inputs.resistor_series),
                                     Chosen(kCapacitorSeries, inputs.capacitor_series), c, inputs.fo_hertz);
  report.pair_found = pair.found;
  if (pair.found) {
    Set(report, Figure::BestR, pair.r);
    Set(report, Figure::BestC, pair.c);
    SetBuildFigures(report,
                    TransferFunctionOf(CircuitOf(BalancedParts(pair.r, pair.c), inputs, k_build), pair.r, pair.c),
                    inputs.fo_hertz, Figure::BestFo, Figure::BestError, Figure::BestReject);
  }
  if (inputs.measured) SetMeasuredFigures(report, inputs, k_build);
}

}  // namespace notchwell
