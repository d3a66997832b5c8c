#pragma once
// A score submission as the game sends it, taken apart and checked.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace server {

/// The fields of a plain submission text: "type=0|name=N|score=S|key=K|p=T|add=A|z=" and up to
/// four "0" characters of padding. Name and options text are bytes of the game's code page.
struct TSubmission {
  /// Highest score the service accepts.
  static constexpr int64_t kMaxScore = 1'000'000'000;
  /// Longest name and options text, in characters of the game's code page.
  static constexpr size_t kMaxNameLength = 12;
  static constexpr size_t kMaxOptionsLength = 12;

  std::string Name;
  int64_t Score = 0;
  std::string Key;
  std::string Token;
  std::string OptionsText;

  /// Takes a decoded submission text apart and checks it: the fields in their order, the padding,
  /// the key letter, a name of 1 to 12 printable characters, a score of 0 to 10^9 in plain
  /// digits, an options text of at most 12 printable characters. Nothing when anything is off.
  static std::optional<TSubmission> Parse(std::string_view plain);
};

/// Whether the bytes are printable characters of the game's code page (no control characters,
/// no unassigned byte).
bool IsPrintableGameText(std::string_view text);

}  // namespace server
