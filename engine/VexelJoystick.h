#pragma once
// One game controller of the input manager.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "VexelCustomInput.h"
#include "platform/PadLayout.h"
#include "platform/PadState.h"

namespace vexel {

/// One attached game controller, chosen by its position among the attached controllers, with a
/// range and a dead zone per axis and self-centring. Range and dead-zone tables are indexed by
/// the byte offset of an axis in the classic 80-byte joystick state record: X at 0, Y at 4, Z at
/// 8, the rotations at 12, 16 and 20; here X and Y are the left stick, Z the left trigger, the X
/// and Y rotations the right stick and the Z rotation the right trigger. Adds itself to its
/// manager's joystick list when created and removes itself when destroyed.
class TJoystick : public TCustomInput {
 public:
  /// Entries in the range and dead-zone tables (byte offsets 0..79).
  static constexpr int32_t kOffsetCount = 80;
  /// Default range (values -1000..1000) and dead zone (percent) of every axis.
  static constexpr int32_t kDefaultRange = 1000;
  static constexpr int32_t kDefaultDeadZone = 20;

  /// A disabled joystick for the first controller, in the manager's list.
  explicit TJoystick(TVexelInput& owner);
  /// A joystick for the controller at DeviceIndex that copies another's settings: Autocenter,
  /// ranges, dead zones, ForegroundOnly, Exclusive and Enabled.
  TJoystick(TVexelInput& owner, const TJoystick& settings, int32_t deviceIndex);
  ~TJoystick() override;

  /// Opens the controller at DeviceIndex and applies the settings to it; leaves the joystick
  /// uninitialised when there is no such controller, it is disabled, or it cannot be opened.
  void Initialize() override;

  /// Sets an axis' range to -Value..Value (negative becomes 0); offsets outside 0..79 are ignored.
  void SetRange(int32_t offset, int32_t value);
  /// The range at an offset; 0 outside 0..79.
  int32_t GetRange(int32_t offset) const;
  /// Sets an axis' dead zone in percent (clamped to 0..100); offsets outside 0..79 are ignored.
  void SetDeadZone(int32_t offset, int32_t percent);
  /// The dead zone at an offset; 0 outside 0..79.
  int32_t GetDeadZone(int32_t offset) const;
  /// Switches self-centring and passes it to the device.
  void SetAutocenter(bool value);
  /// Chooses another controller, re-initialising when initialised.
  void SetDeviceIndex(int32_t value);
  /// Reads the controller's state now (a resting state when there is none).
  void Poll();

  /// The range and dead zone of X, Y and Z.
  int32_t RangeX() const { return GetRange(0); }
  int32_t RangeY() const { return GetRange(4); }
  int32_t RangeZ() const { return GetRange(8); }
  void SetRangeX(int32_t value) { SetRange(0, value); }
  void SetRangeY(int32_t value) { SetRange(4, value); }
  void SetRangeZ(int32_t value) { SetRange(8, value); }
  int32_t DeadZoneX() const { return GetDeadZone(0); }
  int32_t DeadZoneY() const { return GetDeadZone(4); }
  int32_t DeadZoneZ() const { return GetDeadZone(8); }
  void SetDeadZoneX(int32_t value) { SetDeadZone(0, value); }
  void SetDeadZoneY(int32_t value) { SetDeadZone(4, value); }
  void SetDeadZoneZ(int32_t value) { SetDeadZone(8, value); }

  /// Whether self-centring is wanted.
  bool Autocenter() const { return Autocenter_; }
  /// How many buttons and axes the opened controller has (0 before it is opened).
  int32_t ButtonCount() const { return ButtonCount_; }
  int32_t AxesCount() const { return AxesCount_; }
  /// Which attached controller this joystick uses, counted from 0 in the system's order.
  int32_t DeviceIndex() const { return DeviceIndex_; }
  /// The chosen controller's kind and name, and the system's id of its connection (-1: none).
  const std::array<uint8_t, 16>& InstanceGUID() const { return InstanceGUID_; }
  const std::string& ProductName() const { return ProductName_; }
  int32_t InstanceId() const { return InstanceId_; }
  /// The state read by the last Poll.
  const platform::TPadState& State() const { return State_; }

  /// The controller axis at a byte offset of the state record, if any.
  static std::optional<platform::TPadAxis> AxisAtOffset(int32_t offset);

 private:
  bool FindController();
  void ApplySettings();
  void SendRange(int32_t offset);
  void SendDeadZone(int32_t offset);

  bool Autocenter_ = true;
  int32_t ButtonCount_ = 0;
  int32_t AxesCount_ = 0;
  int32_t DeviceIndex_ = 0;
  std::array<uint8_t, 16> InstanceGUID_{};
  std::string ProductName_;
  int32_t InstanceId_ = -1;
  std::array<int32_t, kOffsetCount> Ranges_{};
  std::array<int32_t, kOffsetCount> DeadZones_{};
  platform::TPadState State_{};
};

}  // namespace vexel
