#pragma once
// The base of the input manager's devices.

#include <memory>

#include "platform/ControllerDevice.h"

namespace vexel {

class TVexelInput;

/// One input device of the input manager: switched on by Enabled, made ready by Initialize once
/// the manager is, and dropped by Finalize. Owned by the manager.
class TCustomInput {
 public:
  /// Creates a disabled, uninitialised device of the manager.
  explicit TCustomInput(TVexelInput& owner) : Owner_(owner) {}
  virtual ~TCustomInput() = default;
  TCustomInput(const TCustomInput&) = delete;
  TCustomInput& operator=(const TCustomInput&) = delete;

  /// Makes the device ready; the base has nothing to make.
  virtual void Initialize() {}
  /// Stops and releases the device; afterwards it is not initialised.
  void Finalize();
  /// Starts the device reporting, if there is one.
  void Acquire();

  /// Switches the device on (initialising and acquiring it once the manager is initialised) or
  /// off (finalising it).
  void SetEnabled(bool value);
  /// Stores the foreground-only wish and re-initialises an initialised device when it changes.
  void SetForegroundOnly(bool value);
  /// Stores the exclusive-use wish and re-initialises an initialised device when it changes.
  void SetExclusive(bool value);

  /// Whether Initialize succeeded.
  bool Initialized() const { return Initialized_; }
  /// Whether the device is switched on.
  bool Enabled() const { return Enabled_; }
  /// Whether the device should report only while the game's window has the focus.
  bool ForegroundOnly() const { return ForegroundOnly_; }
  /// Whether the device should be used by this program alone.
  bool Exclusive() const { return Exclusive_; }
  /// The manager the device belongs to.
  TVexelInput& Owner() const { return Owner_; }
  /// The opened device, or none.
  platform::TControllerDevice* Device() const { return Device_.get(); }

 protected:
  /// Re-runs Initialize and Acquire on an initialised device after a setting changed.
  void Reinitialize();
  /// Takes over another device's Enabled, ForegroundOnly and Exclusive without side effects.
  void CopyInputSettings(const TCustomInput& other);

  std::unique_ptr<platform::TControllerDevice> Device_;
  bool Initialized_ = false;

 private:
  TVexelInput& Owner_;
  bool Enabled_ = false;
  bool ForegroundOnly_ = true;
  bool Exclusive_ = false;
};

}  // namespace vexel
