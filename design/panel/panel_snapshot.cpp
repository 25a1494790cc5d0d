#include "panel_snapshot.h"

#include <cstring>

#include "elementary.h"
#include "parse_number_text.h"
#include "unit_list.h"

namespace notchwell {
namespace {

// The calculator's own 2 pi, with which it computed the field it wrote.
constexpr double kCalculatorTwoPi = 6.2831853;
// Fewer significant digits than this in the written field, and the panel
// says what it designs for.
constexpr int kFewestDigits = 4;

std::string_view TextOf(const char (&buffer)[kFieldTextSize]) {
  const void* terminator = std::memchr(buffer, '\0', kFieldTextSize);
  return std::string_view(
      buffer, terminator ? static_cast<std::size_t>(static_cast<const char*>(terminator) - buffer) : kFieldTextSize);
}

// One of the form's fields, read as the calculator reads it, in ohms,
// farads or hertz; or what keeps it from being part of a network.
FormProblem ReadFormValue(const char (&text)[kFieldTextSize], Quantity quantity, int unit, double& value) {
  value = 0;
  if (!IsUnitIndex(unit)) return FormProblem::NotANumber;
  const std::string_view view = TextOf(text);
  float entered;
  // 1.#INF00, as the calculator writes an infinite result, would read as 1.
  if (view.empty() || std::memchr(view.data(), '#', view.size()) || !ParseNumberText(view, entered)) {
    return FormProblem::NotANumber;
  }
  value = ScaleToBase(UnitsOf(quantity).entries[unit], static_cast<double>(entered));
  if (value < 0) return FormProblem::Negative;
  if (value == 0) return FormProblem::Zero;
  if (value > kLargestDouble) return FormProblem::Infinite;
  return FormProblem::None;
}

// Digits from the first that is not 0 on: 0.000001 keeps one, 1591.549438 ten.
int SignificantDigits(std::string_view text) {
  int digits = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '1' && c <= '9') ++digits;
    if (c == '0' && digits > 0) ++digits;
  }
  return digits;
}

}  // namespace

std::string_view PanelFieldText(const PanelSnapshot& s, int field) {
  const int length = s.field_lengths[field];
  return std::string_view(s.fields[field], static_cast<std::size_t>(length < 0                ? 0
                                                                    : length < kFieldTextSize ? length
                                                                                              : kFieldTextSize));
}

bool CustomOpAmpInUse(const PanelSnapshot& s) {
  return kNetworks.options[ChosenIndex(s.choices, PanelList::Network)] > 0 &&
         ChosenIndex(s.choices, PanelList::OpAmp) == kCustomOpAmp;
}

ValueReading ReadPanelField(const PanelSnapshot& s, int field) {
  const ValueReading reading = ReadValueText(PanelFieldText(s, field), kPanelFieldTable[field].kind);
  if (!IsInGroup(field, FieldGroup::OpAmp)) return reading;
  // The custom op-amp's figures count only while it is chosen, and then
  // each must be given but its noise, which empty is none.
  if (!CustomOpAmpInUse(s)) return {ValueProblem::None, true, 0};
  const ValueField kind = kPanelFieldTable[field].kind;
  const bool noise = kind == ValueField::NoiseVoltage || kind == ValueField::NoiseCurrent;
  return reading.empty && !noise ? ValueReading{ValueProblem::NotANumber, true, 0} : reading;
}

bool ReadPanelSnapshot(const PanelSnapshot& s, PanelReading& reading, DesignInputs& inputs) {
  const FormSnapshot& f = s.form;
  const char(*const texts[kQuantityCount])[kFieldTextSize] = {&f.resistance_text, &f.capacitance_text,
                                                              &f.frequency_text};
  const int units[kQuantityCount] = {f.resistance_unit, f.capacitance_unit, f.frequency_unit};
  double values[kQuantityCount];
  FormProblem problems[kQuantityCount];
  for (int q = 0; q < kQuantityCount; ++q) {
    problems[q] = ReadFormValue(*texts[q], static_cast<Quantity>(q), units[q], values[q]);
  }
  const int written = static_cast<int>(SolvedQuantity(f.mode));
  FormReading& form = reading.form;
  form = {FormProblem::None, static_cast<Quantity>(written), false, values[written], 0};
  for (int q = 0; q < kQuantityCount; ++q) {
    if (problems[q] != FormProblem::None) {
      form.problem = problems[q];
      form.field = static_cast<Quantity>(q);
      break;
    }
  }
  // What the calculator computed from the other two: the written field's
  // unit, rounded to single precision as it was before being written out.
  const int a = (written + 1) % kQuantityCount, b = (written + 2) % kQuantityCount;
  const bool written_reads = problems[written] == FormProblem::None || problems[written] == FormProblem::Zero;
  if (written_reads && problems[a] == FormProblem::None && problems[b] == FormProblem::None) {
    const UnitEntry& unit = UnitsOf(static_cast<Quantity>(written)).entries[units[written]];
    const float result = static_cast<float>(ScaleFromBase(unit, 1.0 / ((values[a] * values[b]) * kCalculatorTwoPi)));
    form.computed = ScaleToBase(unit, static_cast<double>(result));
    form.imprecise = form.computed > 0 && SignificantDigits(TextOf(*texts[written])) < kFewestDigits;
  }

  reading.field_problems = 0;
  reading.measured = true;
  for (int i = 0; i < kPanelFields; ++i) {
    reading.fields[i] = ReadPanelField(s, i);
    if (reading.fields[i].problem != ValueProblem::None) reading.field_problems |= 1 << i;
    if (IsInGroup(i, FieldGroup::Measured) && reading.fields[i].empty) reading.measured = false;
  }

  inputs.r_ohms = values[0];
  inputs.c_farads = values[1];
  inputs.fo_hertz = values[2];
  for (int i = 0; i < kPanelListCount; ++i) inputs.choices[i] = s.choices[i];
  const ValueReading* m = reading.fields + kFirstMeasuredField;
  inputs.source_ohms = reading.fields[0].value;
  inputs.load_ohms = reading.fields[1].empty ? 0 : reading.fields[1].value;
  inputs.measured = reading.measured;
  inputs.measured_parts = {m[0].value, m[1].value, m[2].value, m[3].value, m[4].value, m[5].value};
  const ValueReading* amp = reading.fields + kFirstOpAmpField;
  inputs.custom_opamp = {amp[0].value, amp[1].value, amp[2].value, amp[3].value, amp[4].value};
  const ValueReading& signal = reading.fields[kNoiseSignalField];
  inputs.noise_signal_volts = signal.empty ? 1 : signal.value;
  return form.problem == FormProblem::None && reading.field_problems == 0;
}

}  // namespace notchwell
