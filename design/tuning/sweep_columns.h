// What a sweep's columns are, from the names its header gives them and
// the settings written before it: the frequency in Hz, kHz or MHz; the
// level in dB, as a ratio or as attenuation; the phase in degrees or
// radians; and of several levels (channels, S-parameters), the output's.
#pragma once

#include <string_view>

namespace notchwell {

enum class ColumnKind : int { Unnamed, Frequency, Level, Phase };
enum class LevelUnit : int { Decibels, Ratio, Attenuation };

constexpr int kMostColumns = 8;
constexpr int kColumnNameSize = 48;

struct SweepColumn {
  ColumnKind kind;
  double hertz_per_unit;  // a frequency's
  LevelUnit level;        // a level's
  bool unit_named;        // the level's unit is in its name
  bool radians;           // a phase's
  bool output;            // its name says it is the output's (CH2, S21, Vout, relative, ...)
  char name[kColumnNameSize];
};

// A header: its columns by name, and what the settings before it said.
struct SweepHeader {
  int count;
  SweepColumn column[kMostColumns];
  char output[8];  // the output's channel a setting names ("ch2"), or ""
  bool ratio;      // a setting says the level is Vout/Vin, not in dB
};

// A column named `name`, as its header calls it.
SweepColumn ColumnNamed(std::string_view name);

// Whether a line of words is a header: it names a frequency and one more
// column at least.
bool NamesFrequency(std::string_view name);

// A `key, value` setting before the data: what it says of the output's
// channel or of the level's unit.
void TakeSetting(std::string_view key, std::string_view value, SweepHeader& header);

// Whether `column` is the output's by the settings or its name.
bool IsOutput(const SweepHeader& header, int column);

}  // namespace notchwell
