#include "design_report.h"

#include "active_feedback.h"
#include "design_choices.h"
#include "elementary.h"
#include "notch_search.h"
#include "pair_search.h"
#include "tolerance_analysis.h"

namespace notchwell {
namespace {

constexpr double kLargestDouble = 1.7976931348623157e308;

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

// A network of equal parts; feedback 0 makes it the passive one.
TwinTCircuit BalancedCircuit(double r, double c, const DesignInputs& inputs, double feedback) {
  return {BalancedParts(r, c), inputs.source_ohms, inputs.load_ohms, feedback > 0, feedback};
}

// The notch of a balanced build and its distance from the form's Fo.
void SetBuildFigures(DesignReport& report, const TransferFunction& h, double fo_hertz, Figure fo, Figure error) {
  const double hertz = HertzAt(h, FindNotch(h).x);
  Set(report, fo, hertz);
  Set(report, error, 100 * RelativeError(hertz, fo_hertz));
}

void Curve(const TransferFunction& h, const double (&hertz)[kCurvePoints], double (&decibels)[kCurvePoints]) {
  for (int i = 0; i < kCurvePoints; ++i) {
    const double y = hertz[i] * (2 * kPi) / h.omega_ref;
    decibels[i] = PowerRatioToDecibels(PowerRatio(h, y * y));
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

  const TransferFunction ideal = TransferFunctionOf(BalancedCircuit(r, c, inputs, k), r, c);
  const Notch notch = FindNotch(ideal);
  const HalfPowerBand band = HalfPowerBandAround(ideal, notch.x);
  const double notch_hertz = HertzAt(ideal, notch.x);
  Set(report, Figure::Notch, notch_hertz);
  Set(report, Figure::BandLow, HertzAt(ideal, band.low_x));
  Set(report, Figure::BandHigh, HertzAt(ideal, band.high_x));
  Set(report, Figure::Q, notch_hertz / (HertzAt(ideal, band.high_x) - HertzAt(ideal, band.low_x)));
  for (int i = 0; i < kCurvePoints; ++i) {
    report.curve_hertz[i] = inputs.fo_hertz * Pow10(-2 + 4.0 * i / (kCurvePoints - 1));
  }
  Curve(ideal, report.curve_hertz, report.curve_ideal_db);

  report.build_in_range =
      IsWithin(r, kResistorLowest, kResistorHighest) && IsWithin(c, kCapacitorLowest, kCapacitorHighest);
  if (report.build_in_range) {
    const double build_r = NearestIn(Chosen(kResistorSeries, inputs.resistor_series), r);
    const double build_c = NearestIn(Chosen(kCapacitorSeries, inputs.capacitor_series), c);
    const TwinTCircuit build = BalancedCircuit(build_r, build_c, inputs, k_build);
    const TransferFunction h = TransferFunctionOf(build, build_r, build_c);
    Set(report, Figure::BuildR, build_r);
    Set(report, Figure::BuildC, build_c);
    SetBuildFigures(report, h, inputs.fo_hertz, Figure::BuildFo, Figure::BuildError);
    Curve(h, report.curve_hertz, report.curve_build_db);

    const double r_tolerance = Chosen(kResistorTolerances, inputs.resistor_tolerance) / 100;
    const double c_tolerance = Chosen(kCapacitorTolerances, inputs.capacitor_tolerance) / 100;
    const CornerSpread spread = SpreadAtCorners(build, r_tolerance, c_tolerance);
    if (spread.found) {
      Set(report, Figure::FoLow, spread.fo_low_hertz);
      Set(report, Figure::FoHigh, spread.fo_high_hertz);
    }
    Set(report, Figure::NoNotchCorners, spread.without_notch);
    const RandomDepth depth = DepthOfRandomBuilds(build, r_tolerance, c_tolerance);
    Set(report, Figure::Depth90, depth.depth_90_db);
    Set(report, Figure::NoNotchRandom, depth.without_notch);
    if (build.active) {
      // The passive network as the active one's sits: driven by the same
      // source, and with nothing but a follower after it.
      TwinTCircuit passive = BalancedCircuit(build_r, build_c, inputs, 0);
      passive.load_ohms = 0;
      Set(report, Figure::Depth90Passive, DepthOfRandomBuilds(passive, r_tolerance, c_tolerance).depth_90_db);
    }
  }

  const StandardPair pair = BestPair(Chosen(kResistorSeries, inputs.resistor_series),
                                     Chosen(kCapacitorSeries, inputs.capacitor_series), c, inputs.fo_hertz);
  report.pair_found = pair.found;
  if (pair.found) {
    Set(report, Figure::BestR, pair.r);
    Set(report, Figure::BestC, pair.c);
    SetBuildFigures(report, TransferFunctionOf(BalancedCircuit(pair.r, pair.c, inputs, k_build), pair.r, pair.c),
                    inputs.fo_hertz, Figure::BestFo, Figure::BestError);
  }
}

}  // namespace notchwell
