#include "resistance_text.h"

#include <cstdint>

#include "elementary.h"

namespace notchwell {
namespace {

constexpr std::uint64_t kMantissaLimit = 100000000000000000ull;  // 10^17: further digits cannot matter

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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// mantissa * 10^exponent, built from the digits as they come.
struct Decimal {
  std::uint64_t mantissa;
  int exponent;
  bool has_digit;
};

void TakeDigits(Scanner& s, Decimal& d, bool fraction) {
  for (; IsDigit(s.Peek()); ++s.at) {
    d.has_digit = true;
    if (d.mantissa < kMantissaLimit) {
      d.mantissa = d.mantissa * 10 + static_cast<std::uint64_t>(s.Peek() - '0');
      if (fraction) --d.exponent;
    } else if (!fraction) {
      ++d.exponent;
    }
  }
}

// The exponent of a multiplier letter, or -1 for none.
int MultiplierExponent(char c) {
  switch (c) {
    case 'R':
    case 'r':
      return 0;
    case 'k':
    case 'K':
      return 3;
    case 'M':
      return 6;
    case 'G':
      return 9;
    default:
      return -1;
  }
}

double ValueOf(Decimal d) {
  if (d.mantissa == 0) return 0;
  // Trailing zeros moved into the exponent keep more mantissas exact.
  while (d.mantissa % 10 == 0) {
    d.mantissa /= 10;
    ++d.exponent;
  }
  if (d.exponent > 40) return kLargestResistance * 10;
  if (d.exponent < -340) return 0;
  return ScaleByPowerOfTen(static_cast<double>(d.mantissa), d.exponent);
}

}  // namespace

ResistanceReading ReadResistanceText(std::string_view text, bool is_load) {
  Scanner s{text, 0};
  const ResistanceReading not_a_number{ResistanceProblem::NotANumber, false, 0};
  s.SkipBlanks();
  if (s.AtEnd()) return {ResistanceProblem::None, true, 0};

  const bool negative = s.Take('-');
  if (!negative) s.Take('+');
  Decimal d{0, 0, false};
  TakeDigits(s, d, false);
  // "4k7": the multiplier stands for the point.
  int multiplier = MultiplierExponent(s.Peek());
  if (d.has_digit && multiplier >= 0 && s.at + 1 < text.size() && IsDigit(text[s.at + 1])) {
    ++s.at;
    TakeDigits(s, d, true);
  } else {
    multiplier = -1;
    if (s.Take('.')) TakeDigits(s, d, true);
  }
  if (!d.has_digit) return not_a_number;
  if (multiplier < 0 && (s.Peek() == 'e' || s.Peek() == 'E')) {
    ++s.at;
    const bool negative_exponent = s.Take('-');
    if (!negative_exponent) s.Take('+');
    if (!IsDigit(s.Peek())) return not_a_number;
    int exponent = 0;
    for (; IsDigit(s.Peek()); ++s.at) {
      if (exponent < 1000) exponent = exponent * 10 + (s.Peek() - '0');
    }
    d.exponent += negative_exponent ? -exponent : exponent;
  }
  s.SkipBlanks();
  bool small_m = false;
  if (multiplier < 0) {
    multiplier = MultiplierExponent(s.Peek());
    if (multiplier > 0) {
      ++s.at;
    } else {
      multiplier = 0;
      small_m = s.Take('m');
    }
  }
  d.exponent += multiplier;
  s.SkipBlanks();
  // The unit, if written: the ohm sign or the letter omega, or the word.
  if (!s.TakeWord("\xe2\x84\xa6", false) && !s.TakeWord("\xce\xa9", false) && s.TakeWord("ohm", true)) {
    s.TakeWord("s", true);
  }
  s.SkipBlanks();
  if (!s.AtEnd()) return not_a_number;

  if (small_m) return {ResistanceProblem::SmallM, false, 0};
  const double ohms = ValueOf(d);
  if (negative && ohms != 0) return {ResistanceProblem::Negative, false, 0};
  if (ohms > kLargestResistance) return {ResistanceProblem::TooLarge, false, 0};
  if (is_load && ohms == 0) return {ResistanceProblem::ZeroLoad, false, 0};
  return {ResistanceProblem::None, false, ohms};
}

const char* ResistanceProblemMessage(ResistanceProblem problem) {
  switch (problem) {
    case ResistanceProblem::NotANumber:
      return "Enter a resistance in ohms, such as 600, 4.7k or 1M.";
    case ResistanceProblem::Negative:
      return "A resistance cannot be negative.";
    case ResistanceProblem::ZeroLoad:
      return "A load of 0 \xce\xa9 would short the output: leave the field empty for no load.";
    case ResistanceProblem::SmallM:
      return "Write M for megohms: a small m could mean milli.";
    case ResistanceProblem::TooLarge:
      return "Enter at most 1,000,000 M\xce\xa9.";
    default:
      return "";
  }
}

}  // namespace notchwell
