#include "ByteReader.h"

#include <bit>
#include <utility>

#include "game/race/ReplayError.h"

namespace game {

TByteReader::TByteReader(const std::string& bytes, std::string fileName)
    : Bytes_(bytes), FileName_(std::move(fileName)) {}

uint64_t TByteReader::Unsigned(size_t bytes) {
  Need(bytes);
  uint64_t value = 0;
  for (size_t i = 0; i < bytes; ++i) {
    value |= static_cast<uint64_t>(static_cast<unsigned char>(Bytes_[At_ + i])) << (8 * i);
  }
  At_ += bytes;
  return value;
}

int64_t TByteReader::Signed(size_t bytes) {
  // Moves the sign bit to the top and back, which repeats it over the upper bytes.
  const size_t unused = 64 - 8 * bytes;
  return static_cast<int64_t>(Unsigned(bytes) << unused) >> unused;
}

float TByteReader::Float() {
  return std::bit_cast<float>(static_cast<uint32_t>(Unsigned(4)));
}

std::string TByteReader::Text(size_t lengthBytes, uint64_t most) {
  const uint64_t length = Unsigned(lengthBytes);
  if (length > most) throw TReplayError("the " + FileName_ + " is damaged (a text is too long)");
  Need(length);
  std::string text = Bytes_.substr(At_, length);
  At_ += length;
  return text;
}

size_t TByteReader::Left() const {
  return Bytes_.size() - At_;
}

bool TByteReader::AtEnd() const {
  return At_ == Bytes_.size();
}

void TByteReader::Need(uint64_t bytes) const {
  if (bytes > Left()) throw TReplayError("the " + FileName_ + " is cut short");
}

}  // namespace game
