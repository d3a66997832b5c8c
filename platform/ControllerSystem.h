#pragma once
// The system's game-controller service: which controllers are plugged in, and opening them.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ControllerDevice.h"

namespace platform {

/// One attached game controller as the system lists it.
struct TControllerInfo {
  /// Identifies this connection of the controller until it is unplugged.
  int32_t InstanceId = -1;
  /// Identifies the kind of controller (the same for two identical pads).
  std::array<uint8_t, 16> Guid{};
  std::string Name;
};

/// The game-controller subsystem, open while this object lives. Its controller events are not
/// queued: the input layer polls the device list and the states once per frame, and a
/// controller's input counts only while the game's window has the focus (or no window exists).
class TControllerSystem {
 public:
  /// Opens the subsystem; Ready() tells whether that worked.
  TControllerSystem();
  ~TControllerSystem();
  TControllerSystem(const TControllerSystem&) = delete;
  TControllerSystem& operator=(const TControllerSystem&) = delete;

  /// Whether the subsystem is open.
  bool Ready() const { return Ready_; }
  /// Why the subsystem could not be opened.
  const std::string& Error() const { return Error_; }
  /// Refreshes the list of attached controllers and their states.
  void Update();
  /// The attached devices that have the standard controller layout, in the system's order.
  std::vector<TControllerInfo> Attached() const;
  /// Opens an attached controller by its instance; null when it is gone or cannot be opened.
  std::unique_ptr<TControllerDevice> Open(int32_t instanceId) const;

 private:
  bool Ready_ = false;
  bool Haptic_ = false;
  std::string Error_;
};

}  // namespace platform
