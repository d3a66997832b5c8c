#include "ImageListByteReader.h"

#include "ImageListStreamError.h"

namespace vexel {

void TByteReader::Fail(const std::string& reason) const {
  throw TStreamError("offset " + std::to_string(Position_) + ": " + reason);
}

void TByteReader::Need(size_t count) const {
  if (count > Remaining()) {
    Fail("needs " + std::to_string(count) + " bytes, " + std::to_string(Remaining()) + " left");
  }
}

void TByteReader::Seek(size_t position) {
  if (position > Bytes_.size()) Fail("seek past the end to " + std::to_string(position));
  Position_ = position;
}

uint8_t TByteReader::Peek() const {
  Need(1);
  return Bytes_[Position_];
}

uint8_t TByteReader::U8() {
  Need(1);
  return Bytes_[Position_++];
}

uint16_t TByteReader::U16() {
  Need(2);
  const auto value = static_cast<uint16_t>(Bytes_[Position_] | Bytes_[Position_ + 1] << 8);
  Position_ += 2;
  return value;
}

uint32_t TByteReader::U32() {
  Need(4);
  uint32_t value = 0;
  for (size_t i = 4; i-- > 0;) value = value << 8 | Bytes_[Position_ + i];
  Position_ += 4;
  return value;
}

std::vector<uint8_t> TByteReader::Bytes(size_t count) {
  Need(count);
  const auto first = Bytes_.begin() + static_cast<std::ptrdiff_t>(Position_);
  Position_ += count;
  return {first, first + static_cast<std::ptrdiff_t>(count)};
}

std::string TByteReader::Text(size_t count) {
  const std::vector<uint8_t> bytes = Bytes(count);
  return {bytes.begin(), bytes.end()};
}

}  // namespace vexel
