#include "OptionsIni.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "SafeFileWriter.h"

namespace game {
namespace {

constexpr const char* kHeader =
    "; Comet Lane Derby options: one \"name = value\" line each. A line the game cannot read\n"
    "; keeps that option's default. Delete this file to get every default back.\n";

constexpr const char* kCameraComment =
    "; How the race's view follows your car:\n"
    ";   look-ahead  the view leads the car in its direction of travel, more the faster it goes\n"
    ";   classic     the car stays at one point of the screen\n";

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

void TOptionsIni::Note(int lineNumber, const std::string& problem) {
  Problems_.push_back(std::string(kFileName) + " line " + std::to_string(lineNumber) + ": " +
                      problem);
}

void TOptionsIni::ParseLine(int lineNumber, const std::string& rawLine) {
  const std::string line = Trim(rawLine.substr(0, rawLine.find_first_of(";#")));
  if (line.empty() || line.front() == '[') return;
  const auto equals = line.find('=');
  if (equals == std::string::npos) {
    Note(lineNumber, "expected NAME = VALUE but found '" + line + "'");
    return;
  }
  const std::string name = Lower(Trim(line.substr(0, equals)));
  const std::string value = Lower(Trim(line.substr(equals + 1)));
  if (name != "camera") {
    Note(lineNumber, "unknown option '" + name + "'");
    return;
  }
  if (!ParseCameraMode(value, Camera)) {
    Note(lineNumber,
         "camera must be look-ahead or classic, not '" + value + "'; camera keeps its default");
  }
}

void TOptionsIni::Parse(const std::string& text) {
  // Editors that save UTF-8 with a byte-order mark put it before the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::istringstream lines(text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size())
                                                            : text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) ParseLine(number, line);
}

std::string TOptionsIni::Text() const {
  return std::string(kHeader) + "\n" + kCameraComment + "camera = " + CameraModeName(Camera) + "\n";
}

bool TOptionsIni::Load(const std::string& path) {
  const size_t firstNew = Problems_.size();
  std::error_code code;
  const bool present = std::filesystem::exists(path, code);
  if (present) {
    if (std::ifstream file{path, std::ios::binary}) {
      std::stringstream text;
      text << file.rdbuf();
      Parse(text.str());
    } else {
      Problems_.push_back("cannot read '" + path + "'; using the defaults");
    }
  }
  for (size_t i = firstNew; i < Problems_.size(); ++i) {
    std::fprintf(stderr, "%s\n", Problems_[i].c_str());
  }
  return present;
}

bool TOptionsIni::Save(const std::string& path, std::string& error) const {
  return TSafeFileWriter::Replace(path, Text(), error);
}

bool TOptionsIni::SaveIfMissing(const std::string& path, std::string& error) const {
  return TSafeFileWriter::CreateNew(path, Text(), error) != TSafeFileWriter::TCreate::Failed;
}

}  // namespace game
