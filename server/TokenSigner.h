#pragma once
// The one-time tokens handed out by the handshake, signed so that any process knowing the
// secret can check them.

#include <cstdint>
#include <optional>
#include <string>

namespace server {

/// Makes and checks tokens of 32 hex digits: the expiry (seconds since 1970), a random part and
/// an HMAC-SHA-256 of both under the secret. A token proves it was made here and when it
/// expires; whether it was used already is the database's business (redeemed tokens).
class TTokenSigner {
 public:
  /// How long a token stays valid, in seconds.
  static constexpr int64_t kLifetimeSeconds = 600;

  /// A signer with this secret (any bytes, at least 16).
  explicit TTokenSigner(std::string secret);

  /// A fresh token made at `now` (seconds since 1970), valid for the lifetime.
  std::string Issue(int64_t now) const;

  /// The token's expiry when it was signed with this secret and has not expired at `now`;
  /// nothing for anything else.
  std::optional<int64_t> Check(const std::string& token, int64_t now) const;

 private:
  std::string Mac(const std::string& signedPart) const;

  std::string Secret_;
};

}  // namespace server
