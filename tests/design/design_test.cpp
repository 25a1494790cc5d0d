// The design code against what is known of the twin-T independently of it:
// the closed form of the ideal network, the IEC 60063 tables as printed,
// a brute-force pair search, and hand-checkable sums.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "active_feedback.h"
#include "design_choices.h"
#include "design_report.h"
#include "design_test_support.h"
#include "e_series.h"
#include "notch_search.h"
#include "pair_search.h"
#include "panel_snapshot.h"
#include "part_ranges.h"
#include "part_value_text.h"
#include "tolerance_analysis.h"
#include "twelve_digit_text.h"

namespace {

using namespace notchwell;

// --- The ideal network -----------------------------------------------------

// With an ideal source and no load, H = (1 - y^2) / (1 - y^2 + 4jy).
TEST(IdealNetwork, IsTheClosedFormAtEveryFrequency) {
  const TransferFunction h = TransferFunctionOf(Passive(10e3, 10e-9), 10e3, 10e-9);
  for (double y = 1e-3; y < 1e3; y *= 1.07) {
    const double closed = std::pow(1 - y * y, 2) / (std::pow(1 - y * y, 2) + 16 * y * y);
    EXPECT_NEAR(10 * std::log10(PowerRatio(h, y * y)), 10 * std::log10(closed), 1e-9) << "y = " << y;
  }
}

struct Surroundings {
  double source, load;
  double band_low, band_high;  // in units of Fo, where known by hand
};

class IdealNetwork : public testing::TestWithParam<Surroundings> {};

// The null stays at 1/(2 pi R C) whatever drives or loads the network; far
// below and above it the network is a resistive divider: 2R in series to
// the load, and R/4 (R1 || R2 || R3) across it.
TEST_P(IdealNetwork, NullsAtFoBetweenItsHalfPowerPoints) {
  const Surroundings s = GetParam();
  const double r = 31830.98862, c = 100e-9, fo = 1 / (2 * kPi * r * c);
  const TransferFunction h = TransferFunctionOf(Passive(r, c, s.source, s.load), r, c);
  const Notch notch = FindNotch(h);
  ASSERT_TRUE(notch.found);
  EXPECT_NEAR(HertzAt(h, notch.x) / fo, 1, 1e-10);
  EXPECT_LT(10 * std::log10(notch.power_ratio), -200);

  const double dc = s.load > 0 ? s.load / (s.source + 2 * r + s.load) : 1;
  const double quarter = s.load > 0 ? 1 / (4 / r + 1 / s.load) : r / 4;
  EXPECT_NEAR(PowerRatioAtZero(h), dc * dc, 1e-12);
  EXPECT_NEAR(PowerRatioAtInfinity(h), std::pow(quarter / (s.source + quarter), 2), 1e-12);

  const HalfPowerBand band = HalfPowerBandAround(h, notch.x);
  EXPECT_NEAR(PowerRatio(h, band.low_x) / PowerRatioAtZero(h), 0.5, 1e-9);
  EXPECT_NEAR(PowerRatio(h, band.high_x) / PowerRatioAtInfinity(h), 0.5, 1e-9);
  if (s.band_low > 0) {
    EXPECT_NEAR(HertzAt(h, band.low_x) / fo, s.band_low, 1e-9);
    EXPECT_NEAR(HertzAt(h, band.high_x) / fo, s.band_high, 1e-9);
    EXPECT_NEAR(fo / (HertzAt(h, band.high_x) - HertzAt(h, band.low_x)), 0.25, 1e-9);  // Q = 1/4
  }
}

INSTANTIATE_TEST_SUITE_P(Surroundings, IdealNetwork,
                         testing::Values(Surroundings{0, 0, std::sqrt(5.0) - 2, std::sqrt(5.0) + 2},
                                         Surroundings{600, 0, 0, 0}, Surroundings{0, 10e3, 0, 0},
                                         Surroundings{600, 10e3, 0, 0}, Surroundings{1e6, 100, 0, 0}));

// --- The active network ----------------------------------------------------

// H = (1 - y^2) / (1 - y^2 + jy/Q): half power where 1 - y^2 = +-y/Q. The
// followers keep the load off the network; the source still acts.
TEST(ActiveNetwork, NarrowsTheNotchToItsQ) {
  for (const double q : {0.5, 1.0, 2.0, 10.0}) {
    const TransferFunction h = TransferFunctionOf(Active(q), 10e3, 10e-9);
    const Notch notch = FindNotch(h);
    ASSERT_TRUE(notch.found);
    EXPECT_NEAR(notch.x, 1, 1e-10);
    const HalfPowerBand band = HalfPowerBandAround(h, notch.x);
    const double edge = 1 / (2 * q);
    EXPECT_NEAR(std::sqrt(band.low_x), std::sqrt(edge * edge + 1) - edge, 1e-9) << q;
    EXPECT_NEAR(std::sqrt(band.high_x), std::sqrt(edge * edge + 1) + edge, 1e-9) << q;
  }
  EXPECT_NEAR(std::sqrt(HalfPowerBandAround(TransferFunctionOf(Active(0.5), 10e3, 10e-9), 1).low_x), 0.4142136, 1e-7);
  EXPECT_NEAR(std::sqrt(HalfPowerBandAround(TransferFunctionOf(Active(1), 10e3, 10e-9), 1).high_x), 1.618034, 1e-6);

  const TransferFunction unloaded = TransferFunctionOf(Active(2, 600), 10e3, 10e-9);
  const TransferFunction loaded = TransferFunctionOf(Active(2, 600, 47), 10e3, 10e-9);
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(unloaded.numerator[d], loaded.numerator[d]) << d;
    EXPECT_EQ(unloaded.denominator[d], loaded.denominator[d]) << d;
  }
  EXPECT_EQ(unloaded.omega_ref, loaded.omega_ref);
  EXPECT_NE(PowerRatioAtInfinity(unloaded), 1);
}

// A source or load far from the network's own impedance moves a band edge
// decades away from the notch (a 100 kOhm source before 14.8 ohms: 4.5
// decades below it). The edges are where the level really crosses half
// power, however far out.
struct Extreme {
  double r, c, source, load;
  double q;          // 0: passive
  double low_hertz;  // where known, else 0
};

class BandEdges : public testing::TestWithParam<Extreme> {};

TEST_P(BandEdges, AreWhereTheLevelCrossesHalfPower) {
  const Extreme e = GetParam();
  TwinTCircuit circuit = Passive(e.r, e.c, e.source, e.load);
  circuit.active = e.q > 0;
  circuit.feedback = e.q > 0 ? FeedbackForQ(e.q) : 0;
  const TransferFunction h = TransferFunctionOf(circuit, e.r, e.c);
  const Notch notch = FindNotch(h);
  ASSERT_TRUE(notch.found);
  const HalfPowerBand band = HalfPowerBandAround(h, notch.x);
  ASSERT_TRUE(band.low_found && band.high_found);
  EXPECT_NEAR(PowerRatio(h, band.low_x) / PowerRatioAtZero(h), 0.5, 1e-9);
  EXPECT_NEAR(PowerRatio(h, band.high_x) / PowerRatioAtInfinity(h), 0.5, 1e-9);
  if (e.low_hertz > 0) {
    EXPECT_NEAR(HertzAt(h, band.low_x) / e.low_hertz, 1, 0.01);
  }
}

INSTANTIATE_TEST_SUITE_P(SourcesAndLoads, BandEdges,
                         testing::Values(Extreme{14.8, 17.7e-6, 100e3, 0, 0, 0.02248},
                                         Extreme{10e3, 10e-9, 0, 10, 0, 0}, Extreme{10e3, 10e-9, 1e9, 0, 0, 0},
                                         Extreme{10e3, 10e-9, 1e6, 100, 0, 0}, Extreme{10e3, 10e-9, 1e6, 0, 10, 0},
                                         Extreme{14.8, 17.7e-6, 100e3, 0, 2, 0}, Extreme{1, 1e-3, 1e12, 1, 0, 0}));

// 10 kOhm and 10 nF with 1 % resistors and 5 % capacitors: the sharper the
// notch, the shallower it stays, and at Q = 10 five corner builds rise
// near Fo instead of dipping.
TEST(ActiveNetwork, PaysForItsQInNotchDepth) {
  EXPECT_EQ(SpreadAtCorners(Active(10), 0.01, 0.05).without_notch, 5);
  EXPECT_EQ(SpreadAtCorners(Active(5), 0.01, 0.05).without_notch, 0);
  const double passive = AnalyseRandomBuilds(Passive(10e3, 10e-9), 0.01, 0.05, 1e3, 0, nullptr).depth_90_db;
  const double q1 = AnalyseRandomBuilds(Active(1), 0.01, 0.05, 1e3, 0, nullptr).depth_90_db;
  const double q10 = AnalyseRandomBuilds(Active(10), 0.01, 0.05, 1e3, 0, nullptr).depth_90_db;
  EXPECT_NEAR(passive, 44, 2);
  EXPECT_NEAR(q1, 32, 2);
  EXPECT_NEAR(q10, 12, 2);
}

class DividerSearch : public testing::TestWithParam<ESeries> {};

TEST_P(DividerSearch, FindsWhatEveryPairTriedGives) {
  const ESeries series = GetParam();
  std::vector<double> values;
  for (int i = 0; SeriesValue(series, {i, -2}) <= kDividerHighest; ++i) {
    if (SeriesValue(series, {i, -2}) >= kDividerLowest) values.push_back(SeriesValue(series, {i, -2}));
  }
  for (int option = 1; option < kNetworks.count; ++option) {
    const double k = FeedbackForQ(kNetworks.options[option]);
    double best = INFINITY;
    for (const double top : values) {
      for (const double bottom : values) best = std::fmin(best, std::fabs(bottom / (top + bottom) - k));
    }
    const Divider d = NearestDivider(series, k);
    ASSERT_TRUE(d.found) << k;
    EXPECT_NEAR(std::fabs(d.k - k), best, 1e-12) << k;
    EXPECT_EQ(d.k, d.bottom / (d.top + d.bottom));
  }
  // A Q that no pair within the range comes near is said to be out of reach.
  EXPECT_FALSE(NearestDivider(series, FeedbackForQ(1000)).found);
}

INSTANTIATE_TEST_SUITE_P(Series, DividerSearch,
                         testing::Values(ESeries::E12, ESeries::E24, ESeries::E48, ESeries::E96));

// --- Standard values -------------------------------------------------------

// The series as IEC 60063 prints them.
const char* const kPrinted[] = {
    "10 15 22 33 47 68",
    "10 12 15 18 22 27 33 39 47 56 68 82",
    "10 11 12 13 15 16 18 20 22 24 27 30 33 36 39 43 47 51 56 62 68 75 82 91",
    "100 105 110 115 121 127 133 140 147 154 162 169 178 187 196 205 215 226 237 249 261 274 287 301 316 332 348 "
    "365 383 402 422 442 464 487 511 536 562 590 619 649 681 715 750 787 825 866 909 953",
    "100 102 105 107 110 113 115 118 121 124 127 130 133 137 140 143 147 150 154 158 162 165 169 174 178 182 187 "
    "191 196 200 205 210 215 221 226 232 237 243 249 255 261 267 274 280 287 294 301 309 316 324 332 340 348 357 "
    "365 374 383 392 402 412 422 432 442 453 464 475 487 499 511 523 536 549 562 576 590 604 619 634 649 665 681 "
    "698 715 732 750 768 787 806 825 845 866 887 909 931 953 976",
};

TEST(ESeries, AreTheStandardsTables) {
  for (int s = 0; s < 5; ++s) {
    const SeriesTable& table = SeriesOf(static_cast<ESeries>(s));
    std::istringstream printed(kPrinted[s]);
    std::vector<int> expected;
    for (int value; printed >> value;) expected.push_back(value);
    ASSERT_EQ(table.count, static_cast<int>(expected.size())) << table.name;
    for (int i = 0; i < table.count; ++i) EXPECT_EQ(table.mantissas[i], expected[i]) << table.name << " #" << i;
  }
  // E48 and E96 are the rounded powers of 10^(1/n); E24 departs from them
  // in exactly its historical values.
  for (const ESeries s : {ESeries::E48, ESeries::E96}) {
    const SeriesTable& t = SeriesOf(s);
    for (int i = 0; i < t.count; ++i) EXPECT_EQ(t.mantissas[i], std::lround(100 * std::pow(10.0, i / double(t.count))));
  }
  std::vector<int> departures;
  for (int i = 0; i < 24; ++i) {
    const int m = SeriesOf(ESeries::E24).mantissas[i];
    if (m != std::lround(10 * std::pow(10.0, i / 24.0))) departures.push_back(m);
  }
  EXPECT_EQ(departures, (std::vector<int>{27, 30, 33, 36, 39, 43, 47, 82}));
}

struct Snap {
  ESeries series;
  double value, nearest;
};

class Snapping : public testing::TestWithParam<Snap> {};

TEST_P(Snapping, TakesTheNearestOnALogScale) {
  EXPECT_EQ(NearestIn(GetParam().series, GetParam().value), GetParam().nearest);
}

INSTANTIATE_TEST_SUITE_P(DecadeEdges, Snapping,
                         testing::Values(Snap{ESeries::E24, 31830.98862, 33e3},  // 31.83^2 = 1013 > 30 * 33
                                         Snap{ESeries::E24, 9.6e3, 10e3}, Snap{ESeries::E24, 9.5e3, 9.1e3},
                                         Snap{ESeries::E24, 0.99, 1}, Snap{ESeries::E24, 1.04, 1},
                                         Snap{ESeries::E24, 1.05, 1.1}, Snap{ESeries::E96, 988, 1000},
                                         Snap{ESeries::E96, 9.87e-9, 9.76e-9}, Snap{ESeries::E48, 97.6e3, 95.3e3},
                                         Snap{ESeries::E6, 5.6e-9, 4.7e-9}, Snap{ESeries::E6, 5.7e-9, 6.8e-9},
                                         Snap{ESeries::E12, 1e-12, 1e-12}, Snap{ESeries::E12, 1e8, 1e8},
                                         Snap{ESeries::E12, 0.0999e-9, 0.1e-9}, Snap{ESeries::E12, 4.7e-6, 4.7e-6},
                                         Snap{ESeries::E96, 1e5, 1e5}));

// --- The best pair ---------------------------------------------------------

struct PairCase {
  ESeries r_series, c_series;
  double c, fo;
};

class BestPairSearch : public testing::TestWithParam<PairCase> {};

TEST_P(BestPairSearch, FindsWhatEveryPairTriedGives) {
  const PairCase p = GetParam();
  const StandardPair found = BestPair(p.r_series, p.c_series, p.c, p.fo);
  ASSERT_TRUE(found.found);
  double best = INFINITY;
  for (int d = -1; d <= 7; ++d) {
    for (int i = 0; i < SeriesOf(p.r_series).count; ++i) {
      const double r = SeriesValue(p.r_series, {i, d - (SeriesOf(p.r_series).mantissas[0] == 10 ? 1 : 2)});
      if (r < kPairResistorLowest || r > kPairResistorHighest) continue;
      for (int e = -16; e <= -1; ++e) {
        for (int j = 0; j < SeriesOf(p.c_series).count; ++j) {
          const double c = SeriesValue(p.c_series, {j, e});
          if (c < p.c / 10 || c > p.c * 10 || c < kCapacitorLowest || c > kCapacitorHighest) continue;
          best = std::fmin(best, std::fabs(RelativeError(BalancedNotchHertz(r, c), p.fo)));
        }
      }
    }
  }
  EXPECT_TRUE(IsSameError(found.relative_error, best)) << found.relative_error << " against " << best;
}

INSTANTIATE_TEST_SUITE_P(Series, BestPairSearch,
                         testing::Values(PairCase{ESeries::E24, ESeries::E12, 100e-9, 50},
                                         PairCase{ESeries::E96, ESeries::E24, 10e-9, 1591.549438},
                                         PairCase{ESeries::E12, ESeries::E6, 4.7e-9, 60},
                                         PairCase{ESeries::E48, ESeries::E6, 2e-12, 1e6},
                                         PairCase{ESeries::E12, ESeries::E24, 330e-6, 0.5},
                                         PairCase{ESeries::E24, ESeries::E12, 1e-9, 1e7}));

TEST(BestPairSearch, NeedsAStandardCapacitorInReach) {
  EXPECT_FALSE(BestPair(ESeries::E24, ESeries::E12, 1e-14, 50).found);
  EXPECT_FALSE(BestPair(ESeries::E24, ESeries::E12, 1, 50).found);
}

// --- Tolerances ------------------------------------------------------------

// Every part at one end moves the notch of a still balanced network to
// fo / ((1 +- tr)(1 +- tc)); the unbalanced corners stay near those.
TEST(Tolerances, SpreadTheNotchAsThePartsDo) {
  const TwinTCircuit nominal = Passive(33e3, 100e-9);
  const double fo = BalancedNotchHertz(33e3, 100e-9);
  const CornerSpread tight = SpreadAtCorners(nominal, 0.001, 0.01);
  const CornerSpread loose = SpreadAtCorners(nominal, 0.05, 0.10);
  EXPECT_NEAR(tight.fo_low_hertz, fo / (1.001 * 1.01), fo * 1e-3);
  EXPECT_NEAR(tight.fo_high_hertz, fo / (0.999 * 0.99), fo * 1e-3);
  EXPECT_NEAR(loose.fo_low_hertz, fo / (1.05 * 1.1), fo * 1e-2);
  EXPECT_NEAR(loose.fo_high_hertz, fo / (0.95 * 0.9), fo * 1e-2);
  EXPECT_EQ(loose.without_notch, 0);
  EXPECT_GT(AnalyseRandomBuilds(nominal, 0.001, 0.01, fo, 0, nullptr).depth_90_db,
            AnalyseRandomBuilds(nominal, 0.05, 0.10, fo, 0, nullptr).depth_90_db + 20);

  // The same seed: the same figures, to the last bit. Field by field: the
  // struct's padding is never written.
  const RandomBuilds once = AnalyseRandomBuilds(nominal, 0.05, 0.10, fo, 0, nullptr);
  const RandomBuilds again = AnalyseRandomBuilds(nominal, 0.05, 0.10, fo, 0, nullptr);
  EXPECT_EQ(once.depth_90_db, again.depth_90_db);
  EXPECT_EQ(once.reject_90_db, again.reject_90_db);
  EXPECT_EQ(once.without_notch, again.without_notch);
}

// The band of the random builds and their 90 % figures, against sorting
// every build's level: the 100th and the 1900th of 2000 at each point, and
// the 201st smallest rejection at Fo (at least 90 % reach it).
TEST(Tolerances, SpreadTheBuildsAsSortingThemAllDoes) {
  for (const TwinTCircuit& nominal : {Passive(33e3, 100e-9, 600, 10e3), Active(10, 600)}) {
    const double fo = 50;
    const double hertz[] = {0.5, 20, 47.3, 48.2, 50, 52, 200, 5000};
    double low[8], high[8];
    const SpreadBand band{hertz, 8, low, high};
    const RandomBuilds random = AnalyseRandomBuilds(nominal, 0.01, 0.05, fo, 0, &band);
    for (int point = 0; point <= 8; ++point) {
      std::vector<double> levels;
      for (int n = 0; n < kRandomBuilds; ++n) {
        TwinTCircuit build = nominal;
        build.parts = RandomParts(nominal.parts, 0.01, 0.05, n);
        const TransferFunction h = TransferFunctionOf(build, nominal.parts.r1, nominal.parts.c1);
        levels.push_back(10 * std::log10(PowerRatioAtHertz(h, point < 8 ? hertz[point] : fo)));
      }
      std::sort(levels.begin(), levels.end());
      if (point == 8) {
        EXPECT_NEAR(-random.reject_90_db, levels[kRandomBuilds * 9 / 10 - 1], 1e-9);
        continue;
      }
      EXPECT_NEAR(low[point], levels[99], 1e-9) << hertz[point];
      EXPECT_NEAR(high[point], levels[1899], 1e-9) << hertz[point];
    }
  }
}

// --- The panel's report ----------------------------------------------------

// 50 Hz from 100 nf: R = 31.83 kOhm, nearest E24 33 kOhm with E12 100 nF.
TEST(DesignReport, BuildsTheHumFilterFromStandardParts) {
  static DesignReport report;
  MakeDesignReport(Inputs(31830.988, 100e-9, 50), report);
  EXPECT_EQ(Figured(report, Figure::R3), 31830.988 / 2);
  EXPECT_EQ(Figured(report, Figure::C3), 200e-9);
  EXPECT_EQ(Figured(report, Figure::BuildR), 33e3);
  EXPECT_EQ(Figured(report, Figure::BuildC), 100e-9);
  EXPECT_NEAR(Figured(report, Figure::BuildFo) / BalancedNotchHertz(33e3, 100e-9), 1, 1e-10);
  EXPECT_NEAR(Figured(report, Figure::BuildError), (BalancedNotchHertz(33e3, 100e-9) / 50 - 1) * 100, 1e-8);
  EXPECT_LT(Figured(report, Figure::FoLow), Figured(report, Figure::BuildFo));
  EXPECT_GT(Figured(report, Figure::FoHigh), Figured(report, Figure::BuildFo));
  EXPECT_FALSE(report.available[static_cast<int>(Figure::Load)]);
}

// Whatever the dialog accepts gives finite figures; what no standard part
// reaches is left out, not made up.
TEST(DesignReport, StaysFiniteForAnyValueTheDialogTakes) {
  struct Extreme {
    double r, c, fo;
    bool build, pair;
  };
  const Extreme extremes[] = {
      {1e30, 1e-30, 0.1591549, false, false}, {1.4e-45, 1.4e-57, 1e101, false, false},
      {3.4e44, 3.4e32, 1e-78, false, false},  {1, 1e-3, 159.15, true, true},
      {1e8, 1e-12, 1591.5, true, true},       {1e-3, 100e-9, 1.6e9, false, true},
  };
  static DesignReport report;
  for (const Extreme& e : extremes) {
    for (const double source : {0.0, 600.0}) {
      MakeDesignReport(Inputs(e.r, e.c, e.fo, source, source * 10), report);
      EXPECT_EQ(Holds(report, Section::Build), e.build) << e.r;
      EXPECT_EQ(Holds(report, Section::Pair), e.pair) << e.r;
      for (int i = 0; i < kFigureCount; ++i) {
        EXPECT_TRUE(!report.available[i] || std::isfinite(report.values[i])) << kFigures[i].name << " at " << e.r;
      }
      for (int i = 0; i < kCurvePoints; ++i) {
        ASSERT_TRUE(std::isfinite(report.curve_hertz[i]) && std::isfinite(CurveOf(report, Curve::Ideal).level_db[i]))
            << e.r;
        ASSERT_TRUE(!e.build || std::isfinite(CurveOf(report, Curve::Build).level_db[i])) << e.r;
      }
    }
  }
}

// An update after a change works out again only what reads it, and says
// what a report made afresh says: for each change, from each state before
// (each state's curves as well as its figures), a measured sweep's fit
// among them.
TEST(DesignReport, UpdatedSaysWhatAFreshReportSays) {
  DesignInputs hum = Inputs(31830.988, 100e-9, 50, 600, 10e3);
  hum.measured = true;
  hum.measured_parts = {33.2e3, 32.9e3, 16.4e3, 98.7e-9, 101.9e-9, 204.4e-9};
  const auto with = [](DesignInputs inputs, PanelList list, int index) {
    inputs.choices[static_cast<int>(list)] = index;
    return inputs;
  };
  const DesignInputs active = with(with(hum, PanelList::Network, 5), PanelList::OpAmp, 2);
  DesignInputs unmeasured = active;
  unmeasured.measured = false;
  // A sweep of the nearest build: its own curve.
  static DesignReport swept_report;
  static MeasuredSweep sweep;
  MakeDesignReport(hum, swept_report);
  sweep.count = kCurvePoints;
  sweep.phase = true;
  for (int i = 0; i < kCurvePoints; ++i) {
    sweep.hertz[i] = swept_report.curve_hertz[i];
    sweep.level_db[i] = CurveOf(swept_report, Curve::Build).level_db[i];
    sweep.degrees[i] = CurveOf(swept_report, Curve::Build).degrees[i];
  }
  DesignInputs swept = hum;
  swept.sweep = &sweep;
  swept.sweep_generation = 1;
  // The noise: another band, signal and op-amp noise of the custom op-amp.
  DesignInputs quiet = with(with(active, PanelList::NoiseBand, 3), PanelList::OpAmp, kCustomOpAmp);
  quiet.custom_opamp = {10e6, 110, 10, 1e-9, 2e-12};
  quiet.noise_signal_volts = 3;
  const DesignInputs states[] = {
      hum,
      with(hum, PanelList::PlotView, static_cast<int>(PlotView::Step)),
      with(active, PanelList::PlotView, static_cast<int>(PlotView::Burst)),
      with(with(active, PanelList::RejectBand, 5), PanelList::PlotView, static_cast<int>(PlotView::Step)),
      with(active, PanelList::ResistorTolerance, 4),
      with(active, PanelList::CapacitorSeries, 0),
      with(active, PanelList::OpAmp, 0),
      with(hum, PanelList::CapacitorTempco, 3),
      unmeasured,
      swept,
      with(swept, PanelList::TuneBuilt, static_cast<int>(TuneBuilt::Measured)),
      quiet,
      with(quiet, PanelList::PlotView, static_cast<int>(PlotView::Noise)),
  };
  static DesignReport updated, fresh;
  for (const DesignInputs& before : states) {
    for (const DesignInputs& after : states) {
      MakeDesignReport(before, updated);
      UpdateDesignReport(before, after, updated);
      MakeDesignReport(after, fresh);
      ASSERT_EQ(Holds(fresh, Section::Tuned), after.sweep != nullptr);
      for (int i = 0; i < kFigureCount; ++i) {
        ASSERT_EQ(updated.available[i], fresh.available[i]) << kFigures[i].name;
        ASSERT_TRUE(!fresh.available[i] || updated.values[i] == fresh.values[i]) << kFigures[i].name;
      }
      for (int i = 0; i < kSectionCount; ++i) ASSERT_EQ(updated.sections[i], fresh.sections[i]) << kSectionNames[i];
      for (int c = 0; c < kCurves; ++c) {
        ASSERT_EQ(updated.curves[c].drawn, fresh.curves[c].drawn) << kCurveNames[c];
        ASSERT_EQ(updated.curves[c].notch_hertz, fresh.curves[c].notch_hertz) << kCurveNames[c];
        for (int i = 0; fresh.curves[c].drawn && i < kCurvePoints; ++i) {
          ASSERT_EQ(CurveOf(updated, static_cast<Curve>(c)).level_db[i],
                    CurveOf(fresh, static_cast<Curve>(c)).level_db[i]);
          ASSERT_EQ(updated.curves[c].degrees[i], fresh.curves[c].degrees[i]) << kCurveNames[c];
        }
      }
      for (int i = 0; Holds(fresh, Section::Build) && i < kBandPoints; ++i) {
        ASSERT_EQ(updated.band_high_db[i], fresh.band_high_db[i]);
      }
      for (int c = 0; Holds(fresh, Section::Noise) && c < kNoiseCurves; ++c) {
        for (int i = 0; i < kCurvePoints; ++i) ASSERT_EQ(updated.noise.density[c][i], fresh.noise.density[c][i]);
      }
      const PlotView view = static_cast<PlotView>(ChosenIndex(after.choices, PanelList::PlotView));
      const bool in_time = view == PlotView::Step || view == PlotView::Burst;
      for (int c = 0; c < kCurves && in_time; ++c) {
        for (int i = 0; fresh.curves[c].drawn && i < kTimePoints; ++i) {
          ASSERT_EQ(updated.curves[c].time_output[i], fresh.curves[c].time_output[i]) << kCurveNames[c];
        }
      }
    }
  }
}

// --- The panel's value fields ---------------------------------------------

struct TextCase {
  std::string_view text;
  ValueField field;
  ValueProblem problem;
  double value;
};

class ValueText : public testing::TestWithParam<TextCase> {};

TEST_P(ValueText, ReadsAsAPersonWritesIt) {
  const TextCase& t = GetParam();
  const ValueReading reading = ReadValueText(t.text, t.field);
  EXPECT_EQ(reading.problem, t.problem);
  if (t.problem == ValueProblem::None) {
    EXPECT_EQ(reading.empty, t.text.find_first_not_of(' ') == std::string_view::npos);
    EXPECT_EQ(reading.value, t.value);
  }
  EXPECT_EQ(*ValueProblemMessage(reading.problem, t.field) == '\0', t.problem == ValueProblem::None);
}

constexpr auto kOk = ValueProblem::None;
constexpr auto kSource = ValueField::Source;
constexpr auto kLoad = ValueField::Load;
constexpr auto kR = ValueField::MeasuredResistor;
constexpr auto kC = ValueField::MeasuredCapacitor;
constexpr auto kGbw = ValueField::GainBandwidth;
constexpr auto kGain = ValueField::OpenLoopGain;
constexpr auto kSlew = ValueField::SlewRate;
constexpr auto kEn = ValueField::NoiseVoltage;
constexpr auto kIn = ValueField::NoiseCurrent;
constexpr auto kSignal = ValueField::Signal;
INSTANTIATE_TEST_SUITE_P(
    Fields, ValueText,
    testing::Values(
        TextCase{"600", kSource, kOk, 600}, TextCase{"4.7k", kLoad, kOk, 4700}, TextCase{"4k7", kLoad, kOk, 4700},
        TextCase{"1M", kLoad, kOk, 1e6}, TextCase{" 10 k\xce\xa9 ", kLoad, kOk, 1e4},
        TextCase{"2.2 ohms", kSource, kOk, 2.2}, TextCase{"1e3", kSource, kOk, 1000},
        TextCase{"0.1", kSource, kOk, 0.1}, TextCase{"1R5", kSource, kOk, 1.5},
        TextCase{"+47 \xe2\x84\xa6", kLoad, kOk, 47}, TextCase{"", kSource, kOk, 0}, TextCase{"  ", kLoad, kOk, 0},
        TextCase{"0", kSource, kOk, 0}, TextCase{"-0", kSource, kOk, 0},
        TextCase{"0", kLoad, ValueProblem::ZeroLoad, 0}, TextCase{"0k", kLoad, ValueProblem::ZeroLoad, 0},
        TextCase{"abc", kSource, ValueProblem::NotANumber, 0}, TextCase{"4.7kk", kSource, ValueProblem::NotANumber, 0},
        TextCase{"k", kLoad, ValueProblem::NotANumber, 0}, TextCase{"1e", kLoad, ValueProblem::NotANumber, 0},
        TextCase{"1,5", kLoad, ValueProblem::NotANumber, 0}, TextCase{"-5", kSource, ValueProblem::Negative, 0},
        TextCase{"1m", kLoad, ValueProblem::SmallM, 0}, TextCase{"1 mOhm", kSource, ValueProblem::SmallM, 0},
        TextCase{"2e12", kLoad, ValueProblem::TooLarge, 0},
        TextCase{"99999999999999999999999M", kSource, ValueProblem::TooLarge, 0},
        // Nothing below a milliohm but 0 itself; a control character
        // anywhere spoils the text.
        TextCase{"0.001", kSource, kOk, 0.001}, TextCase{"1e-150", kSource, ValueProblem::OutOfRange, 0},
        TextCase{"5e-324", kSource, ValueProblem::OutOfRange, 0},
        TextCase{"1e-400", kSource, ValueProblem::OutOfRange, 0},
        TextCase{"1e-300", kLoad, ValueProblem::OutOfRange, 0}, TextCase{"-1e-400", kLoad, ValueProblem::Negative, 0},
        TextCase{std::string_view("6\0"
                                  "0",
                                  3),
                 kSource, ValueProblem::NotANumber, 0},
        TextCase{std::string_view("\0"
                                  "6",
                                  2),
                 kLoad, ValueProblem::NotANumber, 0},
        TextCase{"4\tk7", kR, ValueProblem::NotANumber, 0}, TextCase{"1n\x7f", kC, ValueProblem::NotANumber, 0},
        // Parts read off a meter: resistors as the source and load, and
        // capacitors with p, n, u or micro, and F.
        TextCase{"33.2k", kR, kOk, 33200}, TextCase{"16k4", kR, kOk, 16400}, TextCase{"10R", kR, kOk, 10},
        TextCase{"0", kR, ValueProblem::OutOfRange, 0}, TextCase{"2T", kR, ValueProblem::NotANumber, 0},
        TextCase{"4.7n", kR, ValueProblem::NotANumber, 0}, TextCase{"98.7n", kC, kOk, 98.7e-9},
        TextCase{"4n7", kC, kOk, 4.7e-9}, TextCase{"0.1u", kC, kOk, 1e-7}, TextCase{"0.1 uF", kC, kOk, 1e-7},
        TextCase{"100nf", kC, kOk, 1e-7},
        TextCase{"2\xc2\xb5"
                 "2",
                 kC, kOk, 2.2e-6},
        TextCase{"2.2 \xce\xbc"
                 "F",
                 kC, kOk, 2.2e-6},
        TextCase{"1e-7", kC, kOk, 1e-7}, TextCase{"47pF", kC, kOk, 47e-12},
        TextCase{"1f", kC, ValueProblem::NotANumber, 0}, TextCase{"4.7k", kC, ValueProblem::NotANumber, 0},
        TextCase{"1mF", kC, ValueProblem::SmallM, 0}, TextCase{"-1n", kC, ValueProblem::Negative, 0},
        TextCase{"2F", kC, ValueProblem::OutOfRange, 0}, TextCase{"0.0001p", kC, ValueProblem::OutOfRange, 0},
        // An op-amp's figures: a gain-bandwidth with k, M or G and Hz, a
        // gain in dB, a slew rate in V/us; each within its range.
        TextCase{"3M", kGbw, kOk, 3e6}, TextCase{"800k", kGbw, kOk, 8e5}, TextCase{"3 MHz", kGbw, kOk, 3e6},
        TextCase{"10e6", kGbw, kOk, 1e7}, TextCase{"2G5", kGbw, kOk, 2.5e9},
        TextCase{"3 mHz", kGbw, ValueProblem::SmallM, 0}, TextCase{"999", kGbw, ValueProblem::OutOfRange, 0},
        TextCase{"11G", kGbw, ValueProblem::OutOfRange, 0}, TextCase{"3R", kGbw, ValueProblem::NotANumber, 0},
        TextCase{"106", kGain, kOk, 106}, TextCase{"106 dB", kGain, kOk, 106},
        TextCase{"1k", kGain, ValueProblem::NotANumber, 0}, TextCase{"-100", kGain, ValueProblem::Negative, 0},
        TextCase{"39.9", kGain, ValueProblem::OutOfRange, 0}, TextCase{"0.3 V/\xc2\xb5s", kSlew, kOk, 0.3},
        TextCase{"13 v/us", kSlew, kOk, 13}, TextCase{"13 V/ms", kSlew, ValueProblem::NotANumber, 0},
        TextCase{"20000", kSlew, ValueProblem::OutOfRange, 0}, TextCase{"5m", kSlew, ValueProblem::SmallM, 0},
        // Noise at the inputs in nV/√Hz and pA/√Hz, 0 for none; the signal in volts.
        TextCase{"5", kEn, kOk, 5e-9}, TextCase{"1.1 nV/\xe2\x88\x9aHz", kEn, kOk, 1.1e-9}, TextCase{"0", kEn, kOk, 0},
        TextCase{"0.7 pA/rtHz", kIn, kOk, 0.7e-12}, TextCase{"5 pA", kEn, ValueProblem::NotANumber, 0},
        TextCase{"1001", kEn, ValueProblem::OutOfRange, 0}, TextCase{"-1", kIn, ValueProblem::Negative, 0},
        TextCase{"2.5 V", kSignal, kOk, 2.5}, TextCase{"0", kSignal, ValueProblem::OutOfRange, 0},
        TextCase{"316m", kSignal, ValueProblem::SmallM, 0}));

}  // namespace

// --- Values as machines read them, and the panel's snapshot ----------------

namespace notchwell {
namespace {

// The C library's %.12g, away from the exact ties where it rounds to even
// and the page (and so TwelveDigitText) away from zero.
TEST(TwelveDigitText, WritesWhatPrintfWrites) {
  std::uint64_t state = 0x243f6a8885a308d3ull;
  for (int i = 0; i < 200000; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    const double value = std::ldexp(static_cast<double>(state >> 11), static_cast<int>(state % 200) - 153);
    char ours[kTwelveDigitTextSize], theirs[32];
    TwelveDigitText(value, ours);
    std::snprintf(theirs, sizeof theirs, "%.12g", value);
    char expansion[80];
    std::snprintf(expansion, sizeof expansion, "%.60e", value);
    const bool tie = std::strncmp(expansion + 13, "5000000000", 10) == 0;
    if (!tie) {
      ASSERT_STREQ(ours, theirs) << value;
    }
  }
  for (const auto& [value, text] : std::vector<std::pair<double, const char*>>{{0, "0"},
                                                                               {33000, "33000"},
                                                                               {1e-7, "1e-07"},
                                                                               {1e12, "1e+12"},
                                                                               {-2.5, "-2.5"},
                                                                               {0.0001, "0.0001"},
                                                                               {999999999999.5, "1e+12"},
                                                                               {2.5e-5, "2.5e-05"},
                                                                               {1000000000005.0, "1.00000000001e+12"},
                                                                               {1e300, "1e+300"},
                                                                               {5e-324, "4.94065645841e-324"}}) {
    char ours[kTwelveDigitTextSize];
    TwelveDigitText(value, ours);
    EXPECT_STREQ(ours, text) << value;
  }
}

struct SnapshotCase {
  const char* name;
  CalcMode mode;
  const char *r, *c, *fo;
  int fo_unit;
  FormProblem problem;
  Quantity field;
  bool imprecise;
  double computed_hertz;  // with imprecise
};

class PanelSnapshotReading : public testing::TestWithParam<SnapshotCase> {};

TEST_P(PanelSnapshotReading, SaysWhyAFormMakesNoNetworkAndWhatAWrittenFieldLost) {
  const SnapshotCase& k = GetParam();
  PanelSnapshot s{};
  s.form = {k.mode, 1, 1, k.fo_unit, {}, {}, {}};
  std::strcpy(s.form.resistance_text, k.r);
  std::strcpy(s.form.capacitance_text, k.c);
  std::strcpy(s.form.frequency_text, k.fo);
  for (int i = 0; i < kPanelListCount; ++i) s.choices[i] = kPanelLists[i].default_index;
  PanelReading reading;
  DesignInputs inputs;
  EXPECT_EQ(ReadPanelSnapshot(s, reading, inputs), k.problem == FormProblem::None);
  EXPECT_EQ(reading.form.problem, k.problem);
  EXPECT_EQ(reading.form.field, k.field);
  EXPECT_EQ(reading.form.imprecise, k.imprecise);
  if (k.imprecise) {
    EXPECT_NEAR(reading.form.computed / k.computed_hertz, 1, 1e-6);
  }
}

constexpr auto kSolveFo = CalcMode::SolveFrequency;
constexpr auto kFoField = Quantity::Frequency;
INSTANTIATE_TEST_SUITE_P(Forms, PanelSnapshotReading,
                         testing::Values(SnapshotCase{"Designable", kSolveFo, "10", "10", "1591.549438", 0,
                                                      FormProblem::None, kFoField, false, 0},
                                         SnapshotCase{"OneDigitLeft", kSolveFo, "100", "1061.033", "0.000001", 2,
                                                      FormProblem::None, kFoField, true, 1.5},
                                         SnapshotCase{"ThreeDigitsLeft", kSolveFo, "10", "10", "0.002", 2,
                                                      FormProblem::None, kFoField, true, 1591.549438},
                                         SnapshotCase{"FourDigitsKept", kSolveFo, "10", "10", "0.001592", 2,
                                                      FormProblem::None, kFoField, false, 0},
                                         SnapshotCase{"AllDigitsLost", kSolveFo, "108.8219", "4083.665", "0.000000", 2,
                                                      FormProblem::Zero, kFoField, true, 0.358141},
                                         SnapshotCase{"NegativeR", kSolveFo, "-10", "10", "-1591.549438", 0,
                                                      FormProblem::Negative, Quantity::Resistance, false, 0},
                                         SnapshotCase{"InfiniteResult", kSolveFo, "1e-30", "1e-30", "1.#INF00", 0,
                                                      FormProblem::NotANumber, kFoField, false, 0},
                                         SnapshotCase{"CBeyondAnyDouble", CalcMode::SolveResistance, "1", "1e39",
                                                      "1e-300", 0, FormProblem::Infinite, Quantity::Capacitance, false,
                                                      0}),
                         [](const testing::TestParamInfo<SnapshotCase>& info) { return std::string(info.param.name); });

// The whole text of a field, NULs and all, as its length says.
TEST(PanelSnapshotReading, ReadsAFieldToItsLength) {
  PanelSnapshot s{};
  s.form = {kSolveFo, 1, 1, 0, "10", "10", "1591.549438"};
  std::memcpy(s.fields[0],
              "6\0"
              "0",
              3);
  s.field_lengths[0] = 3;
  PanelReading reading;
  DesignInputs inputs;
  EXPECT_FALSE(ReadPanelSnapshot(s, reading, inputs));
  EXPECT_EQ(reading.field_problems, 1);
  s.field_lengths[0] = 1;
  EXPECT_TRUE(ReadPanelSnapshot(s, reading, inputs));
  EXPECT_EQ(inputs.source_ohms, 6);
}

}  // namespace
}  // namespace notchwell
