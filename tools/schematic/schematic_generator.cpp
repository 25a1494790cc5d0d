// Draws the schematic from its description and writes it as the 4-bit
// bottom-up bitmap the dialog shows:
//
//   schematic_generator OUTPUT.bmp      write the picture
//   schematic_generator --check FILE    exit 1 unless FILE is what it draws
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "drawing.h"
#include "font.h"

namespace schematic {
namespace {

struct Canvas {
  unsigned char pixels[kHeight][kWidth];
};

void Plot(Canvas& c, int x, int y, int value) {
  if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) c.pixels[y][x] = static_cast<unsigned char>(value);
}

void DrawLine(Canvas& c, int x0, int y0, int x1, int y1, int value) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  for (int err = dx + dy;;) {
    Plot(c, x0, y0, value);
    if (x0 == x1 && y0 == y1) return;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

void Fill(Canvas& c, int x0, int y0, int x1, int y1, int value) {
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) Plot(c, x, y, value);
  }
}

void DrawPolyline(Canvas& c, const int (*points)[2], int count, int value) {
  for (int i = 0; i + 1 < count; ++i)
    DrawLine(c, points[i][0], points[i][1], points[i + 1][0], points[i + 1][1], value);
}

void DrawText(Canvas& c, int x, int y, const char* text) {
  for (; *text; ++text, x += kAdvance) {
    for (const Glyph& g : kFont) {
      if (g.c != *text) continue;
      for (int row = 0; row < kGlyphHeight; ++row) {
        for (int col = 0; col < kGlyphWidth; ++col) {
          if (g.rows[row][col] == '#') Plot(c, x + col, y + row, kInk);
        }
      }
    }
  }
}

// A zigzag of six strokes, 24 pixels long, 4 either side of the wire.
constexpr int kZigzag[8][2] = {{-12, 0}, {-10, -4}, {-6, 4}, {-2, -4}, {2, 4}, {6, -4}, {10, 4}, {12, 0}};

void DrawPart(Canvas& c, const Part& p) {
  const bool across = p.kind == PartKind::ResistorAcross || p.kind == PartKind::CapacitorAcross;
  int points[8][2];
  switch (p.kind) {
    case PartKind::ResistorAcross:
    case PartKind::ResistorDown:
      if (across) {
        Fill(c, p.x - 12, p.y - 5, p.x + 12, p.y + 5, kBackground);
      } else {
        Fill(c, p.x - 5, p.y - 12, p.x + 5, p.y + 12, kBackground);
      }
      for (int i = 0; i < 8; ++i) {
        points[i][0] = p.x + (across ? kZigzag[i][0] : kZigzag[i][1]);
        points[i][1] = p.y + (across ? kZigzag[i][1] : kZigzag[i][0]);
      }
      DrawPolyline(c, points, 8, kInk);
      break;
    case PartKind::CapacitorAcross:
      Fill(c, p.x - 3, p.y - 8, p.x + 3, p.y + 8, kBackground);
      Fill(c, p.x - 3, p.y - 7, p.x - 2, p.y + 7, kInk);
      Fill(c, p.x + 2, p.y - 7, p.x + 3, p.y + 7, kInk);
      break;
    case PartKind::CapacitorDown:
      Fill(c, p.x - 8, p.y - 3, p.x + 8, p.y + 3, kBackground);
      Fill(c, p.x - 7, p.y - 3, p.x + 7, p.y - 2, kInk);
      Fill(c, p.x - 7, p.y + 2, p.x + 7, p.y + 3, kInk);
      break;
  }
  DrawText(c, p.label_x, p.label_y, p.label);
}

void DrawCircle(Canvas& c, int cx, int cy, int r) {
  for (int y = -r - 1; y <= r + 1; ++y) {
    for (int x = -r - 1; x <= r + 1; ++x) {
      const int d = x * x + y * y;
      if (d <= r * r + r) Plot(c, cx + x, cy + y, d >= r * r - r ? kInk : kBackground);
    }
  }
}

void Draw(Canvas& c) {
  std::memset(c.pixels, kBackground, sizeof c.pixels);
  for (int y = kGridStep / 2; y < kHeight; y += kGridStep) {
    for (int x = kGridStep / 2; x < kWidth; x += kGridStep) Plot(c, x, y, kGrid);
  }
  for (const Line& w : kWires) DrawLine(c, w.x0, w.y0, w.x1, w.y1, kInk);
  for (const Part& p : kParts) DrawPart(c, p);
  for (const Line& g : kGround) DrawLine(c, g.x0, g.y0, g.x1, g.y1, kInk);
  for (const Terminal& j : kJunctions) Fill(c, j.x - 1, j.y - 1, j.x + 1, j.y + 1, kInk);
  for (const Terminal& t : kTerminals) DrawCircle(c, t.x, t.y, 3);
  for (const Text& t : kLegend) DrawText(c, t.x, t.y, t.text);
}

void Put16(std::vector<unsigned char>& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr int kRowBytes = (kWidth * 4 + 31) / 32 * 4;  // 116
constexpr int kImageBytes = kRowBytes * kHeight;       // 25868
constexpr int kPixelOffset = 14 + 40 + 16 * 4;

std::vector<unsigned char> Encode(const Canvas& c) {
  std::vector<unsigned char> out;
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  Put32(out, kPixelOffset + kImageBytes);
  Put32(out, 0);
  Put32(out, kPixelOffset);
  // BITMAPINFOHEADER: 1 plane, 4 bits, BI_RGB, no resolution, all colours.
  Put32(out, 40);
  Put32(out, kWidth);
  Put32(out, kHeight);  // positive: bottom-up
  Put16(out, 1);
  Put16(out, 4);
  Put32(out, 0);
  Put32(out, kImageBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (unsigned char level : kPalette) {
    out.push_back(level);
    out.push_back(level);
    out.push_back(level);
    out.push_back(0);
  }
  for (int y = kHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kRowBytes * 2; x += 2) {
      const int left = x < kWidth ? c.pixels[y][x] : 0;
      const int right = x + 1 < kWidth ? c.pixels[y][x + 1] : 0;
      out.push_back(static_cast<unsigned char>(left << 4 | right));
    }
  }
  return out;
}

}  // namespace
}  // namespace schematic

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
  if (!check && argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.bmp | --check FILE.bmp\n", argv[0]);
    return 2;
  }
  static schematic::Canvas canvas;
  schematic::Draw(canvas);
  const std::vector<unsigned char> bitmap = schematic::Encode(canvas);
  const char* path = argv[argc - 1];
  if (check) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return std::perror(path), 1;
    std::vector<unsigned char> existing(bitmap.size() + 1);
    const std::size_t n = std::fread(existing.data(), 1, existing.size(), f);
    std::fclose(f);
    if (n != bitmap.size() || std::memcmp(existing.data(), bitmap.data(), n) != 0) {
      std::fprintf(stderr, "%s differs from the drawing; regenerate it\n", path);
      return 1;
    }
    return 0;
  }
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return std::perror(path), 1;
  const bool ok = std::fwrite(bitmap.data(), 1, bitmap.size(), f) == bitmap.size();
  return std::fclose(f) == 0 && ok ? 0 : 1;
}
