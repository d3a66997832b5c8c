#include "ArtDocument.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace artgen {

namespace {

constexpr int kMaxIncludeDepth = 8;

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::string unquote(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

ArtSection parseHeader(const std::string& line, const std::string& where) {
  if (line.back() != ']') throw std::runtime_error(where + ": section header without ']'");
  const std::string inner = trim(line.substr(1, line.size() - 2));
  const auto blank = inner.find(' ');
  ArtSection section;
  section.where = where;
  section.type = blank == std::string::npos ? inner : inner.substr(0, blank);
  section.name = blank == std::string::npos ? std::string{} : trim(inner.substr(blank + 1));
  if (section.type.empty()) throw std::runtime_error(where + ": empty section header");
  return section;
}

}  // namespace

ArtDocument ArtDocument::load(const std::filesystem::path& path) {
  ArtDocument doc;
  doc.includeFile(path, 0, path.string());
  return doc;
}

ArtDocument ArtDocument::parse(const std::string& text, const std::filesystem::path& origin) {
  ArtDocument doc;
  doc.parseInto(text, origin, 0);
  return doc;
}

void ArtDocument::includeFile(const std::filesystem::path& path, int depth,
                              const std::string& where) {
  if (depth > kMaxIncludeDepth) throw std::runtime_error(where + ": includes nested too deeply");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(where + ": cannot open " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  parseInto(text.str(), path, depth);
}

void ArtDocument::parseInto(const std::string& text, const std::filesystem::path& origin,
                            int depth) {
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    const std::string where = origin.string() + ":" + std::to_string(lineNo);
    const std::string line = trim(raw);
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("@include", 0) == 0) {
      const std::string name = trim(line.substr(8));
      if (name.empty()) throw std::runtime_error(where + ": @include without a file");
      includeFile(origin.parent_path() / name, depth + 1, where);
    } else if (line[0] == '[') {
      sections_.push_back(parseHeader(line, where));
    } else {
      const auto eq = line.find('=');
      if (eq == std::string::npos) throw std::runtime_error(where + ": expected key = value");
      if (sections_.empty()) throw std::runtime_error(where + ": parameter outside a section");
      const std::string key = trim(line.substr(0, eq));
      if (key.empty()) throw std::runtime_error(where + ": empty key");
      sections_.back().params.push_back({key, unquote(trim(line.substr(eq + 1))), where});
    }
  }
}

}  // namespace artgen
