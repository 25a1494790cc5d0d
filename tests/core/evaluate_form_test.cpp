#include "evaluate_form.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using notchwell::CalcMode;
using notchwell::CalcOutcome;
using notchwell::EvaluateForm;
using notchwell::FormField;
using notchwell::FormSnapshot;
using notchwell::OutcomeKind;

// Unit indices as the lists show them.
constexpr int kOhm = 0, kKOhm = 1, kMOhm = 2;
constexpr int kPf = 0, kNf = 1, kUf = 2;
constexpr int kHz = 0, kKHz = 1, kMHz = 2;

FormSnapshot Snapshot(CalcMode mode, const char* r, int r_unit, const char* c, int c_unit, const char* f, int f_unit) {
  FormSnapshot s{};
  s.mode = mode;
  s.resistance_unit = r_unit;
  s.capacitance_unit = c_unit;
  s.frequency_unit = f_unit;
  std::strncpy(s.resistance_text, r, sizeof s.resistance_text - 1);
  std::strncpy(s.capacitance_text, c, sizeof s.capacitance_text - 1);
  std::strncpy(s.frequency_text, f, sizeof s.frequency_text - 1);
  return s;
}

struct ResultCase {
  CalcMode mode;
  const char* r;
  int r_unit;
  const char* c;
  int c_unit;
  const char* f;
  int f_unit;
  FormField target;
  const char* text;
};

class Solves : public testing::TestWithParam<ResultCase> {};

TEST_P(Solves, WritesTheResultIntoTheSolvedField) {
  const ResultCase& p = GetParam();
  const CalcOutcome out = EvaluateForm(Snapshot(p.mode, p.r, p.r_unit, p.c, p.c_unit, p.f, p.f_unit));
  ASSERT_EQ(out.kind, OutcomeKind::Result) << (out.message ? out.message : "");
  EXPECT_EQ(out.field, p.target);
  EXPECT_STREQ(out.text, p.text);
}

constexpr auto F = CalcMode::SolveFrequency;
constexpr auto R = CalcMode::SolveResistance;
constexpr auto C = CalcMode::SolveCapacitance;

INSTANTIATE_TEST_SUITE_P(
    Formulas, Solves,
    testing::Values(
        // The worked example, in all three frequency units.
        ResultCase{F, "10", kKOhm, "10", kNf, "", kHz, FormField::Frequency, "1591.549438"},
        ResultCase{F, "10", kKOhm, "10", kNf, "", kKHz, FormField::Frequency, "1.591549"},
        ResultCase{F, "10", kKOhm, "10", kNf, "", kMHz, FormField::Frequency, "0.001592"},
        ResultCase{C, "10", kKOhm, "", kNf, "1", kKHz, FormField::Capacitance, "15.915494"},
        ResultCase{C, "10", kKOhm, "", kPf, "1", kKHz, FormField::Capacitance, "15915.494141"},
        ResultCase{C, "10", kKOhm, "", kUf, "1", kKHz, FormField::Capacitance, "0.015915"},
        ResultCase{R, "", kKOhm, "10", kNf, "1591.549438", kHz, FormField::Resistance, "10.000000"},
        ResultCase{R, "", kMOhm, "1", kPf, "1", kHz, FormField::Resistance, "159154.937500"},
        ResultCase{R, "", kOhm, "1", kUf, "1", kKHz, FormField::Resistance, "159.154938"},
        ResultCase{F, "1", kOhm, "1", kUf, "", kMHz, FormField::Frequency, "0.159155"},
        ResultCase{F, "-10", kKOhm, "10", kNf, "", kHz, FormField::Frequency, "-1591.549438"},
        ResultCase{F, "-10", kKOhm, "-10", kNf, "", kHz, FormField::Frequency, "1591.549438"},
        // The solved field is never examined.
        ResultCase{R, "abc", kKOhm, "10", kNf, "1591.549438", kHz, FormField::Resistance, "10.000000"},
        // A previous result read back: 15915.494141 in full, 1.#INF00 as 1.
        ResultCase{F, "15915.494141", kOhm, "10", kNf, "", kHz, FormField::Frequency, "1000.000000"},
        ResultCase{F, "1.#INF00", kMOhm, "1", kPf, "", kHz, FormField::Frequency, "159154.937500"},
        // Extremes: overflow to infinity, underflow to zero.
        ResultCase{F, "1e-45", kOhm, "1e-45", kPf, "", kHz, FormField::Frequency, "1.#INF00"},
        ResultCase{F, "1e38", kMOhm, "1e38", kUf, "", kHz, FormField::Frequency, "0.000000"},
        ResultCase{F, "1e39", kOhm, "1", kNf, "", kHz, FormField::Frequency, "0.000000"},
        ResultCase{F, "-1e39", kOhm, "1", kNf, "", kHz, FormField::Frequency, "0.000000"}));

struct ErrorCase {
  const char* why;
  FormSnapshot snapshot;
  FormField focus;
  const char* message;
};

class Reports : public testing::TestWithParam<ErrorCase> {};

TEST_P(Reports, TheFirstProblemInCheckOrder) {
  const CalcOutcome out = EvaluateForm(GetParam().snapshot);
  ASSERT_EQ(out.kind, OutcomeKind::Error) << GetParam().why;
  EXPECT_EQ(out.field, GetParam().focus) << GetParam().why;
  EXPECT_STREQ(out.message, GetParam().message) << GetParam().why;
}

INSTANTIATE_TEST_SUITE_P(
    CheckOrder, Reports,
    testing::Values(ErrorCase{"frequency units first", Snapshot(F, "x", 7, "x", 7, "x", 3), FormField::FrequencyUnits,
                              "Invalid frequency units index"},
                    ErrorCase{"then capacitance units", Snapshot(F, "x", 7, "x", -2, "x", 2),
                              FormField::CapacitanceUnits, "Invalid capacitance units index"},
                    ErrorCase{"then resistance units", Snapshot(F, "x", 3, "x", 0, "x", 2), FormField::ResistanceUnits,
                              "Invalid resistance units index"},
                    ErrorCase{"units before values", Snapshot(R, "x", 2147483647, "x", 0, "x", 0),
                              FormField::ResistanceUnits, "Invalid resistance units index"},
                    ErrorCase{"conversion before missing (Fo)", Snapshot(F, "abc", kKOhm, "", kNf, "", kHz),
                              FormField::Resistance, "Invalid resistance value entered"},
                    ErrorCase{"R converted before C", Snapshot(F, "abc", kKOhm, "-", kNf, "", kHz),
                              FormField::Resistance, "Invalid resistance value entered"},
                    ErrorCase{"C invalid", Snapshot(F, "10", kKOhm, ".e5", kNf, "", kHz), FormField::Capacitance,
                              "Invalid capacitance value entered"},
                    ErrorCase{"C converted before F", Snapshot(R, "", kKOhm, "e5", kNf, "abc", kHz),
                              FormField::Capacitance, "Invalid capacitance value entered"},
                    ErrorCase{"F invalid", Snapshot(R, "", kKOhm, "", kNf, "  ", kHz), FormField::Frequency,
                              "Invalid frequency value entered"},
                    ErrorCase{"R converted before F", Snapshot(C, "a", kKOhm, "", kNf, "b", kHz), FormField::Resistance,
                              "Invalid resistance value entered"},
                    ErrorCase{"F conversion before R missing", Snapshot(C, "", kKOhm, "", kNf, "-a", kHz),
                              FormField::Frequency, "Invalid frequency value entered"},
                    // Missing checks always run C, Fo, R.
                    ErrorCase{"OK at once", Snapshot(R, "", kKOhm, "", kNf, "", kHz), FormField::Capacitance,
                              "Capacitance value is missing"},
                    ErrorCase{"Fo mode: C before R", Snapshot(F, "", kKOhm, "", kNf, "", kHz), FormField::Capacitance,
                              "Capacitance value is missing"},
                    ErrorCase{"Fo mode: R missing", Snapshot(F, "0", kKOhm, "1", kNf, "", kHz), FormField::Resistance,
                              "Resistance value is missing"},
                    ErrorCase{"R mode: F missing", Snapshot(R, "", kKOhm, "1", kNf, "-0", kHz), FormField::Frequency,
                              "Frequency value is missing"},
                    ErrorCase{"C mode: F before R", Snapshot(C, "", kKOhm, "", kNf, "0e5", kHz), FormField::Frequency,
                              "Frequency value is missing"},
                    ErrorCase{"C mode: R missing", Snapshot(C, "0.0", kKOhm, "", kNf, "1", kHz), FormField::Resistance,
                              "Resistance value is missing"},
                    ErrorCase{"0x10 reads as zero", Snapshot(F, "0x10", kKOhm, "1", kNf, "", kHz),
                              FormField::Resistance, "Resistance value is missing"},
                    ErrorCase{"a previous 0.000000 result is missing",
                              Snapshot(F, "1", kKOhm, "0.000000", kNf, "", kHz), FormField::Capacitance,
                              "Capacitance value is missing"},
                    ErrorCase{"underflow to zero is missing", Snapshot(F, "1e-50", kKOhm, "1", kNf, "", kHz),
                              FormField::Resistance, "Resistance value is missing"}));

TEST(EvaluateForm, AListWithoutSelectionEndsSilently) {
  struct {
    int r_unit, c_unit, f_unit;
  } const cases[] = {{kKOhm, kNf, -1}, {kKOhm, -1, kHz}, {-1, kNf, kHz}, {-1, -1, -1}, {7, -1, kHz}, {-1, 9, -1}};
  for (const auto& units : cases) {
    for (CalcMode mode : {F, R, C}) {
      const CalcOutcome out = EvaluateForm(Snapshot(mode, "abc", units.r_unit, "", units.c_unit, "-", units.f_unit));
      EXPECT_EQ(out.kind, OutcomeKind::Nothing) << units.r_unit << " " << units.c_unit << " " << units.f_unit;
    }
  }
}

TEST(EvaluateForm, UnterminatedTextsAreReadToTheEndOfTheirBuffer) {
  FormSnapshot s = Snapshot(F, "", kOhm, "", kPf, "", kHz);
  std::memset(s.resistance_text, '1', sizeof s.resistance_text);  // 64 ones, no terminator
  std::memset(s.capacitance_text, '1', sizeof s.capacitance_text);
  s.frequency_text[0] = 'x';
  const CalcOutcome out = EvaluateForm(s);
  ASSERT_EQ(out.kind, OutcomeKind::Result);
  EXPECT_STREQ(out.text, "0.000000");
}

}  // namespace
