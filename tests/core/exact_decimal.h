// Test oracle: exact decimal arithmetic done the slow, obvious way, to
// check the program's conversions against something that shares none of
// their code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace oracle {

// The decimal expansion of a finite non-negative double: integer digits
// (no leading zeros, empty for values below 1) and fraction digits, cut off
// once `max_significant` significant digits have been produced.
struct Expansion {
  std::string integer;
  std::string fraction;
};
Expansion ExactDigits(double value, int max_significant);

// The expected text of the program's result formatting, worked out from
// the exact expansion with string rounding.
std::string ExpectedResultText(float value);

// A decimal number digits * 10^exponent (digits without sign).
struct Decimal {
  std::string digits;
  int exponent;
};
// The float nearest the decimal, ties to even, +inf past the largest.
float NearestFloat(const Decimal& decimal);

}  // namespace oracle
