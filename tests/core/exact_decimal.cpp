#include "exact_decimal.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace oracle {
namespace {

using Big = std::vector<std::uint32_t>;  // little-endian limbs

void Trim(Big& a) {
  while (!a.empty() && a.back() == 0) a.pop_back();
}

void MulAdd(Big& a, std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (auto& limb : a) {
    const std::uint64_t t = std::uint64_t{limb} * factor + carry;
    limb = static_cast<std::uint32_t>(t);
    carry = t >> 32;
  }
  if (carry) a.push_back(static_cast<std::uint32_t>(carry));
}

void Shl(Big& a, int bits) {
  for (int i = 0; i < bits; ++i) MulAdd(a, 2, 0);
}

int Compare(Big a, Big b) {
  Trim(a);
  Trim(b);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (std::size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

// Bit `index` of a.
bool Bit(const Big& a, int index) {
  const std::size_t limb = static_cast<std::size_t>(index / 32);
  return limb < a.size() && ((a[limb] >> (index % 32)) & 1u);
}

// Splits value into an integer m < 2^53 and an exponent: value = m * 2^e.
void Split(double value, std::uint64_t& m, int& e) {
  int exp2;
  const double fraction = std::frexp(value, &exp2);
  m = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  e = exp2 - 53;
}

Big FromU64(std::uint64_t v) {
  Big a{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
  Trim(a);
  return a;
}

// Rounds the digit string at `keep` digits, looking only at the next digit
// (5 or more rounds up); returns true when the carry ran off the front.
bool RoundDigits(std::string& digits, std::size_t keep) {
  if (digits.size() <= keep) return false;
  const bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (!up) return false;
  for (std::size_t i = keep; i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
  return true;
}

}  // namespace

Expansion ExactDigits(double value, int max_significant) {
  Expansion out;
  std::uint64_t m;
  int e;
  Split(value, m, e);
  // Integer part, one decimal digit at a time by repeated halving of a
  // decimal string built from the top bit down.
  Big n = FromU64(m);
  const int fraction_bits = e < 0 ? -e : 0;
  if (e > 0) Shl(n, e);
  std::string integer = "0";
  for (int bit = static_cast<int>(n.size()) * 32 - 1; bit >= fraction_bits; --bit) {
    int carry = Bit(n, bit) ? 1 : 0;
    for (std::size_t i = integer.size(); i-- > 0;) {
      const int d = (integer[i] - '0') * 2 + carry;
      integer[i] = static_cast<char>('0' + d % 10);
      carry = d / 10;
    }
    if (carry) integer.insert(integer.begin(), static_cast<char>('0' + carry));
  }
  integer.erase(0, integer.find_first_not_of('0'));
  out.integer = integer;
  int significant = static_cast<int>(integer.size());

  // Fraction digits: multiply the binary fraction by ten, take what spills
  // over the point.
  Big fraction;
  for (int bit = 0; bit < fraction_bits; ++bit) {
    if (Bit(n, bit)) {
      fraction.resize(static_cast<std::size_t>(bit / 32 + 1), 0);
      fraction[static_cast<std::size_t>(bit / 32)] |= 1u << (bit % 32);
    }
  }
  Trim(fraction);
  while (!fraction.empty() && significant < max_significant) {
    MulAdd(fraction, 10, 0);
    int digit = 0;
    for (int bit = fraction_bits; bit < fraction_bits + 4; ++bit)
      digit |= Bit(fraction, bit) ? 1 << (bit - fraction_bits) : 0;
    // Clear the spilled bits.
    for (int bit = fraction_bits; bit < fraction_bits + 4; ++bit) {
      const std::size_t limb = static_cast<std::size_t>(bit / 32);
      if (limb < fraction.size()) fraction[limb] &= ~(1u << (bit % 32));
    }
    Trim(fraction);
    out.fraction.push_back(static_cast<char>('0' + digit));
    if (significant > 0 || digit != 0) ++significant;
  }
  return out;
}

std::string ExpectedResultText(float value) {
  if (std::isinf(value)) return value > 0 ? "1.#INF00" : "-1.#INF00";
  const bool negative = std::signbit(value) && value != 0.0f;
  const Expansion x = ExactDigits(std::fabs(static_cast<double>(value)), 18);

  // All digits as one string with the point after `point` of them.
  std::string digits = x.integer + x.fraction;
  int point = static_cast<int>(x.integer.size());
  const std::size_t lead = digits.find_first_not_of('0');
  if (lead == std::string::npos) {
    digits = "0";
    point = 1;
  } else {
    digits.erase(0, lead);
    point -= static_cast<int>(lead);
  }
  if (RoundDigits(digits, 17)) ++point;
  // Back to fixed notation with every decimal down to the seventh.
  std::string fixed;
  if (point <= 0) {
    fixed = std::string(static_cast<std::size_t>(1 - point), '0') + digits;
    point = 1;
  } else {
    fixed = digits;
  }
  const std::size_t need = static_cast<std::size_t>(point + 7);
  if (fixed.size() < need) fixed.append(need - fixed.size(), '0');
  fixed.resize(need);
  if (RoundDigits(fixed, static_cast<std::size_t>(point + 6))) ++point;
  std::string integer = fixed.substr(0, static_cast<std::size_t>(point));
  integer.erase(0, integer.find_first_not_of('0'));
  if (integer.empty()) integer = "0";
  return (negative ? "-" : "") + integer + "." + fixed.substr(static_cast<std::size_t>(point), 6);
}

namespace {

// Sign of (digits * 10^exponent) - t for a finite non-negative double t.
int CompareWithDouble(const Decimal& d, double t) {
  Big a;
  for (char c : d.digits) MulAdd(a, 10, static_cast<std::uint32_t>(c - '0'));
  std::uint64_t m = 0;
  int g = 0;
  if (t != 0.0) Split(t, m, g);
  Big b = FromU64(m);
  for (int i = 0; i < d.exponent; ++i) MulAdd(a, 10, 0);
  for (int i = 0; i < -d.exponent; ++i) MulAdd(b, 10, 0);
  if (g > 0) Shl(b, g);
  if (g < 0) Shl(a, -g);
  return Compare(a, b);
}

bool IsOdd(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits & 1u;
}

}  // namespace

float NearestFloat(const Decimal& decimal) {
  if (decimal.digits.find_first_not_of('0') == std::string::npos) return 0.0f;
  // A first guess from the C library, then walk to the right float by
  // comparing with the exact midpoints between neighbours.
  const std::string text = decimal.digits + "e" + std::to_string(decimal.exponent);
  float c = static_cast<float>(std::strtod(text.c_str(), nullptr));
  const double overflow_threshold = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
  for (int steps = 0; steps < 64; ++steps) {
    if (std::isinf(c)) {
      if (CompareWithDouble(decimal, overflow_threshold) >= 0) return c;
      c = FLT_MAX;
      continue;
    }
    const float up = std::nextafter(c, INFINITY);
    const double upper = c == FLT_MAX ? overflow_threshold : (static_cast<double>(c) + static_cast<double>(up)) / 2;
    const int vs_upper = CompareWithDouble(decimal, upper);
    if (vs_upper > 0 || (vs_upper == 0 && IsOdd(c))) {
      c = up;
      continue;
    }
    if (c != 0.0f) {
      const float down = std::nextafter(c, 0.0f);
      const double lower = (static_cast<double>(down) + static_cast<double>(c)) / 2;
      const int vs_lower = CompareWithDouble(decimal, lower);
      if (vs_lower < 0 || (vs_lower == 0 && IsOdd(c))) {
        c = down;
        continue;
      }
    }
    return c;
  }
  std::abort();  // the guess was wildly off: the oracle itself is broken
}

}  // namespace oracle
