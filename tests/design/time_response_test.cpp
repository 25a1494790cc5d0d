// The network in time and phase: the poles and residues against what
// holds of any response (the residues' sum is the output just after
// t = 0, the step ends at H(0)), against closed forms, and the figures'
// definitions checked where they are used.
#include "time_response.h"

#include <gtest/gtest.h>

#include <cmath>

#include "band_rejection.h"
#include "design_test_support.h"
#include "followers.h"
#include "op_amps.h"
#include "phase_response.h"
#include "tolerance_analysis.h"
#include "transfer_function.h"

namespace notchwell {
namespace {

// Passive with and without a source and load; active at Q = 0.5 (a
// triple pole), 2 and 10; and with real op-amps, whose fifth-degree
// ratio has poles a thousand times faster than the network's.
TwinTCircuit WithOpAmp(double q, int preset) {
  TwinTCircuit c = Active(q);
  c.opamps = FollowersOf(kOpAmps.options[preset].figures);
  return c;
}
const TwinTCircuit kCircuits[] = {
    Passive(10e3, 10e-9), Passive(10e3, 10e-9, 600, 10e3), Active(0.5), Active(2), Active(10, 600), WithOpAmp(10, 1),
    WithOpAmp(2, 2),
};

TransferFunction Of(const TwinTCircuit& c) { return TransferFunctionOf(c, c.parts.r1, c.parts.c1); }

TEST(TimeResponse, StartsAndEndsWhereTheTransferFunctionSays) {
  for (const TwinTCircuit& c : kCircuits) {
    const TransferFunction h = Of(c);
    const double fo = 1 / (2 * kPi * c.parts.r1 * c.parts.c1);
    // Just after the step: H far above every pole (N3 / D3, 0 with real
    // op-amps); just after the sine starts: 0.
    const TimeResponse step = StepResponseOf(h, PolesOf(h));
    const double start = h.lag == 0 ? h.numerator[3] / h.denominator[3] : 0;
    EXPECT_NEAR(OutputAt(step, 0), start, 1e-9);
    EXPECT_NEAR(OutputAt(step, 1e4 / fo), h.numerator[0] / h.denominator[0], 1e-12);
    EXPECT_NEAR(OutputAt(SineResponseOf(h, PolesOf(h), fo), 0), 0, 1e-9);
    EXPECT_TRUE(step.stable);
  }
}

TEST(TimeResponse, OfOnePoleIsTheClosedForm) {
  // H = 1 / (1 + s / omega), omega = 1000 rad/s.
  const TransferFunction h{{1, 0, 0, 0}, {1, 1, 0, 0, 0, 0}, 0, 0, 1000};
  const TimeResponse step = StepResponseOf(h, PolesOf(h));
  const double w = 3;  // the sine at 3 omega
  const TimeResponse sine = SineResponseOf(h, PolesOf(h), w * 1000 / (2 * kPi));
  for (const double t : {0.0, 1e-4, 1e-3, 4.6e-3, 2e-2}) {
    const double tau = 1000 * t;
    EXPECT_NEAR(OutputAt(step, t), 1 - std::exp(-tau), 1e-14) << t;
    EXPECT_NEAR(OutputAt(sine, t), (std::sin(w * tau) - w * std::cos(w * tau) + w * std::exp(-tau)) / (1 + w * w),
                1e-14)
        << t;
  }
  // Within 1 % from ln 100 / omega on; the sine's transient w / (1 + w^2)
  // e^-tau from ln(100 w / (1 + w^2)).
  EXPECT_NEAR(SettlingTime(step, 1).seconds, std::log(100.0) / 1000, 1e-14);
  EXPECT_NEAR(SettlingTime(sine, 1).seconds, std::log(100 * w / (1 + w * w)) / 1000, 1e-14);
  EXPECT_FALSE(SettlingTime(step, 4e-3).found);
  // Phase -atan(w), delay 1 / (omega (1 + w^2)).
  const PhaseAndDelay at = PhaseAndDelayAt(h, w * 1000 / (2 * kPi));
  EXPECT_NEAR(at.degrees, -std::atan(w) * 180 / kPi, 1e-12);
  EXPECT_NEAR(at.delay_seconds, 1 / (1000 * (1 + w * w)), 1e-17);
}

TEST(TimeResponse, OfTheTriplePoleIsTheClosedForm) {
  // At Q = 0.5 the ideal network's poles all lie at -omega: its step
  // response is 1 - 2 (omega t) e^(-omega t) from 1, lowest 1 - 2 / e
  // at t = 1 / omega.
  const TransferFunction h = Of(Active(0.5));
  const TimeResponse step = StepResponseOf(h, PolesOf(h));
  ASSERT_EQ(step.count, 1);
  EXPECT_EQ(step.terms[0].order, 3);
  const double omega = h.omega_ref;
  for (const double tau : {0.3, 1.0, 4.0})
    EXPECT_NEAR(OutputAt(step, tau / omega), 1 - 2 * tau * std::exp(-tau), 1e-13);
  EXPECT_NEAR(SettlingTime(step, 1).lowest, 1 - 2 / std::exp(1.0), 1e-12);
}

TEST(TimeResponse, SettlesWhereTheTransientLastLeaves1Percent) {
  for (const TwinTCircuit& c : kCircuits) {
    const TransferFunction h = Of(c);
    const double fo = 1 / (2 * kPi * c.parts.r1 * c.parts.c1);
    for (const TimeResponse& r : {StepResponseOf(h, PolesOf(h)), SineResponseOf(h, PolesOf(h), fo)}) {
      const Settling s = SettlingTime(r, 1e4 / fo);
      ASSERT_TRUE(s.found);
      EXPECT_GT(std::fabs(TransientAt(r, s.seconds * (1 - 1e-6))), 0.01);
      // Nowhere above 1 % after it, on a grid far finer than any cycle.
      for (int i = 1; i <= 4000; ++i) {
        ASSERT_LE(std::fabs(TransientAt(r, s.seconds * (1 + 1e-6) + i * 0.01 / (40 * fo))), 0.01) << i;
      }
    }
  }
}

TEST(BandRejection, FindsTheHighestLevelInTheBand) {
  // Every seventh corner build of 5 % parts, passive and sharp, with and
  // without real op-amps (some rise near Fo instead of dipping): nowhere
  // within 5 % of Fo above what the search finds.
  for (const TwinTCircuit& c : {Passive(10e3, 10e-9), Active(10), WithOpAmp(10, 1), WithOpAmp(5, 2)}) {
    const double fo = 1 / (2 * kPi * c.parts.r1 * c.parts.c1);
    for (int corner = 0; corner < kCornerBuilds; corner += 7) {
      TwinTCircuit build = c;
      build.parts = CornerParts(c.parts, 0.05, 0.05, corner);
      const TransferFunction h = Of(build);
      const double highest = BandPowerRatio(h, fo, 0.05);
      for (int i = 0; i <= 200; ++i) ASSERT_LE(PowerRatioAtHertz(h, fo * (0.95 + 0.1 * i / 200)), highest * (1 + 1e-9));
    }
  }
}

TEST(DesignReport, GivesTheHumFilterInTime) {
  // 50 Hz from 100 nF: the settling times ngspice gives, within 0.5 %.
  const struct {
    int network;
    double burst_ms, step_ms, step_low;
  } kCases[] = {{0, 39.9, 56.4, 0.126}, {3, 58.1, 48.2, 0.644}, {5, 286.8, 145.7, 0.907}};
  static DesignReport report;
  for (const auto& k : kCases) {
    DesignInputs inputs = Inputs(1 / (2 * kPi * 50 * 100e-9), 100e-9, 50);
    inputs.choices[static_cast<int>(PanelList::Network)] = k.network;
    MakeDesignReport(inputs, report);
    EXPECT_NEAR(Figured(report, Figure::BurstSettle) * 1e3, k.burst_ms, 0.005 * k.burst_ms);
    EXPECT_NEAR(Figured(report, Figure::StepSettle) * 1e3, k.step_ms, 0.005 * k.step_ms);
    EXPECT_NEAR(Figured(report, Figure::StepLow), k.step_low, 5e-4);
    // The wider the band, the less it takes off.
    double last = 1e9;
    for (int band = 0; band < kRejectBands.count; ++band) {
      inputs.choices[static_cast<int>(PanelList::RejectBand)] = band;
      MakeDesignReport(inputs, report);
      EXPECT_LT(Figured(report, Figure::BandReject90), Figured(report, Figure::BandReject) + 1e-9);
      EXPECT_LT(Figured(report, Figure::BandRejectIdeal), last);
      last = Figured(report, Figure::BandRejectIdeal);
    }
  }
}

}  // namespace
}  // namespace notchwell
