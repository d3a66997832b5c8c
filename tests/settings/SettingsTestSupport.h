#pragma once
// Folders, files and states shared by the settings tests.

#include <unistd.h>

#include <string>
#include <vector>

#include "game/GameSettings.h"

namespace settings_test {

/// A new empty folder for the running test (tests run side by side); a tag gives the test
/// another one.
std::string FreshDir(const std::string& tag = "");

/// The whole content of a file (empty when it cannot be read).
std::string ReadBytes(const std::string& path);

/// Writes bytes to a file, replacing it.
void WriteBytes(const std::string& path, const std::string& bytes);

/// The lines of settings file bytes, without their CR LF ends.
std::vector<std::string> SplitLines(const std::string& bytes);

/// Lines joined with CR LF after each.
std::string JoinLines(const std::vector<std::string>& lines);

/// The encoded line of a plain text.
std::string Encoded(const std::string& plain);

/// A state with every kind of value away from its default: switches flipped, texts in the 8-bit
/// code page, a changed high-score table and the given number of profiles with distinct progress.
game::TGameSettings SampleSettings(int32_t profileCount);

/// Runs fn in a forked child process, which ends with fn's exit code; returns the child's id.
template <typename F>
pid_t Fork(F fn) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(fn());
  return child;
}

/// Waits for a child and returns its exit code, or -signal when a signal ended it.
int WaitFor(pid_t child);

/// Waits (at most ten seconds) until a file exists.
bool AwaitFile(const std::string& path);

}  // namespace settings_test
