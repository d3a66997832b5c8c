#pragma once
// The error of a replay that cannot be played.

#include <stdexcept>

namespace game {

/// Raised for a replay that cannot be played; the message says what is wrong with it.
class TReplayError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace game
