#include "output_noise.h"

#include "complex_number.h"
#include "elementary.h"

namespace notchwell {
namespace {

// Points a decade of the band's integral, evenly on a log scale (Simpson's
// rule on log f): a Q of 10 spans some ten of them.
constexpr int kPointsPerDecade = 200;

constexpr int kNodes = 4;  // input, R1-R2 junction, C1-C2 junction, the network's output
enum Node { kIn, kA, kB, kT };

Complex Inverse(Complex z) { return Complex{1, 0} / z; }
double Squared(Complex z) { return z.re * z.re + z.im * z.im; }

// z with Y^T z = e_t, for the nodal matrix Y: z[i] is the network's output
// voltage per ampere driven into node i (the adjoint network). Partial
// pivoting; the matrix is never singular at a frequency above 0.
void SolveAdjoint(Complex (&y)[kNodes][kNodes], Complex (&z)[kNodes]) {
  Complex m[kNodes][kNodes + 1];
  for (int i = 0; i < kNodes; ++i) {
    for (int j = 0; j < kNodes; ++j) m[i][j] = y[j][i];
    m[i][kNodes] = {i == kT ? 1.0 : 0.0, 0};
  }
  for (int col = 0; col < kNodes; ++col) {
    int pivot = col;
    for (int r = col + 1; r < kNodes; ++r) {
      if (Squared(m[r][col]) > Squared(m[pivot][col])) pivot = r;
    }
    for (int j = 0; j <= kNodes; ++j) {
      const Complex t = m[col][j];
      m[col][j] = m[pivot][j];
      m[pivot][j] = t;
    }
    const Complex inverse = Inverse(m[col][col]);
    for (int r = col + 1; r < kNodes; ++r) {
      const Complex factor = m[r][col] * inverse;
      for (int j = col; j <= kNodes; ++j) m[r][j] = m[r][j] - factor * m[col][j];
    }
  }
  for (int i = kNodes - 1; i >= 0; --i) {
    Complex sum = m[i][kNodes];
    for (int j = i + 1; j < kNodes; ++j) sum = sum - m[i][j] * z[j];
    z[i] = sum / m[i][i];
  }
}

}  // namespace

// With s = j omega, a follower passes F = A0 / (1 + A0 + s / wp) of its
// + input (1 when ideal). In the active form the common end of R3 and C3
// is driven with Vg = F (k Vout + u), Vout = F (Vt + e_out), where u is the
// noise at the driving follower's + input: the divider's own, and that
// op-amp's voltage noise and its current noise through the divider. So
// Vg = k F^2 Vt + F (u + k F e_out), and the nodal equations of the four
// nodes take k F^2 in place of k, with F (u + k F e_out) driving them
// through C3 and R3.
NoisePower NoiseDensityAt(const NoisyCircuit& noisy, double hertz) {
  const TwinTCircuit& c = noisy.circuit;
  const TwinTParts& p = c.parts;
  const double omega = 2 * kPi * hertz;
  const bool active = c.active;
  Complex follower{1, 0};
  if (active && c.opamps.open_loop_gain > 0) {
    const double a0 = c.opamps.open_loop_gain;
    follower = Complex{a0, 0} / Complex{1 + a0, omega / c.opamps.pole_rad_per_s};
  }
  const double g1 = 1 / p.r1, g2 = 1 / p.r2, g3 = 1 / p.r3a + 1 / p.r3b;
  const Complex s1{0, omega * p.c1}, s2{0, omega * p.c2}, s3{0, omega * (p.c3a + p.c3b)};
  const Complex k = active ? c.feedback * (follower * follower) : Complex{0, 0};
  const double g_load = c.load_ohms > 0 && !active ? 1 / c.load_ohms : 0;
  const bool source = c.source_ohms > 0;

  Complex y[kNodes][kNodes] = {};
  if (source) {
    y[kIn][kIn] = Complex{1 / c.source_ohms + g1, 0} + s1;
    y[kIn][kA] = {-g1, 0};
    y[kIn][kB] = {-s1.re, -s1.im};
  } else {
    y[kIn][kIn] = {1, 0};  // Vs is 0: the input is held at ground
  }
  y[kA][kIn] = {-g1, 0};
  y[kA][kA] = Complex{g1 + g2, 0} + s3;
  y[kA][kT] = Complex{-g2, 0} - s3 * k;
  y[kB][kIn] = {-s1.re, -s1.im};
  y[kB][kB] = Complex{g3, 0} + s1 + s2;
  y[kB][kT] = Complex{-g3, 0} * k - s2;
  y[kT][kA] = {-g2, 0};
  y[kT][kB] = {-s2.re, -s2.im};
  y[kT][kT] = Complex{g2 + g_load, 0} + s2;
  Complex z[kNodes];
  SolveAdjoint(y, z);
  if (!source) z[kIn] = {0, 0};

  // The network's resistors, the source and the load, each a current
  // 4kT/R between its ends; R3's far end is ground or a follower's output.
  double resistors = kFourKT * (g1 * Squared(z[kIn] - z[kA]) + g2 * Squared(z[kA] - z[kT]) + g3 * Squared(z[kB]) +
                                g_load * Squared(z[kT]));
  if (source) resistors += kFourKT / c.source_ohms * Squared(z[kIn]);
  NoisePower power{resistors, 0, 0};
  if (!active) return power;

  const double out = Squared(follower);  // Vout per volt at the network's output
  power.resistors *= out;
  // Vt per volt of u: through C3 and R3 into nodes a and b.
  const Complex through = follower * (s3 * z[kA] + Complex{g3, 0} * z[kB]);
  const double from_u = out * Squared(through);
  const double tap_ohms = noisy.divider_top * noisy.divider_bottom / (noisy.divider_top + noisy.divider_bottom);
  power.resistors += from_u * kFourKT * tap_ohms;
  const double en = noisy.opamp.volts * noisy.opamp.volts, in = noisy.opamp.amps * noisy.opamp.amps;
  // The output follower's voltage noise comes out directly and around the
  // loop; its current noise flows through the network from its output node.
  const Complex loop = Complex{1, 0} + c.feedback * (follower * through);
  power.opamp_voltage = en * (out * Squared(loop) + from_u);
  power.opamp_current = in * (out * Squared(z[kT]) + from_u * tap_ohms * tap_ohms);
  return power;
}

NoisePower NoiseOverBand(const NoisyCircuit& noisy, double low_hertz, double high_hertz) {
  const double from = Log10(low_hertz), to = Log10(high_hertz);
  int steps = static_cast<int>((to - from) * kPointsPerDecade) + 2;
  steps += steps % 2;
  const double step = (to - from) / steps;
  NoisePower sum{0, 0, 0};
  for (int i = 0; i <= steps; ++i) {
    const double hertz = i == 0 ? low_hertz : i == steps ? high_hertz : Pow10(from + i * step);
    // Simpson's weights, on log f: df = f ln(10) d(log f).
    const double weight = (i == 0 || i == steps ? 1 : i % 2 == 1 ? 4 : 2) * hertz;
    const NoisePower at = NoiseDensityAt(noisy, hertz);
    sum.resistors += weight * at.resistors;
    sum.opamp_voltage += weight * at.opamp_voltage;
    sum.opamp_current += weight * at.opamp_current;
  }
  const double scale = step * NaturalLog(10) / 3;
  return {sum.resistors * scale, sum.opamp_voltage * scale, sum.opamp_current * scale};
}

NoisyCircuit TenthImpedance(const NoisyCircuit& noisy) {
  NoisyCircuit tenth = noisy;
  TwinTParts& p = tenth.circuit.parts;
  p = {p.r1 / 10, p.r2 / 10, p.r3a / 10, p.r3b / 10, p.c1 * 10, p.c2 * 10, p.c3a * 10, p.c3b * 10};
  return tenth;
}

}  // namespace notchwell
