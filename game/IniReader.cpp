#include "IniReader.h"

#include <cctype>
#include <sstream>
#include <string_view>

namespace game {

void TIniReader::Read(const std::string& text, const std::function<void(const TEntry&)>& entry,
                      const std::function<void(int, const std::string&)>& malformed) {
  // Editors that save UTF-8 with a byte-order mark put it before the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::istringstream lines(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size())
                                                            : text);
  std::string rawLine;
  for (int number = 1; std::getline(lines, rawLine); ++number) {
    const std::string line = Trim(rawLine.substr(0, rawLine.find_first_of(";#")));
    if (line.empty() || line.front() == '[') continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos) {
      malformed(number, line);
      continue;
    }
    entry({number, Lower(Trim(line.substr(0, equals))), Trim(line.substr(equals + 1))});
  }
}

std::string TIniReader::Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string TIniReader::Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace game
