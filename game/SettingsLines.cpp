#include "SettingsLines.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "SettingsFile.h"
#include "online/TextCodec.h"

namespace game {

namespace {

// Symbols of one padded block: five bytes are forty bits, eight symbols.
constexpr size_t kBlockSymbols = 8;

// Whether the line holds only alphabet symbols.
bool OnlySymbols(const std::string& line) {
  return line.find_first_not_of(online::kTextAlphabet) == std::string::npos;
}

// Whether every byte is a printable character of the 8-bit code page.
bool IsText(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// How a line is named in the warning, counted from 1.
std::string LineName(size_t index) {
  return "line " + std::to_string(index + 1);
}

// Appends the file's bytes to bytes, at most limit of them, a block at a time (settings files are
// small, so no room is made for the limit up front). False when reading failed.
bool ReadUpTo(std::ifstream& file, size_t limit, std::string& bytes) {
  constexpr size_t kBlock = 16 * 1024;
  char block[kBlock];
  while (bytes.size() < limit && file) {
    file.read(block, static_cast<std::streamsize>(std::min(kBlock, limit - bytes.size())));
    bytes.append(block, static_cast<size_t>(file.gcount()));
  }
  return !file.bad();
}

}  // namespace

TSettingsLines::TLoad TSettingsLines::Load(const std::string& path, std::string& problem) {
  std::error_code missing;
  if (!std::filesystem::exists(path, missing) && !missing) return TLoad::Missing;
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    problem = "cannot open \"" + path + "\": " + std::strerror(errno);
    return TLoad::Unreadable;
  }
  std::string bytes;
  if (!ReadUpTo(file, MaxFileBytes + 1, bytes)) {
    problem = "cannot read \"" + path + "\": " + std::strerror(errno);
    return TLoad::Unreadable;
  }
  if (bytes.size() > MaxFileBytes) {
    bytes.resize(MaxFileBytes);
    Note("the file is longer than " + std::to_string(MaxFileBytes) +
         " bytes; only its start was read");
  }
  SetText(bytes);
  return TLoad::Loaded;
}

void TSettingsLines::SetText(const std::string& bytes) {
  Lines_.clear();
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Lines_.push_back(std::move(line));
    start = end + 1;
  }
}

std::optional<std::string> TSettingsLines::Decoded(size_t index, bool padded) {
  if (index >= Lines_.size()) return std::nullopt;
  const std::string& line = Lines_[index];
  const bool whole = padded ? line.size() % kBlockSymbols == 0 : !line.empty();
  if (!OnlySymbols(line) || !whole) {
    Note(LineName(index) + " does not decode");
    return std::nullopt;
  }
  if (!padded) return online::DecodeText(line);
  const std::string text = TSettingsFile::StripPadding(online::DecodeText(line));
  if (!IsText(text)) {
    Note(LineName(index) + " holds bytes that are no text");
    return std::nullopt;
  }
  return text;
}

std::optional<std::string> TSettingsLines::Switch(size_t index) {
  return Decoded(index, false);
}

std::optional<std::string> TSettingsLines::Text(size_t index) {
  return Decoded(index, true);
}

std::optional<int32_t> TSettingsLines::Number(size_t index) {
  const std::optional<std::string> text = Decoded(index, true);
  if (!text) return std::nullopt;
  int32_t value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (text->empty() || error != std::errc() || stop != end) {
    Note(LineName(index) + " is not a number");
    return std::nullopt;
  }
  return value;
}

void TSettingsLines::Note(const std::string& problem) {
  if (!Notes_.empty()) Notes_ += "; ";
  Notes_ += problem;
}

}  // namespace game
