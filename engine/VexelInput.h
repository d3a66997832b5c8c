#pragma once
// The input manager: the game-controller service and the joysticks on it.

#include <memory>
#include <vector>

#include "VexelJoystick.h"
#include "platform/ControllerSystem.h"
#include "platform/PadState.h"

namespace vexel {

/// The input manager component: opens the game-controller service when the display device
/// initialises, keeps one joystick per attached controller (the first one, Joystick(), always
/// exists; each further one copies its settings), and once per frame picks up controllers that
/// were plugged in or out (naming each on standard error) and reads every joystick's state.
class TVexelInput {
 public:
  /// Creates the manager with its first joystick (disabled, DeviceIndex 0); nothing is opened.
  TVexelInput();
  ~TVexelInput();
  TVexelInput(const TVexelInput&) = delete;
  TVexelInput& operator=(const TVexelInput&) = delete;

  /// Opens the controller service, makes a joystick for every controller beyond the first and
  /// initialises and acquires them all. Runs when the display device initialises.
  void Initialize();
  /// Closes every joystick, frees all but the first, and closes the controller service.
  void Finalize();
  /// Once per frame: follows controllers plugged in or out, then reads every joystick.
  void Update();

  /// Whether Initialize ran (even when no controller service could be had).
  bool Initialized() const { return Initialized_; }
  /// The controller service, or none.
  platform::TControllerSystem* Controllers() const { return Controllers_.get(); }
  /// The first joystick, whose settings the others copy.
  TJoystick& Joystick() { return *First_; }
  /// Every joystick, the first one first.
  const std::vector<TJoystick*>& Joysticks() const { return Joysticks_; }
  /// The state read by the last Update of every initialised joystick.
  std::vector<platform::TPadState> States() const;

  /// Called by a joystick when it is created.
  void AddJoystick(TJoystick* joystick);
  /// Called by a joystick when it is destroyed.
  void RemoveJoystick(TJoystick* joystick);

 private:
  void Rescan();
  void ReportChanges(const std::vector<platform::TControllerInfo>& now) const;

  std::unique_ptr<platform::TControllerSystem> Controllers_;
  std::vector<TJoystick*> Joysticks_;
  std::unique_ptr<TJoystick> First_;
  std::vector<std::unique_ptr<TJoystick>> Further_;
  std::vector<platform::TControllerInfo> Known_;
  bool Initialized_ = false;
};

}  // namespace vexel
