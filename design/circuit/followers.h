// The active network's followers as real op-amps of one pole each: what
// an op-amp's datasheet figures make of them.
#pragma once

#include "op_amps.h"
#include "twin_t_circuit.h"

namespace notchwell {

// Followers more than this far down at Fo pass too little there for the
// network to be a notch filter at all.
inline constexpr double kFollowerDropDb = 3;

// A0 = 10^(gain / 20) and the pole at 2 pi GBW / A0; ideal followers for
// a gain-bandwidth of 0.
FollowerOpAmps FollowersOf(const OpAmp& amp);

// A follower's own gain, |A / (1 + A)| in dB, at `hertz`.
double FollowerGainDb(const FollowerOpAmps& followers, double hertz);

}  // namespace notchwell
