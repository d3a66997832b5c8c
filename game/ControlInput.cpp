#include "ControlInput.h"

#include <cctype>

#include "platform/KeyNames.h"

namespace game {
namespace {

constexpr const char* kPadPrefix = "pad:";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool ParsePadAxis(const std::string& name, TControlInput& input, std::string& error) {
  std::string axisName = name;
  int32_t direction = 0;
  if (!axisName.empty() && (axisName.back() == '+' || axisName.back() == '-')) {
    direction = axisName.back() == '+' ? 1 : -1;
    axisName.pop_back();
  }
  platform::TPadAxis axis{};
  if (!platform::PadAxisOfName(axisName, axis)) {
    error = "unknown controller button or axis '" + name + "'";
    return false;
  }
  if (platform::IsTrigger(axis)) {
    if (direction < 0) {
      error = "a trigger only moves one way: '" + name + "'";
      return false;
    }
    direction = 1;
  }
  if (direction == 0) {
    error = "say which way the axis goes: '" + name + "+' or '" + name + "-'";
    return false;
  }
  input = TControlInput::OfAxis(axis, direction);
  return true;
}

}  // namespace

TControlInput TControlInput::OfKey(int32_t key) {
  TControlInput input;
  input.Kind = TKind::Key;
  input.Key = key;
  return input;
}

TControlInput TControlInput::OfButton(platform::TPadButton button) {
  TControlInput input;
  input.Kind = TKind::PadButton;
  input.Button = button;
  return input;
}

TControlInput TControlInput::OfAxis(platform::TPadAxis axis, int32_t direction) {
  TControlInput input;
  input.Kind = TKind::PadAxis;
  input.Axis = axis;
  input.Direction = direction < 0 ? -1 : 1;
  return input;
}

bool TControlInput::Parse(const std::string& written, TControlInput& input, std::string& error) {
  const std::string text = Lower(written);
  if (text.rfind(kPadPrefix, 0) == 0) {
    const std::string name = text.substr(std::char_traits<char>::length(kPadPrefix));
    platform::TPadButton button{};
    if (platform::PadButtonOfName(name, button)) {
      input = OfButton(button);
      return true;
    }
    return ParsePadAxis(name, input, error);
  }
  const int32_t key = platform::KeyOfName(text);
  if (key == 0) {
    error = "unknown key '" + written + "'";
    return false;
  }
  input = OfKey(key);
  return true;
}

std::string TControlInput::Name() const {
  switch (Kind) {
    case TKind::Key:
      return platform::KeyName(Key);
    case TKind::PadButton:
      return kPadPrefix + platform::PadButtonName(Button);
    case TKind::PadAxis: {
      const std::string axis = kPadPrefix + platform::PadAxisName(Axis);
      if (platform::IsTrigger(Axis)) return axis;
      return axis + (Direction < 0 ? "-" : "+");
    }
  }
  return "";
}

bool TControlInput::ActiveOn(const platform::TPadState& state) const {
  switch (Kind) {
    case TKind::Key:
      return false;
    case TKind::PadButton:
      return state.Button(Button);
    case TKind::PadAxis:
      return Direction < 0 ? state.Axis(Axis) < 0 : state.Axis(Axis) > 0;
  }
  return false;
}

}  // namespace game
