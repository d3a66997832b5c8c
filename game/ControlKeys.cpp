#include "ControlKeys.h"

#include <algorithm>

#include "platform/VirtualKeys.h"

namespace game {
namespace {

using platform::TPadAxis;
using platform::TPadButton;
using platform::TPadState;

// Bit of a button, and of each direction of an axis, in a mask of a controller's active inputs.
uint32_t ButtonBit(int32_t button) {
  return 1u << button;
}
uint32_t AxisBit(int32_t axis, bool positive) {
  return 1u << (platform::kPadButtonCount + 2 * axis + (positive ? 0 : 1));
}

uint32_t ActiveInputs(const TPadState& pad) {
  uint32_t mask = 0;
  for (int32_t b = 0; b < platform::kPadButtonCount; ++b) {
    if (pad.Buttons[b]) mask |= ButtonBit(b);
  }
  for (int32_t a = 0; a < platform::kPadAxisCount; ++a) {
    if (pad.Axes[a] != 0) mask |= AxisBit(a, pad.Axes[a] > 0);
  }
  return mask;
}

// The state with the set-aside inputs at rest.
TPadState WithoutInputs(TPadState pad, uint32_t setAside) {
  for (int32_t b = 0; b < platform::kPadButtonCount; ++b) {
    if (setAside & ButtonBit(b)) pad.Buttons[b] = false;
  }
  for (int32_t a = 0; a < platform::kPadAxisCount; ++a) {
    if (pad.Axes[a] != 0 && (setAside & AxisBit(a, pad.Axes[a] > 0))) pad.Axes[a] = 0;
  }
  return pad;
}

struct TMenuInput {
  int32_t Key;
  TControlInput Input;
};

const std::vector<TMenuInput>& MenuInputs() {
  using I = TControlInput;
  static const std::vector<TMenuInput> kInputs = {
      {platform::VK_UP, I::OfButton(TPadButton::DpadUp)},
      {platform::VK_UP, I::OfAxis(TPadAxis::LeftY, -1)},
      {platform::VK_DOWN, I::OfButton(TPadButton::DpadDown)},
      {platform::VK_DOWN, I::OfAxis(TPadAxis::LeftY, 1)},
      {platform::VK_LEFT, I::OfButton(TPadButton::DpadLeft)},
      {platform::VK_LEFT, I::OfAxis(TPadAxis::LeftX, -1)},
      {platform::VK_RIGHT, I::OfButton(TPadButton::DpadRight)},
      {platform::VK_RIGHT, I::OfAxis(TPadAxis::LeftX, 1)},
      {platform::VK_RETURN, I::OfButton(TPadButton::A)},
      {platform::VK_RETURN, I::OfButton(TPadButton::Start)},
      {platform::VK_ESCAPE, I::OfButton(TPadButton::B)},
      {platform::VK_ESCAPE, I::OfButton(TPadButton::Back)},
      // The track choice's TIME TRIAL; no other menu has a use for Y.
      {'T', I::OfButton(TPadButton::Y)},
  };
  return kInputs;
}

bool IsActionKey(int32_t key) {
  for (size_t i = 0; i < kRaceActionCount; ++i) {
    if (TControlBindings::ActionKey(static_cast<TRaceAction>(i)) == key) return true;
  }
  return false;
}

}  // namespace

TControlKeys::TControlKeys(TControlBindings bindings) : Bindings_(std::move(bindings)) {}

std::vector<int32_t> TControlKeys::KeyTargets(int32_t key) const {
  if (Mode_ == TControlMode::Menu) return {key};
  std::vector<int32_t> targets;
  const TControlInput input = TControlInput::OfKey(key);
  for (size_t i = 0; i < kRaceActionCount; ++i) {
    const auto action = static_cast<TRaceAction>(i);
    const auto& inputs = Bindings_.Inputs(action);
    if (std::find(inputs.begin(), inputs.end(), input) != inputs.end()) {
      targets.push_back(TControlBindings::ActionKey(action));
    }
  }
  if (targets.empty() && !IsActionKey(key)) targets.push_back(key);
  return targets;
}

std::set<int32_t> TControlKeys::PadTargets(const TPadState& pad) const {
  std::set<int32_t> targets;
  if (Mode_ == TControlMode::Menu) {
    for (const auto& [key, input] : MenuInputs()) {
      if (input.ActiveOn(pad)) targets.insert(key);
    }
    return targets;
  }
  for (size_t i = 0; i < kRaceActionCount; ++i) {
    const auto action = static_cast<TRaceAction>(i);
    for (const auto& input : Bindings_.Inputs(action)) {
      if (input.ActiveOn(pad)) targets.insert(TControlBindings::ActionKey(action));
    }
  }
  return targets;
}

std::vector<TKeyTransition> TControlKeys::Settle() {
  std::set<int32_t> held = PadHeld_;
  for (const auto& [key, targets] : HeldKeys_) held.insert(targets.begin(), targets.end());
  std::vector<TKeyTransition> changes;
  for (int32_t key : Down_) {
    if (!held.count(key)) changes.push_back({TKeyTransition::TKind::Up, key});
  }
  for (int32_t key : held) {
    if (!Down_.count(key)) changes.push_back({TKeyTransition::TKind::Down, key});
  }
  Down_ = std::move(held);
  return changes;
}

std::vector<TKeyTransition> TControlKeys::SetMode(TControlMode mode) {
  if (mode == Mode_) return {};
  std::vector<TKeyTransition> changes;
  for (int32_t key : Down_) changes.push_back({TKeyTransition::TKind::Cancel, key});
  Down_.clear();
  PadHeld_.clear();
  for (auto& [key, targets] : HeldKeys_) targets.clear();
  SetAside_.assign(LastPads_.size(), 0);
  for (size_t i = 0; i < LastPads_.size(); ++i) SetAside_[i] = ActiveInputs(LastPads_[i]);
  Mode_ = mode;
  return changes;
}

std::vector<TKeyTransition> TControlKeys::KeyDown(int32_t key) {
  if (HeldKeys_.count(key)) return {};
  HeldKeys_[key] = KeyTargets(key);
  return Settle();
}

std::vector<TKeyTransition> TControlKeys::KeyUp(int32_t key) {
  if (HeldKeys_.erase(key)) return Settle();
  // A key that went down before this object knew of it comes up as what it stands for now.
  std::vector<TKeyTransition> changes;
  for (int32_t target : KeyTargets(key)) {
    if (!Down_.count(target)) changes.push_back({TKeyTransition::TKind::Up, target});
  }
  return changes;
}

std::vector<TKeyTransition> TControlKeys::PadFrame(const std::vector<TPadState>& pads) {
  SetAside_.resize(pads.size(), 0);
  PadHeld_.clear();
  for (size_t i = 0; i < pads.size(); ++i) {
    SetAside_[i] &= ActiveInputs(pads[i]);
    const auto targets = PadTargets(WithoutInputs(pads[i], SetAside_[i]));
    PadHeld_.insert(targets.begin(), targets.end());
  }
  LastPads_ = pads;
  return Settle();
}

}  // namespace game
