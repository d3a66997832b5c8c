#pragma once
// Scripted input for tests and benchmarks: events stamped with frame numbers.

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "PadEvent.h"
#include "PlatformEvent.h"

namespace platform {

/// A plain-text script of key, mouse and game-controller events, each stamped with the frame
/// before which it is delivered. One event per line; blank lines and lines starting with # are
/// ignored:
///   FRAME keydown KEY | keyup KEY | key KEY (down, and up on the next frame)
///   FRAME move X Y | down X Y [left|right] | up X Y [left|right] | click X Y (down, up next frame)
///   FRAME text TEXT (UTF-8 characters) | FRAME close
///   FRAME paddown BUTTON | padup BUTTON | pad BUTTON (down, up on the next frame)
///   FRAME padaxis AXIS VALUE (-32768..32767 for a stick, 0 at rest to 32767 for a trigger)
/// KEY is a virtual-key number, a letter or digit, or a key name (enter, escape, space, left,
/// f1, ...). BUTTON and AXIS are the controller names of the standard layout (a, b, x, y, back,
/// start, dpup, dpdown, dpleft, dpright, ...; leftx, lefty, lefttrigger, righttrigger, ...).
class TInputScript {
 public:
  /// Parses a script; false with a message naming the line when it is malformed.
  bool Parse(const std::string& text, std::string& error);
  /// Reads and parses a script file.
  bool Load(const std::string& path, std::string& error);
  /// The events to deliver before the given frame.
  std::vector<TPlatformEvent> EventsAt(long frame) const;
  /// The controller events to play on the virtual controller before the given frame.
  std::vector<TPadEvent> PadEventsAt(long frame) const;
  /// Whether the script drives a controller (and so needs a virtual one plugged in).
  bool HasPadEvents() const { return !PadEvents_.empty(); }
  /// The last frame that has events (-1 for an empty script).
  long LastFrame() const;

 private:
  bool ParseLine(const std::string& line, std::string& error);
  bool ParsePadLine(long frame, const std::string& verb, std::istringstream& in,
                    std::string& error);
  std::multimap<long, TPlatformEvent> Events_;
  std::multimap<long, TPadEvent> PadEvents_;
};

/// The virtual-key code of a key word of a script, or 0.
int KeyOfWord(const std::string& word);

}  // namespace platform
