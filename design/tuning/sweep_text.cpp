#include "sweep_text.h"

#include "complex_number.h"
#include "decimal_digits.h"

namespace notchwell {
namespace {

// Part of a text (the freestanding string_view has no substr).
std::string_view Part(std::string_view text, std::size_t at, std::size_t count) { return {text.data() + at, count}; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

bool SameWord(std::string_view token, std::string_view word) {
  if (token.size() != word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (Lower(token[i]) != word[i]) return false;
  }
  return true;
}

bool Same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && Same(Part(text, 0, start.size()), start);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && Same(Part(text, text.size() - end.size(), end.size()), end);
}

std::string_view Trimmed(std::string_view text) {
  std::size_t from = 0, to = text.size();
  while (from < to && (text[from] == ' ' || text[from] == '"')) ++from;
  while (to > from && (text[to - 1] == ' ' || text[to - 1] == '"')) --to;
  return Part(text, from, to - from);
}

constexpr std::string_view kUnicodeMinus{"\xE2\x88\x92", 3};
constexpr std::string_view kDegreeSign{"\xC2\xB0", 2};

// --- Structure: lines, fields, separators, pairs.

// How a line's fields are apart: by semicolons and tabs (a comma between
// digits then being a decimal comma), or by commas, semicolons, tabs and,
// in numbers, spaces.
struct Separators {
  bool decimal_comma;
  bool words;  // a line of words: blanks belong to the names
};

bool IsSeparator(char c, Separators s) {
  return c == ';' || c == '\t' || (!s.decimal_comma && c == ',') || (!s.words && c == ' ');
}

Separators SeparatorsOf(std::string_view line, bool words) {
  int depth = 0;
  bool strong = false, comma = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    if (depth == 0 && (c == ';' || c == '\t')) strong = true;
    if (depth == 0 && c == ',') comma = true;
  }
  // A line of words apart by blanks alone ("Freq Gain Phase").
  if (words && !strong && !comma) return {false, false};
  return {strong, words};
}

// The fields of a line: up to kMostColumns, a parenthesised pair one field.
struct Fields {
  int count;
  std::string_view field[kMostColumns + 1];
};

Fields FieldsOf(std::string_view line, Separators s) {
  Fields out{0, {}};
  std::size_t at = 0;
  while (at < line.size() && out.count <= kMostColumns) {
    while (at < line.size() && (IsSeparator(line[at], s) || line[at] == ' ')) ++at;
    if (at == line.size()) break;
    std::size_t end = at;
    int depth = 0;
    while (end < line.size() && (depth > 0 || !IsSeparator(line[end], s))) {
      depth += line[end] == '(' ? 1 : line[end] == ')' ? -1 : 0;
      ++end;
    }
    out.field[out.count++] = Trimmed(Part(line, at, end - at));
    at = end;
  }
  return out;
}

// --- Numbers.

enum class Token { Number, NotFinite, Word };

// One number: with a sign (a Unicode minus too), digits, a decimal point
// (or comma, where commas are decimal) and an exponent; a word standing for
// no finite number (inf, nan); or anything else. `suffix` may follow it.
Token ReadToken(std::string_view token, double& value, bool decimal_comma = false, std::string_view suffix = {}) {
  if (!suffix.empty() && EndsWith(token, suffix)) token = Part(token, 0, token.size() - suffix.size());
  std::size_t at = 0;
  bool negative = false;
  if (StartsWith(token, kUnicodeMinus)) {
    negative = true;
    at = kUnicodeMinus.size();
  } else if (at < token.size() && (token[at] == '-' || token[at] == '+')) {
    negative = token[at] == '-';
    ++at;
  }
  const std::string_view rest = Part(token, at, token.size() - at);
  if (SameWord(rest, "inf") || SameWord(rest, "infinity") || SameWord(rest, "nan")) return Token::NotFinite;
  Decimal d{0, 0, false};
  at = TakeDecimalDigits(token, at, d, false);
  if (at < token.size() && (token[at] == '.' || (decimal_comma && token[at] == ','))) {
    at = TakeDecimalDigits(token, at + 1, d, true);
  }
  if (!d.has_digit) return Token::Word;
  if (at < token.size() && (token[at] == 'e' || token[at] == 'E')) {
    ++at;
    const bool negative_exponent = at < token.size() && token[at] == '-';
    if (at < token.size() && (token[at] == '-' || token[at] == '+')) ++at;
    int exponent = 0;
    if (!TakeExponentDigits(token, at, exponent)) return Token::Word;
    d.exponent += negative_exponent ? -exponent : exponent;
  }
  if (at != token.size()) return Token::Word;
  value = DecimalValue(d);
  if (!(value <= kLargestDouble)) return Token::NotFinite;
  if (negative) value = -value;
  return Token::Number;
}

// A field's numbers: one, or a pair in parentheses, either a level in dB
// and a phase in degrees ("(-17.8dB,-8.1°)") or a complex ratio.
struct Cell {
  Token token;
  bool pair;
  double value, level_db, degrees;
};

Cell ReadCell(std::string_view field, bool decimal_comma) {
  Cell cell{Token::Word, false, 0, 0, 0};
  if (!(StartsWith(field, "(") && EndsWith(field, ")"))) {
    cell.token = ReadToken(field, cell.value, decimal_comma);
    return cell;
  }
  const std::string_view inside = Part(field, 1, field.size() - 2);
  std::size_t comma = 0;
  while (comma < inside.size() && inside[comma] != ',' && inside[comma] != ';') ++comma;
  if (comma == inside.size()) return cell;
  const std::string_view first = Trimmed(Part(inside, 0, comma)),
                         second = Trimmed(Part(inside, comma + 1, inside.size() - comma - 1));
  double a = 0, b = 0;
  const bool polar = EndsWith(first, "dB") || EndsWith(first, "db");
  const Token ta = ReadToken(first, a, false, polar ? Part(first, first.size() - 2, 2) : std::string_view{});
  const Token tb = ReadToken(second, b, false, EndsWith(second, kDegreeSign) ? kDegreeSign : std::string_view{});
  cell.token = ta == Token::Number && tb == Token::Number ? Token::Number
               : ta == Token::Word || tb == Token::Word   ? Token::Word
                                                          : Token::NotFinite;
  cell.pair = true;
  if (cell.token != Token::Number) return cell;
  if (polar) {
    cell.level_db = a;
    cell.degrees = b;
  } else {
    const double power = a * a + b * b;
    cell.level_db = power > 0 ? 10 * Log10(power) : -1e300;
    cell.degrees = Atan2(b, a) * (180 / kPi);
  }
  return cell;
}

// --- Lines.

// A line's end at `at`: its length in bytes, 1 or 2 ("\r\n"), 0 for none.
int LineEndAt(std::string_view text, std::size_t at) {
  if (text[at] == '\n') return 1;
  if (text[at] != '\r') return 0;
  return at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}

bool IsCommentMark(char c) { return c == '*' || c == '#' || c == ';' || c == '!'; }

// What the lines before the data said: the header, if any.
struct Reading {
  SweepHeader header;
  bool named;                   // a header named the columns
  int frequency, level, phase;  // the columns read; -1 for none
};

// A line of words or a comment: a header where it names a frequency and
// more, a `key, value` setting, or nothing to read.
void TakeWords(std::string_view line, Reading& r) {
  const Fields fields = FieldsOf(line, SeparatorsOf(line, true));
  if (fields.count >= 2 && NamesFrequency(fields.field[0])) {
    r.named = true;
    r.header.count = fields.count < kMostColumns ? fields.count : kMostColumns;
    for (int k = 0; k < r.header.count; ++k) r.header.column[k] = ColumnNamed(fields.field[k]);
  } else if (fields.count == 2) {
    TakeSetting(fields.field[0], fields.field[1], r.header);
  }
}

// The columns a header's names decide: the first frequency, the output's
// level (or `wanted`, or the first), and the phase nearest after it (or
// before it).
void ChooseColumns(Reading& r, int wanted) {
  const SweepHeader& h = r.header;
  r.frequency = r.level = r.phase = -1;
  for (int k = 0; k < h.count; ++k) {
    if (h.column[k].kind == ColumnKind::Frequency && r.frequency < 0) r.frequency = k;
  }
  int levels = 0;
  for (int k = 0; k < h.count; ++k) {
    if (h.column[k].kind != ColumnKind::Level) continue;
    if (levels == wanted || (wanted < 0 && r.level < 0) || (wanted < 0 && IsOutput(h, k) && !IsOutput(h, r.level))) {
      r.level = k;
    }
    ++levels;
  }
  for (int k = r.level + 1; k < h.count && r.phase < 0; ++k) {
    if (h.column[k].kind == ColumnKind::Phase) r.phase = k;
  }
  for (int k = r.level - 1; k >= 0 && r.phase < 0; --k) {
    if (h.column[k].kind == ColumnKind::Phase) r.phase = k;
  }
}

// One line of data: its point, where it has one.
struct Point {
  bool skipped;
  SweepProblem problem;
  bool phase;
  double hertz, level_db, degrees;
};

Point ReadPoint(std::string_view line, const Reading& r) {
  const Separators s = SeparatorsOf(line, false);
  const Fields fields = FieldsOf(line, s);
  Cell cells[kMostColumns + 1] = {};
  for (int k = 0; k < fields.count; ++k) cells[k] = ReadCell(fields.field[k], s.decimal_comma);
  Point out{false, SweepProblem::None, false, 0, 0, 0};
  // A line whose first field is a word is a header, a setting or a note.
  if (fields.count == 0 || cells[0].token == Token::Word) return {true, SweepProblem::None, false, 0, 0, 0};
  int numbers = 0;
  for (int k = 0; k < fields.count; ++k) {
    if (cells[k].token == Token::Word) return {false, SweepProblem::NotANumber, false, 0, 0, 0};
    if (cells[k].token == Token::NotFinite) out.problem = SweepProblem::NotFinite;
    numbers += cells[k].pair ? 2 : 1;
  }
  if (out.problem != SweepProblem::None) return out;
  const int frequency = r.named && r.frequency >= 0 ? r.frequency : 0;
  const int level = r.named ? r.level : 1;
  if (!r.named && fields.count > kMostColumns) return {false, SweepProblem::TooManyNumbers, false, 0, 0, 0};
  if (!r.named && numbers == 1) return {false, SweepProblem::OneNumber, false, 0, 0, 0};
  if (!r.named && numbers > 3) return {false, SweepProblem::TooManyNumbers, false, 0, 0, 0};
  if (level < 0 || level >= fields.count || frequency >= fields.count || cells[frequency].pair) {
    return {false, SweepProblem::NoColumn, false, 0, 0, 0};
  }
  out.hertz = cells[frequency].value * (r.named ? r.header.column[frequency].hertz_per_unit : 1);
  const Cell& l = cells[level];
  if (l.pair) {
    out.level_db = l.level_db;
    out.degrees = l.degrees;
    out.phase = true;
    return out;
  }
  const SweepColumn unnamed{ColumnKind::Level, 1, LevelUnit::Decibels, false, false, false, {}};
  const SweepColumn& c = r.named ? r.header.column[level] : unnamed;
  const bool ratio = c.level == LevelUnit::Ratio || (r.header.ratio && !c.unit_named);
  if (ratio && !(l.value > 0)) return {false, SweepProblem::NoRatio, false, 0, 0, 0};
  out.level_db = ratio ? 20 * Log10(l.value) : c.level == LevelUnit::Attenuation ? -l.value : l.value;
  const int phase = r.named ? r.phase : fields.count == 3 ? 2 : -1;
  if (phase >= 0 && phase < fields.count && !cells[phase].pair) {
    out.phase = true;
    out.degrees = cells[phase].value * (r.named && r.header.column[phase].radians ? 180 / kPi : 1);
  }
  return out;
}

// Calls take(line, number) for each line of `text`, counted from 1.
template <typename Take>
void ForEachLine(std::string_view text, Take take) {
  int number = 1;
  for (std::size_t start = 0; start < text.size(); ++number) {
    std::size_t end = start;
    while (end < text.size() && LineEndAt(text, end) == 0) ++end;
    if (!take(Part(text, start, end - start), number)) return;
    start = end < text.size() ? end + static_cast<std::size_t>(LineEndAt(text, end)) : end;
  }
}

// A line that is not data: a comment (which may name the columns), a
// BEGIN or END about the data, or words.
bool TakeNonData(std::string_view line, Reading& r) {
  std::size_t at = 0;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  if (at == line.size()) return true;
  if (IsCommentMark(line[at])) {
    TakeWords(Part(line, at + 1, line.size() - at - 1), r);
    return true;
  }
  const Separators s = SeparatorsOf(line, false);
  const Fields fields = FieldsOf(line, s);
  if (fields.count > 0 && ReadCell(fields.field[0], s.decimal_comma).token != Token::Word) return false;
  if (!StartsWith(Part(line, at, line.size() - at), "BEGIN") && !StartsWith(Part(line, at, line.size() - at), "END")) {
    TakeWords(line, r);
  }
  return true;
}

}  // namespace

SweepReading ReadSweepText(std::string_view text, MeasuredSweep& sweep, int level_column) {
  sweep.count = 0;
  sweep.phase = false;
  sweep.level_columns = 0;
  sweep.level_column = -1;
  sweep.phase_name[0] = '\0';
  if (text.size() > static_cast<std::size_t>(kSweepTextSize)) return {SweepProblem::TooLong, 0};
  // A UTF-8 byte-order mark, as some programs begin a file with, is no
  // part of the first line.
  if (text.size() >= 3 && text[0] == '\xEF' && text[1] == '\xBB' && text[2] == '\xBF') {
    text = Part(text, 3, text.size() - 3);
  }
  bool blank = true;
  for (std::size_t i = 0; i < text.size() && blank; ++i) {
    blank = text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n';
  }
  if (blank) return {SweepProblem::None, 0};
  Reading r{{0, {}, {}, false}, false, -1, -1, -1};
  SweepReading reading{SweepProblem::None, 0};
  // Of several level columns with none named the output's, the one that
  // holds the notch: the widest span of level. A first pass finds it.
  double low[kMostColumns], high[kMostColumns];
  bool spans = false;
  for (int pass = 0; pass < 2; ++pass) {
    bool chosen = false;
    sweep.count = 0;
    ForEachLine(text, [&](std::string_view line, int number) {
      if (TakeNonData(line, r)) return true;
      if (!chosen) {
        chosen = true;
        ChooseColumns(r, level_column);
        if (pass == 1 && spans && level_column < 0) {
          int widest = -1;
          for (int k = 0; k < r.header.count; ++k) {
            if (r.header.column[k].kind != ColumnKind::Level || !(high[k] >= low[k])) continue;
            if (widest < 0 || high[k] - low[k] > high[widest] - low[widest]) widest = k;
          }
          int levels = 0;
          for (int k = 0; k < widest; ++k) levels += r.header.column[k].kind == ColumnKind::Level;
          if (widest >= 0) ChooseColumns(r, levels);
        }
        if (pass == 0) {
          bool named_output = false;
          int levels = 0;
          for (int k = 0; k < r.header.count; ++k) {
            if (r.header.column[k].kind != ColumnKind::Level) continue;
            ++levels;
            named_output = named_output || IsOutput(r.header, k);
            low[k] = 1e300;
            high[k] = -1e300;
          }
          spans = r.named && levels > 1 && !named_output && level_column < 0;
          if (!spans) pass = 1;
        }
      }
      if (pass == 0) {
        // Each level column's span, read as its own.
        for (int k = 0; k < r.header.count; ++k) {
          if (r.header.column[k].kind != ColumnKind::Level) continue;
          Reading one = r;
          one.level = k;
          const Point p = ReadPoint(line, one);
          if (p.problem != SweepProblem::None) continue;
          if (p.level_db < low[k]) low[k] = p.level_db;
          if (p.level_db > high[k]) high[k] = p.level_db;
        }
        return true;
      }
      const Point p = ReadPoint(line, r);
      if (p.skipped) return true;
      if (p.problem != SweepProblem::None) {
        reading = {p.problem, number};
        return false;
      }
      if (sweep.count == kMostSweepPoints) {
        reading = {SweepProblem::TooManyPoints, number};
        return false;
      }
      if (sweep.count == 0) sweep.phase = p.phase;
      if (p.phase != sweep.phase) {
        reading = {p.phase ? SweepProblem::ExtraPhase : SweepProblem::NoPhase, number};
        return false;
      }
      if (!(p.hertz > 0)) {
        reading = {SweepProblem::NotPositive, number};
        return false;
      }
      if (sweep.count > 0 && !(p.hertz > sweep.hertz[sweep.count - 1])) {
        reading = {SweepProblem::NotRising, number};
        return false;
      }
      sweep.hertz[sweep.count] = p.hertz;
      sweep.level_db[sweep.count] = p.level_db;
      sweep.degrees[sweep.count] = p.phase ? p.degrees : 0;
      sweep.line[sweep.count] = number;
      ++sweep.count;
      return true;
    });
    if (pass == 0 && !spans) break;
  }
  if (r.named) {
    for (int k = 0; k < r.header.count; ++k) {
      if (r.header.column[k].kind != ColumnKind::Level) continue;
      if (k == r.level) sweep.level_column = sweep.level_columns;
      char(&name)[kColumnNameSize] = sweep.level_names[sweep.level_columns++];
      for (int i = 0; i < kColumnNameSize; ++i) name[i] = r.header.column[k].name[i];
    }
    if (r.phase >= 0 && sweep.phase) {
      for (int i = 0; i < kColumnNameSize; ++i) sweep.phase_name[i] = r.header.column[r.phase].name[i];
    }
  }
  if (reading.problem != SweepProblem::None) return reading;
  if (sweep.count == 0) return {SweepProblem::NoPoints, 0};
  if (sweep.count < kFewestSweepPoints) return {SweepProblem::TooFewPoints, 0};
  return {SweepProblem::None, 0};
}

namespace {

constexpr const char* kSweepMessages[static_cast<int>(SweepProblem::Count)] = {
    "",
    "No points: paste a point a line, the frequency in Hz, the level in dB and optionally the phase in degrees.",
    "Fewer than 8 points: a sweep needs at least 8, across the notch.",
    "something in it is not a number.",
    "one number alone: a point is a frequency and a level, and optionally a phase.",
    "more than three numbers: a point is a frequency, a level and optionally a phase.",
    "no phase, though the points before it have one.",
    "a phase, though the points before it have none.",
    "a number that is not finite.",
    "the frequency is not above 0 Hz.",
    "the frequency does not rise above the line before's.",
    "more than 20,000 points: a sweep takes at most 20,000.",
    "More than 2 MB of text: a sweep takes at most 20,000 points.",
    "fewer numbers than the column read needs.",
    "a level given as a ratio of 0 or below.",
};

}  // namespace

void SweepProblemText(SweepReading reading, char* text, int size) {
  if (size <= 0) return;
  int length = 0;
  const auto put = [&](char c) {
    if (length < size - 1) text[length++] = c;
  };
  if (reading.line > 0) {
    for (const char* p = "Line "; *p; ++p) put(*p);
    char digits[12];
    int n = 0;
    for (int line = reading.line; line > 0 && n < 12; line /= 10) digits[n++] = static_cast<char>('0' + line % 10);
    while (n > 0) put(digits[--n]);
    put(':');
    put(' ');
  }
  const int problem = static_cast<int>(reading.problem);
  if (problem >= 0 && problem < static_cast<int>(SweepProblem::Count)) {
    for (const char* p = kSweepMessages[problem]; *p; ++p) put(*p);
  }
  text[length] = '\0';
}

}  // namespace notchwell
