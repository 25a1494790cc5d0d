#include "sweep_fit.h"

#include "complex_number.h"
#include "polynomial_roots.h"

// The fit minimises, over theta,
//
//   sum over the points i of  (ln |H(f_i)|' - L_i)^2 + w_i^2 (arg H(f_i) - P_i)^2
//   + sum over the parameters j of  (p_j (theta_j - start_j))^2
//
// where |H|'^2 = |H|^2 + floor^2 is the network's level with the noise
// floor under it, L_i and P_i the point's level in nepers and phase in
// radians (the phase difference folded into one turn), w_i = |H| / |H|'
// how far the signal stands above the floor there, and p_j the pull
// towards the parts as built (SetPull): Levenberg-Marquardt on the
// residuals, from several starts.
namespace notchwell {
namespace {

constexpr int kParameters = kFitParameters;
constexpr double kNepersPerDecibel = 0.11512925464970228;  // ln 10 / 20
constexpr double kRadiansPerDegree = kPi / 180;
// Where the sweep says little, the parts as built: each part is pulled
// towards its value as hard as the sweep's noise weighs a part off by its
// spread. A sweep cannot tell every part apart (the active form, whose
// followers keep the load off the network, leaves two combinations of R3
// and C3 with the rest all but undecided), and the trims depend on them.
// A clean sweep counts as this noisy, so that the pull still decides
// where the sweep cannot.
constexpr double kQuietestDb = 1e-4;
// The noise floor is pulled towards where it starts, barely: only a sweep
// that rests on it moves it.
constexpr double kFloorPull = 1e-4;
constexpr double kStep = 1e-6;     // for the coefficients' derivatives
constexpr double kNoFloor = -700;  // the floor's log where there is none: e^-1400 is 0
// What a fit may leave of the level beyond three times the sweep's own
// noise: a sweep's steps and rounding.
constexpr double kFitAllowanceDb = 0.05;
constexpr int kIterations = 300;
// Levenberg-Marquardt's damping multiplies the normal equations' diagonal
// by 1 + damping: near 0 a Gauss-Newton step, large a short step down the
// gradient. It starts small, eases by 3 after a step that lowered the
// cost and stiffens by 4 after one that did not (more than it eases, so
// that a run of failures soon takes short steps); past kMostDamping no
// step lowers the cost and the fit has ended.
constexpr double kFirstDamping = 1e-3;
constexpr double kLeastDamping = 1e-9;
constexpr double kMostDamping = 1e12;
constexpr double kEasing = 3;
constexpr double kStiffening = 4;
// A step that lowers the cost by less than this fraction of it ends the
// fit: what it would still move is far below what any sweep decides.
constexpr double kLeastGain = 1e-10;
constexpr double kPull = 0.05;  // where other starts begin: R3, C3 or C1 off by 5 %
constexpr double kRefitCost = 1.05;

// The points fitted: the sweep's frequencies as y = omega / omega_ref,
// its levels in nepers and phases in radians.
struct FitPoints {
  int count;
  bool phase;
  double y[kFitPoints];
  double nepers[kFitPoints];
  double radians[kFitPoints];
};

// The model's parameters and what they make.
struct Trial {
  double theta[kParameters];
  PositionValues parts;
  double feedback;
  TransferFunction h;
};

struct Fitter {
  const SweepModel& model;
  const FitPoints& points;
  double r_ref, c_ref;
  double floor_start;
  double offset_start;        // in nepers
  double prior[kParameters];  // the pull's weight on each parameter
  int free[kParameters];      // the parameters fitted
  int free_count;
};

void MakeTrial(const Fitter& f, Trial& t) {
  PartsOfFit(f.model, t.theta, t.parts, t.feedback);
  t.h = TransferFunctionOf(CircuitOfModel(f.model, t.parts, t.feedback), f.r_ref, f.c_ref);
}

// N and D at p = jy, and the followers' lag term.
struct Response {
  Complex n, d, lag;
};

Response ResponseAt(const TransferFunction& h, double y) {
  return {PolynomialAt(h.numerator, 3, {0, y}), PolynomialAt(h.denominator, 5, {0, y}), {1, h.lag * y}};
}

double SquaredMagnitudeOf(Complex a) { return a.re * a.re + a.im * a.im; }

// The phase difference folded into (-pi, pi].
double Folded(double radians) { return radians - 2 * kPi * __builtin_floor((radians + kPi) / (2 * kPi)); }

// One point's residuals (level, and phase where measured) and, with
// `slopes`, their derivatives with respect to each free parameter.
struct PointFit {
  double level, phase;
  double level_slope[kParameters], phase_slope[kParameters];
};

void FitPoint(const Fitter& f, const Trial& t, const TransferFunction (*slopes)[kParameters], int i, PointFit& out) {
  const double y = f.points.y[i];
  const Response r = ResponseAt(t.h, y);
  const double n2 = SquaredMagnitudeOf(r.n), d2 = SquaredMagnitudeOf(r.d);
  const double h2 = d2 > 0 ? n2 * SquaredMagnitudeOf(r.lag) / d2 : 0;
  const double floor2 = Exp(2 * t.theta[kFloorParameter]);
  const double power = h2 + floor2;
  out.level = 0.5 * NaturalLog(power > 0 ? power : 1e-300) + t.theta[kOffsetParameter] - f.points.nepers[i];
  // The phase counts as far as the signal stands above the floor.
  const double weight = SquareRoot(h2 / power);
  out.phase = 0;
  if (f.points.phase) {
    const Complex h = r.n * r.lag * Complex{r.d.re, -r.d.im};
    out.phase = weight * Folded(Atan2(h.im, h.re) - f.points.radians[i]);
  }
  if (!slopes) return;
  for (int k = 0; k < f.free_count; ++k) {
    const int j = f.free[k];
    if (j == kFloorParameter || j == kOffsetParameter) {
      out.level_slope[j] = j == kFloorParameter ? floor2 / power : 1;
      out.phase_slope[j] = 0;
      continue;
    }
    const TransferFunction& s = (*slopes)[j];
    // d ln H = dN / N - dD / D.
    const Complex dn = PolynomialAt(s.numerator, 3, {0, y}), dd = PolynomialAt(s.denominator, 5, {0, y});
    const Complex dlog = (r.n.re == 0 && r.n.im == 0 ? Complex{0, 0} : dn / r.n) - (dd / r.d);
    out.level_slope[j] = h2 / power * dlog.re;
    out.phase_slope[j] = weight * dlog.im;
  }
}

// The prior's residual for parameter j: the parts and feedback pulled
// towards the model's, the floor towards where it started.
double PriorOf(const Fitter& f, const Trial& t, int j) {
  return f.prior[j] * (j == kFloorParameter ? t.theta[j] - f.floor_start : t.theta[j]);
}

double CostOf(const Fitter& f, const Trial& t, double* data_cost = nullptr) {
  double cost = 0;
  PointFit p;
  for (int i = 0; i < f.points.count; ++i) {
    FitPoint(f, t, nullptr, i, p);
    cost += p.level * p.level + p.phase * p.phase;
  }
  if (data_cost) *data_cost = cost;
  for (int k = 0; k < f.free_count; ++k) {
    const double prior = PriorOf(f, t, f.free[k]);
    cost += prior * prior;
  }
  return cost;
}

// Solves a x = b for the first n rows and columns, a symmetric and
// positive definite (damped normal equations): false when it is not.
bool SolveSymmetric(double (&a)[kParameters][kParameters], double (&b)[kParameters], int n) {
  for (int k = 0; k < n; ++k) {
    if (!(a[k][k] > 0)) return false;
    for (int i = k + 1; i < n; ++i) {
      const double factor = a[i][k] / a[k][k];
      for (int j = k; j < n; ++j) a[i][j] -= factor * a[k][j];
      b[i] -= factor * b[k];
    }
  }
  for (int k = n - 1; k >= 0; --k) {
    double sum = b[k];
    for (int j = k + 1; j < n; ++j) sum -= a[k][j] * b[j];
    b[k] = sum / a[k][k];
  }
  return true;
}

// The normal equations at `t`, in the free parameters' order: the
// residuals' slopes squared and summed (the prior's among them), and the
// cost's half gradient.
using Normal = double[kParameters][kParameters];
void NormalEquations(const Fitter& f, const Trial& t, Normal& normal, double (&gradient)[kParameters]) {
  static TransferFunction slopes[kParameters];
  // The coefficients' derivatives, one parameter at a time.
  for (int k = 0; k < f.free_count; ++k) {
    const int j = f.free[k];
    if (j == kFloorParameter || j == kOffsetParameter) continue;
    Trial moved = t;
    moved.theta[j] += kStep;
    MakeTrial(f, moved);
    TransferFunction& s = slopes[j];
    for (int c = 0; c < 4; ++c) s.numerator[c] = (moved.h.numerator[c] - t.h.numerator[c]) / kStep;
    for (int c = 0; c < 6; ++c) s.denominator[c] = (moved.h.denominator[c] - t.h.denominator[c]) / kStep;
  }
  for (int a = 0; a < kParameters; ++a) {
    gradient[a] = 0;
    for (int b = 0; b < kParameters; ++b) normal[a][b] = 0;
  }
  PointFit p;
  for (int i = 0; i < f.points.count; ++i) {
    FitPoint(f, t, &slopes, i, p);
    for (int a = 0; a < f.free_count; ++a) {
      const int ja = f.free[a];
      gradient[a] += p.level_slope[ja] * p.level + p.phase_slope[ja] * p.phase;
      for (int b = 0; b <= a; ++b) {
        const int jb = f.free[b];
        normal[a][b] += p.level_slope[ja] * p.level_slope[jb] + p.phase_slope[ja] * p.phase_slope[jb];
      }
    }
  }
  for (int a = 0; a < f.free_count; ++a) {
    gradient[a] += f.prior[f.free[a]] * PriorOf(f, t, f.free[a]);
    normal[a][a] += f.prior[f.free[a]] * f.prior[f.free[a]];
    for (int b = 0; b < a; ++b) normal[b][a] = normal[a][b];
  }
}

// The inverse of the first n rows and columns of a symmetric, positive
// definite `a` (Gauss-Jordan: n is at most eight): false where it is not.
bool InvertSymmetric(const Normal& a, int n, Normal& inverse) {
  Normal work;
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      work[r][c] = a[r][c];
      inverse[r][c] = r == c ? 1 : 0;
    }
  }
  for (int k = 0; k < n; ++k) {
    const double pivot = work[k][k];
    if (!(pivot > 0)) return false;
    for (int c = 0; c < n; ++c) {
      work[k][c] /= pivot;
      inverse[k][c] /= pivot;
    }
    for (int r = 0; r < n; ++r) {
      if (r == k) continue;
      const double factor = work[r][k];
      for (int c = 0; c < n; ++c) {
        work[r][c] -= factor * work[k][c];
        inverse[r][c] -= factor * inverse[k][c];
      }
    }
  }
  return true;
}

// Levenberg-Marquardt from `t`, which it leaves at the fit's end.
void Minimise(const Fitter& f, Trial& t) {
  double cost = CostOf(f, t);
  double damping = kFirstDamping;
  for (int iteration = 0; iteration < kIterations; ++iteration) {
    Normal normal;
    double gradient[kParameters];
    NormalEquations(f, t, normal, gradient);
    bool improved = false;
    double new_cost = cost;
    while (!improved && damping < kMostDamping) {
      double a[kParameters][kParameters], step[kParameters];
      for (int r = 0; r < f.free_count; ++r) {
        for (int c = 0; c < f.free_count; ++c) a[r][c] = normal[r][c];
        a[r][r] *= 1 + damping;
        step[r] = -gradient[r];
      }
      Trial next = t;
      if (SolveSymmetric(a, step, f.free_count)) {
        for (int k = 0; k < f.free_count; ++k) {
          // No step of more than a factor of e at once.
          const double s = step[k] > 1 ? 1 : step[k] < -1 ? -1 : step[k];
          next.theta[f.free[k]] += s;
        }
        MakeTrial(f, next);
        new_cost = CostOf(f, next);
      }
      if (new_cost < cost) {
        improved = true;
        t = next;
        damping = damping / kEasing > kLeastDamping ? damping / kEasing : kLeastDamping;
      } else {
        damping *= kStiffening;
      }
    }
    if (!improved) break;
    const double gain = cost - new_cost;
    cost = new_cost;
    if (gain <= kLeastGain * cost + 1e-300) break;
  }
}

// The upper one of the numerator's complex pair of zeros, the notch's
// ({0, 0} where there is no pair).
Complex NotchZeroOf(const TransferFunction& h) {
  if (h.numerator[3] == 0) return {0, 0};
  const Roots roots = RootsOf(h.numerator, 3);
  for (int i = 0; i < roots.count; ++i) {
    if (roots.root[i].im > 0) return roots.root[i];
  }
  return {0, 0};
}

void Finish(const Fitter& f, const Trial& t, SweepFit& fit) {
  fit.found = true;
  fit.parts = t.parts;
  fit.feedback = t.feedback;
  fit.function = t.h;
  double data_cost = 0;
  CostOf(f, t, &data_cost);
  fit.cost = data_cost;
  double level = 0;
  PointFit p;
  for (int i = 0; i < f.points.count; ++i) {
    FitPoint(f, t, nullptr, i, p);
    level += p.level * p.level;
  }
  fit.rms_db = SquareRoot(level / f.points.count) / kNepersPerDecibel;
  // How far the parameters may be from the fit's, as the sweep and the
  // pull decide them: the normal equations' inverse times the noise of one
  // residual, as what the fit leaves estimates it.
  const int residuals = f.points.count * (f.points.phase ? 2 : 1);
  const double variance = residuals > f.free_count ? data_cost / (residuals - f.free_count) : 0;
  Normal normal, inverse;
  double gradient[kParameters];
  NormalEquations(f, t, normal, gradient);
  fit.spread_found = InvertSymmetric(normal, f.free_count, inverse);
  for (int a = 0; a < kParameters; ++a) {
    for (int b = 0; b < kParameters; ++b) fit.covariance[a][b] = 0;
  }
  for (int a = 0; fit.spread_found && a < f.free_count; ++a) {
    for (int b = 0; b < f.free_count; ++b) fit.covariance[f.free[a]][f.free[b]] = variance * inverse[a][b];
  }
  fit.distance = 0;
  for (int j = 0; j < kFloorParameter; ++j) fit.distance += t.theta[j] * t.theta[j];
  // Below 0 the notch's zeros lie left of the j-omega axis, as every
  // build's with parts near the balanced values.
  const Complex zero = NotchZeroOf(t.h);
  fit.zeros_real = zero.im > 0 ? zero.re / Magnitude(zero) : 0;
  for (int j = 0; j < kParameters; ++j) fit.theta[j] = t.theta[j];
}

// Of two fits, whether `a` is the better: it leaves less of the sweep, or
// as little within a twentieth and lies nearer the parts as built.
bool Better(const SweepFit& a, const SweepFit& b) {
  if (!b.found) return a.found;
  if (!a.found) return false;
  const bool alike = a.cost <= 1.05 * b.cost + 1e-24 && b.cost <= 1.05 * a.cost + 1e-24;
  return alike ? a.distance < b.distance : a.cost < b.cost;
}

// Whether a point can say anything of the network: within six decades
// of its frequency either way, its level within kMostMeasuredDb of the
// source's (no instrument measures beyond; programs write -300 or -999 dB
// for no reading) and its phase within a million degrees (beyond, the
// model's polynomials overflow and the numbers mean nothing); and not left
// out as a glitch.
bool Usable(const MeasuredSweep& sweep, int i, double reference_hertz, const SweepFits& fits) {
  for (int k = 0; k < fits.left_out_count; ++k) {
    if (fits.left_out[k] == i) return false;
  }
  const double ratio = sweep.hertz[i] / reference_hertz;
  return ratio >= 1e-6 && ratio <= 1e6 && Abs(sweep.level_db[i]) <= kMostMeasuredDb && Abs(sweep.degrees[i]) <= 1e6;
}

// The indices of the points fitted, of those usable: all of them, or as
// many about the lowest point (within a factor of 1.25 of its frequency)
// as elsewhere, each evenly spread.
int ChoosePoints(const MeasuredSweep& sweep, double reference_hertz, const SweepFits& fits, int (&chosen)[kFitPoints]) {
  static int usable[kMostSweepPoints];
  int count = 0;
  for (int i = 0; i < sweep.count; ++i) {
    if (Usable(sweep, i, reference_hertz, fits)) usable[count++] = i;
  }
  if (count <= kFitPoints) {
    for (int k = 0; k < count; ++k) chosen[k] = usable[k];
    return count;
  }
  int lowest = 0;
  for (int k = 1; k < count; ++k) {
    if (sweep.level_db[usable[k]] < sweep.level_db[usable[lowest]]) lowest = k;
  }
  const double lowest_hertz = sweep.hertz[usable[lowest]];
  int first = lowest, last = lowest;
  while (first > 0 && sweep.hertz[usable[first - 1]] * 1.25 >= lowest_hertz) --first;
  while (last + 1 < count && sweep.hertz[usable[last + 1]] <= 1.25 * lowest_hertz) ++last;
  const int near = last - first + 1, far = count - near;
  const int near_taken = near < kFitPoints / 2 ? near : far < kFitPoints / 2 ? kFitPoints - far : kFitPoints / 2;
  const int far_taken = kFitPoints - near_taken < far ? kFitPoints - near_taken : far;
  // Each run's points evenly: the k-th of n taken where k * taken / n steps.
  const auto takes = [](long k, long taken, long n) { return (k + 1) * taken / n > k * taken / n; };
  int chosen_count = 0;
  for (int k = 0, far_index = 0; k < count; ++k) {
    const bool near_run = k >= first && k <= last;
    if (near_run ? takes(k - first, near_taken, near) : takes(far_index++, far_taken, far)) {
      chosen[chosen_count++] = usable[k];
    }
  }
  return chosen_count;
}

// How rough the sweep is: each chosen point's distance from the line
// through its neighbours, in the units of one point's noise; the median.
double RoughnessDb(const MeasuredSweep& sweep, const int (&chosen)[kFitPoints], int count) {
  double distances[kFitPoints];
  int n = 0;
  for (int k = 0; k < count; ++k) {
    const int i = chosen[k];
    if (i == 0 || i + 1 >= sweep.count) continue;
    const double a = NaturalLog(sweep.hertz[i - 1]), b = NaturalLog(sweep.hertz[i]), c = NaturalLog(sweep.hertz[i + 1]);
    const double t = (b - a) / (c - a);
    const double line = sweep.level_db[i - 1] * (1 - t) + sweep.level_db[i + 1] * t;
    distances[n++] = Abs(sweep.level_db[i] - line) / SquareRoot(1 + (1 - t) * (1 - t) + t * t);
  }
  if (n == 0) return 0;
  // The median of |noise| is 0.6745 of its standard deviation.
  return NthSmallest(distances, 0, n, n / 2) / 0.6745;
}

// The pull towards the parts as built: what a sweep this noisy makes of a
// part off by its spread.
void SetPull(Fitter& f, double noise_db) {
  const double noise = (noise_db > kQuietestDb ? noise_db : kQuietestDb) * kNepersPerDecibel;
  for (int j = 0; j < kFloorParameter; ++j) {
    const double spread = j == kFeedbackParameter ? 2 * f.model.resistor_spread
                          : j <= kR3Parameter     ? f.model.resistor_spread
                                                  : f.model.capacitor_spread;
    f.prior[j] = noise / spread;
  }
  f.prior[kFloorParameter] = kFloorPull;
  f.prior[kOffsetParameter] = 0;  // the sweep alone decides it
}

// A fit run again from where it ended, under the pull the Fitter now has.
void Refit(const Fitter& f, SweepFit& fit) {
  if (!fit.found) return;
  Trial t{};
  for (int j = 0; j < kParameters; ++j) t.theta[j] = fit.theta[j];
  MakeTrial(f, t);
  Minimise(f, t);
  Finish(f, t, fit);
}

}  // namespace

void PartsOfFit(const SweepModel& model, const double (&theta)[kFitParameters], PositionValues& parts,
                double& feedback) {
  const PositionValues& m = model.parts;
  parts = {m.r1 * Exp(theta[kR1Parameter]), m.r2 * Exp(theta[kR2Parameter]), m.r3 * Exp(theta[kR3Parameter]),
           m.c1 * Exp(theta[kC1Parameter]), m.c2 * Exp(theta[kC2Parameter]), m.c3 * Exp(theta[kC3Parameter])};
  feedback = model.active ? 1 - (1 - model.feedback) * Exp(theta[kFeedbackParameter]) : 0;
}

TwinTCircuit CircuitOfModel(const SweepModel& model, const PositionValues& parts, double feedback) {
  return {PartsOf(parts), model.source_ohms, model.load_ohms,
          model.active,   feedback,          model.active ? model.opamps : FollowerOpAmps{0, 0}};
}

bool FitsWithinNoise(const SweepFit& fit, double noise_db) { return fit.rms_db <= 3 * noise_db + kFitAllowanceDb; }

namespace {
bool Near(double value, double model) { return value <= kFarthestPart * model && model <= kFarthestPart * value; }

}  // namespace

bool PartsNear(const SweepFit& fit, const SweepModel& model) {
  const PositionValues &p = fit.parts, &m = model.parts;
  return Near(p.r1, m.r1) && Near(p.r2, m.r2) && Near(p.r3, m.r3) && Near(p.c1, m.c1) && Near(p.c2, m.c2) &&
         Near(p.c3, m.c3) && (!model.active || Near(1 - fit.feedback, 1 - model.feedback));
}

namespace {

// Phase one: the points fitted (from `chosen`), their noise, where the
// floor starts and the pull; false where there are too few points.
bool PreparePoints(const MeasuredSweep& sweep, SweepFits& fits, int (&chosen)[kFitPoints], Fitter& f,
                   FitPoints& points) {
  const double omega_ref = 1 / (f.r_ref * f.c_ref);
  points.count = ChoosePoints(sweep, omega_ref / (2 * kPi), fits, chosen);
  points.phase = sweep.phase;
  fits.noise_db = RoughnessDb(sweep, chosen, points.count);
  if (points.count < kFewestSweepPoints) return false;
  double lowest_db = sweep.level_db[chosen[0]];
  for (int k = 0; k < points.count; ++k) {
    const int i = chosen[k];
    points.y[k] = 2 * kPi * sweep.hertz[i] / omega_ref;
    points.nepers[k] = sweep.level_db[i] * kNepersPerDecibel;
    points.radians[k] = sweep.degrees[i] * kRadiansPerDegree;
    if (sweep.level_db[i] < lowest_db) lowest_db = sweep.level_db[i];
  }
  // The floor starts 40 dB under the lowest point: far enough not to
  // matter unless the sweep rests on it.
  f.floor_start = (lowest_db - fits.offset_db - 40) * kNepersPerDecibel;
  f.free_count = 0;
  for (int j = 0; j < kParameters; ++j) {
    if ((j != kFeedbackParameter || f.model.active) && (j != kOffsetParameter || fits.offset_db != 0)) {
      f.free[f.free_count++] = j;
    }
  }
  f.offset_start = fits.offset_db * kNepersPerDecibel;
  SetPull(f, fits.noise_db);
  return true;
}

// Phase two: the fits from each start, the best of them, and the best
// with the notch's zeros on the other side of the j-omega axis (which the
// level alone cannot tell apart).
void FitFromStarts(Fitter& f, SweepFits& fits) {
  struct Start {
    int parameter;
    double pull;
  };
  constexpr Start kStarts[] = {{kR1Parameter, 0},     {kR3Parameter, kPull},  {kR3Parameter, -kPull},
                               {kC3Parameter, kPull}, {kC3Parameter, -kPull}, {kC1Parameter, kPull},
                               {kC1Parameter, -kPull}};
  constexpr int kStartCount = sizeof kStarts / sizeof kStarts[0];
  static SweepFit found[kStartCount];
  for (int i = 0; i < kStartCount; ++i) {
    Trial t{};
    t.theta[kStarts[i].parameter] = kStarts[i].pull;
    t.theta[kFloorParameter] = f.floor_start;
    t.theta[kOffsetParameter] = f.offset_start;
    MakeTrial(f, t);
    Minimise(f, t);
    Finish(f, t, found[i]);
    if (Better(found[i], fits.best)) fits.best = found[i];
  }
  // The roughness overstates the noise of a clean sweep (its steps near
  // the notch look rough), and a pull that strong moves what the sweep
  // decides: where the best fit leaves much less, the pull is what that
  // makes it, and each start's fit that fits nearly as well (within
  // kRefitCost times the best's cost) is run on under it.
  if (fits.best.found && fits.best.rms_db < fits.noise_db / 2) {
    SetPull(f, fits.best.rms_db);
    const double best_cost = fits.best.cost;
    fits.best.found = false;
    for (SweepFit& fit : found) {
      if (fit.found && fit.cost <= kRefitCost * best_cost) Refit(f, fit);
      if (Better(fit, fits.best)) fits.best = fit;
    }
  }
  for (const SweepFit& fit : found) {
    if (fit.zeros_real * fits.best.zeros_real < 0 && Better(fit, fits.mirrored)) fits.mirrored = fit;
  }
}

// Phase three, for the level alone: the best fit run on without a floor,
// and from it R1 and R3 moved to mirror the notch's zeros in the j-omega
// axis (to first order) and fitted again.
void FitLevelAlone(const Fitter& f, SweepFits& fits) {
  if (!fits.best.found) return;
  Fitter floorless = f;
  floorless.free_count = 0;
  for (int k = 0; k < f.free_count; ++k) {
    if (f.free[k] != kFloorParameter) floorless.free[floorless.free_count++] = f.free[k];
  }
  fits.floorless = fits.best;
  fits.floorless.theta[kFloorParameter] = kNoFloor;
  Refit(floorless, fits.floorless);
  if (fits.best.zeros_real == 0) return;

  Trial best{};
  for (int j = 0; j < kParameters; ++j) best.theta[j] = fits.best.theta[j];
  MakeTrial(f, best);
  const Complex zero = NotchZeroOf(best.h);
  if (zero.im == 0) return;
  constexpr double kMove = 1e-4;
  constexpr int kMoved[2] = {kR1Parameter, kR3Parameter};
  double slope[2][2];  // d(re, im) / d(theta R1, theta R3)
  for (int k = 0; k < 2; ++k) {
    Trial moved = best;
    moved.theta[kMoved[k]] += kMove;
    MakeTrial(f, moved);
    const Complex moved_zero = NotchZeroOf(moved.h);
    const Complex z = moved_zero.im > 0 ? moved_zero : zero;
    slope[0][k] = (z.re - zero.re) / kMove;
    slope[1][k] = (z.im - zero.im) / kMove;
  }
  const double det = slope[0][0] * slope[1][1] - slope[0][1] * slope[1][0];
  if (det == 0) return;
  // (re, im) to (-re, im).
  const double want_re = -2 * zero.re, want_im = 0;
  Trial mirror = best;
  mirror.theta[kR1Parameter] += (want_re * slope[1][1] - want_im * slope[0][1]) / det;
  mirror.theta[kR3Parameter] += (slope[0][0] * want_im - slope[1][0] * want_re) / det;
  MakeTrial(f, mirror);
  Minimise(f, mirror);
  SweepFit fit;
  Finish(f, mirror, fit);
  if (fit.zeros_real * fits.best.zeros_real < 0 && Better(fit, fits.mirrored)) fits.mirrored = fit;
}

// The fits of the sweep's points but those `fits` leaves out, in three
// phases; how many points it chose, their indices in `chosen`.
int FitPointsOf(const MeasuredSweep& sweep, const SweepModel& model, SweepFits& fits, int (&chosen)[kFitPoints]) {
  static FitPoints points;
  const PositionValues& m = model.parts;
  Fitter f{model, points, SquareRoot(m.r1) * SquareRoot(m.r2), SquareRoot(m.c1) * SquareRoot(m.c2), 0, 0, {}, {}, 0};
  fits.best.found = fits.mirrored.found = fits.floorless.found = false;
  if (!PreparePoints(sweep, fits, chosen, f, points)) return points.count;
  FitFromStarts(f, fits);
  if (!points.phase) FitLevelAlone(f, fits);
  if (fits.offset_db != 0 && fits.best.found) fits.offset_db = fits.best.theta[kOffsetParameter] / kNepersPerDecibel;
  return points.count;
}

// The level of each chosen point a factor of two or more from the built
// network's notch, less the built network's there: how many, in
// `left_db`.
int LevelsAwayFromNotch(const MeasuredSweep& sweep, const SweepModel& model, const int (&chosen)[kFitPoints], int count,
                        double (&left_db)[kFitPoints]) {
  const PositionValues& m = model.parts;
  const double r_ref = SquareRoot(m.r1) * SquareRoot(m.r2), c_ref = SquareRoot(m.c1) * SquareRoot(m.c2);
  const TransferFunction h = TransferFunctionOf(CircuitOfModel(model, m, model.feedback), r_ref, c_ref);
  const double notch_hertz = 1 / (2 * kPi * r_ref * c_ref);
  int n = 0;
  for (int k = 0; k < count; ++k) {
    const double hertz = sweep.hertz[chosen[k]];
    if (hertz > notch_hertz / 2 && hertz < 2 * notch_hertz) continue;
    left_db[n++] = sweep.level_db[chosen[k]] - PowerRatioToDecibels(PowerRatioAtHertz(h, hertz));
  }
  return n;
}

// The level left at each chosen point by the best fit, in dB: found where
// there is a best fit.
bool LevelsLeft(const MeasuredSweep& sweep, const SweepFits& fits, const int (&chosen)[kFitPoints], int count,
                double (&left_db)[kFitPoints]) {
  if (!fits.best.found) return false;
  const TransferFunction& h = fits.best.function;
  const double floor2 = Exp(2 * fits.best.theta[kFloorParameter]);
  for (int k = 0; k < count; ++k) {
    const int i = chosen[k];
    const double power = PowerRatioAtHertz(h, sweep.hertz[i]) + floor2;
    left_db[k] = sweep.level_db[i] - fits.best.theta[kOffsetParameter] / kNepersPerDecibel -
                 PowerRatioToDecibels(power > 0 ? power : 1e-300);
  }
  return true;
}

}  // namespace

void FitSweep(const MeasuredSweep& sweep, const SweepModel& model, SweepFits& fits) {
  int chosen[kFitPoints];
  fits.left_out_count = 0;
  fits.worst = -1;
  // Levels no instrument measures: named among the points left out.
  for (int i = 0; i < sweep.count && fits.left_out_count < kMostLeftOut; ++i) {
    if (Abs(sweep.level_db[i]) > kMostMeasuredDb) fits.left_out[fits.left_out_count++] = i;
  }
  fits.offset_db = 0;
  int count = FitPointsOf(sweep, model, fits, chosen);
  // A fit that does not explain the sweep: first a level of another
  // reference, fitted as an offset from Vout/Vs (starting from the median
  // of what lies between the levels and the built network's away from the
  // notch), kept where it explains the sweep; then the point it explains
  // least, where that is
  // far off, is a glitch of the measurement, left out and the fits done
  // again without it, kGlitchRounds times at most.
  static double left_db[kFitPoints];
  const auto explained = [&] {
    return fits.best.found && FitsWithinNoise(fits.best, fits.noise_db) && PartsNear(fits.best, model);
  };
  if (count >= kFewestSweepPoints && !explained()) {
    const int n = LevelsAwayFromNotch(sweep, model, chosen, count, left_db);
    const double offset_db = n > 0 ? NthSmallest(left_db, 0, n, n / 2) : 0;
    if (Abs(offset_db) > kFitAllowanceDb) {
      fits.offset_db = offset_db;
      count = FitPointsOf(sweep, model, fits, chosen);
    }
  }
  if (fits.offset_db != 0 && !explained()) {
    fits.offset_db = 0;
    count = FitPointsOf(sweep, model, fits, chosen);
  }
  for (int round = 0; round < kGlitchRounds && fits.best.found && !FitsWithinNoise(fits.best, fits.noise_db) &&
                      fits.left_out_count < kMostLeftOut && 20 * (fits.left_out_count + 1) <= count &&
                      LevelsLeft(sweep, fits, chosen, count, left_db);
       ++round) {
    int worst = 0;
    for (int k = 1; k < count; ++k) {
      if (Abs(left_db[k]) > Abs(left_db[worst])) worst = k;
    }
    if (fits.worst < 0) fits.worst = chosen[worst];
    const double glitch_db = kGlitchNoises * fits.noise_db > kGlitchDb ? kGlitchNoises * fits.noise_db : kGlitchDb;
    if (!(Abs(left_db[worst]) > glitch_db)) break;
    fits.left_out[fits.left_out_count++] = chosen[worst];
    count = FitPointsOf(sweep, model, fits, chosen);
  }
}

}  // namespace notchwell
