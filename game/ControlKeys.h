#pragma once
// Turns the keyboard and the game controllers into the key presses the screens read.

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "ControlBindings.h"
#include "platform/PadState.h"

namespace game {

/// Whether the player is driving (race keys through the bindings) or on a menu or panel.
enum class TControlMode { Race, Menu };

/// One change of a key flag for the shell: Down and Up are a key going down and coming up (pass
/// them to FormKeyDown and FormKeyUp); Cancel means the key is no longer held without having been
/// released (clear its KeyDown flag only, leaving KeyReleased alone).
struct TKeyTransition {
  enum class TKind { Down, Up, Cancel };
  TKind Kind = TKind::Down;
  int32_t Key = 0;

  bool operator==(const TKeyTransition&) const = default;
};

/// The one place where keys and controllers become the virtual keys the screens read.
/// Race mode: a key bound to race actions stands for the keys of those actions (throttle is up,
/// brake down, handbrake space, pause P, quit escape, steering left and right), a key that is no
/// action's key passes unchanged, and an action's key that is not bound to it is ignored; the
/// controllers act through the same bindings. Menu mode: keys pass unchanged, and the d-pad or
/// left stick gives the arrows, A or Start gives enter, B or Back gives escape, Y gives T. A
/// virtual key is down while any key or controller input holds it. Keys and controller inputs held
/// when the mode changes do nothing until they are let go.
class TControlKeys {
 public:
  /// Starts in menu mode with these bindings.
  explicit TControlKeys(TControlBindings bindings = {});

  /// Switches mode: every virtual key held is cancelled, and what is held now is set aside.
  std::vector<TKeyTransition> SetMode(TControlMode mode);
  /// The current mode.
  TControlMode Mode() const { return Mode_; }
  /// A key of the keyboard went down (repeats are ignored).
  std::vector<TKeyTransition> KeyDown(int32_t key);
  /// A key of the keyboard came up.
  std::vector<TKeyTransition> KeyUp(int32_t key);
  /// This frame's state of every controller.
  std::vector<TKeyTransition> PadFrame(const std::vector<platform::TPadState>& pads);
  /// The bindings in use.
  const TControlBindings& Bindings() const { return Bindings_; }

 private:
  std::vector<int32_t> KeyTargets(int32_t key) const;
  std::set<int32_t> PadTargets(const platform::TPadState& pad) const;
  std::vector<TKeyTransition> Settle();

  TControlBindings Bindings_;
  TControlMode Mode_ = TControlMode::Menu;
  /// Keys held down, with the virtual keys each holds (none once set aside by a mode change).
  std::map<int32_t, std::vector<int32_t>> HeldKeys_;
  /// Virtual keys the controllers hold.
  std::set<int32_t> PadHeld_;
  /// Virtual keys reported down.
  std::set<int32_t> Down_;
  /// The controllers' last states, and per controller the inputs set aside by a mode change.
  std::vector<platform::TPadState> LastPads_;
  std::vector<uint32_t> SetAside_;
};

}  // namespace game
