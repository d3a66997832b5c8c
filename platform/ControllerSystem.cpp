#include "ControllerSystem.h"

#include <SDL.h>

#include <cstring>

namespace platform {

TControllerSystem::TControllerSystem() {
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    Error_ = SDL_GetError();
    return;
  }
  Ready_ = true;
  // Force feedback only serves self-centring; without it controllers still work.
  Haptic_ = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
  SDL_GameControllerEventState(SDL_IGNORE);
  SDL_JoystickEventState(SDL_IGNORE);
}

TControllerSystem::~TControllerSystem() {
  if (Haptic_) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
  if (Ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void TControllerSystem::Update() {
  if (Ready_) SDL_GameControllerUpdate();
}

std::vector<TControllerInfo> TControllerSystem::Attached() const {
  std::vector<TControllerInfo> list;
  if (!Ready_) return list;
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) {
    if (SDL_IsGameController(i) != SDL_TRUE) continue;
    TControllerInfo info;
    info.InstanceId = SDL_JoystickGetDeviceInstanceID(i);
    const SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(i);
    std::memcpy(info.Guid.data(), guid.data, info.Guid.size());
    const char* name = SDL_GameControllerNameForIndex(i);
    info.Name = name ? name : "";
    list.push_back(info);
  }
  return list;
}

std::unique_ptr<TControllerDevice> TControllerSystem::Open(int32_t instanceId) const {
  if (!Ready_) return nullptr;
  const int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) {
    if (SDL_JoystickGetDeviceInstanceID(i) != instanceId) continue;
    SDL_GameController* controller = SDL_GameControllerOpen(i);
    if (!controller) return nullptr;
    return std::make_unique<TControllerDevice>(controller);
  }
  return nullptr;
}

}  // namespace platform
