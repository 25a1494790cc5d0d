// How a build moves with temperature: from the reference temperature
// every resistor drifts alike by its temperature coefficient, every
// capacitor alike by its own, each either way.
#pragma once

#include "twin_t_circuit.h"

namespace notchwell {

// Over the builds at both ends of the range (`low` and `high` in degrees
// Celsius, coefficients in ppm/K), each drift either way: the lowest and
// highest notch, and the least rejection at `fo_hertz` (dB below Vs).
struct TemperatureDrift {
  bool found;  // some of them notch
  double fo_low_hertz;
  double fo_high_hertz;
  double least_reject_db;
};
TemperatureDrift DriftOverTemperature(const TwinTCircuit& nominal, double r_ppm, double c_ppm, double low_celsius,
                                      double high_celsius, double fo_hertz);

}  // namespace notchwell
