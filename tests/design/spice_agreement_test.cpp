// The design code's response against ngspice, a circuit simulator written
// elsewhere: the same netlists, AC analyses at 201 frequencies over four
// decades and 2001 across the notch. Levels must agree within 0.01 dB
// and phases within 0.01 degrees wherever the level is above -80 dB,
// notch frequencies within 0.01 %, and with real op-amps the half-power
// points nearest the notch within 0.01 %. In time, transient analyses of
// a unit step and a sine at 50 Hz switched on: settling times within
// 0.5 % and the step's lowest output within 0.001.
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
#include "followers.h"
#include "notch_search.h"
#include "null_conditions.h"
#include "op_amps.h"
#include "phase_response.h"
#include "spice_netlist.h"
#include "time_response.h"
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
  WriteSpiceNetlist(c, {false, 0, 0}, {amp, nullptr}, false, 0, nullptr, out);
  EXPECT_FALSE(out.overflow);
  return std::string("* twin-T notch\n") + text;
}

// Worst differences over all cases, for the record.
double worst_db = 0;
double worst_notch = 0;
double worst_degrees = 0;
double worst_settling = 0;
double worst_low = 0;

// The rows `wrdata` writes of `vectors` after the control lines `run`,
// ngspice running the circuit's netlist.
std::vector<std::vector<double>> RunSpice(const std::string& netlist, const std::string& run,
                                          const std::string& vectors, std::size_t columns) {
  char folder[] = "/tmp/notchwell-spice-XXXXXX";
  if (mkdtemp(folder) == nullptr) return {};
  const std::string base = folder;
  {
    std::ofstream file(base + "/circuit.cir");
    file << netlist << ".control\nset wr_singlescale\noption numdgt=15\n"
         << run << "\nwrdata " << base << "/rows.txt " << vectors << "\n.endc\n.end\n";
  }
  const std::string command = "ngspice -b " + base + "/circuit.cir >" + base + "/log.txt 2>&1";
  // ngspice exits with 1 in batch mode when the analysis comes from a
  // control block; what it wrote tells whether it ran.
  std::vector<std::vector<double>> rows;
  if (std::system(command.c_str()) != -1) {
    std::ifstream data(base + "/rows.txt");
    for (std::vector<double> row(columns); data >> row[0];) {
      for (std::size_t i = 1; i < columns; ++i) data >> row[i];
      rows.push_back(row);
    }
  }
  if (!rows.empty() && std::system(("rm -r " + base).c_str()) != 0) ADD_FAILURE() << "cannot remove " << base;
  return rows;
}

// Frequency and level in dB of Vout at each point of the sweep.
std::vector<std::pair<double, double>> Simulate(const TwinTCircuit& circuit, const std::string& sweep,
                                                const OpAmp& amp = {0, 0, 0}) {
  std::vector<std::pair<double, double>> levels;
  for (const auto& row : RunSpice(SpiceNetlist(circuit, amp), "ac " + sweep, "vdb(out)", 2)) {
    levels.emplace_back(row[0], row[1]);
  }
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
  const auto rows = RunSpice(SpiceNetlist(k.circuit, k.amp), "ac " + decades.str(), "vdb(out) vp(out)", 3);
  ASSERT_EQ(rows.size(), 201u) << "ngspice did not run: is it installed (tools/install-deps)?";
  int compared = 0;
  for (const auto& row : rows) {
    const double hertz = row[0], db = row[1];
    const double y = 2 * kPi * hertz / h.omega_ref;
    const double ours = 10 * std::log10(PowerRatio(h, y * y));
    if (db < -80) continue;
    ++compared;
    EXPECT_NEAR(ours, db, 0.01) << hertz << " Hz";
    worst_db = std::fmax(worst_db, std::fabs(ours - db));
    // The phase, either side of the cut at 180 degrees.
    double apart = PhaseAndDelayAt(h, hertz).degrees - row[2] * 180 / kPi;
    apart -= 360 * std::round(apart / 360);
    EXPECT_NEAR(apart, 0, 0.01) << hertz << " Hz";
    worst_degrees = std::fmax(worst_degrees, std::fabs(apart));
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

// The 50 Hz hum filter from 100 nF in time: passive, Q = 2 and Q = 10,
// the ideal values and the nearest build, with and without a 600 ohm
// source and a 10 kOhm load, and with TL072s.
const SpiceCase kTimeCases[] = {
    {"Ideal", {kIdeal, 0, 0, false, 0}},
    {"NearestWithSourceAndLoad", {kNearest, 600, 10e3, false, 0}},
    {"IdealQ2WithSourceAndLoad", {kIdeal, 600, 10e3, true, kQ2}},
    {"NearestQ2", {kNearest, 0, 0, true, kQ2}},
    {"IdealQ10", {kIdeal, 0, 0, true, FeedbackForQ(10)}},
    {"NearestQ10WithSource", {kNearest, 600, 0, true, kQ10}},
    {"IdealQ10Tl072", WithOpAmps(kIdeal, 0, FeedbackForQ(10), kTl072), kTl072},
};

// From when on |v - steady(t)| stays within 0.01, between samples by
// linear interpolation; and the lowest v from `from` on.
struct Simulated {
  double settled;
  double lowest;
};
Simulated Settled(const std::vector<std::vector<double>>& rows, double amplitude, double phase, double from) {
  Simulated s{0, 1e300};
  double last_t = 0, last_e = 0;
  for (const auto& row : rows) {
    const double t = row[0];
    const double e = row[1] - (phase < 99 ? amplitude * std::sin(2 * kPi * 50 * t + phase) : amplitude);
    if (std::fabs(e) > 0.01) s.settled = t;
    if (std::fabs(last_e) > 0.01 && std::fabs(e) <= 0.01) {
      const double edge = last_e > 0 ? 0.01 : -0.01;
      s.settled = last_t + (t - last_t) * (last_e - edge) / (last_e - e);
    }
    if (t >= from && row[1] < s.lowest) s.lowest = row[1];
    last_t = t, last_e = e;
  }
  return s;
}

class SpiceTransient : public testing::TestWithParam<SpiceCase> {};

TEST_P(SpiceTransient, SettlesWhenTheSimulatorSays) {
  const SpiceCase& k = GetParam();
  const TransferFunction h = TransferFunctionOf(k.circuit, k.circuit.parts.r1, k.circuit.parts.c1);
  const Roots poles = PolesOf(h);
  const Settling step = SettlingTime(StepResponseOf(h, poles), 200, 0.01 / 50);
  const Settling burst = SettlingTime(SineResponseOf(h, poles, 50), 200);
  ASSERT_TRUE(step.found && burst.found);
  // ngspice's own steady states: its level and phase at 50 Hz, and far below.
  const auto far = RunSpice(SpiceNetlist(k.circuit, k.amp), "ac lin 1 1e-4 1e-4", "vm(out)", 2);
  const auto at = RunSpice(SpiceNetlist(k.circuit, k.amp), "ac lin 1 50 50", "vm(out) vp(out)", 3);
  ASSERT_TRUE(far.size() == 1 && at.size() == 1) << "ngspice did not run: is it installed (tools/install-deps)?";
  const std::string source = k.circuit.source_ohms > 0 ? "VS vs 0 " : "VS in 0 ";
  const auto transient = [&](const std::string& wave, double until) {
    std::string netlist = SpiceNetlist(k.circuit, k.amp);
    const std::size_t line = netlist.find(source);
    netlist.replace(line, netlist.find('\n', line) - line, source + wave);
    std::ostringstream run;
    run << "option reltol=1e-6 abstol=1e-15 vntol=1e-12\ntran 2e-6 " << until << " 0 2e-6";
    return RunSpice(netlist, run.str(), "v(out)", 2);
  };
  const Simulated s = Settled(transient("PWL(0 0 1e-9 1)", 1.2 * step.seconds), far[0][1], 99, 0.01 / 50);
  const Simulated b = Settled(transient("SIN(0 1 50 0 0 0)", 1.2 * burst.seconds), at[0][1], at[0][2], 1e9);
  EXPECT_NEAR(step.seconds / s.settled, 1, 0.005) << "step: ngspice " << s.settled << " s";
  EXPECT_NEAR(burst.seconds / b.settled, 1, 0.005) << "burst: ngspice " << b.settled << " s";
  EXPECT_NEAR(step.lowest, s.lowest, 0.001);
  worst_settling = std::fmax(
      worst_settling, std::fmax(std::fabs(step.seconds / s.settled - 1), std::fabs(burst.seconds / b.settled - 1)));
  worst_low = std::fmax(worst_low, std::fabs(step.lowest - s.lowest));
  std::printf("%s: step %.5g s (ngspice %.5g), lowest %.5f (%.5f); burst %.5g s (%.5g)\n", k.name, step.seconds,
              s.settled, step.lowest, s.lowest, burst.seconds, b.settled);
}

INSTANTIATE_TEST_SUITE_P(Netlists, SpiceTransient, testing::ValuesIn(kTimeCases),
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
    std::printf(
        "ngspice agreement: worst phase difference %.2e degrees, worst settling time difference %.2e %%, "
        "worst lowest step output difference %.2e\n",
        worst_degrees, worst_settling * 100, worst_low);
  }
};
const auto* const kRecord = testing::AddGlobalTestEnvironment(new Record);

}  // namespace
