#pragma once
// One opened game controller.

#include <array>
#include <cstdint>
#include <string>

#include "PadLayout.h"
#include "PadState.h"

struct _SDL_GameController;
struct _SDL_Haptic;

namespace platform {

/// One opened game controller in the standard layout. Like any input device it keeps a range and
/// a dead zone per axis, which shape the values it reports, and must be acquired before it
/// reports anything. Made by TControllerSystem::Open; closes the controller when destroyed.
class TControllerDevice {
 public:
  /// Takes over an opened controller.
  explicit TControllerDevice(_SDL_GameController* controller);
  ~TControllerDevice();
  TControllerDevice(const TControllerDevice&) = delete;
  TControllerDevice& operator=(const TControllerDevice&) = delete;

  /// How many buttons and axes the underlying device has.
  int32_t ButtonCount() const;
  int32_t AxesCount() const;
  /// The controller's name.
  std::string Name() const;
  /// Reports the axis from Min (one end) to Max (other end); a trigger from the middle to Max.
  void SetAxisRange(TPadAxis axis, int32_t min, int32_t max);
  /// The reported range of an axis.
  std::pair<int32_t, int32_t> AxisRange(TPadAxis axis) const;
  /// Reports the middle for the first DeadZone / 10000 of the axis' travel (clamped to 0..10000).
  void SetAxisDeadZone(TPadAxis axis, int32_t deadZone);
  /// The dead zone of an axis in ten-thousandths of its travel.
  int32_t AxisDeadZone(TPadAxis axis) const;
  /// Switches the force-feedback self-centring on or off; false when the device has none.
  bool SetAutocenter(bool on);
  /// Whether self-centring was last asked on.
  bool Autocenter() const { return Autocenter_; }
  /// Starts reporting.
  void Acquire() { Acquired_ = true; }
  /// Stops reporting.
  void Unacquire() { Acquired_ = false; }
  /// Whether the device reports.
  bool Acquired() const { return Acquired_; }
  /// Whether the controller is still plugged in.
  bool Attached() const;
  /// The current state, scaled; false (and a resting state) when not acquired or unplugged.
  bool ReadState(TPadState& state) const;
  /// Scales a raw axis value (-32768..32767) by this axis' range and dead zone.
  int32_t ScaleAxis(TPadAxis axis, int32_t raw) const;

 private:
  struct TAxisShape {
    int32_t Min = -32768;
    int32_t Max = 32767;
    int32_t DeadZone = 0;
  };
  _SDL_GameController* Controller_;
  _SDL_Haptic* Haptic_ = nullptr;
  std::array<TAxisShape, kPadAxisCount> Axes_{};
  bool Autocenter_ = false;
  bool Acquired_ = false;
};

}  // namespace platform
