// The design code's response against ngspice, a circuit simulator written
// elsewhere: the same netlists, AC analyses at 201 frequencies over four
// decades and 2001 across the notch. Levels must agree within 0.01 dB
// wherever they are above -80 dB, notch frequencies within 0.01 %, and
// with real op-amps the half-power points nearest the notch within 0.01 %.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "active_feedback.h"
#include "elementary.h"
#include "notch_search.h"
#include "null_conditions.h"
#include "op_amps.h"
#include "spice_netlist.h"
#include "twin_t_circuit.h"

namespace {

using namespace notchwell;

struct SpiceCase {
  const char* name;
  TwinTCircuit circuit;
  OpAmp amp = {0, 0, 0};  // the real op-amps of an active circuit, or none
};

// 50 Hz from 100 nF: the ideal values, the nearest E24/E12 build, and that
// build with every part off by its tolerance (1 %, 5 %) in a fixed
// pattern; each alone and between a 600 ohm source and a 10 kOhm load.
// Then the active network with the E24 dividers for Q = 1 (3.3k over 10k)
// and Q = 10 (1k over 39k): at Q = 10 the build is off by a tenth as much,
// as the full pattern would leave it no notch to compare.
constexpr TwinTParts kIdeal = BalancedParts(31830.98862, 100e-9);
constexpr TwinTParts kNearest = BalancedParts(33e3, 100e-9);
constexpr TwinTParts Mismatched(double r_off, double c_off) {
  return {33e3 * (1 + r_off),   33e3 * (1 - r_off),   33e3 * (1 + r_off),   33e3 * (1 + r_off),
          100e-9 * (1 - c_off), 100e-9 * (1 + c_off), 100e-9 * (1 + c_off), 100e-9 * (1 - c_off)};
}
// Parts as a meter reads them (R3 and C3 whole, built as two halves).
constexpr TwinTParts kMeasured = PartsOf({33.2e3, 32.9e3, 16.4e3, 98.7e-9, 101.9e-9, 204.4e-9});
constexpr double kQ1 = 10e3 / 13.3e3;
constexpr double kQ10 = 39e3 / 40e3;
const double kQ2 = FeedbackForQ(2);
// The ideal parts and the nearest build at Q = 2 and 10 with real op-amps.
constexpr OpAmp kLm358 = kOpAmps.options[1].figures;
constexpr OpAmp kTl072 = kOpAmps.options[2].figures;
constexpr OpAmp kNe5532 = kOpAmps.options[3].figures;
TwinTCircuit WithOpAmps(const TwinTParts& parts, double source, double k, const OpAmp& amp) {
  return {parts, source, 0, true, k, FollowersOf(amp)};
}

const SpiceCase kSpiceCases[] = {
    {"Ideal", {kIdeal, 0, 0, false, 0}},
    {"IdealWithSourceAndLoad", {kIdeal, 600, 10e3, false, 0}},
    {"Nearest", {kNearest, 0, 0, false, 0}},
    {"NearestWithSourceAndLoad", {kNearest, 600, 10e3, false, 0}},
    {"Mismatched", {Mismatched(0.01, 0.05), 0, 0, false, 0}},
    {"MismatchedWithSourceAndLoad", {Mismatched(0.01, 0.05), 600, 10e3, false, 0}},
    {"ActiveQ1MismatchedWithSource", {Mismatched(0.01, 0.05), 600, 10e3, true, kQ1}},
    {"ActiveQ10WithSource", {kNearest, 600, 0, true, kQ10}},
    {"ActiveQ10MismatchedWithSource", {Mismatched(0.001, 0.005), 600, 10e3, true, kQ10}},
    {"MeasuredWithSourceAndLoad", {kMeasured, 600, 10e3, false, 0}},
    {"IdealQ2Lm358", WithOpAmps(kIdeal, 0, kQ2, kLm358), kLm358},
    {"IdealQ10Tl072", WithOpAmps(kIdeal, 0, FeedbackForQ(10), kTl072), kTl072},
    {"IdealQ10Ne5532WithSource", WithOpAmps(kIdeal, 600, FeedbackForQ(10), kNe5532), kNe5532},
    {"NearestQ2Tl072WithSource", WithOpAmps(kNearest, 600, kQ2, kTl072), kTl072},
    {"NearestQ10Lm358", WithOpAmps(kNearest, 0, kQ10, kLm358), kLm358},
    {"NearestQ10Ne5532", WithOpAmps(kNearest, 0, kQ10, kNe5532), kNe5532},
};

// The netlist the page exports, without its sweep: the panel's own
// writer, with a 10k over the bottom that gives the feedback as the
// divider of an active circuit.
std::string SpiceNetlist(const TwinTCircuit& c, const OpAmp& amp) {
  char text[4096];
  NetlistText out{text, sizeof text, 0, false};
  WriteSpiceNetlist(c, {false, 0, 0}, {amp, nullptr}, false, 0, out);
  EXPECT_FALSE(out.overflow);
  return std::string("* twin-T notch\n") + text;
}

// Worst differences over all cases, for the record.
double worst_db = 0;
double worst_notch = 0;

// Frequency and level in dB of Vout at each point of the sweep.
std::vector<std::pair<double, double>> Simulate(const TwinTCircuit& circuit, const std::string& sweep,
                                                const OpAmp& amp = {0, 0, 0}) {
  char folder[] = "/tmp/notchwell-spice-XXXXXX";
  if (mkdtemp(folder) == nullptr) return {};
  const std::string base = folder;
  {
    std::ofstream netlist(base + "/circuit.cir");
    netlist << SpiceNetlist(circuit, amp) << ".control\nset wr_singlescale\noption numdgt=15\nac " << sweep
            << "\nwrdata " << base << "/levels.txt vdb(out)\n.endc\n.end\n";
  }
  const std::string command = "ngspice -b " + base + "/circuit.cir >" + base + "/log.txt 2>&1";
  // ngspice exits with 1 in batch mode when the analysis comes from a
  // control block; what it wrote tells whether it ran.
  std::vector<std::pair<double, double>> levels;
  if (std::system(command.c_str()) != -1) {
    std::ifstream data(base + "/levels.txt");
    for (double hertz, db; data >> hertz >> db;) levels.emplace_back(hertz, db);
  }
  if (!levels.empty() && std::system(("rm -r " + base).c_str()) != 0) ADD_FAILURE() << "cannot remove " << base;
  return levels;
}

class SpiceAgreement : public testing::TestWithParam<SpiceCase> {};

TEST_P(SpiceAgreement, GivesTheSimulatorsLevelsAndNotch) {
  const SpiceCase& k = GetParam();
  const TransferFunction h = TransferFunctionOf(k.circuit, k.circuit.parts.r1, k.circuit.parts.c1);
  const double fo = 1 / (2 * kPi * k.circuit.parts.r1 * k.circuit.parts.c1);
  std::ostringstream decades;
  decades.precision(17);
  decades << "dec 50 " << fo / 100 << " " << fo * 100;
  const auto levels = Simulate(k.circuit, decades.str(), k.amp);
  ASSERT_EQ(levels.size(), 201u) << "ngspice did not run: is it installed (tools/install-deps)?";
  int compared = 0;
  for (const auto& [hertz, db] : levels) {
    const double y = 2 * kPi * hertz / h.omega_ref;
    const double ours = 10 * std::log10(PowerRatio(h, y * y));
    if (db < -80) continue;
    ++compared;
    EXPECT_NEAR(ours, db, 0.01) << hertz << " Hz";
    worst_db = std::fmax(worst_db, std::fabs(ours - db));
  }
  EXPECT_GT(compared, 190);

  // The simulator's smallest level in steps of about 2e-5 around our
  // notch (off the grid), and the vertex of the parabola |H|^2 makes there.
  const Notch notch = FindNotch(h);
  ASSERT_TRUE(notch.found);
  const double ours = HertzAt(h, notch.x);
  std::ostringstream across;
  across.precision(17);
  across << "lin 2001 " << ours * 0.98 << " " << ours * 1.0213;
  const auto fine = Simulate(k.circuit, across.str(), k.amp);
  ASSERT_EQ(fine.size(), 2001u);
  std::size_t i = 1;
  for (std::size_t j = 1; j + 1 < fine.size(); ++j) {
    if (fine[j].second < fine[i].second) i = j;
  }
  double power[3];
  for (int d = 0; d < 3; ++d) power[d] = std::pow(10, fine[i - 1 + d].second / 10);
  const double step = fine[i + 1].first - fine[i].first;
  const double theirs = fine[i].first + step * (power[0] - power[2]) / (2 * (power[0] - 2 * power[1] + power[2]));
  EXPECT_NEAR(theirs / ours, 1, 1e-4);
  worst_notch = std::fmax(worst_notch, std::fabs(theirs / ours - 1));
  if (!HasRealOpAmps(k.circuit)) return;

  // The simulator's level crosses half of its own far below the notch
  // within 0.01 % of each of our half-power points.
  const auto far = Simulate(k.circuit, "lin 1 " + std::to_string(fo * 1e-5) + " " + std::to_string(fo * 1e-5), k.amp);
  ASSERT_EQ(far.size(), 1u);
  const HalfPowerBand band = NearestCrossings(h, notch.x, PowerRatioAtZero(h) / 2, 1e4);
  ASSERT_TRUE(band.low_found && band.high_found);
  for (const double x : {band.low_x, band.high_x}) {
    std::ostringstream edge;
    edge.precision(17);
    edge << "lin 3 " << HertzAt(h, x) * (1 - 1e-4) << " " << HertzAt(h, x) * (1 + 1e-4);
    const auto sides = Simulate(k.circuit, edge.str(), k.amp);
    ASSERT_EQ(sides.size(), 3u);
    const double half = far[0].second - 10 * std::log10(2.0);
    EXPECT_LT((sides[0].second - half) * (sides[2].second - half), 0) << HertzAt(h, x) << " Hz";
  }
}

INSTANTIATE_TEST_SUITE_P(Netlists, SpiceAgreement, testing::ValuesIn(kSpiceCases),
                         [](const testing::TestParamInfo<SpiceCase>& info) { return std::string(info.param.name); });

// Builds whose R1 and R3 come from the null conditions at 50 Hz: the
// measured parts, and the nearest build with every part off by its
// tolerance, passive and active, between a source and a load. ngspice
// must find them at least 80 dB below their own level far below the notch.
TEST(SpiceNull, TrimmedBuildsNullAtFo) {
  const TwinTCircuit builds[] = {{kMeasured, 600, 10e3, false, 0},
                                 {Mismatched(0.01, 0.05), 600, 10e3, false, 0},
                                 {kMeasured, 600, 0, true, kQ10},
                                 {Mismatched(0.01, 0.05), 0, 0, true, kQ1}};
  for (TwinTCircuit circuit : builds) {
    const NullingResistors n = NullingResistorsAt(circuit.parts, 50);
    circuit.parts.r1 = n.r1;
    circuit.parts.r3a = circuit.parts.r3b = 2 * n.r3;
    const auto at_fo = Simulate(circuit, "lin 1 50 50");
    const auto far = Simulate(circuit, "lin 1 0.05 0.05");
    ASSERT_EQ(at_fo.size(), 1u);
    ASSERT_EQ(far.size(), 1u);
    EXPECT_LT(at_fo[0].second, far[0].second - 80) << "R1 " << n.r1 << ", R3 " << n.r3;
    std::printf("ngspice: trimmed build %.1f dB below its level far from the notch\n", far[0].second - at_fo[0].second);
  }
}

class Record : public testing::Environment {
 public:
  void TearDown() override {
    std::printf("ngspice agreement: worst level difference %.2e dB, worst notch frequency difference %.2e %%\n",
                worst_db, worst_notch * 100);
  }
};
const auto* const kRecord = testing::AddGlobalTestEnvironment(new Record);

}  // namespace
