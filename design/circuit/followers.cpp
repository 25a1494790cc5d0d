#include "followers.h"

#include "elementary.h"

namespace notchwell {

FollowerOpAmps FollowersOf(const OpAmp& amp) {
  if (!(amp.gbw_hertz > 0)) return {0, 0};
  const double a0 = Pow10(amp.gain_db / 20);
  return {a0, 2 * kPi * amp.gbw_hertz / a0};
}

double FollowerGainDb(const FollowerOpAmps& followers, double hertz) {
  if (!(followers.open_loop_gain > 0)) return 0;
  // A = A0 / (1 + jw/wp), so A / (1 + A) = A0 / (1 + A0 + jw/wp).
  const double a0 = followers.open_loop_gain;
  const double over = 2 * kPi * hertz / followers.pole_rad_per_s;
  const double below = 1 + a0;
  // Taken over the larger of the two parts, so that neither square overflows.
  const double scale = below > over ? below : over;
  const double ratio = a0 / scale;
  const double a = below / scale, b = over / scale;
  return PowerRatioToDecibels(ratio * ratio / (a * a + b * b));
}

}  // namespace notchwell
