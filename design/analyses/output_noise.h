// The noise at a twin-T's output with no signal: every resistor's thermal
// noise (the network's, the source's, the load's and the active form's
// divider's) at 27 degrees Celsius as SPICE takes it, and each follower's
// op-amp noise: its voltage noise in series with its + input, its current
// noise out of that input. What a distortion analyser reads behind the
// notch once the fundamental is gone.
#pragma once

#include "thermal_noise.h"
#include "twin_t_circuit.h"

namespace notchwell {

// An op-amp's noise densities at its inputs, flat over the band: V/sqrt(Hz)
// and A/sqrt(Hz). Ideal op-amps' are 0.
struct OpAmpNoise {
  double volts;
  double amps;
};

// A circuit as built, with the two resistors of the active form's divider
// (output to tap, tap to ground) and the followers' op-amp noise.
struct NoisyCircuit {
  TwinTCircuit circuit;
  double divider_top, divider_bottom;
  OpAmpNoise opamp;
};

// The output's noise by where it comes from, each the sum of its sources'
// squares: V^2/Hz at one frequency, or V^2 over a band.
struct NoisePower {
  double resistors;
  double opamp_voltage;
  double opamp_current;
};
inline double TotalOf(const NoisePower& p) { return p.resistors + p.opamp_voltage + p.opamp_current; }

NoisePower NoiseDensityAt(const NoisyCircuit& noisy, double hertz);

// The squared densities integrated from `low_hertz` to `high_hertz`.
NoisePower NoiseOverBand(const NoisyCircuit& noisy, double low_hertz, double high_hertz);

// The same circuit with its eight parts' resistances a tenth and their
// capacitances ten times: the same Fo at a tenth of the impedance, its
// source, load, divider and op-amps as they were.
NoisyCircuit TenthImpedance(const NoisyCircuit& noisy);

}  // namespace notchwell
