#include "InputScript.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "CodePage1251.h"
#include "KeyNames.h"

namespace platform {
namespace {

using T = TPlatformEvent::TType;

TPlatformEvent MakeEvent(T type) {
  TPlatformEvent event;
  event.Type = type;
  return event;
}

bool ReadButton(std::istringstream& in, TPlatformEvent& event) {
  std::string word;
  if (!(in >> word)) return true;
  if (word == "left")
    event.Button = TPlatformEvent::TButton::Left;
  else if (word == "right")
    event.Button = TPlatformEvent::TButton::Right;
  else if (word == "middle")
    event.Button = TPlatformEvent::TButton::Middle;
  else
    return false;
  return true;
}

}  // namespace

int KeyOfWord(const std::string& word) {
  if (const int32_t named = KeyOfName(word)) return named;
  if (!word.empty() && std::all_of(word.begin(), word.end(), ::isdigit) && word.size() <= 3) {
    const int code = std::stoi(word);
    return code > 0 && code < 256 ? code : 0;
  }
  return 0;
}

bool TInputScript::ParseLine(const std::string& line, std::string& error) {
  std::istringstream in(line);
  long frame = 0;
  std::string verb;
  if (!(in >> frame >> verb) || frame < 0) {
    error = "expected a frame number and an event";
    return false;
  }
  if (verb == "keydown" || verb == "keyup" || verb == "key") {
    std::string word;
    in >> word;
    TPlatformEvent event = MakeEvent(verb == "keyup" ? T::KeyUp : T::KeyDown);
    event.Key = KeyOfWord(word);
    if (event.Key == 0) {
      error = "unknown key '" + word + "'";
      return false;
    }
    Events_.emplace(frame, event);
    if (verb == "key") {
      event.Type = T::KeyUp;
      Events_.emplace(frame + 1, event);
    }
    return true;
  }
  if (verb == "move" || verb == "down" || verb == "up" || verb == "click") {
    TPlatformEvent event = MakeEvent(verb == "move" ? T::MouseMove
                                     : verb == "up" ? T::MouseUp
                                                    : T::MouseDown);
    if (!(in >> event.X >> event.Y) || !ReadButton(in, event)) {
      error = "expected X Y [left|right|middle]";
      return false;
    }
    TPlatformEvent move = event;
    move.Type = T::MouseMove;
    if (verb != "move") Events_.emplace(frame, move);
    Events_.emplace(frame, event);
    if (verb == "click") {
      event.Type = T::MouseUp;
      Events_.emplace(frame + 1, event);
    }
    return true;
  }
  if (verb == "text") {
    std::string rest;
    std::getline(in >> std::ws, rest);
    for (char c : Utf8To1251(rest)) {
      TPlatformEvent event = MakeEvent(T::Char);
      event.Char = static_cast<uint8_t>(c);
      Events_.emplace(frame, event);
    }
    return true;
  }
  if (verb.starts_with("pad")) return ParsePadLine(frame, verb, in, error);
  if (verb == "close") {
    Events_.emplace(frame, MakeEvent(T::Close));
    return true;
  }
  error = "unknown event '" + verb + "'";
  return false;
}

bool TInputScript::ParsePadLine(long frame, const std::string& verb, std::istringstream& in,
                                std::string& error) {
  std::string name;
  in >> name;
  TPadEvent event;
  if (verb == "padaxis") {
    long value = 0;
    if (!PadAxisOfName(name, event.Axis)) {
      error = "unknown controller axis '" + name + "'";
      return false;
    }
    if (!(in >> value) || value < -32768 || value > 32767) {
      error = "expected an axis value from -32768 to 32767";
      return false;
    }
    event.Type = TPadEvent::TType::Axis;
    event.Value = static_cast<int16_t>(value);
    PadEvents_.emplace(frame, event);
    return true;
  }
  if (verb != "pad" && verb != "paddown" && verb != "padup") {
    error = "unknown event '" + verb + "'";
    return false;
  }
  if (!PadButtonOfName(name, event.Button)) {
    error = "unknown controller button '" + name + "'";
    return false;
  }
  event.Type = verb == "padup" ? TPadEvent::TType::ButtonUp : TPadEvent::TType::ButtonDown;
  PadEvents_.emplace(frame, event);
  if (verb == "pad") {
    event.Type = TPadEvent::TType::ButtonUp;
    PadEvents_.emplace(frame + 1, event);
  }
  return true;
}

bool TInputScript::Parse(const std::string& text, std::string& error) {
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const auto start = line.find_first_not_of(" \t\r");
    if (start == std::string::npos || line[start] == '#') continue;
    std::string reason;
    if (!ParseLine(line, reason)) {
      error = "line " + std::to_string(number) + ": " + reason;
      return false;
    }
  }
  return true;
}

bool TInputScript::Load(const std::string& path, std::string& error) {
  std::ifstream file(path);
  if (!file) {
    error = "cannot read input script '" + path + "'";
    return false;
  }
  std::stringstream text;
  text << file.rdbuf();
  return Parse(text.str(), error);
}

std::vector<TPadEvent> TInputScript::PadEventsAt(long frame) const {
  std::vector<TPadEvent> events;
  const auto [first, last] = PadEvents_.equal_range(frame);
  for (auto it = first; it != last; ++it) events.push_back(it->second);
  return events;
}

long TInputScript::LastFrame() const {
  const long keys = Events_.empty() ? -1 : Events_.rbegin()->first;
  const long pads = PadEvents_.empty() ? -1 : PadEvents_.rbegin()->first;
  return std::max(keys, pads);
}

std::vector<TPlatformEvent> TInputScript::EventsAt(long frame) const {
  std::vector<TPlatformEvent> events;
  const auto [first, last] = Events_.equal_range(frame);
  for (auto it = first; it != last; ++it) events.push_back(it->second);
  return events;
}

}  // namespace platform
