// What the panel says about the form's Fo itself, against closed forms and
// brute force: the null conditions, the values one or two standard parts
// give, the trimmers, a build of measured parts, the harmonics and the
// drift with temperature.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "design_test_support.h"
#include "elementary.h"
#include "notch_search.h"
#include "null_conditions.h"
#include "pair_search.h"
#include "part_ranges.h"
#include "tolerance_analysis.h"
#include "trimmer_choice.h"
#include "two_part_values.h"

namespace {

using namespace notchwell;

double LevelDbOf(const TransferFunction& h, double hertz) { return 10 * std::log10(PowerRatioAtHertz(h, hertz)); }

// --- Where any build nulls -------------------------------------------------

struct Unequal {
  TwinTParts parts;
  double source, load, q;
};

class NullConditions : public testing::TestWithParam<Unequal> {};

// R1 and R3 from the conditions null the build at 50 Hz, whatever its
// other parts, source, load and feedback: 200 dB and more below the level
// far from the notch.
TEST_P(NullConditions, NullTheBuildWhereverItsOtherPartsLie) {
  const Unequal u = GetParam();
  TwinTParts parts = u.parts;
  const NullingResistors n = NullingResistorsAt(parts, 50);
  parts.r1 = n.r1;
  parts.r3a = parts.r3b = 2 * n.r3;
  const TwinTCircuit circuit{parts, u.source, u.load, u.q > 0, u.q > 0 ? FeedbackForQ(u.q) : 0};
  const TransferFunction h = TransferFunctionOf(circuit, parts.r2, parts.c1);
  EXPECT_LT(LevelDbOf(h, 50) - 10 * std::log10(PowerRatioAtZero(h)), -200);
}

INSTANTIATE_TEST_SUITE_P(
    Builds, NullConditions,
    testing::Values(Unequal{BalancedParts(33e3, 100e-9), 0, 0, 0},
                    Unequal{{34e3, 32.1e3, 30e3, 36e3, 95e-9, 104e-9, 99e-9, 106e-9}, 600, 10e3, 0},
                    Unequal{{1e3, 3e3, 500, 800, 1e-6, 200e-9, 1e-6, 2e-6}, 0, 47, 0},
                    Unequal{{33.2e3, 32.9e3, 32.8e3, 32.8e3, 98.7e-9, 101.9e-9, 102.2e-9, 102.2e-9}, 600, 0, 10}));

TEST(NullConditions, GiveTheBalancedNetworkAtItsOwnFo) {
  const NullingResistors n = NullingResistorsAt(BalancedParts(10e3, 10e-9), BalancedNotchHertz(10e3, 10e-9));
  EXPECT_NEAR(n.r1, 10e3, 1e-8);
  EXPECT_NEAR(n.r3, 5e3, 1e-8);
}

// --- One or two standard parts ---------------------------------------------

std::string PartsText(const PartCombination& p) {
  char text[80];
  const char* const connections[] = {"", "series:", "parallel:"};
  if (p.connection == Connection::Single) {
    std::snprintf(text, sizeof text, "%.12g", p.a);
  } else {
    std::snprintf(text, sizeof text, "%s%.12g,%.12g", connections[static_cast<int>(p.connection)], p.a, p.b);
  }
  return text;
}

struct Wanted {
  ESeries series;
  PartKind kind;
  double ideal;
  const char* parts;  // as found, where known
};

class TwoParts : public testing::TestWithParam<Wanted> {};

// Nothing nearer among every single part and every pair of the standard
// range, each way connected.
TEST_P(TwoParts, FindTheNearestOfEveryPair) {
  const Wanted w = GetParam();
  const bool resistor = w.kind == PartKind::Resistor;
  std::vector<double> values;
  for (int i = 0; SeriesValue(w.series, {i, -16}) <= (resistor ? kResistorHighest : kCapacitorHighest); ++i) {
    const double v = SeriesValue(w.series, {i, -16});
    if (v >= (resistor ? kResistorLowest : kCapacitorLowest)) values.push_back(v);
  }
  double nearest = INFINITY;
  for (std::size_t i = 0; i < values.size(); ++i) {
    nearest = std::fmin(nearest, std::fabs(values[i] - w.ideal));
    for (std::size_t j = i; j < values.size(); ++j) {
      for (const Connection c : {Connection::Series, Connection::Parallel}) {
        nearest = std::fmin(nearest, std::fabs(CombinedValue(w.kind, c, values[i], values[j]) - w.ideal));
      }
    }
  }
  const PartCombination found = NearestCombination(w.series, w.kind, w.ideal);
  EXPECT_NEAR(std::fabs(found.value - w.ideal), nearest, 1e-12 * w.ideal);
  EXPECT_EQ(found.value, CombinedValue(w.kind, found.connection, found.a, found.b));
  if (*w.parts) {
    EXPECT_EQ(PartsText(found), w.parts);
  }
}

INSTANTIATE_TEST_SUITE_P(Positions, TwoParts,
                         testing::Values(Wanted{ESeries::E24, PartKind::Resistor, 31830.98862, "parallel:33000,910000"},
                                         Wanted{ESeries::E24, PartKind::Resistor, 15915.49431,
                                                "parallel:16000,3000000"},
                                         Wanted{ESeries::E12, PartKind::Capacitor, 100e-9, "1e-07"},
                                         Wanted{ESeries::E12, PartKind::Capacitor, 200e-9, "parallel:1e-07,1e-07"},
                                         Wanted{ESeries::E96, PartKind::Resistor, 1234.5678, ""},
                                         Wanted{ESeries::E6, PartKind::Capacitor, 3.1831e-9, ""},
                                         Wanted{ESeries::E12, PartKind::Resistor, 0.7, "parallel:1,2.2"},
                                         Wanted{ESeries::E6, PartKind::Capacitor, 1.5e-3, "parallel:0.00047,0.001"},
                                         Wanted{ESeries::E48, PartKind::Resistor, 7.3e7, ""}));

// --- Trimmers --------------------------------------------------------------

// The 50 Hz build of 33 kOhm and 100 nF, 1 % and 5 %: every corner build
// nulls within what the fixed part and the trimmer reach, whichever way
// their own tolerances go, and no larger fixed part or smaller trimmer
// would do.
TEST(Trimmers, ReachEveryCornerBuildFromAFixedPartBelow) {
  const TrimRanges ranges = TrimRangesAt(BalancedParts(33e3, 100e-9), 0.01, 0.05, 50);
  const double lows[] = {ranges.r1_low, ranges.r3_low}, highs[] = {ranges.r1_high, ranges.r3_high};
  for (int i = 0; i < 2; ++i) {
    const FixedAndTrimmer t = ChooseFixedAndTrimmer(ESeries::E24, 0.01, lows[i], highs[i]);
    ASSERT_TRUE(t.found);
    EXPECT_LE(t.fixed * 1.01, lows[i]);
    EXPECT_GE(t.fixed * 0.99 + 0.8 * t.trimmer, highs[i]);
    EXPECT_GT(NeighboursIn(ESeries::E24, t.fixed * 1.001).above * 1.01, lows[i]) << "the next value up";
    EXPECT_LT(t.fixed * 0.99 + 0.8 * t.trimmer / (t.trimmer == 1e4 ? 2 : 2.5), highs[i]) << "the next trimmer down";
  }
  EXPECT_EQ(ChooseFixedAndTrimmer(ESeries::E24, 0.01, lows[0], highs[0]).fixed, 27e3);
  EXPECT_EQ(ChooseFixedAndTrimmer(ESeries::E24, 0.01, lows[0], highs[0]).trimmer, 10e3);
  for (int corner = 0; corner < kCornerBuilds; ++corner) {
    const NullingResistors n = NullingResistorsAt(CornerParts(BalancedParts(33e3, 100e-9), 0.01, 0.05, corner), 50);
    ASSERT_TRUE(n.r1 >= ranges.r1_low && n.r1 <= ranges.r1_high && n.r3 >= ranges.r3_low && n.r3 <= ranges.r3_high);
  }
  // Below the smallest standard resistor, or beyond the largest trimmer.
  EXPECT_FALSE(ChooseFixedAndTrimmer(ESeries::E24, 0.01, 0.9, 1.2).found);
  EXPECT_FALSE(ChooseFixedAndTrimmer(ESeries::E24, 0.01, 1e3, 2e7).found);
}

// --- The report at the form's Fo -------------------------------------------

// 50 Hz from 100 nf with the panel's defaults.
TEST(AtFo, TheHumFilterAsBuiltAndAsMeasured) {
  static DesignReport report;
  DesignInputs inputs = Inputs(31830.988, 100e-9, 50);
  inputs.measured = true;
  inputs.measured_parts = {33.2e3, 32.9e3, 16.4e3, 98.7e-9, 101.9e-9, 204.4e-9};
  MakeDesignReport(inputs, report);
  // The nearest build notches at 48.23 Hz: at 50 Hz (y = 50 / 48.23), H =
  // (1 - y^2) / (1 - y^2 + 4jy).
  const double y = 50 / BalancedNotchHertz(33e3, 100e-9);
  const double closed = std::pow(1 - y * y, 2) / (std::pow(1 - y * y, 2) + 16 * y * y);
  EXPECT_NEAR(Figured(report, Figure::BuildReject), -10 * std::log10(closed), 1e-9);
  EXPECT_NEAR(Figured(report, Figure::Reject90), 30.8, 0.5);
  EXPECT_NEAR(Figured(report, Figure::ExactReject), 75.2, 0.5);
  EXPECT_EQ(PartsText(report.exact.positions[0]), "parallel:33000,910000");
  EXPECT_EQ(PartsText(report.exact.positions[3]), "parallel:1e-07,1e-07");
  for (int n = 2; n <= 5; ++n) {
    const double ideal = std::pow(1 - n * n, 2) / (std::pow(1 - n * n, 2) + 16.0 * n * n);
    EXPECT_NEAR(report.values[static_cast<int>(Figure::H2) + n - 2], 10 * std::log10(ideal), 1e-6) << n;
  }

  // The measured build notches where the level is least on a fine scan,
  // and the trims null it at 50 Hz.
  TwinTParts parts = PartsOf(inputs.measured_parts);
  const TransferFunction h = TransferFunctionOf({parts, 0, 0, false, 0}, 33e3, 100e-9);
  double least = 40;
  for (double hertz = 40; hertz < 60; hertz += 1e-4) {
    if (LevelDbOf(h, hertz) < LevelDbOf(h, least)) least = hertz;
  }
  EXPECT_NEAR(Figured(report, Figure::MeasuredFo), least, 2e-4);
  EXPECT_NEAR(-Figured(report, Figure::MeasuredDepth), LevelDbOf(h, Figured(report, Figure::MeasuredFo)), 1e-6);
  parts.r1 = Figured(report, Figure::MeasuredTrimR1);
  parts.r3a = parts.r3b = 2 * Figured(report, Figure::MeasuredTrimR3);
  EXPECT_LT(LevelDbOf(TransferFunctionOf({parts, 0, 0, false, 0}, 33e3, 100e-9), 50), -200);
  EXPECT_NEAR(Figured(report, Figure::MeasuredTrimR1Change), 100 * (parts.r1 / 33.2e3 - 1), 1e-9);

  // Every resistor of the nearest build drifts by 50 ppm/K and every
  // capacitor by 200 from 25 degrees to 0 and 70: the notch moves to
  // fo / ((1 + r)(1 + c)).
  const double fo = BalancedNotchHertz(33e3, 100e-9);
  EXPECT_NEAR(Figured(report, Figure::DriftFoLow), fo / ((1 + 45 * 50e-6) * (1 + 45 * 200e-6)), 1e-9 * fo);
  EXPECT_NEAR(Figured(report, Figure::DriftFoHigh), fo / ((1 - 45 * 50e-6) * (1 - 45 * 200e-6)), 1e-9 * fo);
}

// A sharp active network whose measured parts lie far apart has no dip to
// show; what it takes off Fo, and the trims, it still has.
TEST(AtFo, AMeasuredBuildWithoutADipSaysSo) {
  static DesignReport report;
  DesignInputs inputs = Inputs(10e3, 10e-9, BalancedNotchHertz(10e3, 10e-9));
  inputs.choices[static_cast<int>(PanelList::Network)] = kNetworks.count - 1;  // Q = 10
  inputs.measured = true;
  inputs.measured_parts = {10e3, 12e3, 4e3, 10e-9, 9e-9, 25e-9};
  MakeDesignReport(inputs, report);
  EXPECT_FALSE(report.available[static_cast<int>(Figure::MeasuredFo)]);
  EXPECT_TRUE(report.available[static_cast<int>(Figure::MeasuredReject)]);
  EXPECT_TRUE(report.available[static_cast<int>(Figure::MeasuredTrimR3)]);
}

}  // namespace
