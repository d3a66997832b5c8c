#include "ByteWriter.h"

#include <bit>

namespace game {

void TByteWriter::Unsigned(uint64_t value, size_t bytes) {
  for (size_t i = 0; i < bytes; ++i) Bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

void TByteWriter::Float(float value) {
  Unsigned(std::bit_cast<uint32_t>(value), 4);
}

void TByteWriter::Text(const std::string& text, size_t lengthBytes) {
  Unsigned(text.size(), lengthBytes);
  Bytes += text;
}

}  // namespace game
