#include "ScoreServerAddress.h"

#include <filesystem>
#include <fstream>

namespace online {

namespace {

std::string Tidy(std::string text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  size_t start = 0;
  while (start < text.size() && blank(text[start])) ++start;
  text.erase(0, start);
  while (!text.empty() && text.back() == '/') text.pop_back();
  return text;
}

std::string FirstLineOf(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

bool IsScoreServerAddress(const std::string& address) {
  for (const std::string scheme : {"http://", "https://"}) {
    if (address.rfind(scheme, 0) == 0) {
      const std::string rest = address.substr(scheme.size());
      return !rest.empty() && rest.front() != '/' &&
             rest.find_first_of(" \t\r\n?#") == std::string::npos;
    }
  }
  return false;
}

std::string ResolveScoreServer(const std::string& option, const std::string& configDir) {
  const std::string fromOption = Tidy(option);
  if (!fromOption.empty()) return fromOption;
  const std::string fromFile =
      Tidy(FirstLineOf(std::filesystem::path(configDir) / kScoreServerFileName));
  if (IsScoreServerAddress(fromFile)) return fromFile;
  return kDefaultScoreServer;
}

}  // namespace online
