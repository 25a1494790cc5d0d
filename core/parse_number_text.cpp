#include "parse_number_text.h"

#include <cstdint>

#include "big_integer.h"
#include "bits.h"

namespace notchwell {
namespace {

// Enough significant digits to tell any decimal from every float and every
// midpoint between two floats (those need at most 113 digits); digits past
// this are folded into one sticky digit.
constexpr int kMaxDigits = 120;
// Counters saturate here; anything this far out is infinite or zero anyway.
constexpr int kSaturation = 100000;

struct Decimal {
  bool negative;
  char digits[kMaxDigits + 1];  // significant digits as values 0..9, no leading zero
  int count;
  int exponent;  // value = digits * 10^exponent
};

constexpr bool IsSpace(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }
constexpr bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int Saturate(int n) { return n > kSaturation ? kSaturation : (n < -kSaturation ? -kSaturation : n); }

// Applies the scan grammar; false when no mantissa digit was taken.
bool Scan(std::string_view text, Decimal& d) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* const end = p + text.size();
  while (p != end && IsSpace(*p)) ++p;
  d.negative = false;
  if (p != end && (*p == '+' || *p == '-')) d.negative = *p++ == '-';

  d.count = 0;
  d.exponent = 0;
  bool any_digit = false;
  bool sticky = false;  // a non-zero digit was dropped past kMaxDigits
  auto take = [&](unsigned char c, bool fraction) {
    any_digit = true;
    const int digit = c - '0';
    if (d.count == 0 && digit == 0) {
      if (fraction) d.exponent = Saturate(d.exponent - 1);
      return;
    }
    if (d.count < kMaxDigits) {
      d.digits[d.count++] = static_cast<char>(digit);
      if (fraction) d.exponent = Saturate(d.exponent - 1);
    } else {
      sticky |= digit != 0;
      if (!fraction) d.exponent = Saturate(d.exponent + 1);
    }
  };
  for (; p != end && IsDigit(*p); ++p) take(*p, false);
  if (p != end && *p == '.') {
    for (++p; p != end && IsDigit(*p); ++p) take(*p, true);
  }
  if (!any_digit) return false;

  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool exponent_negative = false;
    if (p != end && (*p == '+' || *p == '-')) exponent_negative = *p++ == '-';
    int exponent = 0;
    for (; p != end && IsDigit(*p); ++p) exponent = Saturate(exponent * 10 + (*p - '0'));
    d.exponent = Saturate(d.exponent + (exponent_negative ? -exponent : exponent));
  }
  if (sticky) {
    d.digits[d.count++] = 1;
    d.exponent = Saturate(d.exponent - 1);
  }
  return true;
}

float WithSign(bool negative, float magnitude) { return negative ? -magnitude : magnitude; }

// The powers of ten the fast path takes, 10^0 to 10^22, every one exact in
// a double. The table is the program's own, defined here: where it stands
// in the program decides the released notchwell.exe's bytes.
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Short mantissas with small exponents: one correctly rounded double
// operation, then a rounding to float that is exact unless the double landed
// on a midpoint between two floats. Returns false when it cannot decide.
bool ConvertFast(const Decimal& d, float& magnitude) {
  if (d.count > 15 || d.exponent < -22 || d.exponent > 22) return false;
  std::uint64_t mantissa = 0;
  for (int i = 0; i < d.count; ++i) mantissa = mantissa * 10 + static_cast<std::uint64_t>(d.digits[i]);
  const double m = static_cast<double>(mantissa);  // exact: below 2^53
  const double x = d.exponent >= 0 ? m * kPow10[d.exponent] : m / kPow10[-d.exponent];
  // Stay clear of the subnormal and overflow ranges of float.
  if (!(x >= 0x1p-125 && x <= 0x1p127)) return false;
  const std::uint64_t bits = BitsOf(x);
  constexpr std::uint64_t kLow29 = (std::uint64_t{1} << 29) - 1;
  if ((bits & kLow29) == (std::uint64_t{1} << 28)) return false;  // a float midpoint
  magnitude = static_cast<float>(x);
  return true;
}

// Exact conversion: the quotient num / den scaled by a power of two to 24
// bits, rounded with the remainder.
float ConvertExact(const Decimal& d) {
  // With the value in [10^(p-1), 10^p): 10^39 exceeds every float and 10^-46
  // lies below half the smallest subnormal.
  const int p = d.count + d.exponent;
  if (p > 39) return FloatFromBits(0x7F800000u);
  if (p <= -46) return 0.0f;

  BigInteger num;
  BigInteger den;
  BigSet(num, 0);
  for (int i = 0; i < d.count; ++i) {
    BigMulSmall(num, 10);
    BigAddSmall(num, static_cast<std::uint32_t>(d.digits[i]));
  }
  BigSet(den, 1);
  if (d.exponent >= 0) {
    BigMulPow5(num, d.exponent);
    BigShiftLeft(num, d.exponent);
  } else {
    BigMulPow5(den, -d.exponent);
    BigShiftLeft(den, -d.exponent);
  }

  // Choose e so that q = num / (den * 2^e) lies in [2^23, 2^24), unless that
  // would go below the smallest subnormal exponent.
  int e = BigBitLength(num) - BigBitLength(den) - 24;
  if (e < -149) e = -149;
  if (e < 0) {
    BigShiftLeft(num, -e);
  } else {
    BigShiftLeft(den, e);
  }
  BigInteger top = den;
  BigShiftLeft(top, 24);
  if (BigCompare(num, top) >= 0) {
    ++e;
    BigShiftLeft(den, 1);
  }

  // Long division, one quotient bit at a time.
  BigInteger step = den;
  BigShiftLeft(step, 23);
  std::uint32_t q = 0;
  for (int bit = 23; bit >= 0; --bit) {
    if (BigCompare(num, step) >= 0) {
      BigSubtract(num, step);
      q |= std::uint32_t{1} << bit;
    }
    BigShiftRight1(step);
  }
  BigShiftLeft(num, 1);  // twice the remainder against the divisor
  const int half = BigCompare(num, den);
  if (half > 0 || (half == 0 && (q & 1) != 0)) ++q;

  // Normal and subnormal alike: a carry out of the mantissa moves into the
  // exponent field, and a result past the largest float becomes infinity.
  const std::uint32_t bits = (static_cast<std::uint32_t>(e + 149) << 23) + q;
  return FloatFromBits(bits >= 0x7F800000u ? 0x7F800000u : bits);
}

}  // namespace

bool ParseNumberText(std::string_view text, float& value) {
  Decimal d;
  if (!Scan(text, d)) return false;
  float magnitude = 0.0f;
  if (d.count != 0 && !ConvertFast(d, magnitude)) magnitude = ConvertExact(d);
  value = WithSign(d.negative, magnitude);
  return true;
}

}  // namespace notchwell
