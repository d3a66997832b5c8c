#include "byte_writer.h"

namespace xm {

void ByteWriter::Put8(std::uint32_t value) {
  bytes_.push_back(static_cast<std::uint8_t>(value));
}

void ByteWriter::Put16(std::uint32_t value) {
  Put8(value);
  Put8(value >> 8);
}

void ByteWriter::Put32(std::uint32_t value) {
  Put16(value);
  Put16(value >> 16);
}

void ByteWriter::PutText(std::string_view text, std::size_t width, char pad) {
  for (std::size_t i = 0; i < width; ++i) {
    Put8(static_cast<unsigned char>(i < text.size() ? text[i] : pad));
  }
}

void ByteWriter::PutZeros(std::size_t count) {
  bytes_.insert(bytes_.end(), count, 0);
}

void ByteWriter::Patch16(std::size_t offset, std::uint32_t value) {
  bytes_.at(offset) = static_cast<std::uint8_t>(value);
  bytes_.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace xm
