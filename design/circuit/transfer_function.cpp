#include "transfer_function.h"

namespace notchwell {
namespace {

constexpr int kNodes = 4;        // input, R1-R2 junction, C1-C2 junction, output
constexpr int kDegree = kNodes;  // of a determinant of entries linear in p

// A nodal matrix entry: conductance + p * capacitance, both normalised.
struct Linear {
  double constant;
  double slope;
};

using Polynomial = double[kDegree + 1];

// Determinant of the N x N submatrix on `rows` x `columns`, as a
// polynomial in p of degree N at most: expansion along its first row, its
// size known as it is compiled (the minors of every build's response are
// the hottest code of an update).
template <int N>
void Determinant(const Linear (&m)[kNodes][kNodes], const int* rows, const int* columns, Polynomial& out) {
  for (double& c : out) c = 0;
  if constexpr (N == 1) {
    out[0] = m[rows[0]][columns[0]].constant;
    out[1] = m[rows[0]][columns[0]].slope;
  } else {
    for (int j = 0; j < N; ++j) {
      const Linear& entry = m[rows[0]][columns[j]];
      if (entry.constant == 0 && entry.slope == 0) continue;
      int rest[N - 1];
      for (int k = 0, r = 0; k < N; ++k) {
        if (k != j) rest[r++] = columns[k];
      }
      Polynomial minor;
      Determinant<N - 1>(m, rows + 1, rest, minor);
      const double sign = j % 2 == 0 ? 1 : -1;
      for (int d = N; d >= 0; --d) {
        out[d] += sign * (entry.constant * minor[d] + (d > 0 ? entry.slope * minor[d - 1] : 0));
      }
    }
  }
}

// The nodal matrix Y of the four nodes with feedback k, and the right-hand
// side b of the input row: Y V = b Vs.
struct NodalEquations {
  Linear y[kNodes][kNodes];
  double b;
};

NodalEquations NodalEquationsOf(const TwinTCircuit& circuit, double r_ref, double c_ref, double k) {
  const TwinTParts& p = circuit.parts;
  // Conductances in units of 1/r_ref, capacitances in units of c_ref.
  const double g1 = r_ref / p.r1;
  const double g2 = r_ref / p.r2;
  const double g3 = r_ref / p.r3a + r_ref / p.r3b;
  const double c1 = p.c1 / c_ref;
  const double c2 = p.c2 / c_ref;
  const double c3 = p.c3a / c_ref + p.c3b / c_ref;
  const double g_load = circuit.load_ohms > 0 && !circuit.active ? r_ref / circuit.load_ohms : 0;

  // The input row is either the source's node equation or, for an ideal
  // source, Vin = Vs.
  NodalEquations e{};
  Linear(&y)[kNodes][kNodes] = e.y;
  if (circuit.source_ohms > 0) {
    const double g_source = r_ref / circuit.source_ohms;
    y[0][0] = {g_source + g1, c1};
    y[0][1] = {-g1, 0};
    y[0][2] = {0, -c1};
    e.b = g_source;
  } else {
    y[0][0] = {1, 0};
    e.b = 1;
  }
  y[1][0] = {-g1, 0};
  y[1][1] = {g1 + g2, c3};
  y[1][3] = {-g2, -k * c3};
  y[2][0] = {0, -c1};
  y[2][2] = {g3, c1 + c2};
  y[2][3] = {-k * g3, -c2};
  y[3][1] = {-g2, 0};
  y[3][2] = {0, -c2};
  y[3][3] = {g2 + g_load, c2};
  return e;
}

constexpr int kAll[kNodes] = {0, 1, 2, 3};

// Vout/Vs with ideal followers: a ratio of cubics.
TransferFunction CubicOf(const TwinTCircuit& circuit, double r_ref, double c_ref) {
  const NodalEquations e = NodalEquationsOf(circuit, r_ref, c_ref, circuit.active ? circuit.feedback : 0);
  // Cramer: Vout = b * cofactor(input, output) / det Y. The p^4 terms of
  // det Y cancel (the capacitances alone make a singular matrix): only
  // rounding is left there, and it is dropped.
  const int inner_rows[3] = {1, 2, 3};
  Polynomial determinant;
  Polynomial minor;
  Determinant<kNodes>(e.y, kAll, kAll, determinant);
  Determinant<kNodes - 1>(e.y, inner_rows, kAll, minor);
  TransferFunction h;
  for (int d = 0; d < 4; ++d) {
    h.numerator[d] = -e.b * minor[d];
    h.denominator[d] = determinant[d];
  }
  h.denominator[4] = h.denominator[5] = 0;
  h.lag = 0;
  const double far = h.numerator[3] / h.denominator[3];
  h.far_above = far * far;
  h.omega_ref = 1 / (r_ref * c_ref);
  return h;
}

}  // namespace

double PowerRatioWithLag(const TransferFunction& h, double x) {
  return QuinticPowerRatio(SquaredMagnitude(h.numerator, x), SquaredMagnitudeOfQuintic(h.denominator, x), h.lag, x);
}

// With real op-amps the network's output node t gives Vout = F Vt, and the
// common end of R3 and C3 is driven with Vg = k F Vout = k F^2 Vt. k
// enters the nodal matrix in one column, so det Y = D0 + k (D1 - D0), with
// D0 and D1 its values at k = 0 and 1, and the cofactor N not at all:
// Vt / Vs = N / (D0 + k F^2 (D1 - D0)), and with F = a / (1 + lag p)
//   H = a N (1 + lag p) / (D0 (1 + lag p)^2 + k a^2 (D1 - D0)).
TransferFunction TransferFunctionOf(const TwinTCircuit& circuit, double r_ref, double c_ref) {
  if (!HasRealOpAmps(circuit)) return CubicOf(circuit, r_ref, c_ref);
  // Expanded along the output's column: det Y = sum of (-1)^(i+3) Y[i][3]
  // M_i over the rows, with M_i the minor without row i and that column,
  // which k does not enter; M_0 is the cofactor N. Y[i][3] at k = 0, and
  // its part in k.
  const NodalEquations e = NodalEquationsOf(circuit, r_ref, c_ref, 0);
  const NodalEquations unit = NodalEquationsOf(circuit, r_ref, c_ref, 1);
  Polynomial minors[kNodes];
  Polynomial grounded = {}, part_in_k = {};
  for (int i = 0; i < kNodes; ++i) {
    int rows[kNodes - 1];
    for (int j = 0, r = 0; j < kNodes; ++j) {
      if (j != i) rows[r++] = j;
    }
    Determinant<kNodes - 1>(e.y, rows, kAll, minors[i]);
    const double sign = (i + 3) % 2 == 0 ? 1 : -1;
    const Linear at_zero = e.y[i][3];
    const Linear in_k = {unit.y[i][3].constant - at_zero.constant, unit.y[i][3].slope - at_zero.slope};
    for (int d = kDegree; d >= 0; --d) {
      const double before = d > 0 ? minors[i][d - 1] : 0;
      grounded[d] += sign * (at_zero.constant * minors[i][d] + at_zero.slope * before);
      part_in_k[d] += sign * (in_k.constant * minors[i][d] + in_k.slope * before);
    }
  }
  const double a0 = circuit.opamps.open_loop_gain;
  const double a = a0 / (1 + a0);
  const double k = circuit.feedback;
  TransferFunction h;
  h.omega_ref = 1 / (r_ref * c_ref);
  const double lag = h.omega_ref / (circuit.opamps.pole_rad_per_s * (1 + a0));
  for (int d = 0; d < 6; ++d) {
    double sum = d < 4 ? grounded[d] + k * a * a * part_in_k[d] : 0;
    if (d >= 1 && d <= 4) sum += 2 * lag * grounded[d - 1];
    if (d >= 2) sum += lag * lag * grounded[d - 2];
    h.denominator[d] = sum;
  }
  for (int d = 0; d < 4; ++d) h.numerator[d] = a * (-e.b * minors[0][d]);
  h.lag = lag;
  // Far above the notch with ideal followers.
  const double far = -e.b * minors[0][3] / (grounded[3] + k * part_in_k[3]);
  h.far_above = far * far;
  return h;
}

}  // namespace notchwell
