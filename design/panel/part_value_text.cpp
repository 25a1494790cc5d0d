#include "part_value_text.h"

#include "decimal_digits.h"
#include "elementary.h"
#include "op_amps.h"

namespace notchwell {
namespace {

constexpr double kBeyondEveryRange = 1e300;

struct Scanner {
  std::string_view text;
  std::size_t at;

  bool AtEnd() const { return at == text.size(); }
  char Peek() const { return AtEnd() ? '\0' : text[at]; }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++at;
    return true;
  }
  // Bytes as written, or with `any_case` a word of lower-case letters in
  // any case, such as "ohm".
  bool TakeWord(std::string_view word, bool any_case) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if ((any_case ? text[at + i] | 0x20 : text[at + i]) != word[i]) return false;
    }
    at += word.size();
    return true;
  }
  void SkipBlanks() {
    while (Peek() == ' ' || Peek() == '\t') ++at;
  }
};

bool IsCapacitance(ValueField field) { return field == ValueField::MeasuredCapacitor; }
bool IsResistance(ValueField field) { return field <= ValueField::MeasuredResistor; }

void TakeDigits(Scanner& s, Decimal& d, bool fraction) { s.at = TakeDecimalDigits(s.text, s.at, d, fraction); }

// A multiplier of the field's quantity: R, k, M, G for resistances; p, n,
// u or µ (the micro sign or the Greek letter) for capacitances; k, M, G
// for a gain-bandwidth; none for a gain or a slew rate. Takes it and
// gives its power of ten.
struct Multiplier {
  const char* text;
  int exponent;
};
constexpr Multiplier kResistance[] = {{"R", 0}, {"r", 0}, {"k", 3}, {"K", 3}, {"M", 6}, {"G", 9}};
constexpr Multiplier kCapacitance[] = {{"p", -12}, {"P", -12}, {"n", -9},        {"N", -9},
                                       {"u", -6},  {"U", -6},  {"\xc2\xb5", -6}, {"\xce\xbc", -6}};
constexpr Multiplier kFrequency[] = {{"k", 3}, {"K", 3}, {"M", 6}, {"G", 9}};

bool TakeMultiplier(Scanner& s, ValueField field, int& exponent) {
  const Multiplier* begin = IsCapacitance(field)                 ? kCapacitance
                            : field == ValueField::GainBandwidth ? kFrequency
                                                                 : kResistance;
  const Multiplier* end = IsCapacitance(field) ? kCapacitance + sizeof kCapacitance / sizeof kCapacitance[0]
                          : field == ValueField::GainBandwidth ? kFrequency + sizeof kFrequency / sizeof kFrequency[0]
                          : IsResistance(field) ? kResistance + sizeof kResistance / sizeof kResistance[0]
                                                : begin;
  for (const Multiplier* m = begin; m != end; ++m) {
    if (s.TakeWord(m->text, false)) {
      exponent = m->exponent;
      return true;
    }
  }
  return false;
}

// Beyond 10^40 nothing is in any field's range.
double ValueOf(Decimal d) { return d.exponent > 40 ? kBeyondEveryRange : DecimalValue(d); }

}  // namespace

ValueReading ReadValueText(std::string_view text, ValueField field) {
  Scanner s{text, 0};
  const ValueReading not_a_number{ValueProblem::NotANumber, false, 0};
  // A control character (a NUL pasted in among the digits, say) is no part
  // of any value, wherever it stands.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x20 || text[i] == 0x7f) return not_a_number;
  }
  s.SkipBlanks();
  if (s.AtEnd()) return {ValueProblem::None, true, 0};

  const bool negative = s.Take('-');
  if (!negative) s.Take('+');
  Decimal d{0, 0, false};
  TakeDigits(s, d, false);
  // "4k7", "4n7": the multiplier stands for the point.
  int multiplier = 0;
  bool has_multiplier = false;
  const std::size_t before_multiplier = s.at;
  if (d.has_digit && TakeMultiplier(s, field, multiplier) && IsDigit(s.Peek())) {
    has_multiplier = true;
    TakeDigits(s, d, true);
  } else {
    s.at = before_multiplier;
    if (s.Take('.')) TakeDigits(s, d, true);
  }
  if (!d.has_digit) return not_a_number;
  if (!has_multiplier && (s.Peek() == 'e' || s.Peek() == 'E')) {
    ++s.at;
    const bool negative_exponent = s.Take('-');
    if (!negative_exponent) s.Take('+');
    if (!IsDigit(s.Peek())) return not_a_number;
    int exponent = 0;
    TakeExponentDigits(s.text, s.at, exponent);
    d.exponent += negative_exponent ? -exponent : exponent;
  }
  s.SkipBlanks();
  bool small_m = false;
  if (!has_multiplier) {
    has_multiplier = TakeMultiplier(s, field, multiplier);
    if (!has_multiplier) small_m = s.Take('m');
  }
  d.exponent += multiplier;
  s.SkipBlanks();
  // The unit, if written: the ohm sign or the letter omega, or the word;
  // F for farads (a small f only after a multiplier: alone it could mean
  // femto); Hz, dB or V/µs in any case.
  if (IsCapacitance(field)) {
    if (!s.Take('F') && (has_multiplier || small_m)) s.Take('f');
  } else if (field == ValueField::GainBandwidth) {
    s.TakeWord("hz", true);
  } else if (field == ValueField::OpenLoopGain) {
    s.TakeWord("db", true);
  } else if (field == ValueField::NoiseVoltage || field == ValueField::NoiseCurrent) {
    // nV/√Hz or pA/√Hz, the root sign or "rtHz" as datasheets write it.
    if (s.TakeWord(field == ValueField::NoiseVoltage ? "nv" : "pa", true) && s.TakeWord("/", false) &&
        !(s.TakeWord("\xe2\x88\x9a", false) && s.TakeWord("hz", true)) && !s.TakeWord("rthz", true) &&
        !s.TakeWord("sqrt(hz)", true)) {
      return not_a_number;
    }
  } else if (field == ValueField::Signal) {
    s.TakeWord("v", true);
  } else if (field == ValueField::SlewRate) {
    if (s.TakeWord("v/", true) && !s.TakeWord("\xc2\xb5s", false) && !s.TakeWord("\xce\xbcs", false) &&
        !s.TakeWord("us", true)) {
      return not_a_number;
    }
  } else if (!s.TakeWord("\xe2\x84\xa6", false) && !s.TakeWord("\xce\xa9", false) && s.TakeWord("ohm", true)) {
    s.TakeWord("s", true);
  }
  s.SkipBlanks();
  if (!s.AtEnd()) return not_a_number;

  if (small_m) return {ValueProblem::SmallM, false, 0};
  // Noise in nV/√Hz and pA/√Hz, read exactly as V/√Hz and A/√Hz.
  if (field == ValueField::NoiseVoltage) d.exponent -= 9;
  if (field == ValueField::NoiseCurrent) d.exponent -= 12;
  const double value = ValueOf(d);
  // Zero as written: 1e-400 is no zero, however small a double it makes.
  const bool zero = d.mantissa == 0;
  if (negative && !zero) return {ValueProblem::Negative, false, 0};
  const auto within = [value](double lowest, double highest) { return value >= lowest && value <= highest; };
  switch (field) {
    case ValueField::Source:
    case ValueField::Load:
      if (value > kLargestResistance) return {ValueProblem::TooLarge, false, 0};
      if (field == ValueField::Load && zero) return {ValueProblem::ZeroLoad, false, 0};
      // No real source or load comes below a milliohm, and one that did
      // would leave the figures beyond any double.
      if (!zero && value < kSmallestResistance) return {ValueProblem::OutOfRange, false, 0};
      break;
    case ValueField::MeasuredResistor:
      if (value < kMeasuredResistanceLowest || value > kMeasuredResistanceHighest) {
        return {ValueProblem::OutOfRange, false, 0};
      }
      break;
    case ValueField::MeasuredCapacitor:
      if (value < kMeasuredCapacitanceLowest || value > kMeasuredCapacitanceHighest) {
        return {ValueProblem::OutOfRange, false, 0};
      }
      break;
    case ValueField::GainBandwidth:
      if (!within(kGbwLowest, kGbwHighest)) return {ValueProblem::OutOfRange, false, 0};
      break;
    case ValueField::OpenLoopGain:
      if (!within(kGainLowest, kGainHighest)) return {ValueProblem::OutOfRange, false, 0};
      break;
    case ValueField::SlewRate:
      if (!within(kSlewLowest, kSlewHighest)) return {ValueProblem::OutOfRange, false, 0};
      break;
    case ValueField::NoiseVoltage:
      if (!within(0, kNoiseVoltsHighest)) return {ValueProblem::OutOfRange, false, 0};
      break;
    case ValueField::NoiseCurrent:
      if (!within(0, kNoiseAmpsHighest)) return {ValueProblem::OutOfRange, false, 0};
      break;
    case ValueField::Signal:
      if (!within(kSignalLowest, kSignalHighest)) return {ValueProblem::OutOfRange, false, 0};
      break;
  }
  return {ValueProblem::None, false, value};
}

namespace {

// An op-amp's figure: what to enter, and its range.
const char* OpAmpFieldMessage(ValueProblem problem, ValueField field) {
  switch (field) {
    case ValueField::GainBandwidth:
      return problem == ValueProblem::NotANumber ? "Enter a gain-bandwidth product in hertz, such as 3M, 800k or 10e6."
             : problem == ValueProblem::SmallM   ? "Write M for megahertz: a small m could mean milli."
                                                 : "Enter a gain-bandwidth product from 1 kHz to 10 GHz.";
    case ValueField::OpenLoopGain:
      return problem == ValueProblem::NotANumber ? "Enter the open-loop gain in dB, such as 100."
             : problem == ValueProblem::SmallM   ? "Enter the open-loop gain in dB as a plain number."
                                                 : "Enter an open-loop gain from 40 dB to 160 dB.";
    case ValueField::NoiseVoltage:
      return problem == ValueProblem::NotANumber ? "Enter the voltage noise in nV/\xe2\x88\x9aHz, such as 5 or 18."
                                                 : "Enter a voltage noise from 0 to 1000 nV/\xe2\x88\x9aHz.";
    case ValueField::NoiseCurrent:
      return problem == ValueProblem::NotANumber ? "Enter the current noise in pA/\xe2\x88\x9aHz, such as 0.7 or 0.01."
                                                 : "Enter a current noise from 0 to 1000 pA/\xe2\x88\x9aHz.";
    case ValueField::Signal:
      return problem == ValueProblem::NotANumber ? "Enter the signal in volts rms, such as 1 or 0.5."
             : problem == ValueProblem::SmallM
                 ? "Enter the signal in volts as a plain number: a small m could mean milli or mega."
                 : "Enter a signal from 0.000001 V to 1000 V rms.";
    default:
      return problem == ValueProblem::NotANumber ? "Enter a slew rate in V/\xc2\xb5s, such as 13 or 0.3."
             : problem == ValueProblem::SmallM
                 ? "Enter the slew rate in V/\xc2\xb5s as a plain number: a small m could mean milli or mega."
                 : "Enter a slew rate from 0.01 V/\xc2\xb5s to 10,000 V/\xc2\xb5s.";
  }
}

}  // namespace

const char* ValueProblemMessage(ValueProblem problem, ValueField field) {
  const bool capacitance = IsCapacitance(field);
  if (problem != ValueProblem::None && field >= ValueField::GainBandwidth) return OpAmpFieldMessage(problem, field);
  switch (problem) {
    case ValueProblem::NotANumber:
      return capacitance ? "Enter a capacitance in farads, such as 100n, 4n7 or 0.1u."
                         : "Enter a resistance in ohms, such as 600, 4.7k or 1M.";
    case ValueProblem::Negative:
      return capacitance ? "A capacitance cannot be negative." : "A resistance cannot be negative.";
    case ValueProblem::ZeroLoad:
      return "A load of 0 \xce\xa9 would short the output: leave the field empty for no load.";
    case ValueProblem::SmallM:
      return capacitance ? "Write u or \xc2\xb5 for microfarads: a small m could mean milli or mega."
                         : "Write M for megohms: a small m could mean milli.";
    case ValueProblem::TooLarge:
      return "Enter at most 1,000,000 M\xce\xa9.";
    case ValueProblem::OutOfRange:
      if (field == ValueField::Source) {
        return "Enter 0 \xce\xa9 for none, or a resistance from 0.001 \xce\xa9 to 1,000,000 M\xce\xa9.";
      }
      if (field == ValueField::Load) {
        return "Leave the field empty for no load, or enter a resistance from 0.001 \xce\xa9 to 1,000,000 M\xce\xa9.";
      }
      return capacitance ? "Enter a capacitance from 0.001 pF to 1 F."
                         : "Enter a resistance from 0.001 \xce\xa9 to 1,000,000 M\xce\xa9.";
    default:
      return "";
  }
}

}  // namespace notchwell
