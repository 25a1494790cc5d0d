#include "design_curves.h"

#include "design_choices.h"
#include "elementary.h"
#include "phase_response.h"

namespace notchwell {

void MakeFrequencyGrid(DesignReport& report, double fo_hertz) {
  for (int i = 0; i < kCurvePoints; ++i) report.curve_hertz[i] = fo_hertz * Pow10(-2 + 4.0 * i / (kCurvePoints - 1));
  report.curve_hertz[kCurvePoints / 2] = fo_hertz;
  for (int i = 0; i < kBandPoints; ++i) report.band_hertz[i] = report.curve_hertz[2 * i];
}

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

void ClearCurve(DesignReport& report, Curve which) {
  CurveResult& curve = CurveOf(report, which);
  curve.notch_hertz = curve.notch_db = curve.notch_degrees = curve.notch_delay_s = 0;
  curve.drawn = false;
}

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

// The time view's points run from 0 to a fifth past the slowest settling
// time of the curves drawn (or 20 cycles of Fo where none settles).
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

void DrawNoise(DesignReport& report, const NoisyCircuit& noisy) {
  double(&density)[kNoiseCurves][kCurvePoints] = report.noise.density;
  for (int i = 0; i < kCurvePoints; ++i) {
    const NoisePower at = NoiseDensityAt(noisy, report.curve_hertz[i]);
    density[static_cast<int>(NoiseCurve::Total)][i] = SquareRoot(TotalOf(at));
    density[static_cast<int>(NoiseCurve::Resistors)][i] = SquareRoot(at.resistors);
    density[static_cast<int>(NoiseCurve::OpAmpVoltage)][i] = SquareRoot(at.opamp_voltage);
    density[static_cast<int>(NoiseCurve::OpAmpCurrent)][i] = SquareRoot(at.opamp_current);
  }
}

}  // namespace notchwell
