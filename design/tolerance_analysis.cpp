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

// The notch of the nominal build with each part scaled by its factor: R1,
// R2, R3a, R3b, C1, C2, C3a, C3b.
struct VariedBuild {
  TransferFunction h;
  Notch notch;
};
VariedBuild Varied(const TwinTCircuit& nominal, const double (&factors)[kParts]) {
  TwinTCircuit c = nominal;
  double* const parts[kParts] = {&c.parts.r1, &c.parts.r2, &c.parts.r3a, &c.parts.r3b,
                                 &c.parts.c1, &c.parts.c2, &c.parts.c3a, &c.parts.c3b};
  for (int i = 0; i < kParts; ++i) *parts[i] *= factors[i];
  VariedBuild build;
  build.h = TransferFunctionOf(c, nominal.parts.r1, nominal.parts.c1);
  build.notch = FindNotch(build.h);
  return build;
}

}  // namespace

CornerSpread SpreadAtCorners(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance) {
  CornerSpread spread{false, 0, 0, 0};
  double factors[kParts];
  for (int corner = 0; corner < kCornerBuilds; ++corner) {
    for (int i = 0; i < kParts; ++i) {
      const double tolerance = i < 4 ? r_tolerance : c_tolerance;
      factors[i] = corner & (1 << i) ? 1 + tolerance : 1 - tolerance;
    }
    const VariedBuild build = Varied(nominal, factors);
    if (!build.notch.found) {
      ++spread.without_notch;
      continue;
    }
    const double hertz = HertzAt(build.h, build.notch.x);
    if (!spread.found || hertz < spread.fo_low_hertz) spread.fo_low_hertz = hertz;
    if (!spread.found || hertz > spread.fo_high_hertz) spread.fo_high_hertz = hertz;
    spread.found = true;
  }
  return spread;
}

RandomDepth DepthOfRandomBuilds(const TwinTCircuit& nominal, double r_tolerance, double c_tolerance) {
  // The depth that at least 90 % reach is the (n - ceil(0.9 n) + 1)-th
  // smallest; only that many of the smallest depths are kept, in order.
  constexpr int kKept = kRandomBuilds - (kRandomBuilds * 9 + 9) / 10 + 1;
  double smallest[kKept];
  int kept = 0;
  RandomDepth result{0, 0};
  double factors[kParts];
  std::uint64_t state = kSeed;
  for (int n = 0; n < kRandomBuilds; ++n) {
    for (int i = 0; i < kParts; ++i) factors[i] = 1 + (i < 4 ? r_tolerance : c_tolerance) * RandomSpread(state);
    const VariedBuild build = Varied(nominal, factors);
    if (!build.notch.found) ++result.without_notch;
    const double depth = build.notch.found ? -PowerRatioToDecibels(build.notch.power_ratio) : 0;
    if (kept == kKept && depth >= smallest[kKept - 1]) continue;
    int i = kept < kKept ? kept++ : kKept - 1;
    for (; i > 0 && smallest[i - 1] > depth; --i) smallest[i] = smallest[i - 1];
    smallest[i] = depth;
  }
  result.depth_90_db = smallest[kKept - 1];
  return result;
}

}  // namespace notchwell
