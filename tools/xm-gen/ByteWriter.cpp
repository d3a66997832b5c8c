#include "ByteWriter.h"

namespace xm {

void TByteWriter::Put8(std::uint32_t value) {
  Bytes_.push_back(static_cast<std::uint8_t>(value));
}

void TByteWriter::Put16(std::uint32_t value) {
  Put8(value);
  Put8(value >> 8);
}

void TByteWriter::Put32(std::uint32_t value) {
  Put16(value);
  Put16(value >> 16);
}

void TByteWriter::PutText(std::string_view text, std::size_t width, char pad) {
  for (std::size_t i = 0; i < width; ++i) {
    Put8(static_cast<unsigned char>(i < text.size() ? text[i] : pad));
  }
}

void TByteWriter::PutZeros(std::size_t count) {
  Bytes_.insert(Bytes_.end(), count, 0);
}

void TByteWriter::Patch16(std::size_t offset, std::uint32_t value) {
  Bytes_.at(offset) = static_cast<std::uint8_t>(value);
  Bytes_.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace xm
