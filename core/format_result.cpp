#include "format_result.h"

#include <cstdint>
#include <cstring>

#include "big_integer.h"
#include "bits.h"

namespace notchwell {
namespace {

constexpr int kSignificant = 17;
constexpr int kDecimals = 6;
// A float has at most 39 integer digits; rounding can add one more.
constexpr int kMaxIntegerDigits = 40;

int Copy(const char* literal, char (&text)[kResultTextSize]) {
  const int length = static_cast<int>(std::strlen(literal));
  std::memcpy(text, literal, static_cast<std::size_t>(length) + 1);
  return length;
}

// Writes the decimal digits of n (as '0'..'9', most significant first) and
// returns their count; n is consumed.
int DecimalDigits(BigInteger& n, char* out) {
  char reversed[160];
  int count = 0;
  while (n.size > 2) {  // nine digits at a time while it is wide
    std::uint32_t chunk = BigDivSmall(n, 1000000000u);
    for (int i = 0; i < 9; ++i, chunk /= 10) reversed[count++] = static_cast<char>('0' + chunk % 10);
  }
  std::uint64_t rest = n.size == 0 ? 0 : (n.size == 1 ? n.limbs[0] : (std::uint64_t{n.limbs[1]} << 32 | n.limbs[0]));
  while (rest >= 1000000000u) {
    std::uint32_t chunk = static_cast<std::uint32_t>(rest % 1000000000u);
    rest /= 1000000000u;
    for (int i = 0; i < 9; ++i, chunk /= 10) reversed[count++] = static_cast<char>('0' + chunk % 10);
  }
  for (auto small = static_cast<std::uint32_t>(rest); small != 0; small /= 10) {
    reversed[count++] = static_cast<char>('0' + small % 10);
  }
  while (count > 1 && reversed[count - 1] == '0') --count;  // chunks pad with zeros
  for (int i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
  return count;
}

// Adds one unit in the last place of digits[0..count); returns true on a
// carry out of the first digit (all digits are then '0').
bool Increment(char* digits, int count) {
  for (int i = count - 1; i >= 0; --i) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

}  // namespace

int FormatResult(float value, char (&text)[kResultTextSize]) {
  const std::uint32_t bits = BitsOf(value);
  const bool negative = (bits >> 31) != 0;
  const std::uint32_t magnitude = bits & 0x7FFFFFFFu;
  const int biased = static_cast<int>(magnitude >> 23);
  std::uint32_t mantissa = magnitude & 0x7FFFFFu;

  if (biased == 0xFF) {
    if (mantissa != 0) return Copy(negative ? "-1.#IND00" : "1.#QNAN0", text);
    return Copy(negative ? "-1.#INF00" : "1.#INF00", text);
  }
  if (magnitude == 0) return Copy("0.000000", text);
  // Below 4e-7 even the rounding to 17 digits cannot reach 0.0000005.
  constexpr std::uint32_t kFourE7Bits = 0x34D6BF95u;  // 4.0e-7f
  if (magnitude < kFourE7Bits) return Copy(negative ? "-0.000000" : "0.000000", text);

  // The exact decimal expansion of mantissa * 2^exponent (all normal here):
  // for a negative exponent the digits of mantissa * 5^-exponent with the
  // point moved left.
  mantissa |= 0x800000u;
  const int exponent = biased - 150;
  BigInteger n;
  BigSet(n, mantissa);
  if (exponent >= 0) {
    BigShiftLeft(n, exponent);
  } else {
    BigMulPow5(n, -exponent);
  }
  char digits[160];
  int count = DecimalDigits(n, digits);
  int point = exponent >= 0 ? count : count + exponent;  // digits before the point

  // Round to 17 significant digits; later positions count as zeros.
  if (count > kSignificant) {
    const bool up = digits[kSignificant] >= '5';
    count = kSignificant;
    if (up && Increment(digits, count)) {
      digits[0] = '1';
      ++point;
    }
  }

  // Lay out integer digits and seven decimals, then round at the seventh.
  char fixed[kMaxIntegerDigits + kDecimals + 2];
  const int integer_digits = point > 0 ? point : 0;
  const int width = integer_digits + kDecimals + 1;
  for (int i = 0; i < width; ++i) {
    const int index = i - integer_digits + point;  // position in digits[]
    fixed[i] = (index >= 0 && index < count) ? digits[index] : '0';
  }
  const bool carry = fixed[width - 1] >= '5' && Increment(fixed, width - 1);

  char* out = text;
  if (negative) *out++ = '-';
  if (carry) *out++ = '1';
  if (integer_digits == 0 && !carry) *out++ = '0';
  std::memcpy(out, fixed, static_cast<std::size_t>(integer_digits));
  out += integer_digits;
  *out++ = '.';
  std::memcpy(out, fixed + integer_digits, kDecimals);
  out += kDecimals;
  *out = '\0';
  return static_cast<int>(out - text);
}

}  // namespace notchwell
