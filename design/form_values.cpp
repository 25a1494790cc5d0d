#include "form_values.h"

#include <cstring>
#include <string_view>

#include "design_report.h"
#include "parse_number_text.h"
#include "unit_list.h"

namespace notchwell {
namespace {

bool ReadValue(const char (&text)[kFieldTextSize], Quantity quantity, int unit, double& value) {
  if (!IsUnitIndex(unit)) return false;
  const std::string_view view = FieldText(text);
  float entered;
  if (view.empty() || std::memchr(view.data(), '#', view.size()) || !ParseNumberText(view, entered)) return false;
  value = ScaleToBase(UnitsOf(quantity).entries[unit], static_cast<double>(entered));
  return true;
}

}  // namespace

std::string_view FieldText(const char* buffer) {
  const void* terminator = std::memchr(buffer, '\0', kFieldTextSize);
  return std::string_view(
      buffer, terminator ? static_cast<std::size_t>(static_cast<const char*>(terminator) - buffer) : kFieldTextSize);
}

bool ReadFormValues(const FormSnapshot& s, FormValues& v) {
  return ReadValue(s.resistance_text, Quantity::Resistance, s.resistance_unit, v.r_ohms) &&
         ReadValue(s.capacitance_text, Quantity::Capacitance, s.capacitance_unit, v.c_farads) &&
         ReadValue(s.frequency_text, Quantity::Frequency, s.frequency_unit, v.fo_hertz) &&
         IsDesignable(v.r_ohms, v.c_farads, v.fo_hertz);
}

}  // namespace notchwell
