#pragma once
// The frame around a replay or ghost file's body: magic, format version, body length, the body
// and its FNV-1a check sum.

#include <cstdint>
#include <functional>
#include <string>

namespace game {

/// Wraps a body in its file's frame and takes it out again, checking length and check sum.
class TFileEnvelope {
 public:
  /// The format version and body of an opened file.
  struct TContent {
    uint64_t Version = 0;
    std::string Body;
  };

  /// The file's bytes: magic (without its terminating zero), version, body length, body, hash.
  static std::string Wrap(const std::string& magic, uint32_t version, const std::string& body);
  /// The version and body of bytes; throws TReplayError naming fileName ("ghost file") when the
  /// magic, length or check sum is wrong, and lets checkVersion throw for a version it refuses.
  static TContent Open(const std::string& bytes, const std::string& magic,
                       const std::string& fileName,
                       const std::function<void(uint64_t version)>& checkVersion);
};

}  // namespace game
