#include "ScoreClient.h"

#include <utility>

#include "ScoreSubmission.h"
#include "TextCodec.h"

namespace online {

TScoreClient::TScoreClient(std::string serverAddress) : ServerAddress_(std::move(serverAddress)) {}

TSubmitResult TScoreClient::SubmitScore(const std::string& playerName, int64_t score,
                                        const std::string& optionsText) {
  const std::string reply = Http_.Get(Address(kHandshakeQuery));
  if (!IsHandshakeAccepted(reply)) return TSubmitResult::kNoConnection;
  const std::string plain =
      PlainSubmissionText(playerName, score, HandshakeToken(reply), optionsText);
  const std::string answer =
      Http_.Get(Address(std::string(kSubmissionQueryPrefix) + EncodeText(plain)));
  if (Http_.LastRefused()) return TSubmitResult::kNotAccepted;
  return answer.empty() ? TSubmitResult::kNoConnection : TSubmitResult::kSent;
}

std::string TScoreClient::ScorePageAddress() const {
  return Address(kScorePageQuery);
}

std::string TScoreClient::Address(std::string_view query) const {
  std::string address = ServerAddress_;
  address += kScorePath;
  address += '?';
  address += query;
  return address;
}

}  // namespace online
