#include "ArtDocument.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace artgen {

namespace {

constexpr int kMaxIncludeDepth = 8;

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::string Unquote(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

TArtSection ParseHeader(const std::string& line, const std::string& where) {
  if (line.back() != ']') throw std::runtime_error(where + ": section header without ']'");
  const std::string inner = Trim(line.substr(1, line.size() - 2));
  const auto blank = inner.find(' ');
  TArtSection section;
  section.Where = where;
  section.Type = blank == std::string::npos ? inner : inner.substr(0, blank);
  section.Name = blank == std::string::npos ? std::string{} : Trim(inner.substr(blank + 1));
  if (section.Type.empty()) throw std::runtime_error(where + ": empty section header");
  return section;
}

}  // namespace

TArtDocument TArtDocument::Load(const std::filesystem::path& path) {
  TArtDocument doc;
  doc.IncludeFile(path, 0, path.string());
  return doc;
}

TArtDocument TArtDocument::Parse(const std::string& text, const std::filesystem::path& origin) {
  TArtDocument doc;
  doc.ParseInto(text, origin, 0);
  return doc;
}

void TArtDocument::IncludeFile(const std::filesystem::path& path, int depth,
                               const std::string& where) {
  if (depth > kMaxIncludeDepth) throw std::runtime_error(where + ": includes nested too deeply");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(where + ": cannot open " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  ParseInto(text.str(), path, depth);
}

void TArtDocument::ParseInto(const std::string& text, const std::filesystem::path& origin,
                             int depth) {
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    const std::string where = origin.string() + ":" + std::to_string(lineNo);
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("@include", 0) == 0) {
      const std::string name = Trim(line.substr(8));
      if (name.empty()) throw std::runtime_error(where + ": @include without a file");
      IncludeFile(origin.parent_path() / name, depth + 1, where);
    } else if (line[0] == '[') {
      Sections_.push_back(ParseHeader(line, where));
    } else {
      const auto eq = line.find('=');
      if (eq == std::string::npos) throw std::runtime_error(where + ": expected key = value");
      if (Sections_.empty()) throw std::runtime_error(where + ": parameter outside a section");
      const std::string key = Trim(line.substr(0, eq));
      if (key.empty()) throw std::runtime_error(where + ": empty key");
      Sections_.back().Params.push_back({key, Unquote(Trim(line.substr(eq + 1))), where});
    }
  }
}

}  // namespace artgen
