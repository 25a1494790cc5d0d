// What the exactness check feeds the core and how it sums up the answers,
// shared by the native and Windows check (verify_exactness) and the
// WebAssembly one (wasm_digests), so that their digests can be compared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace exactness {

struct Digest {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a
  void Add(const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  }
  void Add(std::uint64_t v) {
    unsigned char le[8];
    for (int i = 0; i < 8; ++i) le[i] = static_cast<unsigned char>(v >> (8 * i));
    Add(le, 8);
  }
  // A parse answer: whether it succeeded, and the float's bits.
  void AddParse(bool ok, std::uint32_t bits) {
    const unsigned char record[5] = {static_cast<unsigned char>(ok), static_cast<unsigned char>(bits),
                                     static_cast<unsigned char>(bits >> 8), static_cast<unsigned char>(bits >> 16),
                                     static_cast<unsigned char>(bits >> 24)};
    Add(record, sizeof record);
  }
  // An outcome of EvaluateForm: kind, field, then the message or result
  // text with its terminator (empty for Nothing).
  void AddOutcome(int kind, int field, const char* text) {
    const unsigned char record[5] = {static_cast<unsigned char>(kind), static_cast<unsigned char>(field),
                                     static_cast<unsigned char>(field >> 8), static_cast<unsigned char>(field >> 16),
                                     static_cast<unsigned char>(field >> 24)};
    Add(record, sizeof record);
    std::size_t length = 0;
    while (text[length] != '\0') ++length;
    Add(text, length + 1);
  }
};

constexpr int kFormatChunks = 256;  // 2^24 bit patterns each
constexpr int kParseChunks = 100;
constexpr int kFormChunks = 100;

// The seed of a chunk's generator; each chunk of texts and forms starts
// afresh, so chunks can run in any order and on any number of threads.
inline std::mt19937 ChunkGenerator(int chunk) { return std::mt19937(20261208u + static_cast<std::uint32_t>(chunk)); }
inline std::mt19937 FormChunkGenerator(int chunk) { return ChunkGenerator(kParseChunks + chunk); }
inline std::mt19937 MidpointFormGenerator() { return ChunkGenerator(kParseChunks + kFormChunks); }

// A field text of at most 63 bytes: numbers of every shape (midpoints
// between floats, thresholds, huge exponents), grammar jumbles and bytes.
std::string GeneratedText(std::mt19937& rng);

// One OK press: mode as the core's CalcMode (0 solve Fo, 1 solve R,
// 2 solve C); unit indices and texts in the order R, C, Fo. Units are
// mostly valid, now and then missing (-1) or out of range; texts are
// mostly numbers, midpoints between floats among them, so that a change of
// one unit in the last place anywhere in the arithmetic can show.
struct FormInput {
  int mode;
  int units[3];
  std::string texts[3];
};
FormInput RandomForm(std::mt19937& rng);

// A form whose double result lies within two units in the last place of a
// midpoint between two floats, so that the result text shows whether the
// arithmetic rounded every step exactly as specified (random forms almost
// never do: the rounding to float hides the last bits): solving for Fo
// from R in Ohm and C in pf, found by trying R and C at random, about 10^8
// tries and seconds a form. The texts are the floats' exact expansions.
FormInput NearMidpointForm(std::mt19937& rng);

// The first forms NearMidpointForm finds, kept in midpoint_forms.inc
// (verify_exactness --find-midpoint-forms 32 writes them).
constexpr int kMidpointFormCount = 32;
FormInput MidpointForm(int index);

}  // namespace exactness
