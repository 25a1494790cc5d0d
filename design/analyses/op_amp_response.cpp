#include "op_amp_response.h"

#include "elementary.h"
#include "followers.h"

namespace notchwell {
namespace {

// The curve's reach either side of the notch: 100 times in frequency.
constexpr double kReachX = 1e4;
constexpr int kPeakScanPoints = 401;
// The gain-bandwidth needed is found to 0.1 %.
constexpr double kGbwRatio = 1.001;

// The band nearest the notch and its Q (0 without both edges).
struct Band {
  HalfPowerBand edges;
  double q;
};

Band BandOf(const TransferFunction& h, double notch_x) {
  Band b{NearestCrossings(h, notch_x, PowerRatioAtZero(h) / 2, kReachX), 0};
  if (b.edges.low_found && b.edges.high_found) {
    b.q = SquareRoot(notch_x) / (SquareRoot(b.edges.high_x) - SquareRoot(b.edges.low_x));
  }
  return b;
}

// Golden sections between a and b (a step of the scan either side of its
// highest point, close enough for x itself to serve as the scale) for the
// largest |H|^2.
double HighestBetween(const TransferFunction& h, double a, double b, double best) {
  constexpr double kGolden = 0.6180339887498949;
  for (int i = 0; i < 80 && b - a > 1e-13 * b; ++i) {
    const double left = b - kGolden * (b - a);
    const double right = a + kGolden * (b - a);
    const double at_left = PowerRatio(h, left);
    const double at_right = PowerRatio(h, right);
    if (at_left > best) best = at_left;
    if (at_right > best) best = at_right;
    (at_left < at_right ? a : b) = at_left < at_right ? left : right;
  }
  return best;
}

// The highest rise above the level far below the notch, in dB, anywhere
// from lowest_x to highest_x (0 where it never rises above it).
double PeakOf(const TransferFunction& h, double lowest_x, double highest_x) {
  const double far_below = PowerRatioAtZero(h);
  const double ratio = Pow10(Log10(highest_x / lowest_x) / (kPeakScanPoints - 1));
  int best = 0;
  double best_x = lowest_x, best_value = PowerRatio(h, lowest_x);
  double x = lowest_x;
  for (int i = 1; i < kPeakScanPoints; ++i) {
    x = i == kPeakScanPoints - 1 ? highest_x : x * ratio;
    const double value = PowerRatio(h, x);
    if (value > best_value) best = i, best_x = x, best_value = value;
  }
  if (best > 0 && best < kPeakScanPoints - 1) {
    best_value = HighestBetween(h, best_x / ratio, best_x * ratio, best_value);
  }
  return best_value > far_below ? PowerRatioToDecibels(best_value / far_below) : 0;
}

}  // namespace

OpAmpResponse AnalyseOpAmpResponse(const TwinTCircuit& circuit, double r, double c, const OpAmp& amp,
                                   double notch_hertz, double fo_hertz) {
  const double omega_ref = 1 / (r * c);
  const double fo_y = fo_hertz * (2 * kPi) / omega_ref;
  const double lowest_x = fo_y * fo_y / kReachX, highest_x = fo_y * fo_y * kReachX;
  const double notch_y = notch_hertz * (2 * kPi) / omega_ref;
  const double notch_x = notch_y * notch_y;
  const auto response_with = [&](const FollowerOpAmps& opamps) {
    TwinTCircuit with = circuit;
    with.opamps = opamps;
    return TransferFunctionOf(with, r, c);
  };

  const TransferFunction h = response_with(FollowersOf(amp));
  const Band band = BandOf(h, notch_x);
  OpAmpResponse result{band.edges, 0, 0, 0, PeakOf(h, lowest_x, highest_x), false, 0, 0};
  const double hertz_per_y = omega_ref / (2 * kPi);
  if (band.edges.low_found) result.band_low_hertz = SquareRoot(band.edges.low_x) * hertz_per_y;
  if (band.edges.high_found) result.band_high_hertz = SquareRoot(band.edges.high_x) * hertz_per_y;
  if (band.q > 0) result.q = notch_hertz / (result.band_high_hertz - result.band_low_hertz);
  result.slew_limit_volts = amp.slew_volts_per_us * 1e6 / (2 * kPi * 5 * fo_hertz);

  // The least gain-bandwidth, at this open-loop gain, from which on the Q
  // stays within kQFraction of the ideal op-amps' and the peak under
  // kPeakLimitDb: the more gain-bandwidth, the nearer the ideal.
  const double ideal_q = BandOf(response_with({0, 0}), notch_x).q;
  const auto good = [&](double gbw) {
    const TransferFunction with = response_with(FollowersOf({gbw, amp.gain_db, amp.slew_volts_per_us}));
    const double q = BandOf(with, notch_x).q;
    return q > 0 && ideal_q > 0 && Abs(q / ideal_q - 1) <= kQFraction &&
           PeakOf(with, lowest_x, highest_x) < kPeakLimitDb;
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
