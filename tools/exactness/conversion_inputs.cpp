#include "conversion_inputs.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "exact_decimal.h"
#include "random_inputs.h"

namespace exactness {
namespace {

// Every draw stands in a statement of its own, so that the order of
// evaluation, and so the texts, are the same with every compiler.
std::uint32_t Below(std::mt19937& rng, std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); }

// Decimal texts of the exact midpoints where rounding changes its mind:
// past the largest float, among the subnormals and at the smallest normal,
// cut or nudged in their last digit.
std::string NearThreshold(std::mt19937& rng) {
  double mid;
  switch (Below(rng, 3)) {
    case 0:  // halfway between the largest floats, and past the largest
      mid = std::ldexp(static_cast<double>((1u << 25) - 1 - 2 * Below(rng, 3)), 103);
      break;
    case 1:  // odd multiples of 2^-150: halfway between subnormals
      mid = std::ldexp(static_cast<double>(2 * Below(rng, 16) + 1), -150);
      break;
    default:  // around the smallest normal float
      mid = std::ldexp(static_cast<double>((1u << 24) - 2 + 2 * Below(rng, 3)) + 1.0, -150);
      break;
  }
  const std::string sign = Below(rng, 2) ? "-" : "";
  // The significant digits, and the exponent of the first.
  const oracle::Expansion x = oracle::ExactDigits(mid, 60);
  std::string digits;
  int exponent;
  int tweak;
  if (mid > 1.0) {  // 39 integer digits; keep 10..45 of them
    digits = x.integer;
    exponent = static_cast<int>(digits.size()) - 1;
    digits.resize(std::min<std::size_t>(digits.size(), 10 + Below(rng, 36)));
    tweak = Below(rng, 3) == 0 ? 1 : 0;
  } else {  // tiny: keep 5..49 digits after the leading zeros
    const std::size_t lead = x.fraction.find_first_not_of('0');
    digits = x.fraction.substr(lead);
    exponent = -static_cast<int>(lead) - 1;
    digits.resize(std::min<std::size_t>(digits.size(), 5 + Below(rng, 45)));
    tweak = static_cast<int>(Below(rng, 3));
  }
  if (tweak == 1 && digits.back() < '9') ++digits.back();
  if (tweak == 2 && digits.back() > '0') --digits.back();
  return sign + digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(exponent);
}

std::string RandomDigitString(std::mt19937& rng, std::uint32_t max) {
  std::string s;
  for (std::uint32_t n = Below(rng, max + 1); n > 0; --n) s.push_back(static_cast<char>('0' + Below(rng, 10)));
  return s;
}

// Short mantissas with exponents far outside any float's range.
std::string HugeExponent(std::mt19937& rng) {
  std::string text = RandomDigitString(rng, 6);
  if (Below(rng, 2)) text += "." + RandomDigitString(rng, 6);
  if (text.empty() || text == ".") text = "0" + text;
  text += Below(rng, 2) ? "e" : "E";
  const std::uint32_t sign = Below(rng, 3);
  if (sign) text += sign == 1 ? "+" : "-";
  text += std::string(Below(rng, 4), '0');
  text += RandomDigitString(rng, 25);
  return text;
}

// The pieces of the grammar in random order: blanks of every kind, signs,
// points, exponent letters, digits; mostly failures and short numbers.
std::string Jumble(std::mt19937& rng) {
  static const char* const kPieces[] = {" ", "\t", "\n", "\v", "\f", "\r", "+",    "-",    ".",  "e",  "E",   "0",
                                        "1", "5",  "9",  "x",  ",",  "#",  "\x85", "\xA0", "1e", "e+", ".e5", "00"};
  std::string text;
  for (std::uint32_t n = 1 + Below(rng, 10); n > 0; --n) text += kPieces[Below(rng, sizeof kPieces / sizeof *kPieces)];
  return text;
}

std::string RandomBytes(std::mt19937& rng) {
  std::string text;
  for (std::uint32_t n = 1 + Below(rng, 63); n > 0; --n) text.push_back(static_cast<char>(1 + Below(rng, 255)));
  return text;
}

}  // namespace

std::string GeneratedText(std::mt19937& rng) {
  static const char kBlanks[] = " \t\n\v\f\r";
  std::string text;
  for (std::uint32_t n = Below(rng, 4) == 0 ? Below(rng, 5) : 0; n > 0; --n) text.push_back(kBlanks[Below(rng, 6)]);
  switch (Below(rng, 10)) {
    case 0:
      text += NearThreshold(rng);
      break;
    case 1:
      text += HugeExponent(rng);
      break;
    case 2:
      text += Jumble(rng);
      break;
    case 3:
      text += RandomBytes(rng);
      break;
    default:
      text += oracle::RandomNumberText(rng).text;
      break;
  }
  if (Below(rng, 6) == 0) text += RandomBytes(rng);  // trailing junk
  if (text.size() > 63) text.resize(63);
  return text;
}

FormInput RandomForm(std::mt19937& rng) {
  FormInput form;
  form.mode = static_cast<int>(Below(rng, 3));
  for (int& unit : form.units) {
    unit = Below(rng, 50) == 0 ? (Below(rng, 2) ? -1 : 3) : static_cast<int>(Below(rng, 3));
  }
  for (std::string& text : form.texts) {
    switch (Below(rng, 8)) {
      case 0:
        break;  // empty
      case 1:
        text = GeneratedText(rng);
        break;
      default:
        text = oracle::RandomNumberText(rng).text;
        break;
    }
  }
  return form;
}

namespace {

float FloatFromBits(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// The value's exact decimal expansion (a float in [1, 2^24) has at most 23
// digits after the point).
std::string ExactText(float value) {
  const oracle::Expansion x = oracle::ExactDigits(static_cast<double>(value), 60);
  return (x.integer.empty() ? "0" : x.integer) + (x.fraction.empty() ? "" : "." + x.fraction);
}

}  // namespace

FormInput NearMidpointForm(std::mt19937& rng) {
  constexpr double kTwoPi = 6.2831853;  // the program's value
  for (;;) {
    // R and C in [1, 2^20): their texts fit the fields' 63 bytes.
    const float c = FloatFromBits(0x3F800000u + Below(rng, 20u << 23));
    const float r = FloatFromBits(0x3F800000u + Below(rng, 20u << 23));
    const double x = 1.0 / ((static_cast<double>(c) * 1e-12 * static_cast<double>(r)) * kTwoPi);
    const float f = static_cast<float>(x);
    // The midpoint on x's side of f, and x's distance from it in units of
    // x's last place.
    const float neighbour = std::nextafter(f, x > static_cast<double>(f) ? INFINITY : 0.0f);
    const double midpoint = (static_cast<double>(f) + static_cast<double>(neighbour)) / 2;
    const double ulp = std::nextafter(x, INFINITY) - x;
    if (std::fabs(x - midpoint) > 2 * ulp) continue;
    FormInput form;
    form.mode = 0;      // solve for Fo
    form.units[0] = 0;  // Ohm
    form.units[1] = 0;  // pf
    form.units[2] = 0;  // Hz
    form.texts[0] = ExactText(r);
    form.texts[1] = ExactText(c);
    return form;
  }
}

FormInput MidpointForm(int index) {
  static const char* const kForms[kMidpointFormCount][2] = {
#include "midpoint_forms.inc"
  };
  FormInput form{};
  form.texts[0] = kForms[index][0];
  form.texts[1] = kForms[index][1];
  return form;  // solve for Fo, Ohm, pf and Hz: every index 0
}

}  // namespace exactness
