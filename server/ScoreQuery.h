#pragma once
// The query strings the score service answers, parsed without touching anything else.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace server {

/// One request to "/cgi/version.pl": a handshake, a submission or the score page.
struct TScoreQuery {
  /// What the request asks for.
  enum class TKind { Handshake, Submission, Page };

  /// Queries longer than this are refused before they are parsed.
  static constexpr std::size_t kMaxLength = 8192;

  TKind Kind = TKind::Handshake;
  /// The encoded submission text ("inf"), for submissions only.
  std::string Info;

  /// Parses a raw query ("version&prg=CometLaneDerby", "hs&prg=CometLaneDerby&inf=...",
  /// "prg=CometLaneDerby&show&type=0"). Parameters are "&"-separated flags or name=value pairs
  /// with %XX and "+" escapes; each may appear once. Anything else is malformed: nothing.
  static std::optional<TScoreQuery> Parse(std::string_view query);
};

}  // namespace server
