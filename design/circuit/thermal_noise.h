// A resistor's thermal noise as SPICE takes it: a current of 4kT/R A^2/Hz
// at 27 degrees Celsius, the simulator's default temperature.
#pragma once

namespace notchwell {

inline constexpr double kNoiseKelvin = 300.15;
inline constexpr double kBoltzmann = 1.380649e-23;  // J/K
inline constexpr double kFourKT = 4 * kBoltzmann * kNoiseKelvin;

}  // namespace notchwell
