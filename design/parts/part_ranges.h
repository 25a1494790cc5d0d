// The values sold as standard parts, and the temperature a part's value
// is given at.
#pragma once

namespace notchwell {

// Values sold as standard parts, and the resistors the best pair is drawn
// from (the form's C within a factor of ten either side gives its
// capacitors).
inline constexpr double kResistorLowest = 1;  // ohms
inline constexpr double kResistorHighest = 1e8;
inline constexpr double kCapacitorLowest = 1e-12;  // farads
inline constexpr double kCapacitorHighest = 1e-3;
inline constexpr double kPairResistorLowest = 100;
inline constexpr double kPairResistorHighest = 1e7;

// Parts are measured, and their tempcos given, at this temperature
// (degrees Celsius).
inline constexpr double kReferenceCelsius = 25;

}  // namespace notchwell
