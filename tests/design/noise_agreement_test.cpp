// The panel's noise figures against ngspice's noise analysis of the very
// netlist the page exports: over the band its control block names, by
// source (the op-amps' noise resistors REN* and RIN*, every other
// resistor), at Fo, and with the build at a tenth of its impedance; each
// within 0.1 dB. A passive network's noise density must also be
// sqrt(4kT Re Zout), Zout as ngspice finds it, at the same points.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "build_exports.h"
#include "design_test_support.h"

namespace {

using namespace notchwell;

constexpr double kWithinDb = 0.1;

struct NoiseCase {
  const char* name;
  double fo;  // 1 kHz from 10 kOhm, or 50 Hz from 100 nF
  double source, load;
  int network;  // index: passive, Q = 0.5, 1, 2, 5, 10
  int opamp;    // index: ideal, LM358, TL072, NE5532, fast, custom
  int band;     // index: 20-20k, 22-22k, 20-80k, 10-500k
  OpAmp custom = {0, 0, 0};
};

// Each band, passive and active, with and without source and load.
const NoiseCase kNoiseCases[] = {
    {"Passive", 1e3, 0, 0, 0, 0, 0},
    {"PassiveSourceLoad", 1e3, 600, 10e3, 0, 0, 1},
    {"PassiveHumWide", 50, 0, 47e3, 0, 0, 3},
    {"Q05Lm358Load", 1e3, 0, 10e3, 1, 1, 0},
    {"Q2Tl072SourceLoad", 1e3, 600, 10e3, 3, 2, 3},
    {"Q5IdealSource", 1e3, 600, 0, 4, 0, 1},
    {"Q10Ne5532Source", 1e3, 600, 0, 5, 3, 2},
    {"Q10Fast", 1e3, 0, 0, 5, 4, 0},
    {"Q10HumCustomVoltageNoiseOnly", 50, 0, 2e3, 5, 5, 0, {10e6, 110, 10, 3e-9, 0}},
};

// ngspice's output: every "name = value" it printed, by name.
std::map<std::string, double> RunNoise(const std::string& netlist) {
  char folder[] = "/tmp/notchwell-noise-XXXXXX";
  std::map<std::string, double> printed;
  if (mkdtemp(folder) == nullptr) return printed;
  const std::string base = folder;
  std::ofstream(base + "/circuit.cir") << netlist;
  if (std::system(("ngspice -b " + base + "/circuit.cir >" + base + "/log.txt 2>&1").c_str()) == -1) return printed;
  std::ifstream log(base + "/log.txt");
  const std::regex line(R"(^(\S+) = (\S+)\s*$)");
  std::smatch m;
  for (std::string text; std::getline(log, text);) {
    if (std::regex_match(text, m, line)) printed[m[1]] = std::stod(m[2]);
  }
  if (std::system(("rm -r " + base).c_str()) != 0) ADD_FAILURE() << "cannot remove " << base;
  return printed;
}

std::string Number(double value) {
  std::ostringstream text;
  text.precision(17);
  text << value;
  return text.str();
}

// The netlist with its control block in place of the one it has.
std::string WithControl(const std::string& netlist, const std::string& control) {
  const std::size_t from = netlist.find(".control\n"), to = netlist.find(".endc\n");
  EXPECT_NE(from, std::string::npos);
  return netlist.substr(0, from) + ".control\n" + control + netlist.substr(to);
}

// The eight parts' lines with their resistances a tenth, capacitances ten times.
std::string TenthImpedance(const std::string& netlist) {
  const std::regex part(R"(^(R1|R2|R3A|R3B|C1|C2|C3A|C3B) (\S+) (\S+) (\S+)$)");
  std::istringstream in(netlist);
  std::string out;
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_match(line, m, part)) {
      const double scale = m[1].str()[0] == 'R' ? 0.1 : 10;
      line = m[1].str() + " " + m[2].str() + " " + m[3].str() + " " + Number(std::stod(m[4]) * scale);
    }
    out += line + "\n";
  }
  return out;
}

double Db(double ours, double theirs) { return 20 * std::log10(ours / theirs); }

// The figures' worst difference from ngspice, for the record.
double worst_noise_db = 0;
void ExpectWithin(double db, const std::string& what) {
  EXPECT_NEAR(db, 0, kWithinDb) << what;
  worst_noise_db = std::fmax(worst_noise_db, std::fabs(db));
}

class NoiseAgreement : public testing::TestWithParam<NoiseCase> {};

TEST_P(NoiseAgreement, GivesTheSimulatorsNoise) {
  const NoiseCase& k = GetParam();
  DesignInputs inputs = k.fo == 50 ? Inputs(1 / (2 * kPi * 50 * 100e-9), 100e-9, 50, k.source, k.load)
                                   : Inputs(10e3, 1 / (2 * kPi * 10e3 * 1e3), 1e3, k.source, k.load);
  inputs.choices[static_cast<int>(PanelList::Network)] = k.network;
  inputs.choices[static_cast<int>(PanelList::OpAmp)] = k.opamp;
  inputs.choices[static_cast<int>(PanelList::NoiseBand)] = k.band;
  inputs.custom_opamp = k.custom;
  static DesignReport report;
  MakeDesignReport(inputs, report);
  char text[4096];
  NetlistText out{text, sizeof text, 0, false};
  WriteBuildNetlist(inputs, report, out);
  ASSERT_FALSE(out.overflow);
  const std::string netlist = std::string("* twin-T notch\n") + text;
  const NoiseBand band = kNoiseBands.options[k.band];
  const std::string sweep = "noise v(out) VS dec 1000 " + Number(band.low_hertz) + " " + Number(band.high_hertz);
  ASSERT_NE(netlist.find(".control\n" + sweep + "\nprint onoise_total\n.endc\n"), std::string::npos) << netlist;

  // Over the band by source, then at Fo.
  const std::string control = sweep + " 1\nprint all\nnoise v(out) VS lin 1 " + Number(inputs.fo_hertz) + " " +
                              Number(inputs.fo_hertz) + "\nprint onoise_spectrum\n";
  const auto theirs = RunNoise(WithControl(netlist, control));
  ASSERT_TRUE(theirs.count("onoise_total")) << "ngspice did not run: is it installed (tools/install-deps)?";
  double resistors = 0, voltage = 0, current = 0;
  for (const auto& [name, value] : theirs) {
    if (name.rfind("onoise_total_", 0) != 0 || name.find("_thermal") != std::string::npos ||
        name.find("_1overf") != std::string::npos) {
      continue;
    }
    const std::string device = name.substr(13);
    (device.rfind("ren", 0) == 0 ? voltage : device.rfind("rin", 0) == 0 ? current : resistors) += value * value;
  }
  const bool active = k.network > 0;
  ExpectWithin(Db(Figured(report, Figure::NoiseTotal), theirs.at("onoise_total")), "noise-total");
  ExpectWithin(Figured(report, Figure::NoiseFloor) + 20 * std::log10(theirs.at("onoise_total")), "noise-floor");
  ExpectWithin(Db(Figured(report, Figure::NoiseResistors), std::sqrt(resistors)), "noise-resistors");
  ExpectWithin(Db(Figured(report, Figure::NoiseDensity), theirs.at("onoise_spectrum")), "noise-density");
  if (active && voltage > 0) {
    ExpectWithin(Db(Figured(report, Figure::NoiseOpAmpVoltage), std::sqrt(voltage)), "noise-opamp-voltage");
  } else if (active) {
    EXPECT_EQ(Figured(report, Figure::NoiseOpAmpVoltage), 0);
  }
  if (active && current > 0) {
    ExpectWithin(Db(Figured(report, Figure::NoiseOpAmpCurrent), std::sqrt(current)), "noise-opamp-current");
  } else if (active) {
    EXPECT_EQ(Figured(report, Figure::NoiseOpAmpCurrent), 0);
  }
  std::printf("%-28s total %.4g V (ngspice %.4g), floor %.2f dB, at Fo %.4g V/rtHz (ngspice %.4g)\n", k.name,
              Figured(report, Figure::NoiseTotal), theirs.at("onoise_total"), Figured(report, Figure::NoiseFloor),
              Figured(report, Figure::NoiseDensity), theirs.at("onoise_spectrum"));

  const auto tenth = RunNoise(WithControl(TenthImpedance(netlist), sweep + "\nprint onoise_total\n"));
  ASSERT_TRUE(tenth.count("onoise_total"));
  ExpectWithin(Figured(report, Figure::NoiseFloorTenth) + 20 * std::log10(tenth.at("onoise_total")),
               "noise-floor-tenth");
  if (active) return;

  // sqrt(4kT Re Zout), Zout as the output's voltage for 1 A driven into it
  // with the source at 0 V, at five of the curve's points.
  std::string impedance_control;
  const int points[] = {0, 100, 200, 300, 400};
  for (const int i : points) {
    const std::string at = Number(report.curve_hertz[i]) + " " + Number(report.curve_hertz[i]);
    impedance_control +=
        "ac lin 1 " + at + "\nlet z" + std::to_string(i) + " = real(v(out))\nprint z" + std::to_string(i) + "\n";
  }
  std::string driven = WithControl(netlist, impedance_control);
  driven.replace(driven.find("DC 0 AC 1\n"), 10, "DC 0 AC 0\nIZ 0 out DC 0 AC 1\n");
  const auto zout = RunNoise(driven);
  for (const int i : points) {
    const double re = zout.at("z" + std::to_string(i));
    const double ours = report.noise.density[static_cast<int>(NoiseCurve::Total)][i];
    ExpectWithin(Db(ours, std::sqrt(kFourKT * re)), std::to_string(report.curve_hertz[i]) + " Hz");
  }
}

class NoiseRecord : public testing::Environment {
 public:
  void TearDown() override {
    std::printf("ngspice noise agreement: worst difference of a noise figure %.4f dB\n", worst_noise_db);
  }
};
const auto* const kNoiseRecord = testing::AddGlobalTestEnvironment(new NoiseRecord);

INSTANTIATE_TEST_SUITE_P(Designs, NoiseAgreement, testing::ValuesIn(kNoiseCases),
                         [](const testing::TestParamInfo<NoiseCase>& info) { return info.param.name; });

}  // namespace
