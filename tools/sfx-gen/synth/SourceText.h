#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace synth {

/// One non-empty line of a source file, split into whitespace-separated words.
struct TSourceLine {
  int Number = 0;
  std::vector<std::string> Words;
};

/// Splits `text` into lines of words; a word starting with '#' begins a
/// comment that runs to the end of the line.
std::vector<TSourceLine> SplitSourceLines(std::string_view text);

/// Reads `word` as a decimal number in [min, max]; throws TSourceError naming `what` otherwise.
double ParseNumber(std::string_view word, int line, double min, double max, std::string_view what);

/// Reads `word` as a whole number in [min, max]; throws TSourceError naming `what` otherwise.
int ParseInteger(std::string_view word, int line, int min, int max, std::string_view what);

/// Throws TSourceError unless `source_line` has between `min` and `max` words after its keyword.
void ExpectArgumentCount(const TSourceLine& source_line, std::size_t min, std::size_t max);

/// Reads a whole text file; throws std::runtime_error naming the path when it cannot be read.
std::string ReadTextFile(const std::string& path);

}  // namespace synth
