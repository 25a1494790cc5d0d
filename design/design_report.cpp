#include "design_report.h"

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

TwinTCircuit BalancedCircuit(double r, double c, const DesignInputs& inputs) {
  return {BalancedParts(r, c), inputs.source_ohms, inputs.load_ohms, false, 0};
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

  const TransferFunction ideal = TransferFunctionOf(BalancedCircuit(r, c, inputs), r, c);
  const Notch notch = FindNotch(ideal);
  const HalfPowerBand band = HalfPowerBandAround(ideal, notch.x);
  Set(report, Figure::Notch, HertzAt(ideal, notch.x));
  Set(report, Figure::BandLow, HertzAt(ideal, band.low_x));
  Set(report, Figure::BandHigh, HertzAt(ideal, band.high_x));
  for (int i = 0; i < kCurvePoints; ++i) {
    report.curve_hertz[i] = inputs.fo_hertz * Pow10(-2 + 4.0 * i / (kCurvePoints - 1));
  }
  Curve(ideal, report.curve_hertz, report.curve_ideal_db);

  report.build_in_range =
      IsWithin(r, kResistorLowest, kResistorHighest) && IsWithin(c, kCapacitorLowest, kCapacitorHighest);
  if (report.build_in_range) {
    const double build_r = NearestIn(Chosen(kResistorSeries, inputs.resistor_series), r);
    const double build_c = NearestIn(Chosen(kCapacitorSeries, inputs.capacitor_series), c);
    const TwinTCircuit build = BalancedCircuit(build_r, build_c, inputs);
    const TransferFunction h = TransferFunctionOf(build, build_r, build_c);
    Set(report, Figure::BuildR, build_r);
    Set(report, Figure::BuildC, build_c);
    SetBuildFigures(report, h, inputs.fo_hertz, Figure::BuildFo, Figure::BuildError);
    Curve(h, report.curve_hertz, report.curve_build_db);
    const ToleranceFigures spread =
        AnalyseTolerances(build, Chosen(kResistorTolerances, inputs.resistor_tolerance) / 100,
                          Chosen(kCapacitorTolerances, inputs.capacitor_tolerance) / 100);
    Set(report, Figure::FoLow, spread.fo_low_hertz);
    Set(report, Figure::FoHigh, spread.fo_high_hertz);
    Set(report, Figure::Depth90, spread.depth_90_db);
  }

  const StandardPair pair = BestPair(Chosen(kResistorSeries, inputs.resistor_series),
                                     Chosen(kCapacitorSeries, inputs.capacitor_series), c, inputs.fo_hertz);
  report.pair_found = pair.found;
  if (pair.found) {
    Set(report, Figure::BestR, pair.r);
    Set(report, Figure::BestC, pair.c);
    SetBuildFigures(report, TransferFunctionOf(BalancedCircuit(pair.r, pair.c, inputs), pair.r, pair.c),
                    inputs.fo_hertz, Figure::BestFo, Figure::BestError);
  }
}

}  // namespace notchwell
