#include "kicad_schematic.h"

#include <cstdint>

#include "elementary.h"

namespace notchwell {
namespace {

// Every symbol the sheet uses, as KiCad's library format writes it, so
// that the file opens with no library installed. Pins are passive (the
// power ones aside): a twin-T has no drivers for ERC to look for.
#define NW_FONT "(effects (font (size 1.27 1.27)))"
#define NW_HIDDEN "(effects (font (size 1.27 1.27)) (hide yes))"
#define NW_FIELDS(reference, value)                                                               \
  "(property \"Reference\" \"" reference "\" (at 0 0 0) " NW_FONT ")(property \"Value\" \"" value \
  "\" (at 0 0 0) " NW_FONT ")(property \"Footprint\" \"\" (at 0 0 0) " NW_HIDDEN                  \
  ")(property \"Datasheet\" \"\" (at 0 0 0) " NW_HIDDEN ")(property \"Description\" \"\" (at 0 0 0) " NW_HIDDEN ")"
#define NW_PIN(type, x, y, angle, length, name, number)                                           \
  "(pin " type " line (at " x " " y " " angle ") (length " length ") (name \"" name "\" " NW_FONT \
  ") (number \"" number "\" " NW_FONT "))"
#define NW_LINE(points, width) \
  "(polyline (pts " points ") (stroke (width " width ") (type default)) (fill (type none)))"
#define NW_SYMBOL(name, flags, fields, body)                                                     \
  "(symbol \"" name "\" " flags " (exclude_from_sim no) (in_bom yes) (on_board yes)" fields body \
  "(embedded_fonts no))\n"

constexpr const char* kLibrary =
    "(lib_symbols\n" NW_SYMBOL(
        "notchwell:R", "(pin_numbers (hide yes)) (pin_names (offset 0) (hide yes))", NW_FIELDS("R", "R"),
        "(symbol \"R_0_1\" (rectangle (start -1.016 -2.54) (end 1.016 2.54) (stroke (width 0.254) (type default)) "
        "(fill (type none))))(symbol \"R_1_1\" " NW_PIN("passive", "0", "3.81", "270", "1.27", "~", "1")
            NW_PIN("passive", "0", "-3.81", "90", "1.27", "~", "2") ")")
        NW_SYMBOL("notchwell:C", "(pin_numbers (hide yes)) (pin_names (offset 0) (hide yes))", NW_FIELDS("C", "C"),
                  "(symbol \"C_0_1\" " NW_LINE("(xy -2.032 -0.762) (xy 2.032 -0.762)", "0.508")
                      NW_LINE("(xy -2.032 0.762) (xy 2.032 0.762)", "0.508") ")(symbol \"C_1_1\" " NW_PIN(
                          "passive", "0", "3.81", "270", "3.048", "~", "1")
                          NW_PIN("passive", "0", "-3.81", "90", "3.048", "~", "2") ")")
            NW_SYMBOL("notchwell:V", "(pin_numbers (hide yes)) (pin_names (offset 0) (hide yes))", NW_FIELDS("V", "V"),
                      "(symbol \"V_0_1\" (circle (center 0 0) (radius 2.54) (stroke (width 0.254) (type default)) "
                      "(fill (type none)))" NW_LINE("(xy -1.27 0) (xy -0.635 0.635) (xy 0.635 -0.635) (xy 1.27 0)",
                                                    "0") NW_LINE("(xy -0.508 1.778) (xy 0.508 1.778)", "0")
                          NW_LINE("(xy 0 1.27) (xy 0 2.286)", "0") ")(symbol \"V_1_1\" " NW_PIN(
                              "passive", "0", "5.08", "270", "2.54", "+", "1")
                              NW_PIN("passive", "0", "-5.08", "90", "2.54", "-", "2") ")")
                NW_SYMBOL("notchwell:FOLLOWER", "(pin_names (offset 0.254))", NW_FIELDS("E", "FOLLOWER"),
                          "(symbol \"FOLLOWER_0_1\" (rectangle (start -5.08 -5.08) (end 5.08 5.08) (stroke (width "
                          "0.254) (type default)) (fill (type background))))(symbol \"FOLLOWER_1_1\" " NW_PIN(
                              "passive", "7.62", "0", "180", "2.54", "+", "1")
                              NW_PIN("passive", "0", "-7.62", "90", "2.54", "-", "2")
                                  NW_PIN("passive", "-7.62", "2.54", "0", "2.54", "C+", "3")
                                      NW_PIN("passive", "-7.62", "-2.54", "0", "2.54", "C-", "4") ")")
                    NW_SYMBOL("notchwell:OPAMP", "(pin_names (offset 0.254))", NW_FIELDS("U", "OPAMP"),
                              "(symbol \"OPAMP_0_1\" " NW_LINE(
                                  "(xy -5.08 5.08) (xy 5.08 0) (xy -5.08 -5.08) (xy -5.08 5.08)",
                                  "0.254") ")(symbol \"OPAMP_1_1\" " NW_PIN("passive", "-7.62", "2.54", "0", "2.54",
                                                                           "+", "1")
                                  NW_PIN("passive", "-7.62", "-2.54", "0", "2.54", "-", "2")
                                      NW_PIN("passive", "7.62", "0", "180", "2.54", "~", "3") ")")
                        NW_SYMBOL("power:GND", "(power) (pin_numbers (hide yes)) (pin_names (offset 0) (hide yes))",
                                  NW_FIELDS("#PWR", "GND"),
                                  "(symbol \"GND_0_1\" " NW_LINE(
                                      "(xy 0 0) (xy 0 -1.27) (xy 1.27 -1.27) (xy 0 -2.54) (xy -1.27 -1.27) (xy 0 -1.27)",
                                      "0") ")(symbol \"GND_1_1\" (pin power_in line (at 0 0 270) (length 0) (hide "
                                           "yes) (name \"GND\" " NW_FONT ") (number \"1\" " NW_FONT ")))")
                            NW_SYMBOL("power:PWR_FLAG",
                                      "(power) (pin_numbers (hide yes)) (pin_names (offset 0) (hide yes))",
                                      NW_FIELDS("#FLG", "PWR_FLAG"),
                                      "(symbol \"PWR_FLAG_0_0\" " NW_PIN("power_out", "0", "0", "90", "0", "~",
                                                                         "1") ")(symbol \"PWR_FLAG_0_1\" " NW_LINE(
                                          "(xy 0 0) (xy 0 1.27) (xy -1.016 1.905) (xy 0 2.54) (xy 1.016 1.905) (xy 0 "
                                          "1.27)",
                                          "0") ")") ")\n";

// Centi-millimetres on KiCad's 1.27 mm grid (127 of them a step).
struct Point {
  int x, y;
};
constexpr int kStep = 127;
constexpr Point At(int x_steps, int y_steps) { return {x_steps * kStep, y_steps * kStep}; }
constexpr Point Offset(Point p, int dx_steps, int dy_steps) { return {p.x + dx_steps * kStep, p.y + dy_steps * kStep}; }

enum class Part { R, C, V, Follower, OpAmp, Ground, Flag };
constexpr const char* kLibIds[] = {"notchwell:R",     "notchwell:C", "notchwell:V",   "notchwell:FOLLOWER",
                                   "notchwell:OPAMP", "power:GND",   "power:PWR_FLAG"};
constexpr int kPinCounts[] = {2, 2, 2, 4, 3, 1, 1};

struct Sheet {
  NetlistText& out;
  std::uint64_t seed;
  std::uint64_t count;  // UUIDs given so far
  int grounds;
  char sheet_uuid[37];
};

void PutNumber(NetlistText& out, int value) {
  char digits[12];
  int n = 0;
  if (value < 0) Put(out, "-");
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  char text[12];
  for (int i = 0; i < n; ++i) text[i] = digits[n - 1 - i];
  text[n] = '\0';
  Put(out, text);
}

// Centi-millimetres as millimetres: 5080 as 50.8, 7112 as 71.12.
void PutMillimetres(NetlistText& out, int centi) {
  const int magnitude = centi < 0 ? -centi : centi;
  if (centi < 0) Put(out, "-");
  PutNumber(out, magnitude / 100);
  const int rest = magnitude % 100;
  if (rest == 0) return;
  const char text[4] = {'.', static_cast<char>('0' + rest / 10), rest % 10 ? static_cast<char>('0' + rest % 10) : '\0',
                        '\0'};
  Put(out, text);
}

void PutPoint(NetlistText& out, Point p) {
  PutMillimetres(out, p.x);
  Put(out, " ");
  PutMillimetres(out, p.y);
}

// A quoted string with KiCad's escapes.
void PutQuoted(NetlistText& out, const char* text) {
  Put(out, "\"");
  for (; *text; ++text) {
    const char c[2] = {*text, '\0'};
    if (*text == '"' || *text == '\\') Put(out, "\\");
    Put(out, *text == '\n' ? "\\n" : c);
  }
  Put(out, "\"");
}

// SplitMix64: the sheet's UUIDs, from its seed, in the order written.
std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

void NextUuid(Sheet& s, char (&text)[37]) {
  const std::uint64_t high = Mix(s.seed + 2 * s.count * 0x9e3779b97f4a7c15ull);
  const std::uint64_t low = Mix(s.seed + (2 * s.count + 1) * 0x9e3779b97f4a7c15ull);
  ++s.count;
  // Version 4 and the RFC 4122 variant, as KiCad writes its own.
  const std::uint64_t words[2] = {(high & ~0xf000ull) | 0x4000ull, (low & ~(3ull << 62)) | (2ull << 62)};
  constexpr char kHex[] = "0123456789abcdef";
  int n = 0;
  for (int i = 0; i < 32; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) text[n++] = '-';
    text[n++] = kHex[(words[i / 16] >> (60 - 4 * (i % 16))) & 15];
  }
  text[n] = '\0';
}

void PutUuid(Sheet& s) {
  char uuid[37];
  NextUuid(s, uuid);
  Put(s.out, "(uuid \"");
  Put(s.out, uuid);
  Put(s.out, "\")");
}

void Property(Sheet& s, const char* name, const char* value, Point at, int angle, bool hidden, const char* justify) {
  Put(s.out, "  (property \"");
  Put(s.out, name);
  Put(s.out, "\" ");
  PutQuoted(s.out, value);
  Put(s.out, " (at ");
  PutPoint(s.out, at);
  Put(s.out, " ");
  PutNumber(s.out, angle);
  Put(s.out, ") (effects (font (size 1.27 1.27))");
  if (justify) {
    Put(s.out, " (justify ");
    Put(s.out, justify);
    Put(s.out, ")");
  }
  Put(s.out, hidden ? " (hide yes)))\n" : "))\n");
}

// The simulator's fields of a part, or none (KiCad reads R, C and the
// source from their references and values).
struct Simulation {
  const char* device;
  const char* pins;
  const char* params;
};

// A placed symbol: at its centre, turned by `angle` (90: a resistor or
// capacitor lying along a rail, pin 1 on the left), its reference and
// value beside it.
void Symbol(Sheet& s, Part part, const char* reference, const char* value, Point at, int angle,
            const Simulation* simulation) {
  const int kind = static_cast<int>(part);
  const bool power = part == Part::Ground || part == Part::Flag;
  Put(s.out, "(symbol (lib_id \"");
  Put(s.out, kLibIds[kind]);
  Put(s.out, "\") (at ");
  PutPoint(s.out, at);
  Put(s.out, " ");
  PutNumber(s.out, angle);
  Put(s.out, ") (unit 1) (exclude_from_sim no) (in_bom yes) (on_board yes) (dnp no) ");
  PutUuid(s);
  Put(s.out, "\n");
  // Lying along a rail: reference above, value below; standing: both to
  // the right; a follower's above it; power symbols' value under them.
  const bool lying = angle == 90;
  const bool wide = part == Part::Follower || part == Part::OpAmp;
  const int beside = part == Part::V ? 3 : 2;    // clear of the source's circle
  const int off_rail = part == Part::C ? 3 : 2;  // clear of a capacitor's plates
  const Point reference_at = power   ? at
                             : lying ? Offset(at, 0, -off_rail)
                             : wide  ? Offset(at, 0, -7)
                                     : Offset(at, beside, -1);
  const Point value_at = part == Part::Flag     ? Offset(at, 0, -4)
                         : part == Part::Ground ? Offset(at, 0, 3)
                         : lying                ? Offset(at, 0, off_rail)
                         : wide                 ? Offset(at, 0, -5)
                                                : Offset(at, beside, 1);
  const char* justify = power || lying || wide ? nullptr : "left";
  // A field turns with its symbol: a lying part's are turned back.
  Property(s, "Reference", reference, reference_at, lying ? 90 : 0, power, justify);
  Property(s, "Value", value, value_at, lying ? 90 : 0, false, justify);
  Property(s, "Footprint", "", at, 0, true, nullptr);
  Property(s, "Datasheet", "", at, 0, true, nullptr);
  Property(s, "Description", "", at, 0, true, nullptr);
  if (simulation) {
    Property(s, "Sim.Device", simulation->device, at, 0, true, nullptr);
    Property(s, "Sim.Pins", simulation->pins, at, 0, true, nullptr);
    if (simulation->params) Property(s, "Sim.Params", simulation->params, at, 0, true, nullptr);
  }
  for (int pin = 1; pin <= kPinCounts[kind]; ++pin) {
    Put(s.out, "  (pin \"");
    PutNumber(s.out, pin);
    Put(s.out, "\" ");
    PutUuid(s);
    Put(s.out, ")\n");
  }
  Put(s.out, "  (instances (project \"notchwell\" (path \"/");
  Put(s.out, s.sheet_uuid);
  Put(s.out, "\" (reference \"");
  Put(s.out, reference);
  Put(s.out, "\") (unit 1)))))\n");
}

void Wire(Sheet& s, Point from, Point to) {
  Put(s.out, "(wire (pts (xy ");
  PutPoint(s.out, from);
  Put(s.out, ") (xy ");
  PutPoint(s.out, to);
  Put(s.out, ")) (stroke (width 0) (type default)) ");
  PutUuid(s);
  Put(s.out, ")\n");
}

// Wires through each of `count` points in turn.
void Wires(Sheet& s, const Point* points, int count) {
  for (int i = 1; i < count; ++i) Wire(s, points[i - 1], points[i]);
}

void Junction(Sheet& s, Point at) {
  Put(s.out, "(junction (at ");
  PutPoint(s.out, at);
  Put(s.out, ") (diameter 0) (color 0 0 0 0) ");
  PutUuid(s);
  Put(s.out, ")\n");
}

// A net label, at the end of a wire.
void Label(Sheet& s, const char* name, Point at) {
  Put(s.out, "(label \"");
  Put(s.out, name);
  Put(s.out, "\" (at ");
  PutPoint(s.out, at);
  Put(s.out, " 0) (fields_autoplaced yes) (effects (font (size 1.27 1.27)) (justify left bottom)) ");
  PutUuid(s);
  Put(s.out, ")\n");
}

// A ground symbol at the end of a wire.
void Ground(Sheet& s, Point at) {
  char reference[8] = {
      '#', 'P', 'W', 'R', static_cast<char>('0' + (s.grounds + 1) / 10), static_cast<char>('0' + (s.grounds + 1) % 10),
      '\0'};
  ++s.grounds;
  Symbol(s, Part::Ground, reference, "GND", at, 0, nullptr);
}

// A resistor or capacitor from `start` to 6 steps below it (standing)
// or to its right (lying); returns its other end.
Point TwoPin(Sheet& s, Part part, const char* reference, double value, Point start, bool lying) {
  char text[kTwelveDigitTextSize + 2];
  KicadValue(value, text);
  Symbol(s, part, reference, text, lying ? Offset(start, 3, 0) : Offset(start, 0, 3), lying ? 90 : 0, nullptr);
  return lying ? Offset(start, 6, 0) : Offset(start, 0, 6);
}
Point Standing(Sheet& s, Part part, const char* reference, double value, Point top) {
  return TwoPin(s, part, reference, value, top, false);
}
Point Lying(Sheet& s, Part part, const char* reference, double value, Point left) {
  return TwoPin(s, part, reference, value, left, true);
}

// A text item's end, after its quoted text: where it stands on the sheet.
void EndText(Sheet& s, Point at) {
  Put(s.out, " (exclude_from_sim no) (at ");
  PutPoint(s.out, at);
  Put(s.out, " 0) (effects (font (size 1.27 1.27)) (justify left top)) ");
  PutUuid(s);
  Put(s.out, ")\n");
}

// A follower whose input is at `input`: its output 6 steps right and 2
// down; an op-amp's inverting input tied to its output below it, a
// controlled source's reference pins grounded. Returns the output.
Point Follower(Sheet& s, const char* reference, bool real, Point input) {
  const Point centre = Offset(input, 6, 2);
  const Point output = Offset(centre, 6, 0);
  const Point inverting = Offset(centre, -6, 2);
  if (real) {
    static constexpr Simulation kOpAmp = {"SPICE", "1=1 2=2 3=3", "type=\"X\" model=\"OPAMP\""};
    Symbol(s, Part::OpAmp, reference, "OPAMP", centre, 0, &kOpAmp);
    const Point loop[] = {inverting, Offset(inverting, 0, 4), Offset(output, 2, 6), Offset(output, 2, 0)};
    Wires(s, loop, 4);
  } else {
    static constexpr Simulation kFollower = {"E", "1=+ 2=- 3=C+ 4=C-", "gain=1"};
    Symbol(s, Part::Follower, reference, "FOLLOWER", centre, 0, &kFollower);
    Wire(s, inverting, Offset(inverting, 0, 2));
    Ground(s, Offset(inverting, 0, 2));
    Wire(s, Offset(centre, 0, 6), Offset(centre, 0, 8));
    Ground(s, Offset(centre, 0, 8));
  }
  return output;
}

std::uint64_t Hash(std::uint64_t hash, const char* text) {
  for (; *text; ++text) hash = (hash ^ static_cast<unsigned char>(*text)) * 0x100000001b3ull;
  return hash;
}

std::uint64_t HashValue(std::uint64_t hash, double value) {
  char text[kTwelveDigitTextSize];
  TwelveDigitText(value, text);
  return Hash(hash, text);
}

}  // namespace

void KicadValue(double value, char (&text)[kTwelveDigitTextSize + 2]) {
  static constexpr char kPrefixes[] = "pnum kMG";
  int power = -4;  // 10^(3 power): from pico
  double size = value < 0 ? -value : value;
  while (power < 3 && size >= 1000 * ScaleByPowerOfTen(1, 3 * power)) ++power;
  char mantissa[kTwelveDigitTextSize];
  const int length = TwelveDigitText(value / ScaleByPowerOfTen(1, 3 * power), mantissa);
  for (int i = 0; i <= length; ++i) text[i] = mantissa[i];
  if (power != 0) {
    text[length] = kPrefixes[power + 4];
    text[length + 1] = '\0';
  }
}

void WriteKicadSchematic(const TwinTCircuit& c, const NetlistDivider& divider, double fo_hertz,
                         const KicadSheetText& text, NetlistText& out) {
  // The seed: everything the sheet shows.
  const TwinTParts& p = c.parts;
  std::uint64_t seed = 0xcbf29ce484222325ull;
  const double values[] = {p.r1,
                           p.r2,
                           p.r3a,
                           p.r3b,
                           p.c1,
                           p.c2,
                           p.c3a,
                           p.c3b,
                           c.source_ohms,
                           c.load_ohms,
                           c.feedback,
                           c.opamps.open_loop_gain,
                           c.opamps.pole_rad_per_s,
                           divider.top,
                           divider.bottom,
                           fo_hertz};
  for (const double v : values) seed = HashValue(seed, v);
  const char* const texts[] = {text.title, text.date, text.comment, text.note};
  for (const char* t : texts) seed = Hash(Hash(seed, t), "\n");
  Sheet s{out, seed, 0, 0, {}};
  NextUuid(s, s.sheet_uuid);

  Put(out, "(kicad_sch (version 20250114) (generator \"notchwell\") (generator_version \"9.0\") (uuid \"");
  Put(out, s.sheet_uuid);
  Put(out, "\") (paper \"A4\")\n(title_block (title ");
  PutQuoted(out, text.title);
  Put(out, ") (date ");
  PutQuoted(out, text.date);
  Put(out, ") (comment 1 ");
  PutQuoted(out, text.comment);
  Put(out, "))\n");
  Put(out, kLibrary);

  // The twin-T: the input at `in`, the top rail through R1, A and R2,
  // the bottom rail through C1, B and C2 twenty steps below it, and the
  // output at the right; the shunt pairs hang below A and B.
  const bool active = c.active, real = HasRealOpAmps(c);
  const Point in = At(40, 40), a = At(56, 40), b = At(56, 60), net_out = At(72, 40);
  // R5 on, in turn: the source's resistor, the load, the divider's top
  // and bottom (R8 at most).
  static constexpr const char* kResistors[] = {"R5", "R6", "R7", "R8"};
  int next_resistor = 0;
  const auto next_reference = [&] { return kResistors[next_resistor++]; };

  // The source, standing at the left, and its resistance along the rail.
  const Point source = At(24, 50);
  static constexpr Simulation kSource = {"V", "1=+ 2=-", nullptr};
  Symbol(s, Part::V, "V1", "AC 1", source, 0, &kSource);
  const Point plus = Offset(source, 0, -4), minus = Offset(source, 0, 4);
  const Point corner = At(24, 40);
  Wire(s, plus, corner);
  if (c.source_ohms > 0) {
    const Point rs = Offset(corner, 3, 0);
    Wire(s, corner, rs);
    const Point after = Lying(s, Part::R, next_reference(), c.source_ohms, rs);
    Wire(s, after, in);
  } else {
    Wire(s, corner, in);
  }
  const Point below_source = Offset(minus, 0, 2);
  Wire(s, minus, below_source);
  Ground(s, below_source);
  // ERC's proof that something drives the ground net.
  Wire(s, below_source, Offset(below_source, -8, 0));
  Symbol(s, Part::Flag, "#FLG01", "PWR_FLAG", Offset(below_source, -8, 0), 0, nullptr);
  Junction(s, below_source);
  Label(s, "in", in);

  // The rails.
  const Point in_bottom = At(40, 60), out_bottom = At(72, 60);
  Wire(s, in, in_bottom);
  Junction(s, in);
  Wire(s, in, Offset(in, 5, 0));
  Wire(s, Lying(s, Part::R, "R1", p.r1, Offset(in, 5, 0)), a);
  Wire(s, a, Offset(a, 5, 0));
  Wire(s, Lying(s, Part::R, "R2", p.r2, Offset(a, 5, 0)), net_out);
  Wire(s, in_bottom, Offset(in_bottom, 5, 0));
  Wire(s, Lying(s, Part::C, "C1", p.c1, Offset(in_bottom, 5, 0)), b);
  Wire(s, b, Offset(b, 5, 0));
  Wire(s, Lying(s, Part::C, "C2", p.c2, Offset(b, 5, 0)), out_bottom);
  Wire(s, out_bottom, net_out);
  Junction(s, a);
  Junction(s, b);
  Junction(s, net_out);

  // The shunt pairs, each two parts side by side, to ground or to the
  // common node g that the second follower drives.
  const auto pair = [&](Part part, const char* first, const char* second, double v1, double v2, Point node) {
    const Point top = Offset(node, 0, 4), top2 = Offset(top, 8, 0);
    Wire(s, node, top);
    Wire(s, top, top2);
    const Point bottom = Standing(s, part, first, v1, top);
    const Point bottom2 = Standing(s, part, second, v2, top2);
    Wire(s, bottom2, bottom);
    const Point end = Offset(bottom, 0, 2);
    Wire(s, bottom, end);
    Junction(s, top);
    Junction(s, bottom);
    if (active) {
      Label(s, "g", end);
    } else {
      Ground(s, end);
    }
  };
  pair(Part::C, "C3", "C4", p.c3a, p.c3b, a);
  pair(Part::R, "R3", "R4", p.r3a, p.r3b, b);

  // The output: the network's own, or the first follower's; then the
  // load and, in the active form, the divider and the second follower.
  Point out_point = Offset(net_out, 8, 0);
  if (active) {
    const Point input = Offset(net_out, 6, 0);
    Wire(s, net_out, input);
    const Point output = Follower(s, real ? "U1" : "E1", real, input);
    out_point = Offset(output, 4, 0);
    Wire(s, output, Offset(output, 2, 0));
    Wire(s, Offset(output, 2, 0), out_point);
    if (real) Junction(s, Offset(output, 2, 0));
  } else {
    Wire(s, net_out, out_point);
  }
  Label(s, "out", out_point);
  Point rail_end = out_point;
  const auto branch = [&](Point from) {
    const Point to = Offset(from, 8, 0);
    Wire(s, from, to);
    Junction(s, from);
    return to;
  };
  // The load's number comes before the divider's.
  const char* const load_name = c.load_ohms > 0 ? next_reference() : "";
  if (active) {
    const auto [top, bottom] = DrawnDivider(divider, c.feedback);
    const Point divider_top = rail_end;
    if (c.load_ohms > 0) rail_end = branch(rail_end);
    Wire(s, divider_top, Offset(divider_top, 0, 3));
    const Point tap = Standing(s, Part::R, next_reference(), top, Offset(divider_top, 0, 3));
    const Point tap_end = Offset(tap, 0, 2);
    Wire(s, tap, tap_end);
    const Point low = Standing(s, Part::R, next_reference(), bottom, tap_end);
    Wire(s, low, Offset(low, 0, 2));
    Ground(s, Offset(low, 0, 2));
    Wire(s, tap_end, Offset(tap_end, 4, 0));
    Label(s, "tap", Offset(tap_end, 4, 0));
    Junction(s, tap_end);
    // The second follower, under the network: from the tap to g.
    const Point input = At(78, 76);
    Wire(s, Offset(input, -4, 0), input);
    Label(s, "tap", Offset(input, -4, 0));
    const Point output = Follower(s, real ? "U2" : "E2", real, input);
    Wire(s, output, Offset(output, 2, 0));
    Wire(s, Offset(output, 2, 0), Offset(output, 4, 0));
    if (real) Junction(s, Offset(output, 2, 0));
    Label(s, "g", Offset(output, 4, 0));
  }
  if (c.load_ohms > 0) {
    Wire(s, rail_end, Offset(rail_end, 0, 3));
    const Point end = Standing(s, Part::R, load_name, c.load_ohms, Offset(rail_end, 0, 3));
    Wire(s, end, Offset(end, 0, 2));
    Ground(s, Offset(end, 0, 2));
  }

  // The design in words, the analysis KiCad's simulator runs, and with
  // real op-amps their subcircuit.
  Put(out, "(text ");
  PutQuoted(out, text.note);
  EndText(s, At(16, 12));
  Put(out, "(text \"");
  PutAcSweep(out, fo_hertz);
  Put(out, "\"");
  EndText(s, At(16, 100));
  if (real) {
    Put(out, "(text \"");
    OpAmpSubcircuitLines(out, c.opamps, "\\n");
    Put(out, "\"");
    EndText(s, At(100, 100));
  }
  Put(out, "(sheet_instances (path \"/\" (page \"1\")))\n(embedded_fonts no))\n");
}

}  // namespace notchwell
