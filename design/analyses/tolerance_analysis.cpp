#include "tolerance_analysis.h"

#include <cstdint>

#include "band_rejection.h"
#include "elementary.h"
#include "notch_search.h"

namespace notchwell {
namespace {

constexpr int kParts = 8;
constexpr std::uint64_t kSeed = 0x6e6f746368776c6cull;

// SplitMix64: integer arithmetic only, so every target draws the same
// builds. Its state steps by a constant, so any draw can be had at once:
// build n's part i is draw 8 n + i.
constexpr std::uint64_t kGamma = 0x9e3779b97f4a7c15ull;
std::uint64_t Draw(std::uint64_t index) {
  std::uint64_t z = kSeed + (index + 1) * kGamma;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

// Uniform in [-1, 1).
double RandomSpread(std::uint64_t index) {
  return static_cast<double>(static_cast<std::int64_t>(Draw(index) >> 11)) * (2.0 / 9007199254740992.0) - 1;
}

// The nominal parts, each scaled by its factor.
TwinTParts Scaled(const TwinTParts& nominal, const double (&factors)[kParts]) {
  TwinTParts p = nominal;
  double* const parts[kParts] = {&p.r1, &p.r2, &p.r3a, &p.r3b, &p.c1, &p.c2, &p.c3a, &p.c3b};
  for (int i = 0; i < kParts; ++i) *parts[i] *= factors[i];
  return p;
}

// The response of the nominal circuit with other parts, referred to the
// nominal R1 and C1.
TransferFunction ResponseWith(const TwinTCircuit& nominal, const TwinTParts& parts) {
  TwinTCircuit c = nominal;
  c.parts = parts;
  return TransferFunctionOf(c, nominal.parts.r1, nominal.parts.c1);
}

// The figure at least 90 % of the random builds reach is the
// (n - ceil(0.9 n) + 1)-th smallest of theirs: the 201st of 2000.
constexpr int kReached = kRandomBuilds - (kRandomBuilds * 9 + 9) / 10;

// The random builds' responses, each coefficient's builds side by side,
// so that the levels of all of them at one frequency come out of one
// plain loop. They share the nominal build's omega_ref, and with real
// op-amps its lag.
struct Responses {
  double numerator[4][kRandomBuilds];
  double denominator[6][kRandomBuilds];
  double lag;
};

// Nearest ranks of 2000: the 5th percentile is the 100th smallest, the
// 95th the 1900th, which 101 builds reach or pass.
constexpr int kBelowLow = (kRandomBuilds * 5 + 99) / 100;
constexpr int kFromHigh = kRandomBuilds - (kRandomBuilds * 95 + 99) / 100 + 1;

// The same with real op-amps: |N|^2 |1 + lag p|^2 / |D|^2 with D of fifth
// degree, as QuinticPowerRatio gives it; the lag's factor is the same for
// every build.
void QuinticPowerRatios(const Responses& r, double x, double* out) {
  const double(&n)[4][kRandomBuilds] = r.numerator;
  const double(&d)[6][kRandomBuilds] = r.denominator;
  if (x > 1) {
    const double inverse = 1 / x;
    const double lag = (inverse + r.lag * r.lag) * inverse;
    for (int b = 0; b < kRandomBuilds; ++b) {
      const double n_real = n[0][b] * inverse - n[2][b];
      const double n_imaginary = n[1][b] * inverse - n[3][b];
      const double d_real = (d[0][b] * inverse - d[2][b]) * inverse + d[4][b];
      const double d_imaginary = (d[1][b] * inverse - d[3][b]) * inverse + d[5][b];
      out[b] = (n_real * n_real * inverse + n_imaginary * n_imaginary) * lag /
               (d_real * d_real * inverse + d_imaginary * d_imaginary);
    }
    return;
  }
  const double lag = 1 + r.lag * r.lag * x;
  for (int b = 0; b < kRandomBuilds; ++b) {
    const double n_real = n[0][b] - n[2][b] * x;
    const double n_imaginary = n[1][b] - n[3][b] * x;
    const double d_real = d[0][b] - (d[2][b] - d[4][b] * x) * x;
    const double d_imaginary = d[1][b] - (d[3][b] - d[5][b] * x) * x;
    out[b] =
        (n_real * n_real + x * (n_imaginary * n_imaginary)) * lag / (d_real * d_real + x * (d_imaginary * d_imaginary));
  }
}

// |H|^2 of every build at x, |N|^2 / |D|^2 as PowerRatio gives it, in one
// loop without branches.
void PowerRatios(const Responses& r, double x, double* out) {
  const double(&n)[4][kRandomBuilds] = r.numerator;
  const double(&d)[6][kRandomBuilds] = r.denominator;
  if (r.lag != 0) {
    QuinticPowerRatios(r, x, out);
  } else if (x > 1) {
    const double inverse = 1 / x;
    for (int b = 0; b < kRandomBuilds; ++b) {
      const double n_real = n[0][b] * inverse - n[2][b];
      const double n_imaginary = n[1][b] * inverse - n[3][b];
      const double d_real = d[0][b] * inverse - d[2][b];
      const double d_imaginary = d[1][b] * inverse - d[3][b];
      out[b] = (n_real * n_real * inverse + n_imaginary * n_imaginary) /
               (d_real * d_real * inverse + d_imaginary * d_imaginary);
    }
  } else {
    for (int b = 0; b < kRandomBuilds; ++b) {
      const double n_real = n[0][b] - n[2][b] * x;
      const double n_imaginary = n[1][b] - n[3][b] * x;
      const double d_real = d[0][b] - d[2][b] * x;
      const double d_imaginary = d[1][b] - d[3][b] * x;
      out[b] =
          (n_real * n_real + x * (n_imaginary * n_imaginary)) / (d_real * d_real + x * (d_imaginary * d_imaginary));
    }
  }
}

// The builds whose sign * level are the K smallest at the last frequency
// a band point looked at. From one point to the next few builds change
// places, so the largest of their new keys bounds the K-th smallest
// closely: only the builds at or below it need sorting out.
template <int K>
struct Tail {
  int members[K];
  bool known;
  double sign;

  double KthSmallest(const double* levels);
};

// The random builds' working arrays, some hundred kilobytes: in one place
// of static storage, since the WebAssembly module's stack holds 16 KiB.
struct Workspace {
  Responses responses;
  double levels[kRandomBuilds];
  // |H|^2 at each build's notch (1 for a build without one) and at Fo:
  // chosen among as they are, and only the one chosen turned into dB.
  double notch_ratios[kRandomBuilds];
  double fo_ratios[kRandomBuilds];
  double band_ratios[kRandomBuilds];
  // The tails' scratch: the keys at or below the bound, sorted in place.
  double keys[kRandomBuilds];
  double sorted[kRandomBuilds];
  int candidates[kRandomBuilds];
  Tail<kBelowLow> low;
  Tail<kFromHigh> high;
};
Workspace g_work;

void Keep(int n, const TransferFunction& h) {
  for (int i = 0; i < 4; ++i) g_work.responses.numerator[i][n] = h.numerator[i];
  for (int i = 0; i < 6; ++i) g_work.responses.denominator[i][n] = h.denominator[i];
  g_work.responses.lag = h.lag;
}

template <int K>
double Tail<K>::KthSmallest(const double* levels) {
  double* const keys = g_work.keys;
  double* const sorted = g_work.sorted;
  int* const candidates = g_work.candidates;
  double bound = kLargestDouble;
  if (known) {
    bound = sign * levels[members[0]];
    for (const int m : members) bound = sign * levels[m] > bound ? sign * levels[m] : bound;
  }
  int count = 0;
  for (int n = 0; n < kRandomBuilds; ++n) {
    const double key = sign * levels[n];
    if (key > bound) continue;
    keys[count] = sorted[count] = key;
    candidates[count++] = n;
  }
  const double kth = NthSmallest(sorted, 0, count, K - 1);
  // The members for the next point: below the K-th, then level with it.
  int kept = 0;
  for (int i = 0; i < count && kept < K; ++i) {
    if (keys[i] < kth) members[kept++] = candidates[i];
  }
  for (int i = 0; i < count && kept < K; ++i) {
    if (keys[i] == kth) members[kept++] = candidates[i];
  }
  known = true;
  return kth;
}

void FillBand(const SpreadBand& band, double omega_ref) {
  double* const levels = g_work.levels;
  Tail<kBelowLow>& low = g_work.low;
  Tail<kFromHigh>& high = g_work.high;
  low = {{}, false, 1};
  high = {{}, false, -1};
  for (int point = 0; point < band.points; ++point) {
    const double y = band.hertz[point] * (2 * kPi) / omega_ref;
    const double x = y * y;
    PowerRatios(g_work.responses, x, levels);
    band.low_db[point] = PowerRatioToDecibels(low.KthSmallest(levels));
    band.high_db[point] = PowerRatioToDecibels(-high.KthSmallest(levels));
  }
}

}  // namespace

TwinTParts CornerParts(const TwinTParts& nominal, double r_tolerance, double c_tolerance, int corner) {
  double factors[kParts];
  for (int i = 0; i < kParts; ++i) {
    const double tolerance = i < 4 ? r_tolerance : c_tolerance;
    factors[i] = corner & (1 << i) ? 1 + tolerance : 1 - tolerance;
  }
  return Scaled(nominal, factors);
}

TwinTParts RandomParts(const TwinTParts& nominal, double r_tolerance, double c_tolerance, int n) {
  double factors[kParts];
  for (int i = 0; i < kParts; ++i) {
    factors[i] = 1 + (i < 4 ? r_tolerance : c_tolerance) * RandomSpread(static_cast<std::uint64_t>(n) * kParts + i);
  }
  return Scaled(nominal, factors);
}

CornerSpread SpreadAtCorners(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance) {
  CornerSpread spread{false, 0, 0, 0};
  for (int corner = 0; corner < kCornerBuilds; ++corner) {
    const TransferFunction h = ResponseWith(nominal, CornerParts(nominal.parts, r_tolerance, c_tolerance, corner));
    const Notch notch = FindNotch(h);
    if (!notch.found) {
      ++spread.without_notch;
      continue;
    }
    const double hertz = HertzAt(h, notch.x);
    if (!spread.found || hertz < spread.fo_low_hertz) spread.fo_low_hertz = hertz;
    if (!spread.found || hertz > spread.fo_high_hertz) spread.fo_high_hertz = hertz;
    spread.found = true;
  }
  return spread;
}

RandomBuilds AnalyseRandomBuilds(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance, double fo_hertz,
                                 double band_fraction, const SpreadBand* band) {
  double* const notch_ratios = g_work.notch_ratios;
  double* const fo_ratios = g_work.fo_ratios;
  double* const band_ratios = g_work.band_ratios;
  RandomBuilds result{0, 0, 0, 0};
  for (int n = 0; n < kRandomBuilds; ++n) {
    const TransferFunction h = ResponseWith(nominal, RandomParts(nominal.parts, r_tolerance, c_tolerance, n));
    const Notch notch = FindNotch(h, kDepthWidth);
    if (!notch.found) ++result.without_notch;
    // A notch lies below the level far from it, which is at most 1.
    notch_ratios[n] = notch.found ? notch.power_ratio : 1;
    fo_ratios[n] = PowerRatioAtHertz(h, fo_hertz);
    band_ratios[n] = BandPowerRatio(h, fo_hertz, band_fraction);
    if (band) Keep(n, h);
  }
  // The depth (or rejection) at least 90 % reach, -dB of |H|^2, falls as
  // |H|^2 rises: it is the one of the build with the kReached-th largest
  // |H|^2. A build without a notch counts as 0 dB deep.
  const double notch_ratio = NthSmallest(notch_ratios, 0, kRandomBuilds, kRandomBuilds - 1 - kReached);
  result.depth_90_db = notch_ratio == 1 ? 0 : -PowerRatioToDecibels(notch_ratio);
  result.reject_90_db = -PowerRatioToDecibels(NthSmallest(fo_ratios, 0, kRandomBuilds, kRandomBuilds - 1 - kReached));
  result.band_reject_90_db =
      -PowerRatioToDecibels(NthSmallest(band_ratios, 0, kRandomBuilds, kRandomBuilds - 1 - kReached));
  if (band) FillBand(*band, 1 / (nominal.parts.r1 * nominal.parts.c1));
  return result;
}

double RandomBuildsBandReject90Db(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance, double fo_hertz,
                                  double band_fraction) {
  double* const band_ratios = g_work.band_ratios;
  for (int n = 0; n < kRandomBuilds; ++n) {
    const TransferFunction h = ResponseWith(nominal, RandomParts(nominal.parts, r_tolerance, c_tolerance, n));
    band_ratios[n] = BandPowerRatio(h, fo_hertz, band_fraction);
  }
  return -PowerRatioToDecibels(NthSmallest(band_ratios, 0, kRandomBuilds, kRandomBuilds - 1 - kReached));
}

}  // namespace notchwell
