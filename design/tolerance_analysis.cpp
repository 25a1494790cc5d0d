#include "tolerance_analysis.h"

#include <cstdint>

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
// plain loop. They share the nominal build's omega_ref.
struct Responses {
  double numerator[4][kRandomBuilds];
  double denominator[4][kRandomBuilds];
};

// Nearest ranks of 2000: the 5th percentile is the 100th smallest, the
// 95th the 1900th, which 101 builds reach or pass.
constexpr int kBelowLow = (kRandomBuilds * 5 + 99) / 100;
constexpr int kFromHigh = kRandomBuilds - (kRandomBuilds * 95 + 99) / 100 + 1;

// |N|^2 or |D|^2 of every build at x, as SquaredMagnitude gives it, in a
// loop without branches.
void SquaredMagnitudes(const double (&c)[4][kRandomBuilds], double x, double* out) {
  if (x > 1) {
    const double inverse = 1 / x;
    for (int n = 0; n < kRandomBuilds; ++n) {
      const double real = c[0][n] * inverse - c[2][n];
      const double imaginary = c[1][n] * inverse - c[3][n];
      out[n] = real * real * inverse + imaginary * imaginary;
    }
  } else {
    for (int n = 0; n < kRandomBuilds; ++n) {
      const double real = c[0][n] - c[2][n] * x;
      const double imaginary = c[1][n] - c[3][n] * x;
      out[n] = real * real + x * (imaginary * imaginary);
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
  double denominators[kRandomBuilds];
  double depths[kRandomBuilds];
  double rejections[kRandomBuilds];
  // The tails' scratch: the keys at or below the bound, sorted in place.
  double keys[kRandomBuilds];
  double sorted[kRandomBuilds];
  int candidates[kRandomBuilds];
  Tail<kBelowLow> low;
  Tail<kFromHigh> high;
};
Workspace g_work;

void Keep(int n, const TransferFunction& h) {
  for (int i = 0; i < 4; ++i) {
    g_work.responses.numerator[i][n] = h.numerator[i];
    g_work.responses.denominator[i][n] = h.denominator[i];
  }
}

template <int K>
double Tail<K>::KthSmallest(const double* levels) {
  double* const keys = g_work.keys;
  double* const sorted = g_work.sorted;
  int* const candidates = g_work.candidates;
  double bound = 1.7976931348623157e308;
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
  double* const denominators = g_work.denominators;
  double* const levels = g_work.levels;
  Tail<kBelowLow>& low = g_work.low;
  Tail<kFromHigh>& high = g_work.high;
  low = {{}, false, 1};
  high = {{}, false, -1};
  for (int point = 0; point < band.points; ++point) {
    const double y = band.hertz[point] * (2 * kPi) / omega_ref;
    const double x = y * y;
    SquaredMagnitudes(g_work.responses.numerator, x, levels);
    SquaredMagnitudes(g_work.responses.denominator, x, denominators);
    for (int n = 0; n < kRandomBuilds; ++n) levels[n] /= denominators[n];
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
                                 const SpreadBand* band) {
  double* const depths = g_work.depths;
  double* const rejections = g_work.rejections;
  RandomBuilds result{0, 0, 0};
  for (int n = 0; n < kRandomBuilds; ++n) {
    const TransferFunction h = ResponseWith(nominal, RandomParts(nominal.parts, r_tolerance, c_tolerance, n));
    const Notch notch = FindNotch(h, kDepthWidth);
    if (!notch.found) ++result.without_notch;
    depths[n] = notch.found ? -PowerRatioToDecibels(notch.power_ratio) : 0;
    rejections[n] = -PowerRatioToDecibels(PowerRatioAtHertz(h, fo_hertz));
    if (band) Keep(n, h);
  }
  result.depth_90_db = NthSmallest(depths, 0, kRandomBuilds, kReached);
  result.reject_90_db = NthSmallest(rejections, 0, kRandomBuilds, kReached);
  if (band) FillBand(*band, 1 / (nominal.parts.r1 * nominal.parts.c1));
  return result;
}

}  // namespace notchwell
