#include "e_series.h"

#include "elementary.h"

namespace notchwell {
namespace {

// IEC 60063. E24 keeps its historical values (2.7, 3.0 ... 4.7, 8.2), which
// are not the rounded powers of 10^(1/24); E48 and E96 have three figures.
constexpr std::uint16_t kE6[] = {10, 15, 22, 33, 47, 68};
constexpr std::uint16_t kE12[] = {10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};
constexpr std::uint16_t kE24[] = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                  33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};
constexpr std::uint16_t kE48[] = {100, 105, 110, 115, 121, 127, 133, 140, 147, 154, 162, 169, 178, 187, 196, 205,
                                  215, 226, 237, 249, 261, 274, 287, 301, 316, 332, 348, 365, 383, 402, 422, 442,
                                  464, 487, 511, 536, 562, 590, 619, 649, 681, 715, 750, 787, 825, 866, 909, 953};
constexpr std::uint16_t kE96[] = {100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
                                  147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
                                  215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
                                  316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
                                  464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
                                  681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};

constexpr SeriesTable kSeries[] = {
    {"E6", 6, kE6}, {"E12", 12, kE12}, {"E24", 24, kE24}, {"E48", 48, kE48}, {"E96", 96, kE96},
};

}  // namespace

const SeriesTable& SeriesOf(ESeries series) { return kSeries[static_cast<int>(series)]; }

double SeriesValue(ESeries series, SeriesStep step) {
  const SeriesTable& table = SeriesOf(series);
  const int exponent = step.exponent + step.index / table.count;
  // One rounding of exact operands: the double nearest the decimal value.
  return ScaleByPowerOfTen(table.mantissas[step.index % table.count], exponent);
}

SeriesStep StepAtOrBelow(ESeries series, double value) {
  const SeriesTable& table = SeriesOf(series);
  const int figures = table.mantissas[0] == 10 ? 2 : 3;
  // The decade whose first value is the last one not above the value; the
  // estimate from the logarithm is off by one at most.
  SeriesStep step{0, static_cast<int>(Log10(value) + 40) - 40 - (figures - 1)};
  while (SeriesValue(series, step) > value) --step.exponent;
  while (SeriesValue(series, {table.count, step.exponent}) <= value) ++step.exponent;
  while (SeriesValue(series, {step.index + 1, step.exponent}) <= value) ++step.index;
  return step;
}

SeriesStep StepBelow(ESeries series, SeriesStep step) {
  if (step.index > 0) return {step.index - 1, step.exponent};
  return {SeriesOf(series).count - 1, step.exponent - 1};
}

SeriesNeighbours NeighboursIn(ESeries series, double value) {
  const SeriesStep step = StepAtOrBelow(series, value);
  const double below = SeriesValue(series, step);
  return {below, below == value ? below : SeriesValue(series, {step.index + 1, step.exponent})};
}

double NearestIn(ESeries series, double value) {
  const SeriesNeighbours n = NeighboursIn(series, value);
  return value / n.below < n.above / value ? n.below : n.above;
}

}  // namespace notchwell
