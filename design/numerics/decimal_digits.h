// The digits of a decimal number as written, gathered into a whole-number
// mantissa and a power of ten, and the double nearest their value: what
// the panel's value fields and a pasted sweep both read numbers with.
#pragma once

#include <cstdint>
#include <string_view>

#include "elementary.h"

namespace notchwell {

struct Decimal {
  std::uint64_t mantissa;
  int exponent;
  bool has_digit;
};

// 10^17: digits past it cannot change a double.
constexpr std::uint64_t kMantissaLimit = 100000000000000000ull;

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Takes the digits from text[at] on into `d`, those of a fraction
// (`fraction`) each lowering its exponent; gives where they end.
inline std::size_t TakeDecimalDigits(std::string_view text, std::size_t at, Decimal& d, bool fraction) {
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    d.has_digit = true;
    if (d.mantissa < kMantissaLimit) {
      d.mantissa = d.mantissa * 10 + static_cast<std::uint64_t>(text[at] - '0');
      if (fraction) --d.exponent;
    } else if (!fraction) {
      ++d.exponent;
    }
  }
  return at;
}

// An exponent's digits from text[at] on, after its 'e' and sign: false
// when there are none. Beyond 1000 it only matters that it is large.
inline bool TakeExponentDigits(std::string_view text, std::size_t& at, int& exponent) {
  if (at == text.size() || !IsDigit(text[at])) return false;
  exponent = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (exponent < 1000) exponent = exponent * 10 + (text[at] - '0');
  }
  return true;
}

// The value: correctly rounded for up to 15 digits and a power of ten up
// to 10^22 either way, within a few units of the last place beyond;
// infinite above the largest double, 0 below the smallest.
inline double DecimalValue(Decimal d) {
  if (d.mantissa == 0) return 0;
  // Trailing zeros moved into the exponent keep more mantissas exact.
  while (d.mantissa % 10 == 0) {
    d.mantissa /= 10;
    ++d.exponent;
  }
  if (d.exponent < -400) return 0;
  if (d.exponent > 400) d.exponent = 400;
  return ScaleByPowerOfTen(static_cast<double>(d.mantissa), d.exponent);
}

}  // namespace notchwell
