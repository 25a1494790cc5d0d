#include "time_response.h"

#include "elementary.h"

namespace notchwell {
namespace {

constexpr double kSettled = 0.01;
// The scan's step: at most this fraction of 1 / |p| of every pole whose
// term still counts (a sixth of a cycle of an oscillating one).
constexpr double kStepOfPole = 1;
constexpr int kMostSteps = 200000;

// A term's size at tau, its polynomial's coefficients taken by size.
double TermSize(const TransientTerm& t, double tau) {
  double poly = 0;
  for (int i = t.order - 1; i >= 0; --i) poly = poly * tau / (i + 1) + Magnitude(t.c[i]);
  return Exp(t.pole.re * tau) * poly;
}

// The terms of N(p) A / (D(p) B(p)) at the poles of D, for a numerator
// `n` of degree `n_degree` and B's own poles `others` (each simple).
void Expand(const TransferFunction& h, const Roots& poles, const Complex* others, int other_count, double scale,
            TimeResponse& r) {
  // N (1 + lag p): the real op-amps' closed-loop lag in the numerator.
  double n[5] = {h.numerator[0], h.numerator[1], h.numerator[2], h.numerator[3], 0};
  for (int i = 4; i >= 1; --i) n[i] += h.lag * n[i - 1];
  int n_degree = 4;
  while (n_degree > 0 && n[n_degree] == 0) --n_degree;
  int d_degree = 5;
  while (d_degree > 0 && h.denominator[d_degree] == 0) --d_degree;
  r.count = poles.count;
  r.stable = true;
  for (int k = 0; k < poles.count; ++k) {
    const Complex p = poles.root[k];
    const int m = poles.multiplicity[k];
    if (!(p.re < 0)) r.stable = false;
    // g(u) = F(p + u) u^m as a series in u to u^(m-1): N's Taylor
    // coefficients at p, divided by (u + p - q) for every other pole q.
    Complex g[kMostPoles] = {};
    Complex rest[5];
    for (int i = 0; i <= n_degree; ++i) rest[i] = {n[i], 0};
    for (int j = 0; j < m; ++j) {
      const int top = n_degree - j;
      if (top < 0) break;
      Complex carry = rest[top];
      for (int i = top - 1; i >= 0; --i) {
        const Complex next = rest[i] + p * carry;
        rest[i] = carry;
        carry = next;
      }
      g[j] = carry;  // the remainder: the j-th coefficient
    }
    const auto divide_by = [&](Complex d) {
      g[0] = g[0] / d;
      for (int j = 1; j < m; ++j) g[j] = (g[j] - g[j - 1]) / d;
    };
    for (int l = 0; l < poles.count; ++l) {
      if (l == k) continue;
      for (int copy = 0; copy < poles.multiplicity[l]; ++copy) divide_by(p - poles.root[l]);
    }
    for (int l = 0; l < other_count; ++l) divide_by(p - others[l]);
    const double lead = scale / h.denominator[d_degree];
    TransientTerm& t = r.terms[k];
    t.pole = p;
    t.order = m;
    for (int i = 0; i < m; ++i) t.c[i] = lead * g[m - 1 - i];
  }
  // Of a conjugate pair the one above the axis, twice: the output is the
  // real part of the sum, and each costs the same.
  int kept = 0;
  for (int k = 0; k < r.count; ++k) {
    TransientTerm& t = r.terms[k];
    bool paired = false;
    for (int j = 0; j < r.count && t.pole.im > 0; ++j) {
      const Complex other = r.terms[j].pole;
      paired = paired || (other.im < 0 && Magnitude(other - Complex{t.pole.re, -t.pole.im}) <= 1e-9 * Magnitude(other));
    }
    const bool mirror = t.pole.im < 0 && r.count > 1;
    bool has_partner = false;
    for (int j = 0; j < r.count && mirror; ++j) {
      const Complex other = r.terms[j].pole;
      has_partner =
          has_partner || (other.im > 0 && Magnitude(other - Complex{t.pole.re, -t.pole.im}) <= 1e-9 * Magnitude(other));
    }
    if (has_partner) continue;
    if (paired) {
      for (int i = 0; i < t.order; ++i) t.c[i] = 2.0 * t.c[i];
    }
    // How fast it moves, and until when it counts: past its peak and
    // below 1e-6.
    t.size = Magnitude(t.pole);
    const double sigma = -t.pole.re;
    double until = t.order / sigma;
    for (int i = 0; i < 400 && sigma > 0 && TermSize(t, until) > 1e-6; ++i) until *= 1.25;
    t.counts_until = sigma > 0 ? until : kLargestDouble;
    r.terms[kept++] = t;
  }
  r.count = kept;
}

// The transient at tau, and its slope where `slope` is given: over the
// terms, e^(p tau) times their polynomial in tau (the slope's
// coefficients p c[i] + c[i+1]).
double TermsAt(const TimeResponse& r, double tau, double* slope = nullptr) {
  double sum = 0, change = 0;
  for (int k = 0; k < r.count; ++k) {
    const TransientTerm& t = r.terms[k];
    const double size = Exp(t.pole.re * tau);
    if (size == 0) continue;
    Complex poly{0, 0}, moving{0, 0};
    for (int i = t.order - 1; i >= 0; --i) {
      poly = (tau / (i + 1)) * poly + t.c[i];
      moving = (tau / (i + 1)) * moving + t.pole * t.c[i] + (i + 1 < t.order ? t.c[i + 1] : Complex{0, 0});
    }
    double cosine, sine;
    CosSin(t.pole.im * tau, cosine, sine);
    sum += size * (poly.re * cosine - poly.im * sine);
    change += size * (moving.re * cosine - moving.im * sine);
  }
  if (slope) *slope = change;
  return sum;
}

// A bound on the transient from tau on, once every term has passed its
// peak (tau = (order - 1) / |Re p|): every term's size summed.
double Envelope(const TimeResponse& r, double tau) {
  double sum = 0;
  for (int k = 0; k < r.count; ++k) sum += TermSize(r.terms[k], tau);
  return sum;
}

// Where the envelope has fallen to `level` for good, or a negative value
// where that lies beyond `limit`.
double EnvelopeEnd(const TimeResponse& r, double level, double limit) {
  double tau = 0;
  double fastest = 0;
  for (int k = 0; k < r.count; ++k) {
    const double rising = (r.terms[k].order - 1) / -r.terms[k].pole.re;
    if (rising > tau) tau = rising;
    if (Magnitude(r.terms[k].pole) > fastest) fastest = Magnitude(r.terms[k].pole);
  }
  if (tau == 0) tau = 1 / fastest;
  while (Envelope(r, tau) > level) {
    if (tau >= limit) return -1;
    tau = tau * 1.25 < limit ? tau * 1.25 : limit;
  }
  return tau;
}

// Where the slope of the transient, + at a and - at b or the other way
// round, crosses zero: the extremum between them.
double ExtremumBetween(const TimeResponse& r, double a, double b) {
  double slope;
  TermsAt(r, a, &slope);
  const bool rising_at_a = slope > 0;
  // To 2^-24 of the step: the value there is the extremum's to some 1e-14.
  for (int i = 0; i < 24; ++i) {
    const double middle = a + (b - a) / 2;
    TermsAt(r, middle, &slope);
    ((slope > 0) == rising_at_a ? a : b) = middle;
  }
  return a + (b - a) / 2;
}

// The transient from `from` to `end` in steps short enough for every term
// that still counts to change little within one (a sixth of a cycle of
// an oscillating one): its lowest value, and the last stretch [above,
// below] where it leaves `level` (above < 0: nowhere).
struct Scan {
  double lowest;
  double above, below;
};
Scan ScanTransient(const TimeResponse& r, double from, double end, double level, double lowest_from) {
  const double shortest = (end - from) / kMostSteps;
  double a = from, sa, ea = TermsAt(r, a, &sa);
  Scan scan{a >= lowest_from ? ea : kLargestDouble, -1, 0};
  while (a < end) {
    double fastest = 0;
    for (int k = 0; k < r.count; ++k) {
      if (a < r.terms[k].counts_until && r.terms[k].size > fastest) fastest = r.terms[k].size;
    }
    const double step = fastest > 0 && kStepOfPole / fastest > shortest ? kStepOfPole / fastest : shortest;
    double b = a + step < end ? a + step : end;
    if (a < lowest_from && b > lowest_from) b = lowest_from;  // where the lowest starts to count
    double sb;
    const double eb = TermsAt(r, b, &sb);
    const double bigger = Abs(ea) > Abs(eb) ? Abs(ea) : Abs(eb);
    if (b >= lowest_from && eb < scan.lowest) scan.lowest = eb;
    if (Abs(ea) > level && Abs(eb) <= level) scan.above = a, scan.below = b;
    // An extremum between a and b that could reach past the level or
    // below the lowest yet.
    const double steepest = Abs(sa) > Abs(sb) ? Abs(sa) : Abs(sb);
    const bool may_be_lowest = a >= lowest_from && sa < 0 && (ea < eb ? ea : eb) - (b - a) * steepest < scan.lowest;
    if ((sa > 0) != (sb > 0) && ((bigger <= level && bigger > level / 2) || may_be_lowest)) {
      const double peak = ExtremumBetween(r, a, b);
      const double e = TermsAt(r, peak);
      if (e < scan.lowest) scan.lowest = e;
      if (bigger <= level && Abs(e) > level) scan.above = peak, scan.below = b;
    }
    a = b, ea = eb, sa = sb;
  }
  return scan;
}

bool IsFinite(double x) { return x - x == 0; }

// A response whose poles or residues did not come out finite (a circuit
// whose parts lie too many decades apart for a double to hold it) has no
// time response to give: none that settles, and its output 0.
void KeepFinite(TimeResponse& r) {
  bool finite = IsFinite(r.final_value) && IsFinite(r.h_at_w.re) && IsFinite(r.h_at_w.im);
  for (int k = 0; k < r.count; ++k) {
    const TransientTerm& t = r.terms[k];
    finite = finite && IsFinite(t.pole.re) && IsFinite(t.pole.im);
    for (int i = 0; i < t.order; ++i) finite = finite && IsFinite(t.c[i].re) && IsFinite(t.c[i].im);
  }
  if (finite) return;
  r.stable = false;
  r.count = 0;
  r.final_value = 0;
  r.h_at_w = {0, 0};
}

}  // namespace

Roots PolesOf(const TransferFunction& h) {
  int degree = 5;
  while (degree > 0 && h.denominator[degree] == 0) --degree;
  return RootsOf(h.denominator, degree);
}

TimeResponse StepResponseOf(const TransferFunction& h, const Roots& poles) {
  TimeResponse r{};
  const Complex origin{0, 0};
  Expand(h, poles, &origin, 1, 1, r);
  r.omega_ref = h.omega_ref;
  r.final_value = h.numerator[0] / h.denominator[0];
  KeepFinite(r);
  return r;
}

TimeResponse SineResponseOf(const TransferFunction& h, const Roots& poles, double hertz) {
  TimeResponse r{};
  r.w = hertz * (2 * kPi) / h.omega_ref;
  const Complex input_poles[2] = {{0, r.w}, {0, -r.w}};
  Expand(h, poles, input_poles, 2, r.w, r);
  r.omega_ref = h.omega_ref;
  r.sine = true;
  const Complex jw{0, r.w};
  r.h_at_w = PolynomialAt(h.numerator, 3, jw) * Complex{1, h.lag * r.w} / PolynomialAt(h.denominator, 5, jw);
  KeepFinite(r);
  return r;
}

double TransientAt(const TimeResponse& r, double seconds) { return TermsAt(r, seconds * r.omega_ref); }

double OutputAt(const TimeResponse& r, double seconds) {
  const double tau = seconds * r.omega_ref;
  double steady = r.final_value;
  if (r.sine) {
    double cosine, sine;
    CosSin(r.w * tau, cosine, sine);
    steady = r.h_at_w.re * sine + r.h_at_w.im * cosine;
  }
  return steady + TermsAt(r, tau);
}

Settling SettlingTime(const TimeResponse& r, double limit_seconds, double lowest_from_seconds) {
  Settling s{false, 0, 0};
  if (!r.stable) return s;
  const double limit = limit_seconds * r.omega_ref;
  const double end = EnvelopeEnd(r, kSettled, limit);
  if (end < 0) return s;
  s.found = true;
  const double lowest_from = lowest_from_seconds * r.omega_ref;
  Scan scan = ScanTransient(r, 0, end > lowest_from ? end : lowest_from, kSettled, lowest_from);
  // From the end on the transient stays within 0.01: only a lowest yet
  // above -0.01 can be beaten there.
  if (scan.lowest > -kSettled) {
    const double further = EnvelopeEnd(r, 1e-4, limit);
    const double from = end > lowest_from ? end : lowest_from;
    if (further > from) {
      const double lowest = ScanTransient(r, from, further, kLargestDouble, from).lowest;
      if (lowest < scan.lowest) scan.lowest = lowest;
    }
  }
  s.lowest = r.final_value + scan.lowest;
  if (scan.above < 0) return s;  // within 0.01 from the start
  for (int i = 0; i < 80 && scan.below - scan.above > 1e-12 * scan.below; ++i) {
    const double middle = scan.above + (scan.below - scan.above) / 2;
    (Abs(TermsAt(r, middle)) > kSettled ? scan.above : scan.below) = middle;
  }
  s.seconds = (scan.above + (scan.below - scan.above) / 2) / r.omega_ref;
  return s;
}

}  // namespace notchwell
