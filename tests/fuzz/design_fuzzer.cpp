// Fuzzes the design code. The first byte picks the target:
// (0xff: target 2; otherwise even bytes 0 and odd ones 1)
//   0  the panel's value fields' reading, on the rest split at newlines
//      (source, load, the measured R1, R2, R3, C1, C2, C3, then the custom
//      op-amp's gain-bandwidth, open-loop gain and slew rate): every
//      text gets one clear outcome, and a plain decimal is read as strtod
//      reads it;
//   1  a whole design: three floats with units as the dialog gives them,
//      the panel's choices (any index) and the fields as above: every
//      figure the report gives is finite, and so is every curve point;
//   2  the panel snapshot as the page's memory could hold it, any bytes
//      (modes, indices and lengths out of range, texts without a
//      terminator): read without a fault, and when it makes a design,
//      that design's figures finite and its netlist whole.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "build_exports.h"
#include "design_report.h"
#include "elementary.h"
#include "panel_controls.h"
#include "panel_snapshot.h"
#include "part_value_text.h"

using namespace notchwell;

namespace {

constexpr int kFields = kPanelFields;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Whether the form's values make a network at all.
// The same number, NaN as NaN.
bool SameNumber(double a, double b) { return a == b || (a != a && b != b); }

bool MakesANetwork(double r_ohms, double c_farads, double fo_hertz) {
  return IsPositiveFinite(r_ohms) && IsPositiveFinite(c_farads) && IsPositiveFinite(fo_hertz);
}

// The fields' texts, one a line; those beyond the input are empty.
void SplitFields(const std::uint8_t* data, std::size_t size, std::string_view (&fields)[kFields]) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (std::string_view& field : fields) {
    const std::size_t newline = rest.find('\n');
    field = rest.substr(0, newline);
    rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
  }
}

ValueReading CheckField(std::string_view text, ValueField field) {
  const ValueReading r = ReadValueText(text, field);
  Check(static_cast<int>(r.problem) >= 0 && r.problem < ValueProblem::Count);
  Check((*ValueProblemMessage(r.problem, field) == '\0') == (r.problem == ValueProblem::None));
  if (r.problem != ValueProblem::None) return r;
  Check(std::isfinite(r.value) && r.value >= 0 && r.value <= kLargestResistance);
  Check(r.empty || field == ValueField::Source || r.value > 0);
  // Nothing but a decimal number: as the C library reads it.
  const std::string plain(text);
  if (!plain.empty() && plain.find_first_not_of("0123456789.eE+-") == std::string::npos) {
    const double expected = std::strtod(plain.c_str(), nullptr);
    Check(std::fabs(r.value - expected) <= 1e-15 * expected + 1e-300);
  }
  return r;
}

void CheckDesign(const std::uint8_t* data, std::size_t size) {
  constexpr double kUnits[3][3] = {{1, 1e3, 1e6}, {1e-12, 1e-9, 1e-6}, {1, 1e3, 1e6}};
  if (size < 20) return;
  double values[3];
  for (int i = 0; i < 3; ++i) {
    float entered;
    std::memcpy(&entered, data + 4 * i, 4);
    values[i] = static_cast<double>(entered) * kUnits[i][data[12 + i] % 3];
  }
  if (!MakesANetwork(values[0], values[1], values[2])) return;
  std::string_view texts[kFields];
  SplitFields(data + 20, size - 20, texts);
  ValueReading fields[kFields];
  bool measured = true;
  for (int i = 0; i < kFields; ++i) {
    fields[i] = CheckField(texts[i], kPanelFieldTable[i].kind);
    if (fields[i].problem != ValueProblem::None) return;
    measured = measured && (!IsInGroup(i, FieldGroup::Measured) || !fields[i].empty);
  }
  // The new lists take the first choices' bytes again: any index will do.
  const auto choice = [&](int i) { return static_cast<int>(static_cast<std::int8_t>(data[15 + i % 5])); };
  static DesignReport report;
  DesignInputs inputs{
      values[0],
      values[1],
      values[2],
      {},
      fields[0].value,
      fields[1].empty ? 0 : fields[1].value,
      measured,
      {fields[2].value, fields[3].value, fields[4].value, fields[5].value, fields[6].value, fields[7].value}};
  for (int i = 0; i < kPanelListCount; ++i) inputs.choices[i] = choice(i);
  const ValueReading* amp = fields + kFirstOpAmpField;
  inputs.custom_opamp = {amp[0].value, amp[1].value, amp[2].value, amp[3].value, amp[4].value};
  if (!fields[kNoiseSignalField].empty) inputs.noise_signal_volts = fields[kNoiseSignalField].value;
  MakeDesignReport(inputs, report);
  for (int i = 0; i < kFigureCount; ++i) Check(!report.available[i] || std::isfinite(report.values[i]));
  for (int i = 0; i < kCurvePoints; ++i) {
    Check(std::isfinite(report.curve_hertz[i]) && std::isfinite(CurveOf(report, Curve::Ideal).level_db[i]));
    Check(!Holds(report, Section::Build) || std::isfinite(CurveOf(report, Curve::Build).level_db[i]));
    Check(!measured || std::isfinite(CurveOf(report, Curve::Measured).level_db[i]));
    Check(!Holds(report, Section::OpAmp) || std::isfinite(CurveOf(report, Curve::OpAmp).level_db[i]));
    for (int c = 0; c < kCurves; ++c) {
      Check(!report.curves[c].drawn ||
            (std::isfinite(report.curves[c].degrees[i]) && std::isfinite(report.curves[c].delay_s[i])));
    }
  }
  for (int c = 0; c < kCurves; ++c) {
    for (int n = 0; n < kCurves; ++n) {
      Check(std::isfinite(report.at_notch_db[c][n]) && std::isfinite(report.at_notch_degrees[c][n]) &&
            std::isfinite(report.at_notch_delay_s[c][n]));
    }
  }
  for (int c = 0; Holds(report, Section::Noise) && c < kNoiseCurves; ++c) {
    for (int i = 0; i < kCurvePoints; ++i) Check(std::isfinite(report.noise.density[c][i]));
  }
  // The time view chosen, where one is: every output finite.
  const auto in_time = [](const DesignInputs& in) {
    const PlotView view = static_cast<PlotView>(ChosenIndex(in.choices, PanelList::PlotView));
    return view == PlotView::Step || view == PlotView::Burst;
  };
  for (int c = 0; c < kCurves && in_time(inputs); ++c) {
    for (int i = 0; report.curves[c].drawn && i < kTimePoints; ++i)
      Check(std::isfinite(report.curves[c].time_output[i]));
  }
  for (int i = 0; Holds(report, Section::Build) && i < kPositions; ++i) {
    Check(std::isfinite(report.exact.positions[i].value) && report.exact.positions[i].value > 0);
  }
  // Another band, view and one more list brought in by an update: what a
  // fresh report says.
  DesignInputs other = inputs;
  other.choices[static_cast<int>(PanelList::RejectBand)] = choice(2) + 1;
  other.choices[static_cast<int>(PanelList::PlotView)] = choice(4) - 1;
  other.choices[static_cast<unsigned>(choice(1)) % kPanelListCount] = choice(3) + 1;
  UpdateDesignReport(inputs, other, report);
  static DesignReport fresh;
  MakeDesignReport(other, fresh);
  for (int i = 0; i < kFigureCount; ++i) {
    Check(report.available[i] == fresh.available[i] && (!report.available[i] || report.values[i] == fresh.values[i]));
  }
  for (int i = 0; i < kSectionCount; ++i) Check(report.sections[i] == fresh.sections[i]);
  for (int c = 0; c < kCurves; ++c) {
    Check(report.curves[c].drawn == fresh.curves[c].drawn);
    for (int i = 0; fresh.curves[c].drawn && i < kCurvePoints; ++i) {
      Check(SameNumber(CurveOf(report, static_cast<Curve>(c)).level_db[i],
                       CurveOf(fresh, static_cast<Curve>(c)).level_db[i]));
    }
  }
  for (int c = 0; c < kCurves && in_time(other); ++c) {
    for (int i = 0; report.curves[c].drawn && i < kTimePoints; ++i)
      Check(report.curves[c].time_output[i] == fresh.curves[c].time_output[i]);
  }
}

void CheckSnapshot(const std::uint8_t* data, std::size_t size) {
  static PanelSnapshot s;
  std::memset(&s, 0, sizeof s);
  std::memcpy(&s, data, size < sizeof s ? size : sizeof s);
  static PanelReading reading;
  static DesignInputs inputs;
  if (!ReadPanelSnapshot(s, reading, inputs)) return;
  Check(MakesANetwork(inputs.r_ohms, inputs.c_farads, inputs.fo_hertz));
  static DesignReport report;
  MakeDesignReport(inputs, report);
  for (int i = 0; i < kFigureCount; ++i) Check(!report.available[i] || std::isfinite(report.values[i]));
  if (!Holds(report, Section::Build)) return;
  static char text[4096];
  NetlistText out{text, sizeof text, 0, false};
  WriteBuildNetlist(inputs, report, out);
  Check(!out.overflow && out.length == static_cast<int>(std::strlen(text)));
  // The schematic fits the page's buffer whatever the values.
  static char sheet[65536];
  NetlistText schematic{sheet, sizeof sheet, 0, false};
  WriteBuildSchematic(inputs, report, {"title", "2026-12-08", "comment", "note\nlines"}, schematic);
  Check(!schematic.overflow && schematic.length == static_cast<int>(std::strlen(sheet)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] == 0xff) {
    CheckSnapshot(data + 1, size - 1);
  } else if (data[0] % 2 == 0) {
    std::string_view texts[kFields];
    SplitFields(data + 1, size - 1, texts);
    for (int i = 0; i < kFields; ++i) CheckField(texts[i], kPanelFieldTable[i].kind);
  } else {
    CheckDesign(data + 1, size - 1);
  }
  return 0;
}
