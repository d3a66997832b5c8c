#include "GoToLink.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <utility>

namespace online {
namespace {

namespace fs = std::filesystem;

// Shortcut files are a few lines; anything longer is not read past this.
constexpr std::streamsize kMaxShortcutBytes = 64 * 1024;

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// A web address the desktop may open: http or https, a host, and no blanks or control bytes.
bool IsWebAddress(std::string_view url) {
  std::string_view rest;
  if (StartsWithNoCase(url, "http://")) {
    rest = url.substr(7);
  } else if (StartsWithNoCase(url, "https://")) {
    rest = url.substr(8);
  } else {
    return false;
  }
  const bool clean = std::none_of(url.begin(), url.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == 0x7F;
  });
  return clean && !rest.empty() && rest.front() != '/';
}

std::string ReadShortcut(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text(static_cast<size_t>(kMaxShortcutBytes), '\0');
  in.read(text.data(), kMaxShortcutBytes);
  text.resize(static_cast<size_t>(in.gcount()));
  return text;
}

}  // namespace

std::optional<fs::path> GameDataFile(const fs::path& dataDir, std::string_view gamePath) {
  std::string portable(gamePath);
  std::replace(portable.begin(), portable.end(), '\\', '/');
  const fs::path relative(portable);
  if (portable.empty() || relative.has_root_path()) return std::nullopt;
  for (const auto& part : relative) {
    if (part == "..") return std::nullopt;
  }
  return dataDir / relative;
}

std::string InternetShortcutUrl(std::string_view text) {
  // Keys outside the [InternetShortcut] section (BASEURL of [DEFAULT], ...) do not count.
  bool inShortcut = true;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = TrimBlanks(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.starts_with('[')) {
      inShortcut = EqualsNoCase(line, "[InternetShortcut]");
      continue;
    }
    const auto equals = line.find('=');
    if (!inShortcut || equals == std::string_view::npos) continue;
    if (!EqualsNoCase(TrimBlanks(line.substr(0, equals)), "URL")) continue;
    const std::string_view url = TrimBlanks(line.substr(equals + 1));
    return IsWebAddress(url) ? std::string(url) : std::string{};
  }
  return {};
}

TGoToLink::TGoToLink(fs::path dataDir, TDesktopOpener opener)
    : DataDir_(std::move(dataDir)), Opener_(std::move(opener)) {}

bool TGoToLink::OpenLinkFile(const std::string& gamePath) const {
  const auto file = GameDataFile(DataDir_, gamePath);
  std::error_code error;
  if (!file || !fs::is_regular_file(*file, error) || !Opener_) return false;
  if (!EqualsNoCase(file->extension().string(), ".url")) {
    const fs::path absolute = fs::absolute(*file, error);
    return !error && Opener_(absolute.string());
  }
  const std::string url = InternetShortcutUrl(ReadShortcut(*file));
  return !url.empty() && Opener_(url);
}

bool TGoToLink::OpenPlayLink() const {
  return OpenLinkFile("play.url");
}

}  // namespace online
