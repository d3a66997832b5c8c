#include "synth/SourceText.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "synth/SourceError.h"

namespace synth {
namespace {

// A '#' at the start of a word begins a comment; inside a word (as in "c#4") it is kept.
std::string_view StripComment(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    const bool word_start = i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t';
    if (line[i] == '#' && word_start) return line.substr(0, i);
  }
  return line;
}

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t\r", pos);
    if (start == std::string_view::npos) break;
    const std::size_t end = line.find_first_of(" \t\r", start);
    const std::size_t stop = end == std::string_view::npos ? line.size() : end;
    words.emplace_back(line.substr(start, stop - start));
    pos = stop;
  }
  return words;
}

std::string RangeText(double min, double max) {
  std::ostringstream text;
  text << min << " to " << max;
  return text.str();
}

}  // namespace

std::vector<TSourceLine> SplitSourceLines(std::string_view text) {
  std::vector<TSourceLine> lines;
  int number = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = text.find('\n', pos);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    ++number;
    std::vector<std::string> words = SplitWords(StripComment(text.substr(pos, stop - pos)));
    if (!words.empty()) lines.push_back({number, std::move(words)});
    if (end == std::string_view::npos) break;
    pos = end + 1;
  }
  return lines;
}

double ParseNumber(std::string_view word, int line, double min, double max, std::string_view what) {
  double value = 0.0;
  const char* last = word.data() + word.size();
  const auto [ptr, error] = std::from_chars(word.data(), last, value);
  if (error != std::errc() || ptr != last || !std::isfinite(value)) {
    throw TSourceError(line,
                       std::string(what) + " must be a number, not \"" + std::string(word) + "\"");
  }
  if (value < min || value > max) {
    throw TSourceError(line, std::string(what) + " must be in the range " + RangeText(min, max) +
                                 ", not " + std::string(word));
  }
  return value;
}

int ParseInteger(std::string_view word, int line, int min, int max, std::string_view what) {
  int value = 0;
  const char* first = word.data();
  if (!word.empty() && word.front() == '+') ++first;
  const char* last = word.data() + word.size();
  const auto [ptr, error] = std::from_chars(first, last, value);
  if (error != std::errc() || ptr != last || first == last) {
    throw TSourceError(
        line, std::string(what) + " must be a whole number, not \"" + std::string(word) + "\"");
  }
  if (value < min || value > max) {
    throw TSourceError(line, std::string(what) + " must be in the range " + RangeText(min, max) +
                                 ", not " + std::string(word));
  }
  return value;
}

void ExpectArgumentCount(const TSourceLine& source_line, std::size_t min, std::size_t max) {
  const std::size_t count = source_line.Words.size() - 1;
  if (count >= min && count <= max) return;
  const std::string expected =
      min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max);
  throw TSourceError(source_line.Number, "\"" + source_line.Words.front() + "\" takes " + expected +
                                             " value(s), found " + std::to_string(count));
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path);
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) throw std::runtime_error("cannot read " + path);
  return content.str();
}

}  // namespace synth
