#pragma once
// The game's side of the online scores: handshake, submission and the world page's address.

#include <cstdint>
#include <string>

#include "platform/HttpClient.h"

namespace online {

/// How a score submission ended.
enum class TSubmitResult {
  /// The service acknowledged the score.
  kSent,
  /// No service answered (or the handshake failed): "Can't connect to server!".
  kNoConnection,
  /// The service answered the submission with an error status: "Score not accepted!".
  kNotAccepted,
};

/// Talks to one score service. Requests run on the caller's thread and are bounded by the HTTP
/// client's time limits.
class TScoreClient {
 public:
  /// A client for the service at this address ("http://host:port", no trailing "/").
  explicit TScoreClient(std::string serverAddress);

  /// Runs the handshake and, when the service answers "OK", sends the player's name, score and
  /// options text with the handshake's token. kNoConnection when the handshake failed or the
  /// submission got no answer, kNotAccepted when the service refused the submission (an error
  /// status: a used token, too many scores, a database failure).
  TSubmitResult SubmitScore(const std::string& playerName, int64_t score,
                            const std::string& optionsText);

  /// The address of the world score page, for the desktop's browser.
  std::string ScorePageAddress() const;

  /// The service's address.
  const std::string& ServerAddress() const { return ServerAddress_; }

 private:
  std::string Address(std::string_view query) const;

  std::string ServerAddress_;
  platform::THttpClient Http_;
};

}  // namespace online
