#include "tolerance_analysis.h"

#include <cstdint>

#include "elementary.h"
#include "notch_search.h"

namespace notchwell {
namespace {

constexpr int kParts = 8;
constexpr std::uint64_t kSeed = 0x6e6f746368776c6cull;

// SplitMix64: integer arithmetic only, so every target draws the same builds.
std::uint64_t NextRandom(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

// Uniform in [-1, 1).
double RandomSpread(std::uint64_t& state) {
  return static_cast<double>(static_cast<std::int64_t>(NextRandom(state) >> 11)) * (2.0 / 9007199254740992.0) - 1;
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

// The smallest `kKept` of a stream of numbers, in order: the figure at
// least 90 % of the random builds reach is the (n - ceil(0.9 n) + 1)-th
// smallest.
constexpr int kKept = kRandomBuilds - (kRandomBuilds * 9 + 9) / 10 + 1;
struct Smallest {
  double values[kKept];
  int kept;

  void Add(double value) {
    if (kept == kKept && value >= values[kKept - 1]) return;
    int i = kept < kKept ? kept++ : kKept - 1;
    for (; i > 0 && values[i - 1] > value; --i) values[i] = values[i - 1];
    values[i] = value;
  }
};

// Room for the random builds' responses while the band is drawn.
TransferFunction g_responses[kRandomBuilds];
double g_levels[kRandomBuilds];

void FillBand(const SpreadBand& band) {
  // Nearest ranks: the 100th and the 1900th of 2000.
  constexpr int kLow = (kRandomBuilds * 5 + 99) / 100 - 1;
  constexpr int kHigh = (kRandomBuilds * 95 + 99) / 100 - 1;
  for (int point = 0; point < band.points; ++point) {
    const double hertz = band.hertz[point];
    for (int n = 0; n < kRandomBuilds; ++n) g_levels[n] = PowerRatioAtHertz(g_responses[n], hertz);
    band.low_db[point] = PowerRatioToDecibels(NthSmallest(g_levels, 0, kRandomBuilds, kLow));
    band.high_db[point] = PowerRatioToDecibels(NthSmallest(g_levels, kLow + 1, kRandomBuilds, kHigh));
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
  static Smallest depths;
  static Smallest rejections;
  depths.kept = 0;
  rejections.kept = 0;
  RandomBuilds result{0, 0, 0};
  double factors[kParts];
  std::uint64_t state = kSeed;
  for (int n = 0; n < kRandomBuilds; ++n) {
    for (int i = 0; i < kParts; ++i) factors[i] = 1 + (i < 4 ? r_tolerance : c_tolerance) * RandomSpread(state);
    const TransferFunction h = ResponseWith(nominal, Scaled(nominal.parts, factors));
    const Notch notch = FindNotch(h);
    if (!notch.found) ++result.without_notch;
    depths.Add(notch.found ? -PowerRatioToDecibels(notch.power_ratio) : 0);
    rejections.Add(-PowerRatioToDecibels(PowerRatioAtHertz(h, fo_hertz)));
    if (band) g_responses[n] = h;
  }
  result.depth_90_db = depths.values[kKept - 1];
  result.reject_90_db = rejections.values[kKept - 1];
  if (band) FillBand(*band);
  return result;
}

}  // namespace notchwell
