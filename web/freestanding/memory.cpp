// The memory and string functions of the freestanding build, a word of
// eight bytes at a time where they can, as a C library does. (WebAssembly's
// bulk memory instructions were no faster here, and older browsers lack
// them.) A search reads whole aligned words: one never reaches past the
// end of the module's memory.
#include <stdint.h>

#include <cstring>

namespace {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighs = 0x8080808080808080ull;

// True when one of the word's eight bytes is zero.
constexpr bool HasZeroByte(uint64_t word) { return ((word - kOnes) & ~word & kHighs) != 0; }

uint64_t Load(const unsigned char* p) {
  uint64_t word;
  __builtin_memcpy(&word, p, sizeof word);
  return word;
}

}  // namespace

extern "C" {

void* memcpy(void* destination, const void* source, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  const auto* s = static_cast<const unsigned char*>(source);
  for (; count >= 8; d += 8, s += 8, count -= 8) {
    uint64_t w;
    __builtin_memcpy(&w, s, 8);
    __builtin_memcpy(d, &w, 8);
  }
  while (count-- > 0) *d++ = *s++;
  return destination;
}

void* memmove(void* destination, const void* source, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  const auto* s = static_cast<const unsigned char*>(source);
  if (d < s) return memcpy(destination, source, count);
  while (count-- > 0) d[count] = s[count];
  return destination;
}

void* memset(void* destination, int byte, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  const uint64_t w = kOnes * static_cast<unsigned char>(byte);
  for (; count >= 8; d += 8, count -= 8) __builtin_memcpy(d, &w, 8);
  while (count-- > 0) *d++ = static_cast<unsigned char>(byte);
  return destination;
}

const void* memchr(const void* block, int byte, size_t count) {
  const auto* p = static_cast<const unsigned char*>(block);
  const auto target = static_cast<unsigned char>(byte);
  const uint64_t pattern = kOnes * target;
  for (; count > 0 && reinterpret_cast<uintptr_t>(p) % 8 != 0; ++p, --count) {
    if (*p == target) return p;
  }
  for (; count >= 8 && !HasZeroByte(Load(p) ^ pattern); p += 8, count -= 8) {
  }
  for (; count > 0; ++p, --count) {
    if (*p == target) return p;
  }
  return nullptr;
}

int memcmp(const void* a, const void* b, size_t count) {
  const auto* p = static_cast<const unsigned char*>(a);
  const auto* q = static_cast<const unsigned char*>(b);
  for (; count > 0; ++p, ++q, --count) {
    if (*p != *q) return *p < *q ? -1 : 1;
  }
  return 0;
}

size_t strlen(const char* text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  for (; reinterpret_cast<uintptr_t>(p) % 8 != 0; ++p) {
    if (*p == '\0') return static_cast<size_t>(p - reinterpret_cast<const unsigned char*>(text));
  }
  while (!HasZeroByte(Load(p))) p += 8;
  while (*p != '\0') ++p;
  return static_cast<size_t>(p - reinterpret_cast<const unsigned char*>(text));
}
}
