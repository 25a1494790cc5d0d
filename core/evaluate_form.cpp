#include "evaluate_form.h"

#include <cstring>
#include <string_view>

#include "format_result.h"
#include "messages.h"
#include "parse_number_text.h"
#include "unit_list.h"

namespace notchwell {
namespace {

// The program's value of 2 pi, kept as it has always been.
constexpr double TWO_PI_APPROX = 6.2831853;

CalcOutcome Nothing() { return CalcOutcome{OutcomeKind::Nothing, FormField::Resistance, nullptr, {}}; }

CalcOutcome Error(FormField field, const char* message) { return CalcOutcome{OutcomeKind::Error, field, message, {}}; }

std::string_view TextOf(const char (&buffer)[kFieldTextSize]) {
  const void* terminator = std::memchr(buffer, '\0', kFieldTextSize);
  const std::size_t length =
      terminator ? static_cast<std::size_t>(static_cast<const char*>(terminator) - buffer) : kFieldTextSize;
  return std::string_view(buffer, length);
}

// A field as read for the calculation: the value as entered (0 when empty)
// and the value in the base unit.
struct FieldValue {
  float entered;
  double base;
};

// Converts one value field; false when its text is not a number.
bool ReadField(const char (&text)[kFieldTextSize], const UnitEntry& unit, FieldValue& out) {
  out = FieldValue{0.0f, 0.0};
  const std::string_view view = TextOf(text);
  if (view.empty()) return true;
  if (!ParseNumberText(view, out.entered)) return false;
  out.base = ScaleToBase(unit, static_cast<double>(out.entered));
  return true;
}

}  // namespace

CalcOutcome EvaluateForm(const FormSnapshot& s) {
  const auto& r_msg = MessagesFor(Quantity::Resistance);
  const auto& c_msg = MessagesFor(Quantity::Capacitance);
  const auto& f_msg = MessagesFor(Quantity::Frequency);

  // Unit selections, frequency first; a list without a selection ends the
  // evaluation silently.
  const int units[] = {s.frequency_unit, s.capacitance_unit, s.resistance_unit};
  const QuantityMessages* unit_msgs[] = {&f_msg, &c_msg, &r_msg};
  for (int i = 0; i < kQuantityCount; ++i) {
    if (units[i] == -1) return Nothing();
    if (!IsUnitIndex(units[i])) return Error(unit_msgs[i]->units_field, unit_msgs[i]->invalid_units);
  }
  const UnitEntry& r_unit = kResistanceUnits.entries[s.resistance_unit];
  const UnitEntry& c_unit = kCapacitanceUnits.entries[s.capacitance_unit];
  const UnitEntry& f_unit = kFrequencyUnits.entries[s.frequency_unit];

  const bool solve_f = s.mode == CalcMode::SolveFrequency;
  const bool solve_r = s.mode == CalcMode::SolveResistance;
  const bool solve_c = !solve_f && !solve_r;

  // Every conversion comes before any missing check.
  FieldValue r{0.0f, 0.0};
  FieldValue c{0.0f, 0.0};
  FieldValue f{0.0f, 0.0};
  if (!solve_r && !ReadField(s.resistance_text, r_unit, r)) return Error(r_msg.value_field, r_msg.invalid_value);
  if (!solve_c && !ReadField(s.capacitance_text, c_unit, c)) return Error(c_msg.value_field, c_msg.invalid_value);
  if (!solve_f && !ReadField(s.frequency_text, f_unit, f)) return Error(f_msg.value_field, f_msg.invalid_value);

  // Missing values, always in the order C, Fo, R; the test is on the value
  // as entered, so 0, -0 and 0e5 all count as missing.
  if (!solve_c && c.entered == 0.0f) return Error(c_msg.value_field, c_msg.missing);
  if (!solve_f && f.entered == 0.0f) return Error(f_msg.value_field, f_msg.missing);
  if (!solve_r && r.entered == 0.0f) return Error(r_msg.value_field, r_msg.missing);

  double x;
  const UnitEntry* out_unit;
  FormField target;
  if (solve_f) {
    x = 1.0 / ((c.base * r.base) * TWO_PI_APPROX);
    out_unit = &f_unit;
    target = f_msg.value_field;
  } else if (solve_r) {
    x = 1.0 / ((f.base * c.base) * TWO_PI_APPROX);
    out_unit = &r_unit;
    target = r_msg.value_field;
  } else {
    x = 1.0 / ((f.base * r.base) * TWO_PI_APPROX);
    out_unit = &c_unit;
    target = c_msg.value_field;
  }
  const auto result = static_cast<float>(ScaleFromBase(*out_unit, x));

  CalcOutcome outcome{OutcomeKind::Result, target, nullptr, {}};
  char text[kResultTextSize];
  const int length = FormatResult(result, text);
  std::memcpy(outcome.text, text, static_cast<std::size_t>(length) + 1);
  return outcome;
}

}  // namespace notchwell
