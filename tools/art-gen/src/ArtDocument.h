#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

/// One "key = value" line of an art file, with where it came from for error messages.
struct TArtParam {
  std::string Key;
  std::string Value;
  std::string Where;
};

/// One "[type name]" block of an art file and the parameters below it.
struct TArtSection {
  std::string Type;
  std::string Name;
  std::string Where;
  std::vector<TArtParam> Params;
};

/// Reads the art description format: "[type name]" sections of "key = value" lines,
/// "#" comments and "@include file" lines (paths relative to the including file).
/// A value wrapped in double quotes keeps its blanks; the quotes are dropped.
class TArtDocument {
 public:
  /// Loads a file and everything it includes; throws std::runtime_error with file:line.
  static TArtDocument Load(const std::filesystem::path& path);
  /// Parses text as if it were the file named origin (includes resolve next to origin).
  static TArtDocument Parse(const std::string& text, const std::filesystem::path& origin);

  /// All sections in reading order, included files in place of their include line.
  const std::vector<TArtSection>& Sections() const { return Sections_; }

 private:
  void ParseInto(const std::string& text, const std::filesystem::path& origin, int depth);
  void IncludeFile(const std::filesystem::path& path, int depth, const std::string& where);

  std::vector<TArtSection> Sections_;
};

}  // namespace artgen
