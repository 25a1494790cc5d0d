#include "spice_netlist.h"

#include "thermal_noise.h"
#include "twelve_digit_text.h"

namespace notchwell {

void Put(NetlistText& out, const char* text) {
  for (; *text; ++text) {
    if (out.length + 1 >= out.capacity) {
      out.overflow = true;
      return;
    }
    out.text[out.length++] = *text;
  }
  out.text[out.length] = '\0';
}

void PutValue(NetlistText& out, double value) {
  char text[kTwelveDigitTextSize];
  TwelveDigitText(value, text);
  Put(out, text);
}

DividerResistors DrawnDivider(const NetlistDivider& divider, double k) {
  constexpr double kFallbackTop = 1e4;
  return divider.found ? DividerResistors{divider.top, divider.bottom}
                       : DividerResistors{kFallbackTop, kFallbackTop * k / (1 - k)};
}

void PutAcSweep(NetlistText& out, double fo_hertz) {
  Put(out, ".ac dec 100 ");
  PutValue(out, fo_hertz / 100);
  Put(out, " ");
  PutValue(out, fo_hertz * 100);
}

namespace {

// NAME A B VALUE
void Element(NetlistText& out, const char* name_and_nodes, double value) {
  Put(out, name_and_nodes);
  PutValue(out, value);
  Put(out, "\n");
}

}  // namespace

void OpAmpSubcircuitLines(NetlistText& out, const FollowerOpAmps& model, const char* line_end) {
  Put(out, ".subckt OPAMP inp inn out");
  Put(out, line_end);
  Put(out, "EA x 0 inp inn ");
  PutValue(out, model.open_loop_gain);
  Put(out, line_end);
  Put(out, "RP x y 1");
  Put(out, line_end);
  Put(out, "CP y 0 ");
  PutValue(out, 1 / model.pole_rad_per_s);
  Put(out, line_end);
  Put(out, "EO out 0 y 0 1");
  Put(out, line_end);
  Put(out, ".ends OPAMP");
}

// The single-pole op-amp: A0 times the difference of its inputs through
// a pole of 1 ohm and 1 / wp farads, buffered.
void OpAmpSubcircuit(NetlistText& out, const FollowerOpAmps& model, const NetlistOpAmp& amp) {
  Put(out, "* The followers' op-amp, one pole: A(s) = A0 / (1 + s / wp), ");
  PutValue(out, amp.figures.gain_db);
  Put(out, " dB open-loop gain and ");
  PutValue(out, amp.figures.gbw_hertz);
  Put(out, " Hz gain-bandwidth");
  if (amp.parts) {
    Put(out, " (");
    Put(out, amp.parts);
    Put(out, ")");
  }
  Put(out,
      ".\n* For a vendor's model, put its .subckt in place of this one and keep the pins:\n"
      "* non-inverting input, inverting input, output.\n");
  OpAmpSubcircuitLines(out, model, "\n");
  Put(out, "\n");
}

double VoltageNoiseOhms(double noise_volts) { return noise_volts * noise_volts / kFourKT; }

double CurrentNoiseCelsius(double noise_amps) {
  constexpr double kZeroCelsius = 273.15;
  return noise_amps * noise_amps * kCurrentNoiseOhms / (4 * kBoltzmann) - kZeroCelsius;
}

namespace {

// A follower's op-amp, its + input at `input`, with its input noise:
// "RENOUT t tn", "RINOUT t 0", then "XOUT tn out out OPAMP".
void NoisyFollower(NetlistText& out, const char* name, const char* input, const char* output, const OpAmp& figures) {
  const bool en = figures.noise_volts > 0;
  if (en) {
    Put(out, "REN");
    Put(out, name);
    Put(out, " ");
    Put(out, input);
    Put(out, " ");
    Put(out, input);
    Put(out, "n ");
    PutValue(out, VoltageNoiseOhms(figures.noise_volts));
    Put(out, "\n");
  }
  if (figures.noise_amps > 0) {
    Put(out, "RIN");
    Put(out, name);
    Put(out, " ");
    Put(out, input);
    Put(out, " 0 ");
    PutValue(out, kCurrentNoiseOhms);
    Put(out, " temp=");
    PutValue(out, CurrentNoiseCelsius(figures.noise_amps));
    Put(out, "\n");
  }
  Put(out, "X");
  Put(out, name);
  Put(out, " ");
  Put(out, input);
  Put(out, en ? "n " : " ");
  Put(out, output);
  Put(out, " ");
  Put(out, output);
  Put(out, " OPAMP\n");
}

void NoiseControl(NetlistText& out, const NetlistNoiseBand& band) {
  Put(out, "* The output's noise from ");
  PutValue(out, band.low_hertz);
  Put(out, " Hz to ");
  PutValue(out, band.high_hertz);
  Put(out, " Hz with no signal, rms (onoise_total, V): what a distortion analyser reads behind the notch\n");
  // A thousand points a decade: fewer leave ngspice's sum of a high Q's
  // peak up to 0.1 dB off.
  Put(out, ".control\nnoise v(out) VS dec 1000 ");
  PutValue(out, band.low_hertz);
  Put(out, " ");
  PutValue(out, band.high_hertz);
  Put(out, "\nprint onoise_total\n.endc\n");
}

}  // namespace

void WriteSpiceNetlist(const TwinTCircuit& c, const NetlistDivider& divider, const NetlistOpAmp& amp, bool sweep,
                       double fo_hertz, const NetlistNoiseBand* noise, NetlistText& out) {
  const TwinTParts& p = c.parts;
  if (c.source_ohms > 0) {
    Put(out, "VS vs 0 DC 0 AC 1\n");
    Element(out, "RS vs in ", c.source_ohms);
  } else {
    Put(out, "VS in 0 DC 0 AC 1\n");
  }
  // The network's own output is the output itself, or in the active form
  // the input of the follower that gives it; R3 and C3 meet at ground or
  // at the second follower's output.
  const bool a = c.active;
  Element(out, "R1 in a ", p.r1);
  Element(out, a ? "R2 a t " : "R2 a out ", p.r2);
  Element(out, a ? "C3A a g " : "C3A a 0 ", p.c3a);
  Element(out, a ? "C3B a g " : "C3B a 0 ", p.c3b);
  Element(out, "C1 in b ", p.c1);
  Element(out, a ? "C2 b t " : "C2 b out ", p.c2);
  Element(out, a ? "R3A b g " : "R3A b 0 ", p.r3a);
  Element(out, a ? "R3B b g " : "R3B b 0 ", p.r3b);
  if (a) {
    const bool real = HasRealOpAmps(c);
    if (real) OpAmpSubcircuit(out, c.opamps, amp);
    if (real && (amp.figures.noise_volts > 0 || amp.figures.noise_amps > 0)) {
      Put(out,
          "* Each op-amp's input noise: REN* in series with its + input, which draws no current, is the voltage\n"
          "* noise as a resistor's (en^2 / 4kT); RIN* from that input to ground, at the temperature that makes\n"
          "* 4kT/R = in^2, the current noise.\n");
    }
    Put(out,
        "* The output follower; the divider across it feeds the follower that drives the common end of R3 and C3\n");
    if (real) {
      NoisyFollower(out, "OUT", "t", "out", amp.figures);
    } else {
      Put(out, "EOUT out 0 t 0 1\n");
    }
    const DividerResistors drawn = DrawnDivider(divider, c.feedback);
    Element(out, "RTOP out tap ", drawn.top);
    Element(out, "RBOTTOM tap 0 ", drawn.bottom);
    if (real) {
      NoisyFollower(out, "G", "tap", "g", amp.figures);
    } else {
      Put(out, "EG g 0 tap 0 1\n");
    }
  }
  if (c.load_ohms > 0) Element(out, "RL out 0 ", c.load_ohms);
  if (!sweep) return;
  PutAcSweep(out, fo_hertz);
  Put(out, "\n.print ac vdb(out)\n");
  if (noise) NoiseControl(out, *noise);
  Put(out, ".end\n");
}

}  // namespace notchwell
