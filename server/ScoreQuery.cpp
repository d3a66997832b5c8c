#include "ScoreQuery.h"

#include <map>

#include "online/ScoreSubmission.h"

namespace server {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Undoes %XX and "+" escapes; nothing for a broken escape.
std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] != '%') {
      out += text[i];
    } else {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    }
  }
  return out;
}

// Name to value ("" for a flag, which is told apart from "name=" by the second member).
using TParameters = std::map<std::string, std::pair<std::string, bool>>;

std::optional<TParameters> SplitParameters(std::string_view query) {
  TParameters parameters;
  while (true) {
    const size_t amp = query.find('&');
    const std::string_view piece = query.substr(0, amp);
    const size_t eq = piece.find('=');
    const auto name = Unescape(piece.substr(0, eq));
    const auto value = Unescape(eq == std::string_view::npos ? "" : piece.substr(eq + 1));
    if (!name || !value || name->empty()) return std::nullopt;
    if (!parameters.emplace(*name, std::pair{*value, eq != std::string_view::npos}).second) {
      return std::nullopt;
    }
    if (amp == std::string_view::npos) return parameters;
    query.remove_prefix(amp + 1);
  }
}

bool IsFlag(const TParameters& parameters, const std::string& name) {
  const auto it = parameters.find(name);
  return it != parameters.end() && !it->second.second;
}

bool HasValue(const TParameters& parameters, const std::string& name, std::string_view value) {
  const auto it = parameters.find(name);
  return it != parameters.end() && it->second.second && it->second.first == value;
}

}  // namespace

std::optional<TScoreQuery> TScoreQuery::Parse(std::string_view query) {
  if (query.empty() || query.size() > kMaxLength) return std::nullopt;
  const auto parameters = SplitParameters(query);
  if (!parameters || !HasValue(*parameters, "prg", online::kProgramName)) return std::nullopt;
  TScoreQuery result;
  if (parameters->size() == 2 && IsFlag(*parameters, "version")) {
    result.Kind = TKind::Handshake;
    return result;
  }
  if (parameters->size() == 3 && IsFlag(*parameters, "show") &&
      HasValue(*parameters, "type", "0")) {
    result.Kind = TKind::Page;
    return result;
  }
  const auto info = parameters->find("inf");
  if (parameters->size() == 3 && IsFlag(*parameters, "hs") && info != parameters->end() &&
      info->second.second && !info->second.first.empty()) {
    result.Kind = TKind::Submission;
    result.Info = info->second.first;
    return result;
  }
  return std::nullopt;
}

}  // namespace server
