#include "VexelInput.h"

#include <algorithm>
#include <cstdio>

namespace vexel {
namespace {

bool Lists(const std::vector<platform::TControllerInfo>& list, int32_t instanceId) {
  return std::any_of(list.begin(), list.end(),
                     [&](const auto& info) { return info.InstanceId == instanceId; });
}

bool SameControllers(const std::vector<platform::TControllerInfo>& a,
                     const std::vector<platform::TControllerInfo>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const auto& x, const auto& y) { return x.InstanceId == y.InstanceId; });
}

}  // namespace

TVexelInput::TVexelInput() : First_(std::make_unique<TJoystick>(*this)) {}

TVexelInput::~TVexelInput() {
  Finalize();
  First_.reset();
}

void TVexelInput::AddJoystick(TJoystick* joystick) {
  Joysticks_.push_back(joystick);
}

void TVexelInput::RemoveJoystick(TJoystick* joystick) {
  Joysticks_.erase(std::remove(Joysticks_.begin(), Joysticks_.end(), joystick), Joysticks_.end());
}

void TVexelInput::Finalize() {
  Initialized_ = false;
  Further_.clear();
  // Open controllers go before the service that opened them.
  First_->Finalize();
  Controllers_.reset();
  Known_.clear();
}

void TVexelInput::Initialize() {
  Finalize();
  Controllers_ = std::make_unique<platform::TControllerSystem>();
  if (!Controllers_->Ready()) Controllers_.reset();
  Initialized_ = true;
  Rescan();
}

void TVexelInput::Rescan() {
  Further_.clear();
  Known_ = Controllers_ ? Controllers_->Attached() : std::vector<platform::TControllerInfo>{};
  for (size_t index = 1; index < Known_.size(); ++index) {
    Further_.push_back(std::make_unique<TJoystick>(*this, *First_, static_cast<int32_t>(index)));
  }
  for (auto* joystick : Joysticks_) joystick->Initialize();
  for (auto* joystick : Joysticks_) joystick->Acquire();
}

void TVexelInput::ReportChanges(const std::vector<platform::TControllerInfo>& now) const {
  for (const auto& info : Known_) {
    if (!Lists(now, info.InstanceId)) {
      std::fprintf(stderr, "Game controller unplugged: %s\n", info.Name.c_str());
    }
  }
  for (const auto& info : now) {
    if (!Lists(Known_, info.InstanceId)) {
      std::fprintf(stderr, "Game controller plugged in: %s\n", info.Name.c_str());
    }
  }
}

void TVexelInput::Update() {
  if (!Initialized_ || !Controllers_) return;
  Controllers_->Update();
  const auto now = Controllers_->Attached();
  if (!SameControllers(now, Known_)) {
    ReportChanges(now);
    Rescan();
  }
  for (auto* joystick : Joysticks_) joystick->Poll();
}

std::vector<platform::TPadState> TVexelInput::States() const {
  std::vector<platform::TPadState> states;
  for (const auto* joystick : Joysticks_) {
    if (joystick->Initialized()) states.push_back(joystick->State());
  }
  return states;
}

}  // namespace vexel
