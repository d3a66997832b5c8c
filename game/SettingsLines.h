#pragma once
// The encoded lines of a settings file, decoded one value at a time.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace game {

/// The lines of a settings file as read, each decoded on request with online::DecodeText. A line
/// that is damaged (symbols outside the alphabet, a broken length, bytes that are no text, a
/// number that does not convert) gives no value and is noted for the warning.
class TSettingsLines {
 public:
  /// What became of reading a file.
  enum class TLoad { Loaded, Missing, Unreadable };

  /// Reads the lines of the file at path (at most MaxFileBytes; a longer file is noted). With
  /// Unreadable the reason is in problem.
  TLoad Load(const std::string& path, std::string& problem);

  /// Splits bytes into lines at LF, dropping the CR before it.
  void SetText(const std::string& bytes);

  /// Number of lines.
  size_t Count() const { return Lines_.size(); }

  /// A switch line decoded as it is (no padding is removed); none when missing or damaged.
  std::optional<std::string> Switch(size_t index);

  /// A padded text line decoded and stripped of its padding; none when missing or damaged.
  std::optional<std::string> Text(size_t index);

  /// A padded decimal number line; none when missing, damaged or out of the 32-bit range.
  std::optional<int32_t> Number(size_t index);

  /// Adds a problem to the notes.
  void Note(const std::string& problem);

  /// Everything noted so far, joined with "; " (empty when nothing was).
  const std::string& Notes() const { return Notes_; }

  /// Largest file read whole; settings files are a few kilobytes.
  static constexpr size_t MaxFileBytes = 1 << 20;

 private:
  std::optional<std::string> Decoded(size_t index, bool padded);

  std::vector<std::string> Lines_;
  std::string Notes_;
};

}  // namespace game
