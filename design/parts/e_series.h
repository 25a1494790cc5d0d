// The IEC 60063 preferred number series that resistors and capacitors are
// sold in, and the snapping of a value to them.
#pragma once

#include <cstdint>

namespace notchwell {

enum class ESeries : int { E6, E12, E24, E48, E96 };

struct SeriesTable {
  const char* name;
  int count;                       // values in a decade
  const std::uint16_t* mantissas;  // 10..91 (E6 to E24) or 100..976 (E48, E96)
};

const SeriesTable& SeriesOf(ESeries series);

// A value of a series, mantissas[index] * 10^exponent; an index of count
// and beyond runs on into the next decades.
struct SeriesStep {
  int index;
  int exponent;
};

// The step's value, correctly rounded; |exponent| <= 20.
double SeriesValue(ESeries series, SeriesStep step);

// The largest series value not above a value between 1e-20 and 1e20.
SeriesStep StepAtOrBelow(ESeries series, double value);

// The step one value down.
SeriesStep StepBelow(ESeries series, SeriesStep step);

// The series values next below and above a value (both the value itself
// when it is one).
struct SeriesNeighbours {
  double below;
  double above;
};
SeriesNeighbours NeighboursIn(ESeries series, double value);

// The series value nearest on a logarithmic scale; at the geometric middle
// of two values, the larger.
double NearestIn(ESeries series, double value);

}  // namespace notchwell
