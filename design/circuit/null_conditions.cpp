#include "null_conditions.h"

#include "elementary.h"

namespace notchwell {

NullingResistors NullingResistorsAt(const TwinTParts& p, double hertz) {
  const double omega = 2 * kPi * hertz;
  const double c3 = p.c3a + p.c3b;
  // omega^2 C1 C2 taken apart, so that no product of four small factors
  // underflows before the division.
  const double r1 = (p.c1 + p.c2) / (omega * p.c1) / (omega * p.c2) / c3 / p.r2;
  const double r3 = 1 / (omega * p.c1) / (omega * p.c2) / (r1 + p.r2);
  return {r1, r3};
}

NullingChange NullingChangeAt(const PositionValues& values, double hertz) {
  const NullingResistors n = NullingResistorsAt(PartsOf(values), hertz);
  const double r1_change = 100 * (n.r1 / values.r1 - 1), r3_change = 100 * (n.r3 / values.r3 - 1);
  const bool found =
      IsPositiveFinite(n.r1) && IsPositiveFinite(n.r3) && r1_change <= kLargestDouble && r3_change <= kLargestDouble;
  return found ? NullingChange{true, n.r1, n.r3, r1_change, r3_change} : NullingChange{false, 0, 0, 0, 0};
}

}  // namespace notchwell
