#include "TokenSigner.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/random.h>

#include <array>
#include <cerrno>
#include <stdexcept>
#include <utility>

namespace server {

namespace {

// Hex digits of the expiry, the random part and the signature.
constexpr size_t kExpiryDigits = 8;
constexpr size_t kRandomDigits = 12;
constexpr size_t kMacDigits = 12;
constexpr char kHex[] = "0123456789abcdef";

std::string Hex(const unsigned char* bytes, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) {
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 15];
  }
  return text;
}

std::string RandomHex(size_t digits) {
  std::array<unsigned char, 16> bytes{};
  const size_t count = digits / 2;
  size_t filled = 0;
  while (filled < count) {
    const ssize_t got = getrandom(bytes.data() + filled, count - filled, 0);
    if (got < 0 && errno != EINTR) throw std::runtime_error("no random source for tokens");
    if (got > 0) filled += static_cast<size_t>(got);
  }
  return Hex(bytes.data(), count);
}

bool IsLowerHex(const std::string& text) {
  return text.find_first_not_of(kHex) == std::string::npos;
}

}  // namespace

TTokenSigner::TTokenSigner(std::string secret) : Secret_(std::move(secret)) {
  if (Secret_.size() < 16) throw std::runtime_error("the token secret is shorter than 16 bytes");
}

std::string TTokenSigner::Issue(int64_t now) const {
  char expiry[kExpiryDigits + 1];
  std::snprintf(expiry, sizeof expiry, "%08llx",
                static_cast<unsigned long long>(now + kLifetimeSeconds) & 0xffffffffULL);
  const std::string signedPart = expiry + RandomHex(kRandomDigits);
  return signedPart + Mac(signedPart);
}

std::optional<int64_t> TTokenSigner::Check(const std::string& token, int64_t now) const {
  if (token.size() != kExpiryDigits + kRandomDigits + kMacDigits || !IsLowerHex(token)) {
    return std::nullopt;
  }
  const std::string signedPart = token.substr(0, kExpiryDigits + kRandomDigits);
  const std::string mac = Mac(signedPart);
  if (CRYPTO_memcmp(mac.data(), token.data() + signedPart.size(), kMacDigits) != 0) {
    return std::nullopt;
  }
  const auto expiry =
      static_cast<int64_t>(std::stoull(token.substr(0, kExpiryDigits), nullptr, 16));
  // An expiry further away than one lifetime was never written by Issue.
  if (now >= expiry || expiry - now > kLifetimeSeconds) return std::nullopt;
  return expiry;
}

std::string TTokenSigner::Mac(const std::string& signedPart) const {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  HMAC(EVP_sha256(), Secret_.data(), static_cast<int>(Secret_.size()),
       reinterpret_cast<const unsigned char*>(signedPart.data()), signedPart.size(), digest,
       &length);
  return Hex(digest, kMacDigits / 2);
}

}  // namespace server
