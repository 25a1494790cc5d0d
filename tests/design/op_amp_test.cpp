// The active network with real op-amps against what is known without the
// design code: a follower's closed-loop gain, the ideal network as the
// gain-bandwidth grows, the null conditions, and the definition of the
// gain-bandwidth a design needs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "design_test_support.h"
#include "followers.h"
#include "null_conditions.h"
#include "op_amp_response.h"
#include "panel_snapshot.h"
#include "transfer_function.h"

namespace {

using namespace notchwell;

const OpAmp kTl072 = kOpAmps.options[2].figures;

TwinTCircuit WithOpAmps(TwinTCircuit circuit, const OpAmp& amp) {
  circuit.opamps = FollowersOf(amp);
  return circuit;
}

// With no feedback the network is the passive one, unloaded, and the
// output follower passes A0 / (1 + A0 + s / wp) of it.
TEST(OpAmpFollower, PassesTheNetworkThroughItsClosedLoopGain) {
  const TwinTCircuit passive = Passive(10e3, 10e-9, 600);
  TwinTCircuit follower = passive;
  follower.active = true;
  const OpAmp amp{1e6, 40, 1};
  const TransferFunction h = TransferFunctionOf(WithOpAmps(follower, amp), 10e3, 10e-9);
  const TransferFunction network = TransferFunctionOf(passive, 10e3, 10e-9);
  const double a0 = 100, wp = 2 * kPi * 1e6 / a0;
  for (double hertz = 1; hertz < 1e8; hertz *= 1.9) {
    const double w = 2 * kPi * hertz;
    const double gain = a0 * a0 / ((1 + a0) * (1 + a0) + (w / wp) * (w / wp));
    EXPECT_NEAR(PowerRatioAtHertz(h, hertz) / (PowerRatioAtHertz(network, hertz) * gain), 1, 1e-9) << hertz;
    EXPECT_NEAR(FollowerGainDb(FollowersOf(amp), hertz), 10 * std::log10(gain), 1e-9) << hertz;
  }
}

// The null stays on Fo whatever the op-amps, and so do the resistors that
// null a build of unequal parts there.
TEST(OpAmpFollower, LeaveTheNullAndTheTrims) {
  TwinTCircuit build = Active(10, 600);
  build.parts = {10.1e3, 9.9e3, 10.2e3, 9.8e3, 10.1e-9, 9.95e-9, 9.9e-9, 10.05e-9};
  const NullingResistors n = NullingResistorsAt(build.parts, 1591.5);
  build.parts.r1 = n.r1;
  build.parts.r3a = build.parts.r3b = 2 * n.r3;
  for (int amp = 1; amp < kCustomOpAmp; ++amp) {
    const TransferFunction h = TransferFunctionOf(WithOpAmps(build, kOpAmps.options[amp].figures), 10e3, 10e-9);
    EXPECT_LT(10 * std::log10(PowerRatioAtHertz(h, 1591.5) / PowerRatioAtZero(h)), -200) << amp;
  }
}

// 20 kHz from 1 nF at Q = 10: the more gain-bandwidth, the nearer the
// ideal op-amps' band; the least that keeps Q within 5 % and the peak
// under 0.5 dB does, a little less does not.
TEST(OpAmpResponse, NearsTheIdealAsTheGainBandwidthGrows) {
  const double r = 1 / (2 * kPi * 20e3 * 1e-9);
  const TwinTCircuit circuit{BalancedParts(r, 1e-9), 0, 0, true, FeedbackForQ(10)};
  double last = 0;
  for (const double gbw : {1e6, 1e7, 1e8, 1e9, 1e10}) {
    const OpAmpResponse o = AnalyseOpAmpResponse(circuit, r, 1e-9, {gbw, 160, 1}, 20e3, 20e3);
    EXPECT_GT(o.q, last) << gbw;
    last = o.q;
  }
  EXPECT_NEAR(last, 10, 1e-3);
  const OpAmpResponse tl072 = AnalyseOpAmpResponse(circuit, r, 1e-9, kTl072, 20e3, 20e3);
  ASSERT_TRUE(tl072.gbw_found);
  const auto within = [&](double gbw) {
    const OpAmpResponse o = AnalyseOpAmpResponse(circuit, r, 1e-9, {gbw, kTl072.gain_db, 1}, 20e3, 20e3);
    return std::fabs(o.q / 10 - 1) <= kQFraction && o.peak_db < kPeakLimitDb;
  };
  EXPECT_TRUE(within(tl072.gbw_needed_hertz));
  EXPECT_FALSE(within(tl072.gbw_needed_hertz / 1.002));
  EXPECT_NEAR(tl072.slew_limit_volts, 13e6 / (2 * kPi * 5 * 20e3), 1e-12);
  // 40 dB of open-loop gain takes k down by a fiftieth: no gain-bandwidth
  // brings that Q back.
  EXPECT_FALSE(AnalyseOpAmpResponse(circuit, r, 1e-9, {1e6, 40, 1}, 20e3, 20e3).gbw_found);
}

// Every op-amp and the ends of the custom ranges, with the ends of what
// the dialog gives: finite figures and curves.
TEST(OpAmpResponse, StaysFiniteForEveryOpAmpTheFieldsTake) {
  static DesignReport report;
  const double forms[][3] = {{1, 1e-3, 159.15}, {1e8, 1e-12, 1591.5}, {1e30, 1e-30, 0.1591549}, {1e-3, 1e-7, 1.6e9}};
  const OpAmp customs[] = {{kGbwLowest, kGainLowest, kSlewLowest}, {kGbwHighest, kGainHighest, kSlewHighest}};
  for (const auto& form : forms) {
    for (int amp = 1; amp < kOpAmps.count + 1; ++amp) {
      DesignInputs inputs = Inputs(form[0], form[1], form[2], 600);
      inputs.choices[static_cast<int>(PanelList::Network)] = 5;
      inputs.choices[static_cast<int>(PanelList::OpAmp)] = amp < kCustomOpAmp ? amp : kCustomOpAmp;
      inputs.custom_opamp = customs[amp - kCustomOpAmp < 0 ? 0 : amp - kCustomOpAmp];
      MakeDesignReport(inputs, report);
      ASSERT_TRUE(Holds(report, Section::OpAmp));
      for (int i = 0; i < kFigureCount; ++i) {
        EXPECT_TRUE(!report.available[i] || std::isfinite(report.values[i])) << kFigures[i].name << " " << form[0];
      }
      for (int i = 0; i < kCurvePoints; ++i)
        ASSERT_TRUE(std::isfinite(CurveOf(report, Curve::OpAmp).level_db[i])) << form[0];
    }
  }
}

// Followers more than 3 dB down at Fo make no notch filter there, and
// the report says so; every curve drawn has a value at every notch.
TEST(OpAmpResponse, SaysWhereTheFollowersPassTooLittle) {
  static DesignReport report;
  const struct {
    double fo;
    OpAmp amp;
    bool weak;
  } cases[] = {{1e9, {1e3, 40, 0.01}, true}, {1e3, kTl072, false}, {1e6, {1e6, 100, 1}, true}, {2e4, kTl072, false}};
  for (const auto& c : cases) {
    DesignInputs inputs = Inputs(1 / (2 * kPi * c.fo * 1e-12), 1e-12, c.fo);
    inputs.choices[static_cast<int>(PanelList::Network)] = 5;
    inputs.choices[static_cast<int>(PanelList::OpAmp)] = kCustomOpAmp;
    inputs.custom_opamp = c.amp;
    MakeDesignReport(inputs, report);
    EXPECT_EQ(Holds(report, Section::OpAmpWeak), c.weak) << c.fo;
    EXPECT_EQ(report.values[static_cast<int>(Figure::OpAmpFollowerGain)] < -kFollowerDropDb, c.weak) << c.fo;
    for (int curve = 0; curve < kCurves; ++curve) {
      for (int notch = 0; notch < kCurves; ++notch) {
        if (!report.curves[curve].drawn || !report.curves[notch].drawn || !(report.curves[notch].notch_hertz > 0))
          continue;
        const double hertz = report.curves[notch].notch_hertz;
        EXPECT_NEAR(report.at_notch_db[curve][notch],
                    curve == notch
                        ? report.curves[curve].notch_db
                        : std::fmax(-400, 10 * std::log10(PowerRatioAtHertz(report.curves[curve].function, hertz))),
                    1e-6)
            << c.fo << " " << curve << " at " << notch;
      }
    }
  }
}

// The custom op-amp's fields count only while it is chosen for an active
// network, and then each must be filled in.
TEST(OpAmpFields, CountOnlyWhileTheCustomOpAmpIsChosen) {
  PanelSnapshot s{};
  s.form = {CalcMode::SolveFrequency, 1, 1, 0, "10", "10", "1591.549438"};
  for (int i = 0; i < kPanelListCount; ++i) s.choices[i] = kPanelLists[i].default_index;
  std::memcpy(s.fields[kFirstOpAmpField], "3m", 2);
  s.field_lengths[kFirstOpAmpField] = 2;
  PanelReading reading;
  DesignInputs inputs;
  EXPECT_TRUE(ReadPanelSnapshot(s, reading, inputs));
  s.choices[static_cast<int>(PanelList::OpAmp)] = kCustomOpAmp;
  EXPECT_TRUE(ReadPanelSnapshot(s, reading, inputs));  // a passive network has no op-amps
  s.choices[static_cast<int>(PanelList::Network)] = 3;
  EXPECT_FALSE(ReadPanelSnapshot(s, reading, inputs));
  EXPECT_EQ(reading.field_problems, 7 << kFirstOpAmpField);
  EXPECT_EQ(reading.fields[kFirstOpAmpField].problem, ValueProblem::SmallM);
  const char* texts[] = {"3 MHz", "106", "13"};
  for (int i = 0; i < 3; ++i) {
    s.field_lengths[kFirstOpAmpField + i] = static_cast<int>(std::strlen(texts[i]));
    std::memcpy(s.fields[kFirstOpAmpField + i], texts[i], std::strlen(texts[i]));
  }
  EXPECT_TRUE(ReadPanelSnapshot(s, reading, inputs));
  EXPECT_EQ(inputs.custom_opamp.gbw_hertz, 3e6);
  EXPECT_EQ(inputs.custom_opamp.gain_db, 106);
  EXPECT_EQ(inputs.custom_opamp.slew_volts_per_us, 13);
}

}  // namespace
