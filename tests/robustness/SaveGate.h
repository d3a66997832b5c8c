#pragma once
// The settings writer's testing pause, seen from a test that watches a running game.

#include <chrono>
#include <string>

#include "GameProcess.h"

namespace robust {

/// The marker file of one game's settings saves: the game creates it once a save's temporary
/// file is on disk and waits, before renaming, until the test removes it.
class TSaveGate {
 public:
  /// A gate on this marker file.
  explicit TSaveGate(std::string marker) : Marker_(std::move(marker)) {}

  /// The environment variable ("NAME=VALUE") that gives the game this gate.
  std::string Variable() const;
  /// Whether the game is paused in a save.
  bool Paused() const;
  /// Waits until the game pauses in a save; false when it ended first or time ran out.
  bool AwaitPause(TGameProcess& game, std::chrono::seconds limit) const;
  /// Lets the paused save go on.
  void Release() const;

 private:
  std::string Marker_;
};

/// Whether the process waits for a file lock that another process holds (from /proc/locks).
bool WaitsForALock(pid_t pid);

}  // namespace robust
