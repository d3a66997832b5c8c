#include "ScoreStore.h"

#include <sys/random.h>

#include <array>
#include <cerrno>
#include <exception>

#include "PostgresScoreDatabase.h"
#include "ScoreDatabase.h"

namespace server {

void TScoreStore::AddLater(const TScoreRow& row, const std::string& token, int64_t tokenExpiry,
                           TAddDone done) {
  TAddResult result = TAddResult::kStored;
  try {
    result = Add(row, token, tokenExpiry);
  } catch (const std::exception& e) {
    // An empty error would read as success.
    done(result, *e.what() != '\0' ? e.what() : "the score database failed");
    return;
  }
  done(result, "");
}

std::unique_ptr<TScoreStore> OpenScoreStore(const std::string& location, std::size_t connections) {
  if (location.starts_with("postgresql://") || location.starts_with("postgres://")) {
    return std::make_unique<TPostgresScoreDatabase>(location, connections);
  }
  return std::make_unique<TScoreDatabase>(location);
}

std::string RandomSecret() {
  std::array<unsigned char, 64> bytes{};
  size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
    if (got < 0 && errno != EINTR) throw TDatabaseError("no random source for the token secret");
    if (got > 0) filled += static_cast<size_t>(got);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string secret;
  for (const unsigned char byte : bytes) {
    secret += kHex[byte >> 4];
    secret += kHex[byte & 15];
  }
  return secret;
}

}  // namespace server
