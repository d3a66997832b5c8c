#pragma once
// How the race's view follows the player's car, and the names the settings write it with.

#include <array>
#include <cstdint>
#include <string>

namespace game {

/// How the race's view follows the player's car.
enum class TCameraMode : uint8_t {
  /// The view leads the car in its direction of travel, more the faster it goes.
  LookAhead,
  /// The car stays at its fixed screen point (PlayerScreenX, PlayerScreenY).
  Classic,
};

/// Every camera mode, in the order the settings list them.
inline constexpr std::array<TCameraMode, 2> kCameraModes = {TCameraMode::LookAhead,
                                                            TCameraMode::Classic};

/// The written name of a camera mode ("look-ahead", "classic").
inline std::string CameraModeName(TCameraMode mode) {
  return mode == TCameraMode::Classic ? "classic" : "look-ahead";
}

/// Reads a camera mode from its written name; false, leaving mode alone, when it names none.
inline bool ParseCameraMode(const std::string& name, TCameraMode& mode) {
  for (TCameraMode candidate : kCameraModes) {
    if (name == CameraModeName(candidate)) {
      mode = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace game
