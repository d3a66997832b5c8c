#include "Submission.h"

#include <cstdint>

#include "online/ScoreSubmission.h"
#include "platform/CodePage1251.h"

namespace server {

namespace {

constexpr std::string_view kHead = "type=0|name=";
constexpr std::string_view kTail = "|z=";

// Takes "label" and the text up to the next "|" from the front of the text.
std::optional<std::string> TakeField(std::string_view& text, std::string_view label) {
  if (text.substr(0, label.size()) != label) return std::nullopt;
  text.remove_prefix(label.size());
  const size_t bar = text.find('|');
  if (bar == std::string_view::npos) return std::nullopt;
  std::string value(text.substr(0, bar));
  text.remove_prefix(bar);
  return value;
}

bool IsPlainNumber(const std::string& digits) {
  return !digits.empty() && digits.size() <= 10 &&
         digits.find_first_not_of("0123456789") == std::string::npos;
}

// Reads "score=S|key=K|p=T|add=" from the front of the text into the submission; returns the
// rest (the options text) or nothing when the text does not have that shape.
std::optional<std::string_view> ReadMiddle(std::string_view text, TSubmission& out) {
  const auto score = TakeField(text, "score=");
  if (!score || !IsPlainNumber(*score)) return std::nullopt;
  const auto key = TakeField(text, "|key=");
  const auto token = key ? TakeField(text, "|p=") : std::nullopt;
  constexpr std::string_view kAdd = "|add=";
  if (!token || text.substr(0, kAdd.size()) != kAdd) return std::nullopt;
  out.Score = std::stoll(*score);
  out.Key = *key;
  out.Token = *token;
  return text.substr(kAdd.size());
}

// The text without its closing "|z=" and padding, or nothing when they are missing or wrong.
std::optional<std::string_view> WithoutTail(std::string_view plain) {
  if (plain.size() % 5 != 0) return std::nullopt;
  const size_t tail = plain.rfind(kTail);
  if (tail == std::string_view::npos) return std::nullopt;
  const std::string_view padding = plain.substr(tail + kTail.size());
  if (padding.size() > 4 || padding.find_first_not_of('0') != std::string_view::npos) {
    return std::nullopt;
  }
  return plain.substr(0, tail);
}

bool IsAcceptable(const TSubmission& s) {
  return s.Key.size() == 1 && s.Key[0] == online::kSubmissionKey && !s.Token.empty() &&
         !s.Name.empty() && s.Name.size() <= TSubmission::kMaxNameLength &&
         IsPrintableGameText(s.Name) && s.OptionsText.size() <= TSubmission::kMaxOptionsLength &&
         IsPrintableGameText(s.OptionsText) && s.Score >= 0 && s.Score <= TSubmission::kMaxScore;
}

}  // namespace

bool IsPrintableGameText(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    if (byte < 0x20 || byte == 0x7F || platform::UnicodeOf1251(byte) == 0) return false;
  }
  return true;
}

std::optional<TSubmission> TSubmission::Parse(std::string_view plain) {
  const auto body = WithoutTail(plain);
  if (!body || body->substr(0, kHead.size()) != kHead) return std::nullopt;
  const std::string_view fields = body->substr(kHead.size());
  // The name may itself hold "|score=": the first split after which the rest has the shape of
  // the following fields is the one the game made.
  for (size_t at = fields.find("|score="); at != std::string_view::npos;
       at = fields.find("|score=", at + 1)) {
    TSubmission submission;
    const auto options = ReadMiddle(fields.substr(at + 1), submission);
    if (!options) continue;
    submission.Name = std::string(fields.substr(0, at));
    submission.OptionsText = std::string(*options);
    if (IsAcceptable(submission)) return submission;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace server
