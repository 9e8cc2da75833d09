// Fixed-capacity text fields. Every text of the data model is a zero-terminated Windows-1252
// string in a char array whose size, terminator included, is the field's capacity.
#pragma once

#include <cstddef>
#include <cstring>

namespace zarvo {

// Clears the whole field to zero bytes, then copies at most capacity - 1 bytes of src.
inline void SetText(char* dst, size_t capacity, const char* src) {
  std::memset(dst, 0, capacity);
  if (src == nullptr || capacity == 0) return;
  size_t n = std::strlen(src);
  if (n > capacity - 1) n = capacity - 1;
  std::memcpy(dst, src, n);
}

template <size_t N>
void SetText(char (&dst)[N], const char* src) {
  SetText(dst, N, src);
}

// Copies at most capacity - 1 bytes of a text that is not zero-terminated.
inline void SetText(char* dst, size_t capacity, const char* src, size_t length) {
  std::memset(dst, 0, capacity);
  if (capacity == 0) return;
  if (length > capacity - 1) length = capacity - 1;
  if (length > 0) std::memcpy(dst, src, length);  // an empty view may have no data pointer
}

template <size_t N>
void ClearText(char (&dst)[N]) {
  std::memset(dst, 0, N);
}

// Exact comparison, terminator included: "(NA)" matches "(NA)" only.
inline bool SameText(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace zarvo
