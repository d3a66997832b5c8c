#pragma once
// The termination signals as a request to quit that the frame loop picks up.

#include <signal.h>

#include <array>

namespace platform {

/// While it exists, SIGINT and SIGTERM no longer end the process: their handler only notes the
/// request (the one thing a handler may safely do), and the game's loop asks Requested() every
/// turn and then leaves the way the window's close box does. The previous handlers come back
/// when it goes. There is one per process; SDL is told to leave these signals alone.
class TQuitSignals {
 public:
  /// Installs the handlers.
  TQuitSignals();
  /// Restores the handlers that were there before.
  ~TQuitSignals();
  TQuitSignals(const TQuitSignals&) = delete;
  TQuitSignals& operator=(const TQuitSignals&) = delete;

  /// Whether SIGINT or SIGTERM arrived since the handlers were installed.
  bool Requested() const;

 private:
  std::array<struct sigaction, 2> Previous_{};
};

}  // namespace platform
