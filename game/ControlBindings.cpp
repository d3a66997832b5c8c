#include "ControlBindings.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "SafeFileWriter.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

using platform::TPadAxis;
using platform::TPadButton;

struct TActionInfo {
  const char* Name;
  int32_t Key;
  const char* Comment;
};

constexpr TActionInfo kActions[kRaceActionCount] = {
    {"throttle", platform::VK_UP, "Accelerate."},
    {"brake", platform::VK_DOWN, "Brake, and reverse once stopped."},
    {"left", platform::VK_LEFT, "Steer left."},
    {"right", platform::VK_RIGHT, "Steer right."},
    {"handbrake", platform::VK_SPACE, "Handbrake, for sliding through tight turns."},
    {"pause", 'P', "Pause the race, and carry on again."},
    {"quit", platform::VK_ESCAPE, "Ask whether to leave the race."},
    {"recover", 'R', "Put the car back on the road at the last checkpoint passed."},
};

constexpr const char* kHeader =
    "; Comet Lane Derby controls for a race.\n"
    "; Each action takes one or more inputs, separated by commas:\n"
    ";   keys by name: a..z, 0..9, up, down, left, right, space, enter, escape, tab, shift,\n"
    ";     ctrl, alt, f1..f24, numpad0..numpad9, home, end, insert, delete, pageup, pagedown\n"
    ";   controller buttons: pad:a, pad:b, pad:x, pad:y, pad:back, pad:start, pad:dpup,\n"
    ";     pad:dpdown, pad:dpleft, pad:dpright, pad:leftshoulder, pad:rightshoulder,\n"
    ";     pad:leftstick, pad:rightstick\n"
    ";   controller axes past their dead zone: pad:leftx-, pad:leftx+, pad:lefty-, pad:lefty+,\n"
    ";     pad:rightx-, pad:rightx+, pad:righty-, pad:righty+, pad:lefttrigger, pad:righttrigger\n"
    "; A line the game cannot read keeps that action's default. Delete this file to get every\n"
    "; default back.\n";

bool ActionOfName(const std::string& name, TRaceAction& action) {
  for (size_t i = 0; i < kRaceActionCount; ++i) {
    if (name == kActions[i].Name) {
      action = static_cast<TRaceAction>(i);
      return true;
    }
  }
  return false;
}

// The inputs of a comma-separated list; false with the reason when one is not an input.
bool ParseInputs(const std::string& list, std::vector<TControlInput>& inputs, std::string& error) {
  std::istringstream items(list);
  std::string item;
  while (std::getline(items, item, ',')) {
    TControlInput input;
    if (!TControlInput::Parse(TIniReader::Trim(item), input, error)) return false;
    inputs.push_back(input);
  }
  if (inputs.empty()) {
    error = "no inputs";
    return false;
  }
  return true;
}

}  // namespace

TControlBindings::TControlBindings() {
  for (size_t i = 0; i < kRaceActionCount; ++i) {
    Inputs_[i] = DefaultInputs(static_cast<TRaceAction>(i));
  }
}

std::string TControlBindings::ActionName(TRaceAction action) {
  return kActions[static_cast<size_t>(action)].Name;
}

int32_t TControlBindings::ActionKey(TRaceAction action) {
  return kActions[static_cast<size_t>(action)].Key;
}

std::vector<TControlInput> TControlBindings::DefaultInputs(TRaceAction action) {
  using I = TControlInput;
  const I key = I::OfKey(ActionKey(action));
  switch (action) {
    case TRaceAction::Throttle:
      return {key, I::OfAxis(TPadAxis::RightTrigger, 1), I::OfButton(TPadButton::A)};
    case TRaceAction::Brake:
      return {key, I::OfAxis(TPadAxis::LeftTrigger, 1), I::OfButton(TPadButton::B)};
    case TRaceAction::Left:
      return {key, I::OfAxis(TPadAxis::LeftX, -1), I::OfButton(TPadButton::DpadLeft)};
    case TRaceAction::Right:
      return {key, I::OfAxis(TPadAxis::LeftX, 1), I::OfButton(TPadButton::DpadRight)};
    case TRaceAction::Handbrake:
      return {key, I::OfButton(TPadButton::X)};
    case TRaceAction::Pause:
      return {key, I::OfButton(TPadButton::Start)};
    case TRaceAction::Quit:
      return {key, I::OfButton(TPadButton::Back)};
    case TRaceAction::Recover:
      return {key, I::OfButton(TPadButton::Y)};
  }
  return {key};
}

const std::vector<TControlInput>& TControlBindings::Inputs(TRaceAction action) const {
  return Inputs_[static_cast<size_t>(action)];
}

void TControlBindings::SetInputs(TRaceAction action, std::vector<TControlInput> inputs) {
  Inputs_[static_cast<size_t>(action)] = std::move(inputs);
}

void TControlBindings::Note(int lineNumber, const std::string& problem) {
  Problems_.push_back("controls.ini line " + std::to_string(lineNumber) + ": " + problem);
}

void TControlBindings::ParseEntry(const TIniReader::TEntry& entry) {
  TRaceAction action{};
  if (!ActionOfName(entry.Name, action)) {
    Note(entry.LineNumber, "unknown action '" + entry.Name + "'");
    return;
  }
  std::vector<TControlInput> inputs;
  std::string error;
  if (!ParseInputs(entry.Value, inputs, error)) {
    Note(entry.LineNumber, error + "; " + entry.Name + " keeps its default");
    return;
  }
  SetInputs(action, std::move(inputs));
}

void TControlBindings::Parse(const std::string& text) {
  TIniReader::Read(
      text, [this](const TIniReader::TEntry& entry) { ParseEntry(entry); },
      [this](int lineNumber, const std::string& line) {
        Note(lineNumber, "expected ACTION = INPUT, INPUT, ... but found '" + line + "'");
      });
}

std::string TControlBindings::Text() const {
  std::string text = kHeader;
  for (size_t i = 0; i < kRaceActionCount; ++i) {
    text += std::string("\n; ") + kActions[i].Comment + "\n" + kActions[i].Name + " =";
    const auto& inputs = Inputs_[i];
    for (size_t n = 0; n < inputs.size(); ++n) text += (n ? ", " : " ") + inputs[n].Name();
    text += "\n";
  }
  return text;
}

void TControlBindings::LoadOrCreate(const std::string& path) {
  const size_t firstNew = Problems_.size();
  std::string error;
  switch (TSafeFileWriter::CreateNew(path, TControlBindings().Text(), error)) {
    case TSafeFileWriter::TCreate::Created:
      break;
    case TSafeFileWriter::TCreate::Failed:
      Problems_.push_back("cannot write '" + path + "'; using the defaults");
      break;
    case TSafeFileWriter::TCreate::Exists:
      if (std::ifstream file{path, std::ios::binary}) {
        std::stringstream text;
        text << file.rdbuf();
        Parse(text.str());
      } else {
        Problems_.push_back("cannot read '" + path + "'; using the defaults");
      }
      break;
  }
  for (size_t i = firstNew; i < Problems_.size(); ++i) {
    std::fprintf(stderr, "%s\n", Problems_[i].c_str());
  }
}

}  // namespace game
