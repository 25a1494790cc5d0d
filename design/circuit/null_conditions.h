// Where a twin-T of any six values nulls: at omega the output is zero when
//   R1 R2 = (C1 + C2) / (omega^2 C1 C2 C3)  and  R3 (R1 + R2) = 1 / (omega^2 C1 C2),
// whatever drives it, loads it or is fed back to the common end of R3 and
// C3 (at a null the output, and so that feedback, is zero). R1 and R3 can
// therefore always be set to null a build at a chosen frequency.
#pragma once

#include "twin_t_circuit.h"

namespace notchwell {

// The R1 and the whole R3 that null the build at `hertz`, its other
// parts as they are (R3 as a whole replaces R3a and R3b).
struct NullingResistors {
  double r1;
  double r3;
};
NullingResistors NullingResistorsAt(const TwinTParts& parts, double hertz);

// The same for a build of one value a position, with how much R1 and the
// whole R3 change from its own, in percent. Not found where that would
// take resistors beyond any double (values far from the frequency's).
struct NullingChange {
  bool found;
  double r1, r3;
  double r1_change_percent, r3_change_percent;
};
NullingChange NullingChangeAt(const PositionValues& values, double hertz);

}  // namespace notchwell
