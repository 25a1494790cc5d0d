// Seeded random inputs for the conversions, shared by the differential
// tests and the exhaustive check.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "exact_decimal.h"

namespace oracle {

std::uint32_t Bits(float f);
float FromBits(std::uint32_t bits);

// A finite float: any bit pattern, log-uniform where the six decimals
// matter, or next to a tie of the sixth decimal.
float RandomFloat(std::mt19937& rng);

// A number text within 63 characters that the scan takes whole (up to an
// optional trailing "x1"), and the decimal it stands for.
struct NumberSample {
  std::string text;
  bool negative;
  Decimal decimal;
};
// Drawn from the raw output of the generator with exact arithmetic only,
// so that every platform draws the same texts.
NumberSample RandomNumberText(std::mt19937& rng);

}  // namespace oracle
