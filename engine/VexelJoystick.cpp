#include "VexelJoystick.h"

#include <algorithm>

#include "VexelInput.h"

namespace vexel {
namespace {

bool ValidOffset(int32_t offset) {
  return offset >= 0 && offset < TJoystick::kOffsetCount;
}

}  // namespace

TJoystick::TJoystick(TVexelInput& owner) : TCustomInput(owner) {
  Ranges_.fill(kDefaultRange);
  DeadZones_.fill(kDefaultDeadZone);
  owner.AddJoystick(this);
}

TJoystick::TJoystick(TVexelInput& owner, const TJoystick& settings, int32_t deviceIndex)
    : TCustomInput(owner),
      Autocenter_(settings.Autocenter_),
      DeviceIndex_(deviceIndex),
      Ranges_(settings.Ranges_),
      DeadZones_(settings.DeadZones_) {
  CopyInputSettings(settings);
  owner.AddJoystick(this);
}

TJoystick::~TJoystick() {
  Owner().RemoveJoystick(this);
}

std::optional<platform::TPadAxis> TJoystick::AxisAtOffset(int32_t offset) {
  using platform::TPadAxis;
  switch (offset) {
    case 0:
      return TPadAxis::LeftX;
    case 4:
      return TPadAxis::LeftY;
    case 8:
      return TPadAxis::LeftTrigger;
    case 12:
      return TPadAxis::RightX;
    case 16:
      return TPadAxis::RightY;
    case 20:
      return TPadAxis::RightTrigger;
    default:
      return std::nullopt;
  }
}

bool TJoystick::FindController() {
  const auto attached = Owner().Controllers()->Attached();
  if (DeviceIndex_ < 0 || DeviceIndex_ >= static_cast<int32_t>(attached.size())) return false;
  const auto& info = attached[static_cast<size_t>(DeviceIndex_)];
  InstanceGUID_ = info.Guid;
  ProductName_ = info.Name;
  InstanceId_ = info.InstanceId;
  return true;
}

void TJoystick::Initialize() {
  Finalize();
  State_ = platform::TPadState{};
  InstanceId_ = -1;
  if (!Owner().Controllers() || !Owner().Controllers()->Ready()) return;
  if (!FindController() || !Enabled()) return;
  Device_ = Owner().Controllers()->Open(InstanceId_);
  if (!Device_) return;
  ButtonCount_ = Device_->ButtonCount();
  AxesCount_ = Device_->AxesCount();
  ApplySettings();
  Initialized_ = true;
}

void TJoystick::ApplySettings() {
  Device_->SetAutocenter(Autocenter_);
  for (int32_t offset = 0; offset < kOffsetCount; ++offset) SendRange(offset);
  for (int32_t offset = 0; offset < kOffsetCount; ++offset) SendDeadZone(offset);
}

void TJoystick::SendRange(int32_t offset) {
  const auto axis = AxisAtOffset(offset);
  if (Device_ && axis) Device_->SetAxisRange(*axis, -Ranges_[offset], Ranges_[offset]);
}

void TJoystick::SendDeadZone(int32_t offset) {
  const auto axis = AxisAtOffset(offset);
  if (Device_ && axis) Device_->SetAxisDeadZone(*axis, DeadZones_[offset] * 100);
}

void TJoystick::SetRange(int32_t offset, int32_t value) {
  if (!ValidOffset(offset)) return;
  Ranges_[offset] = std::max(value, 0);
  SendRange(offset);
}

int32_t TJoystick::GetRange(int32_t offset) const {
  return ValidOffset(offset) ? Ranges_[offset] : 0;
}

void TJoystick::SetDeadZone(int32_t offset, int32_t percent) {
  if (!ValidOffset(offset)) return;
  DeadZones_[offset] = std::clamp(percent, 0, 100);
  SendDeadZone(offset);
}

int32_t TJoystick::GetDeadZone(int32_t offset) const {
  return ValidOffset(offset) ? DeadZones_[offset] : 0;
}

void TJoystick::SetAutocenter(bool value) {
  if (value == Autocenter_) return;
  Autocenter_ = value;
  if (Device_) Device_->SetAutocenter(value);
}

void TJoystick::SetDeviceIndex(int32_t value) {
  if (value == DeviceIndex_) return;
  DeviceIndex_ = value;
  Reinitialize();
}

void TJoystick::Poll() {
  if (Device_) {
    Device_->ReadState(State_);
  } else {
    State_ = platform::TPadState{};
  }
}

}  // namespace vexel
