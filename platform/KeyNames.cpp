#include "KeyNames.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "VirtualKeys.h"

namespace platform {
namespace {

constexpr std::pair<const char*, int32_t> kNamedKeys[] = {
    {"backspace", VK_BACK},
    {"tab", VK_TAB},
    {"enter", VK_RETURN},
    {"shift", VK_SHIFT},
    {"ctrl", VK_CONTROL},
    {"alt", VK_MENU},
    {"pause", VK_PAUSE},
    {"capslock", VK_CAPITAL},
    {"escape", VK_ESCAPE},
    {"space", VK_SPACE},
    {"pageup", VK_PRIOR},
    {"pagedown", VK_NEXT},
    {"end", VK_END},
    {"home", VK_HOME},
    {"left", VK_LEFT},
    {"up", VK_UP},
    {"right", VK_RIGHT},
    {"down", VK_DOWN},
    {"insert", VK_INSERT},
    {"delete", VK_DELETE},
    {"multiply", VK_MULTIPLY},
    {"add", VK_ADD},
    {"subtract", VK_SUBTRACT},
    {"decimal", VK_DECIMAL},
    {"divide", VK_DIVIDE},
    {"numlock", VK_NUMLOCK},
    {"scrolllock", VK_SCROLL},
    {"semicolon", VK_OEM_1},
    {"equals", VK_OEM_PLUS},
    {"comma", VK_OEM_COMMA},
    {"minus", VK_OEM_MINUS},
    {"period", VK_OEM_PERIOD},
    {"slash", VK_OEM_2},
    {"backquote", VK_OEM_3},
    {"leftbracket", VK_OEM_4},
    {"backslash", VK_OEM_5},
    {"rightbracket", VK_OEM_6},
    {"quote", VK_OEM_7},
};
constexpr int32_t kFunctionKeys = 24;
constexpr int32_t kNumpadKeys = 10;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The number after a prefix ("f12" after "f"), or -1.
int32_t NumberAfter(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.size() > prefix.size() + 2) return -1;
  if (name.compare(0, prefix.size(), prefix) != 0) return -1;
  const std::string digits = name.substr(prefix.size());
  if (!std::all_of(digits.begin(), digits.end(), ::isdigit)) return -1;
  return std::stoi(digits);
}

}  // namespace

std::string KeyName(int32_t virtualKey) {
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
    return std::string(1, static_cast<char>(std::tolower(virtualKey)));
  }
  if (virtualKey >= VK_F1 && virtualKey < VK_F1 + kFunctionKeys) {
    return std::string("f").append(std::to_string(virtualKey - VK_F1 + 1));
  }
  if (virtualKey >= VK_NUMPAD0 && virtualKey < VK_NUMPAD0 + kNumpadKeys) {
    return std::string("numpad").append(std::to_string(virtualKey - VK_NUMPAD0));
  }
  for (const auto& [name, code] : kNamedKeys) {
    if (code == virtualKey) return name;
  }
  return "";
}

int32_t KeyOfName(const std::string& name) {
  const std::string lower = Lower(name);
  if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0]))) {
    return std::toupper(static_cast<unsigned char>(lower[0]));
  }
  for (const auto& [keyName, code] : kNamedKeys) {
    if (lower == keyName) return code;
  }
  const int32_t function = NumberAfter(lower, "f");
  if (function >= 1 && function <= kFunctionKeys) return VK_F1 + function - 1;
  const int32_t numpad = NumberAfter(lower, "numpad");
  if (numpad >= 0 && numpad < kNumpadKeys) return VK_NUMPAD0 + numpad;
  return 0;
}

}  // namespace platform
