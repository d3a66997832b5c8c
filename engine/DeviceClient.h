#pragma once
// The engine components whose device resources the display device restores after it makes or
// resets its device, and invalidates before it releases or resets it.

namespace vexel {

/// Kinds of device-bound components, in the roles the display device treats differently.
enum class TDeviceClientKind { ImageList, SystemFont, BitmapFont, Gui };

/// A component with device resources; registered with the display device by its owner.
class TDeviceClient {
 public:
  virtual ~TDeviceClient() = default;
  /// Which role the component plays when the device restores or invalidates components.
  virtual TDeviceClientKind DeviceClientKind() const = 0;
  /// Re-creates or re-binds device resources after the device was made or reset.
  virtual void DeviceRestore() = 0;
  /// Releases or unbinds device resources before the device is released or reset.
  virtual void DeviceInvalidate() = 0;
};

}  // namespace vexel
