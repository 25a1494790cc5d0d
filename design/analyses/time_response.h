// A network's output in time, worked out exactly from the poles and
// residues of Vout/Vs: after a unit step at t = 0, and after a sine of
// amplitude 1 switched on at t = 0 at its rising zero crossing. Each is
// the steady state (the step's final value; the sine as the network
// passes it) plus a transient, a sum of e^(p t) t^i terms over the poles.
#pragma once

#include "complex_number.h"
#include "polynomial_roots.h"
#include "transfer_function.h"

namespace notchwell {

constexpr int kMostPoles = 5;

// e^(p tau) (c[0] + c[1] tau + c[2] tau^2 / 2! + ...) for a pole p of
// multiplicity `order`, tau = omega_ref t; of a conjugate pair, the one
// above the axis with its c doubled (the output is the real part).
struct TransientTerm {
  Complex pole;
  int order;
  Complex c[kMostPoles];
  double size;          // |p|
  double counts_until;  // tau from which on it stays below 1e-6
};

struct TimeResponse {
  bool stable;  // every pole in the left half-plane
  int count;
  TransientTerm terms[kMostPoles];
  double omega_ref;
  // The steady state: the step's final value H(0); or the sine's
  // Im(H(jw) e^(jw tau)), w = omega / omega_ref.
  bool sine;
  double final_value;
  double w;
  Complex h_at_w;
};

// The poles of H, found once for both responses.
Roots PolesOf(const TransferFunction& h);
TimeResponse StepResponseOf(const TransferFunction& h, const Roots& poles);
TimeResponse SineResponseOf(const TransferFunction& h, const Roots& poles, double hertz);

double OutputAt(const TimeResponse& r, double seconds);
double TransientAt(const TimeResponse& r, double seconds);  // the output less its steady state

// From when on the transient stays within 0.01 (of the step, or of the
// sine's amplitude), to 1e-9 relative; not found where a pole is not in
// the left half-plane or it lasts beyond `limit_seconds`. And the lowest
// output from `lowest_from_seconds` on (to 1e-4 past the scan's end).
struct Settling {
  bool found;
  double seconds;
  double lowest;
};
Settling SettlingTime(const TimeResponse& r, double limit_seconds, double lowest_from_seconds = 0);

}  // namespace notchwell
