// A twin-T as a SPICE netlist, the one place its topology is written: the
// source VS with AC 1 behind its resistance RS, the eight parts, in the
// active form the output follower EOUT, the divider across its output and
// the follower EG that drives the common end of R3 and C3, and the load.
// With real op-amps the followers are XOUT and XG, each an op-amp
// subcircuit of one pole, written out in plain SPICE, and their input
// noise as resistors that ngspice's noise analysis reads. V(out) is
// Vout/Vs.
#pragma once

#include "op_amps.h"
#include "twin_t_circuit.h"

namespace notchwell {

struct NetlistText {
  char* text;
  int capacity;
  int length;
  bool overflow;  // something did not fit: the text is cut short
};

// The divider of an active circuit: its resistors, or none found (then a
// 10 kOhm top and the bottom that gives the circuit's feedback).
struct NetlistDivider {
  bool found;
  double top;
  double bottom;
};

// The divider's two resistors as the netlist and the schematic draw them,
// for feedback `k`.
struct DividerResistors {
  double top;
  double bottom;
};
DividerResistors DrawnDivider(const NetlistDivider& divider, double k);

// The op-amp of real followers (the circuit's model), named in the
// subcircuit's comment: its figures and the parts they come from (none for
// the person's own).
struct NetlistOpAmp {
  OpAmp figures;
  const char* parts;
};

// Appends text, or a value as "%.12g" writes it, marking an overflow.
void Put(NetlistText& out, const char* text);
void PutValue(NetlistText& out, double value);

// The analysis both the netlist and the schematic give: ".ac dec 100"
// from fo / 100 to 100 fo.
void PutAcSweep(NetlistText& out, double fo_hertz);

// The followers' single-pole op-amp as the subcircuit OPAMP (pins inp,
// inn, out), its lines ended by `line_end`, the last one not.
void OpAmpSubcircuitLines(NetlistText& out, const FollowerOpAmps& model, const char* line_end);

// The band the output's noise is read over.
struct NetlistNoiseBand {
  double low_hertz, high_hertz;
};

// A resistor whose thermal noise as SPICE takes it (27 degrees Celsius) is
// an op-amp's voltage noise, en^2 / 4kT; and the temperature, in degrees
// Celsius, at which kCurrentNoiseOhms gives its current noise, 4kT/R = in^2.
constexpr double kCurrentNoiseOhms = 1e12;  // far above any node's impedance here
double VoltageNoiseOhms(double noise_volts);
double CurrentNoiseCelsius(double noise_amps);

// Appends the circuit's elements, then with `sweep` an .ac analysis from
// fo / 100 to 100 fo, a .print of vdb(out), with `noise` a control block
// whose noise analysis gives the output's noise over that band, and .end.
// Values as "%.12g" writes them.
void WriteSpiceNetlist(const TwinTCircuit& circuit, const NetlistDivider& divider, const NetlistOpAmp& amp, bool sweep,
                       double fo_hertz, const NetlistNoiseBand* noise, NetlistText& out);

}  // namespace notchwell
