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

}  // namespace notchwell
