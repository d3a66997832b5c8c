#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace artgen {

/// One "key = value" line of an art file, with where it came from for error messages.
struct ArtParam {
  std::string key;
  std::string value;
  std::string where;
};

/// One "[type name]" block of an art file and the parameters below it.
struct ArtSection {
  std::string type;
  std::string name;
  std::string where;
  std::vector<ArtParam> params;
};

/// Reads the art description format: "[type name]" sections of "key = value" lines,
/// "#" comments and "@include file" lines (paths relative to the including file).
/// A value wrapped in double quotes keeps its blanks; the quotes are dropped.
class ArtDocument {
 public:
  /// Loads a file and everything it includes; throws std::runtime_error with file:line.
  static ArtDocument load(const std::filesystem::path& path);
  /// Parses text as if it were the file named origin (includes resolve next to origin).
  static ArtDocument parse(const std::string& text, const std::filesystem::path& origin);

  /// All sections in reading order, included files in place of their include line.
  const std::vector<ArtSection>& sections() const { return sections_; }

 private:
  void parseInto(const std::string& text, const std::filesystem::path& origin, int depth);
  void includeFile(const std::filesystem::path& path, int depth, const std::string& where);

  std::vector<ArtSection> sections_;
};

}  // namespace artgen
