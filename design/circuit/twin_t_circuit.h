// A twin-T notch network as built, with what drives it and what it drives.
#pragma once

namespace notchwell {

// The eight parts, in ohms and farads: R1 and R2 on the top rail, C1 and
// C2 on the bottom rail, R3 and C3 each built as two parts in parallel (so
// that two part values make the whole network and R3 = R/2, C3 = 2C hold
// exactly when the parts are equal).
struct TwinTParts {
  double r1, r2, r3a, r3b;
  double c1, c2, c3a, c3b;
};

// The op-amps of the active form's two followers, each of open-loop gain
// A(s) = A0 / (1 + s / pole) with its output tied to its inverting input
// (infinite input and zero output impedance). A0 = 0 stands for ideal
// op-amps, which pass their input as it is.
struct FollowerOpAmps {
  double open_loop_gain;  // A0, as a ratio
  double pole_rad_per_s;
};

// A source of open-circuit voltage Vs behind its resistance drives the
// input; the output goes to the load. In the active form the common end of
// R3 and C3 is driven with `feedback` times the output by a follower
// instead of being grounded, and the output is taken through a second
// follower, so that the load does not reach the network.
struct TwinTCircuit {
  TwinTParts parts;
  double source_ohms;  // 0: Vs drives the input directly
  double load_ohms;    // 0: no load
  bool active;
  double feedback;  // k of the active form
  FollowerOpAmps opamps = {0, 0};
};

inline bool HasRealOpAmps(const TwinTCircuit& c) { return c.active && c.opamps.open_loop_gain > 0; }

constexpr TwinTParts BalancedParts(double r, double c) { return {r, r, r, r, c, c, c, c}; }

// One value for each of the six positions, R3 and C3 whole (as a meter
// reads them, or as one part or a pair gives them).
struct PositionValues {
  double r1, r2, r3;
  double c1, c2, c3;
};
constexpr TwinTParts PartsOf(const PositionValues& v) {
  return {v.r1, v.r2, 2 * v.r3, 2 * v.r3, v.c1, v.c2, v.c3 / 2, v.c3 / 2};
}

}  // namespace notchwell
