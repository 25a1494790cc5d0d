#include "op_amp_response.h"

#include "elementary.h"

namespace notchwell {
namespace {

// The curve's reach either side of the notch: 100 times in frequency.
constexpr double kReachX = 1e4;
constexpr int kPeakScanPoints = 401;
// The gain-bandwidth needed is found to 0.1 %.
constexpr double kGbwRatio = 1.001;

struct Shape {
  HalfPowerBand band;
  double q;  // 0 without both edges
  double peak_db;
};

// Golden sections on log x between a and b for the largest |H|^2.
double HighestBetween(const TransferFunction& h, double a, double b, double best) {
  constexpr double kGolden = 0.6180339887498949;
  double low = Log10(a), high = Log10(b);
  for (int i = 0; i < 60 && high - low > 1e-12; ++i) {
    const double left = high - kGolden * (high - low);
    const double right = low + kGolden * (high - low);
    const double at_left = PowerRatio(h, Pow10(left));
    const double at_right = PowerRatio(h, Pow10(right));
    if (at_left > best) best = at_left;
    if (at_right > best) best = at_right;
    (at_left < at_right ? low : high) = at_left < at_right ? left : right;
  }
  return best;
}

// The band nearest the notch, its Q, and the highest rise above the level
// far below the notch anywhere from lowest_x to highest_x.
Shape ShapeOf(const TransferFunction& h, double notch_x, double lowest_x, double highest_x) {
  const double far_below = PowerRatioAtZero(h);
  Shape s{NearestCrossings(h, notch_x, far_below / 2, kReachX), 0, 0};
  if (s.band.low_found && s.band.high_found) {
    s.q = SquareRoot(notch_x) / (SquareRoot(s.band.high_x) - SquareRoot(s.band.low_x));
  }
  const double ratio = Pow10(Log10(highest_x / lowest_x) / (kPeakScanPoints - 1));
  int best = 0;
  double best_x = lowest_x, best_value = PowerRatio(h, lowest_x);
  double x = lowest_x;
  for (int i = 1; i < kPeakScanPoints; ++i) {
    x = i == kPeakScanPoints - 1 ? highest_x : x * ratio;
    const double value = PowerRatio(h, x);
    if (value > best_value) best = i, best_x = x, best_value = value;
  }
  if (best > 0 && best < kPeakScanPoints - 1) best_value = HighestBetween(h, best_x / ratio, best_x * ratio, best_value);
  s.peak_db = best_value > far_below ? PowerRatioToDecibels(best_value / far_below) : 0;
  return s;
}

}  // namespace

OpAmpResponse AnalyseOpAmpResponse(const TwinTCircuit& circuit, double r, double c, const OpAmp& amp,
                                   double notch_hertz, double fo_hertz) {
  const double omega_ref = 1 / (r * c);
  const double fo_y = fo_hertz * (2 * kPi) / omega_ref;
  const double lowest_x = fo_y * fo_y / kReachX, highest_x = fo_y * fo_y * kReachX;
  const double notch_y = notch_hertz * (2 * kPi) / omega_ref;
  const double notch_x = notch_y * notch_y;
  const auto shape_with = [&](const FollowerOpAmps& opamps) {
    TwinTCircuit with = circuit;
    with.opamps = opamps;
    return ShapeOf(TransferFunctionOf(with, r, c), notch_x, lowest_x, highest_x);
  };

  const Shape shape = shape_with(FollowersOf(amp));
  OpAmpResponse result{shape.band, 0, 0, 0, shape.peak_db, false, 0, 0};
  const double hertz_per_y = omega_ref / (2 * kPi);
  if (shape.band.low_found) result.band_low_hertz = SquareRoot(shape.band.low_x) * hertz_per_y;
  if (shape.band.high_found) result.band_high_hertz = SquareRoot(shape.band.high_x) * hertz_per_y;
  if (shape.q > 0) result.q = notch_hertz / (result.band_high_hertz - result.band_low_hertz);
  result.slew_limit_volts = amp.slew_volts_per_us * 1e6 / (2 * kPi * 5 * fo_hertz);

  // The least gain-bandwidth, at this open-loop gain, from which on the Q
  // stays within kQFraction of the ideal op-amps' and the peak under
  // kPeakLimitDb: the more gain-bandwidth, the nearer the ideal.
  const double ideal_q = shape_with({0, 0}).q;
  const auto good = [&](double gbw) {
    const Shape s = shape_with(FollowersOf({gbw, amp.gain_db, amp.slew_volts_per_us}));
    return s.q > 0 && ideal_q > 0 && Abs(s.q / ideal_q - 1) <= kQFraction && s.peak_db < kPeakLimitDb;
  };
  if (!good(kGbwHighest)) return result;
  result.gbw_found = true;
  result.gbw_needed_hertz = kGbwLowest;
  if (good(kGbwLowest)) return result;
  double low = kGbwLowest, high = kGbwHighest;
  while (high / low > kGbwRatio) {
    const double middle = SquareRoot(low) * SquareRoot(high);
    (good(middle) ? high : low) = middle;
  }
  result.gbw_needed_hertz = high;
  return result;
}

}  // namespace notchwell
