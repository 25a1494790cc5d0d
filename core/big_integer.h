// A small fixed-capacity unsigned integer for the exact number conversions.
//
// Limbs are 32 bits so that every product fits a uint64_t on the 32-bit
// target too. The capacity covers the largest operands the conversions
// build (about 600 bits); callers bound their inputs so it is never
// exceeded, and the operations below clamp rather than write past the end.
#pragma once

#include <cstdint>

namespace notchwell {

struct BigInteger {
  static constexpr int kMaxLimbs = 28;  // 896 bits
  std::uint32_t limbs[kMaxLimbs];       // least significant first
  int size;                             // limbs in use; no zero top limb
};

inline void BigTrim(BigInteger& n) {
  while (n.size > 0 && n.limbs[n.size - 1] == 0) --n.size;
}

inline void BigSet(BigInteger& n, std::uint64_t value) {
  n.limbs[0] = static_cast<std::uint32_t>(value);
  n.limbs[1] = static_cast<std::uint32_t>(value >> 32);
  n.size = 2;
  BigTrim(n);
}

inline bool BigIsZero(const BigInteger& n) { return n.size == 0; }

inline void BigMulSmall(BigInteger& n, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (int i = 0; i < n.size; ++i) {
    std::uint64_t product = static_cast<std::uint64_t>(n.limbs[i]) * factor + carry;
    n.limbs[i] = static_cast<std::uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0 && n.size < BigInteger::kMaxLimbs) n.limbs[n.size++] = static_cast<std::uint32_t>(carry);
}

// n += digit, for building a number from decimal digits.
inline void BigAddSmall(BigInteger& n, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (int i = 0; i < n.size && carry != 0; ++i) {
    std::uint64_t sum = n.limbs[i] + carry;
    n.limbs[i] = static_cast<std::uint32_t>(sum);
    carry = sum >> 32;
  }
  if (carry != 0 && n.size < BigInteger::kMaxLimbs) n.limbs[n.size++] = static_cast<std::uint32_t>(carry);
}

inline void BigMulPow5(BigInteger& n, int exponent) {
  constexpr std::uint32_t kPow5_13 = 1220703125u;  // largest power of 5 in 32 bits
  for (; exponent >= 13; exponent -= 13) BigMulSmall(n, kPow5_13);
  std::uint32_t rest = 1;
  while (exponent-- > 0) rest *= 5;
  if (rest != 1) BigMulSmall(n, rest);
}

inline void BigShiftLeft(BigInteger& n, int bits) {
  if (n.size == 0 || bits <= 0) return;
  const int limb_shift = bits / 32;
  const int bit_shift = bits % 32;
  int new_size = n.size + limb_shift + 1;
  if (new_size > BigInteger::kMaxLimbs) new_size = BigInteger::kMaxLimbs;
  for (int i = new_size - 1; i >= 0; --i) {
    const int src = i - limb_shift;
    std::uint32_t high = (src >= 0 && src < n.size) ? n.limbs[src] : 0;
    std::uint32_t low = (src - 1 >= 0 && src - 1 < n.size) ? n.limbs[src - 1] : 0;
    n.limbs[i] = bit_shift == 0 ? high : (high << bit_shift) | (low >> (32 - bit_shift));
  }
  n.size = new_size;
  BigTrim(n);
}

inline void BigShiftRight1(BigInteger& n) {
  for (int i = 0; i < n.size; ++i) {
    const std::uint32_t next = i + 1 < n.size ? n.limbs[i + 1] : 0;
    n.limbs[i] = (n.limbs[i] >> 1) | (next << 31);
  }
  BigTrim(n);
}

inline int BigBitLength(const BigInteger& n) {
  if (n.size == 0) return 0;
  std::uint32_t top = n.limbs[n.size - 1];
  int bits = 0;
  while (top != 0) {
    ++bits;
    top >>= 1;
  }
  return (n.size - 1) * 32 + bits;
}

inline int BigCompare(const BigInteger& a, const BigInteger& b) {
  if (a.size != b.size) return a.size < b.size ? -1 : 1;
  for (int i = a.size - 1; i >= 0; --i) {
    if (a.limbs[i] != b.limbs[i]) return a.limbs[i] < b.limbs[i] ? -1 : 1;
  }
  return 0;
}

// a -= b; requires a >= b.
inline void BigSubtract(BigInteger& a, const BigInteger& b) {
  std::uint32_t borrow = 0;
  for (int i = 0; i < a.size; ++i) {
    const std::uint64_t subtrahend = static_cast<std::uint64_t>(i < b.size ? b.limbs[i] : 0) + borrow;
    const std::uint32_t limb = a.limbs[i];
    a.limbs[i] = static_cast<std::uint32_t>(limb - subtrahend);
    borrow = limb < subtrahend ? 1 : 0;
  }
  BigTrim(a);
}

// n /= divisor; returns the remainder.
inline std::uint32_t BigDivSmall(BigInteger& n, std::uint32_t divisor) {
  std::uint64_t remainder = 0;
  for (int i = n.size - 1; i >= 0; --i) {
    const std::uint64_t current = (remainder << 32) | n.limbs[i];
    n.limbs[i] = static_cast<std::uint32_t>(current / divisor);
    remainder = current % divisor;
  }
  BigTrim(n);
  return static_cast<std::uint32_t>(remainder);
}

}  // namespace notchwell
