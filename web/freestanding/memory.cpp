// The memory and string functions of the freestanding build: plain loops,
// compiled without builtins so that they do not call themselves.
#include <cstring>

extern "C" {

void* memcpy(void* destination, const void* source, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  const auto* s = static_cast<const unsigned char*>(source);
  while (count-- > 0) *d++ = *s++;
  return destination;
}

void* memmove(void* destination, const void* source, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  const auto* s = static_cast<const unsigned char*>(source);
  if (d < s) {
    while (count-- > 0) *d++ = *s++;
  } else {
    while (count-- > 0) d[count] = s[count];
  }
  return destination;
}

void* memset(void* destination, int byte, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  while (count-- > 0) *d++ = static_cast<unsigned char>(byte);
  return destination;
}

const void* memchr(const void* block, int byte, size_t count) {
  const auto* p = static_cast<const unsigned char*>(block);
  for (; count > 0; ++p, --count) {
    if (*p == static_cast<unsigned char>(byte)) return p;
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
  size_t length = 0;
  while (text[length] != '\0') ++length;
  return length;
}
}
