// A floating-point number's bits and back, as the number conversions and
// the design code's elementary functions read and build them (memcpy: the
// one way C++17 allows, and compilers make it a move).
#pragma once

#include <cstdint>
#include <cstring>

namespace notchwell {

template <typename To, typename From>
To BitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From), "a bit cast keeps the size");
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

inline std::uint32_t BitsOf(float value) { return BitCast<std::uint32_t>(value); }
inline std::uint64_t BitsOf(double value) { return BitCast<std::uint64_t>(value); }
inline float FloatFromBits(std::uint32_t bits) { return BitCast<float>(bits); }
inline double DoubleFromBits(std::uint64_t bits) { return BitCast<double>(bits); }

// 10^k for 0 <= k <= kLargestExactPowerOfTen, every one exact in a double:
// a product or quotient by one rounds once.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPowerOfTen = 22;

}  // namespace notchwell
