// ReadFixedText and WriteFixedText.
#include "dial/fixed_text.h"

#include <cstring>

namespace corvane {

std::string ReadFixedText(const uint8_t* field, size_t size) {
  const void* zero = std::memchr(field, 0, size);
  const size_t length = zero != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - field) : size;
  return std::string(reinterpret_cast<const char*>(field), length);
}

void WriteFixedText(uint8_t* field, const std::string& text, size_t size) {
  if (size == 0) return;
  const size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), length);
  field[length] = 0;
}

}  // namespace corvane
