#pragma once
// The error a race reports when its track file cannot be used.

#include <stdexcept>
#include <string>

namespace game {

/// Raised when a track file cannot be opened or read or cannot make a race; the message names
/// the file and the reason.
class TTrackFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace game
