#include "op_amps.h"

#include "elementary.h"

namespace notchwell {

FollowerOpAmps FollowersOf(const OpAmp& amp) {
  if (!(amp.gbw_hertz > 0)) return {0, 0};
  const double a0 = Pow10(amp.gain_db / 20);
  return {a0, 2 * kPi * amp.gbw_hertz / a0};
}

}  // namespace notchwell
