#include "sweep_columns.h"

namespace notchwell {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

// Whether `text` holds `word`, letter case and blanks aside.
bool Holds(std::string_view text, std::string_view word) {
  for (std::size_t start = 0; start < text.size(); ++start) {
    std::size_t at = start, k = 0;
    while (k < word.size() && at < text.size()) {
      if (text[at] == ' ' && word[k] != ' ') {
        ++at;
        continue;
      }
      if (Lower(text[at]) != word[k]) break;
      ++at;
      ++k;
    }
    if (k == word.size()) return true;
  }
  return false;
}

template <std::size_t N>
bool HoldsAny(std::string_view text, const char* const (&words)[N]) {
  for (const char* word : words) {
    if (Holds(text, word)) return true;
  }
  return false;
}

// The words of a column's name, as measuring programs, oscilloscopes,
// network analysers and simulators write them, lower case.
constexpr const char* kPhaseWords[] = {"phase", "deg", "rad", "\xC2\xB0", "arg(", "angle"};
constexpr const char* kFrequencyWords[] = {"freq", "hz"};
constexpr const char* kDecibelWords[] = {"db"};
constexpr const char* kRatioWords[] = {"v/v", "lin", "(u)", "ratio"};
constexpr const char* kAttenuationWords[] = {"atten", "loss", "rejection"};
constexpr const char* kOutputWords[] = {"ch2", "channel2", "s21", "vout", "v(out)", "output", "relative", "b/a"};
constexpr const char* kOutputKeys[] = {"output", "dut", "channel"};
constexpr const char* kModeKeys[] = {"mode", "unit", "format"};

struct FrequencyUnit {
  const char* word;
  double hertz;
};
constexpr FrequencyUnit kFrequencyUnits[] = {{"ghz", 1e9}, {"mhz", 1e6}, {"khz", 1e3}};

}  // namespace

bool NamesFrequency(std::string_view name) {
  return HoldsAny(name, kFrequencyWords) && !HoldsAny(name, kPhaseWords) && !HoldsAny(name, kDecibelWords);
}

SweepColumn ColumnNamed(std::string_view name) {
  SweepColumn column{ColumnKind::Unnamed, 1, LevelUnit::Decibels, false, false, false, {}};
  std::size_t length = 0;
  for (; length < name.size() && length + 1 < static_cast<std::size_t>(kColumnNameSize); ++length) {
    column.name[length] = name[length];
  }
  column.name[length] = '\0';
  if (name.empty()) return column;
  if (HoldsAny(name, kPhaseWords) && !HoldsAny(name, kDecibelWords)) {
    column.kind = ColumnKind::Phase;
    column.radians = Holds(name, "rad") && !Holds(name, "deg") && !Holds(name, "\xC2\xB0");
  } else if (NamesFrequency(name)) {
    column.kind = ColumnKind::Frequency;
    for (const FrequencyUnit& unit : kFrequencyUnits) {
      if (Holds(name, unit.word)) column.hertz_per_unit = unit.hertz;
    }
  } else {
    column.kind = ColumnKind::Level;
    column.unit_named =
        HoldsAny(name, kAttenuationWords) || HoldsAny(name, kDecibelWords) || HoldsAny(name, kRatioWords);
    column.level = HoldsAny(name, kAttenuationWords) ? LevelUnit::Attenuation
                   : HoldsAny(name, kDecibelWords)   ? LevelUnit::Decibels
                   : HoldsAny(name, kRatioWords)     ? LevelUnit::Ratio
                                                     : LevelUnit::Decibels;
  }
  column.output = HoldsAny(name, kOutputWords);
  return column;
}

void TakeSetting(std::string_view key, std::string_view value, SweepHeader& header) {
  if (HoldsAny(key, kOutputKeys)) {
    // "CH2", "Channel 2", "ch 2": the channel's number.
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      if (c >= '1' && c <= '9' && (Holds(value, "ch") || value.size() <= 2)) {
        header.output[0] = 'c';
        header.output[1] = 'h';
        header.output[2] = c;
        header.output[3] = '\0';
        break;
      }
    }
  }
  if (HoldsAny(key, kModeKeys) && (Holds(value, "/") || HoldsAny(value, kRatioWords))) {
    header.ratio = !HoldsAny(value, kDecibelWords);
  }
}

bool IsOutput(const SweepHeader& header, int column) {
  const SweepColumn& c = header.column[column];
  if (header.output[0] == '\0') return c.output;
  char channel[10] = {'c', 'h', 'a', 'n', 'n', 'e', 'l', header.output[2], '\0', '\0'};
  return Holds(c.name, header.output) || Holds(c.name, channel);
}

}  // namespace notchwell
