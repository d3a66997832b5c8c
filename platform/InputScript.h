#pragma once
// Scripted input for tests and benchmarks: events stamped with frame numbers.

#include <map>
#include <string>
#include <vector>

#include "PlatformEvent.h"

namespace platform {

/// A plain-text script of key and mouse events, each stamped with the frame before which it is
/// delivered. One event per line; blank lines and lines starting with # are ignored:
///   FRAME keydown KEY | keyup KEY | key KEY (down, and up on the next frame)
///   FRAME move X Y | down X Y [left|right] | up X Y [left|right] | click X Y (down, up next frame)
///   FRAME text TEXT (UTF-8 characters) | FRAME close
/// KEY is a virtual-key number, a letter or digit, or a name: enter, escape, space, backspace,
/// left, up, right, down, p, f1, ctrl.
class TInputScript {
 public:
  /// Parses a script; false with a message naming the line when it is malformed.
  bool Parse(const std::string& text, std::string& error);
  /// Reads and parses a script file.
  bool Load(const std::string& path, std::string& error);
  /// The events to deliver before the given frame.
  std::vector<TPlatformEvent> EventsAt(long frame) const;
  /// The last frame that has events (-1 for an empty script).
  long LastFrame() const { return Events_.empty() ? -1 : Events_.rbegin()->first; }

 private:
  bool ParseLine(const std::string& line, std::string& error);
  std::multimap<long, TPlatformEvent> Events_;
};

/// The virtual-key code of a key word of a script, or 0.
int KeyOfWord(const std::string& word);

}  // namespace platform
