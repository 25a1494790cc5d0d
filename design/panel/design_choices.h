// What the person chooses beside the dialog: the series the parts come
// from, their tolerances and tempcos, the network, where it has to work,
// the reject band, the plot's view and the band noise is read over. The page fills its lists from
// these tables.
#pragma once

#include "choices.h"
#include "e_series.h"

namespace notchwell {

inline constexpr Choices<ESeries, 4> kResistorSeries = {{ESeries::E12, ESeries::E24, ESeries::E48, ESeries::E96}, 1};
inline constexpr Choices<ESeries, 3> kCapacitorSeries = {{ESeries::E6, ESeries::E12, ESeries::E24}, 1};
// Percent.
inline constexpr Choices<double, 5> kResistorTolerances = {{0.1, 0.5, 1, 2, 5}, 2};
inline constexpr Choices<double, 4> kCapacitorTolerances = {{1, 2, 5, 10}, 2};
// The network: passive (0), or active with that target Q.
inline constexpr Choices<double, 6> kNetworks = {{0, 0.5, 1, 2, 5, 10}, 0};

// How far either side of Fo the frequency to take out may wander, in
// percent (mains within 0.2 Hz of 50 Hz in normal running, 1 Hz at worst).
inline constexpr Choices<double, 6> kRejectBands = {{0.1, 0.2, 0.5, 1, 2, 5}, 2};

// What the response plot shows: the level, the phase and group delay over
// frequency, or the output in time after a unit step or a sine at Fo
// switched on at t = 0, or the output's noise density over frequency.
enum class PlotView : int { Level, Phase, Delay, Step, Burst, Noise };
inline constexpr Choices<const char*, 6> kPlotViews = {{"level", "phase", "delay", "step", "burst", "noise"}, 0};

// What a measured sweep was measured on: the nearest build, or the build
// of the measured parts.
enum class TuneBuilt : int { Nearest, Measured };
inline constexpr Choices<const char*, 2> kTuneBuilds = {{"nearest", "measured"}, 0};

// The band a distortion analyser reads noise over: the audio band, as
// analysers' standard filters take it, and wider.
struct NoiseBand {
  const char* name;
  double low_hertz, high_hertz;
};
inline constexpr Choices<NoiseBand, 4> kNoiseBands = {
    {{"20-20k", 20, 20e3}, {"22-22k", 22, 22e3}, {"20-80k", 20, 80e3}, {"10-500k", 10, 500e3}}, 0};

// Temperature coefficients of the parts, in ppm/K either way, with the
// parts people know each from.
struct Tempco {
  double ppm_per_kelvin;
  const char* parts;
};
inline constexpr Choices<Tempco, 5> kResistorTempcos = {
    {{15, "precision metal film"}, {25, "metal film"}, {50, "metal film"}, {100, "thick film"}, {250, "carbon film"}},
    2};
inline constexpr Choices<Tempco, 4> kCapacitorTempcos = {
    {{30, "C0G ceramic"}, {100, "polystyrene"}, {200, "polypropylene"}, {500, "polyester"}}, 2};

// Where the filter has to work, in degrees Celsius.
struct TemperatureRange {
  double low;
  double high;
  const char* use;
};
inline constexpr Choices<TemperatureRange, 4> kTemperatureRanges = {
    {{15, 35, "lab bench"}, {0, 70, "commercial"}, {-40, 85, "industrial"}, {-55, 125, "military"}}, 1};

}  // namespace notchwell
