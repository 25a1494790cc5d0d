// The schematic of the twin-T notch network, as data: wires, parts,
// labels and legend, in pixels of a 232 x 223 picture (y grows downward).
#pragma once

namespace schematic {

constexpr int kWidth = 232;
constexpr int kHeight = 223;

// Grey levels by pixel value, as the bitmap's palette stores them.
constexpr unsigned char kPalette[16] = {8, 138, 70, 200, 37, 169, 104, 233, 26, 150, 89, 219, 56, 186, 117, 253};

// Pixel values (palette indices) used by the drawing.
constexpr int kInk = 0;          // level 8: wires, symbols, text
constexpr int kBackground = 15;  // level 253
constexpr int kGrid = 11;        // level 219: the faint dotted grid
constexpr int kBody = 7;         // level 233: inside of resistor bodies
constexpr int kGridStep = 8;

struct Line {
  int x0, y0, x1, y1;
};

enum class PartKind { ResistorAcross, ResistorDown, CapacitorAcross, CapacitorDown };

// A part centred at (x, y), sitting in a wire that runs across or down.
struct Part {
  PartKind kind;
  int x, y;
  const char* label;
  int label_x, label_y;  // top left of the label text
};

struct Terminal {
  int x, y;  // centre of the small circle
};

struct Text {
  int x, y;  // top left
  const char* text;
};

// Rails at y = 28 and y = 128; vertical wires at x = 28 and x = 204; the
// middle branch at x = 116 with its ground node at y = 78.
constexpr Line kWires[] = {
    {28, 28, 204, 28},    // top rail (R1 and R2 sit in it)
    {28, 128, 204, 128},  // bottom rail (C1 and C2)
    {28, 28, 28, 128},    // left vertical wire
    {204, 28, 204, 128},  // right vertical wire
    {12, 78, 28, 78},     // input terminal to the left wire
    {204, 78, 220, 78},   // right wire to the output terminal
    {116, 28, 116, 128},  // R1/R2 junction down through C3 and R3
    {96, 78, 116, 78},    // ground tie of the middle node
    {96, 78, 96, 86},     // down to the ground symbol
};

constexpr Part kParts[] = {
    {PartKind::ResistorAcross, 72, 28, "R1", 66, 14},    {PartKind::ResistorAcross, 160, 28, "R2", 154, 14},
    {PartKind::CapacitorAcross, 72, 128, "C1", 66, 138}, {PartKind::CapacitorAcross, 160, 128, "C2", 154, 138},
    {PartKind::CapacitorDown, 116, 53, "C3", 126, 49},   {PartKind::ResistorDown, 116, 103, "R3", 126, 99},
};

constexpr Terminal kTerminals[] = {{9, 78}, {223, 78}};

// Junction dots where three wires meet.
constexpr Terminal kJunctions[] = {{116, 28}, {116, 78}, {116, 128}, {28, 78}, {204, 78}};

// The ground symbol: three bars narrowing downward under (96, 86).
constexpr Line kGround[] = {{88, 86, 104, 86}, {91, 89, 101, 89}, {94, 92, 98, 92}};

constexpr Text kLegend[] = {
    {28, 160, "Fo = 1/(2piRC)"}, {28, 171, "R1 = R2 = R"}, {28, 182, "C1 = C2 = C"},
    {28, 193, "R3 = R / 2"},     {28, 204, "C3 = 2C"},
};

}  // namespace schematic
