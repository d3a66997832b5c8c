#include "OptionsIni.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

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

}  // namespace

void TOptionsIni::Note(int lineNumber, const std::string& problem) {
  Problems_.push_back(std::string(kFileName) + " line " + std::to_string(lineNumber) + ": " +
                      problem);
}

void TOptionsIni::ParseEntry(const TIniReader::TEntry& entry) {
  if (entry.Name != "camera") {
    Note(entry.LineNumber, "unknown option '" + entry.Name + "'");
    return;
  }
  const std::string value = TIniReader::Lower(entry.Value);
  if (!ParseCameraMode(value, Camera)) {
    Note(entry.LineNumber,
         "camera must be look-ahead or classic, not '" + value + "'; camera keeps its default");
  }
}

void TOptionsIni::Parse(const std::string& text) {
  TIniReader::Read(
      text, [this](const TIniReader::TEntry& entry) { ParseEntry(entry); },
      [this](int lineNumber, const std::string& line) {
        Note(lineNumber, "expected NAME = VALUE but found '" + line + "'");
      });
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
