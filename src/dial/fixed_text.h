// Moving texts between strings and the fixed-size, zero-terminated character
// fields of the dial-up service's records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace corvane {

// The text before the first zero byte of the `size`-byte field; the whole
// field when it has no zero byte.
std::string ReadFixedText(const uint8_t* field, size_t size);

// Copies at most size - 1 bytes of `text` into the field and ends them with
// a zero byte, so the field stays terminated whatever the text's length.
void WriteFixedText(uint8_t* field, const std::string& text, size_t size);

}  // namespace corvane
