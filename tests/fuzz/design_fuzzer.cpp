// Fuzzes the design code. The first byte picks the target:
//   0  the source and load fields' reading, on the rest split at the first
//      newline: every text gets one clear outcome, and a plain decimal is
//      read as strtod reads it;
//   1  a whole design: three floats with units as the dialog gives them,
//      the panel's five choices (any index) and the two fields: every
//      figure the report gives is finite, and so is every curve point.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "design_report.h"
#include "resistance_text.h"

using namespace notchwell;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The texts after the target byte: source, then load after a newline.
void SplitFields(const std::uint8_t* data, std::size_t size, std::string_view& source, std::string_view& load) {
  const std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = rest.find('\n');
  source = rest.substr(0, newline);
  load = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
}

ResistanceReading CheckField(std::string_view text, bool is_load) {
  const ResistanceReading r = ReadResistanceText(text, is_load);
  Check(static_cast<int>(r.problem) >= 0 && r.problem < ResistanceProblem::Count);
  Check((*ResistanceProblemMessage(r.problem) == '\0') == (r.problem == ResistanceProblem::None));
  if (r.problem != ResistanceProblem::None) return r;
  Check(std::isfinite(r.ohms) && r.ohms >= 0 && r.ohms <= kLargestResistance);
  Check(r.empty || !is_load || r.ohms > 0);
  // Nothing but a decimal number: as the C library reads it.
  const std::string plain(text);
  if (!plain.empty() && plain.find_first_not_of("0123456789.eE+-") == std::string::npos) {
    const double expected = std::strtod(plain.c_str(), nullptr);
    Check(std::fabs(r.ohms - expected) <= 1e-15 * expected + 1e-300);
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
  if (!IsDesignable(values[0], values[1], values[2])) return;
  std::string_view source, load;
  SplitFields(data + 20, size - 20, source, load);
  const ResistanceReading s = CheckField(source, false);
  const ResistanceReading l = CheckField(load, true);
  if (s.problem != ResistanceProblem::None || l.problem != ResistanceProblem::None) return;
  const auto choice = [&](int i) { return static_cast<int>(static_cast<std::int8_t>(data[15 + i])); };
  static DesignReport report;
  MakeDesignReport({values[0], values[1], values[2], choice(0), choice(1), choice(2), choice(3), choice(4), s.ohms,
                    l.empty ? 0 : l.ohms},
                   report);
  for (int i = 0; i < kFigureCount; ++i) Check(!report.available[i] || std::isfinite(report.values[i]));
  for (int i = 0; i < kCurvePoints; ++i) {
    Check(std::isfinite(report.curve_hertz[i]) && std::isfinite(report.curve_ideal_db[i]));
    Check(!report.build_in_range || std::isfinite(report.curve_build_db[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    std::string_view source, load;
    SplitFields(data + 1, size - 1, source, load);
    CheckField(source, false);
    CheckField(load, true);
  } else {
    CheckDesign(data + 1, size - 1);
  }
  return 0;
}
