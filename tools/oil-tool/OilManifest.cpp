#include "OilManifest.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/ImageListColors.h"

namespace oiltool {
namespace {

// Manifest and picture files larger than this are refused.
constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

std::vector<std::string> Fields(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> fields;
  for (std::string field; stream >> field;) fields.push_back(field);
  return fields;
}

bool ParseUnsigned(const std::string& text, int base, uint32_t& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value, base);
  return !text.empty() && result.ec == std::errc{} && result.ptr == end;
}

bool ParseTileSize(const std::string& text, int32_t& value) {
  uint32_t parsed = 0;
  if (!ParseUnsigned(text, 10, parsed) || parsed > 0x7FFFFFFF) return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

// A colour: decimal, 0x-hex, or a named colour kept by name.
void ParseColor(const std::string& text, vexel::TImageListFileEntry& entry) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  if (hex && ParseUnsigned(text.substr(2), 16, entry.TransparentColor)) return;
  if (!hex && ParseUnsigned(text, 10, entry.TransparentColor)) return;
  uint32_t named = 0;
  if (hex || !vexel::ColorFromIdent(text, named)) {
    throw std::invalid_argument("bad colour \"" + text + "\"");
  }
  entry.TransparentColor = named;
  entry.TransparentColorName = text;
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) throw std::invalid_argument("cannot read " + path.string());
  if (size > kMaxFileBytes) throw std::invalid_argument(path.string() + " is too large");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  std::ifstream file(path, std::ios::binary);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (!file) throw std::invalid_argument("cannot read " + path.string());
  return bytes;
}

// The picture file, checked to decode and to hold at least one cell.
void LoadPicture(const std::filesystem::path& path, vexel::TImageListFileEntry& entry) {
  entry.Picture.Kind = vexel::PictureKindOfFileName(path.string());
  if (entry.Picture.Kind == vexel::TPicture::TKind::None) {
    throw std::invalid_argument("picture " + path.string() + " is neither .png nor .bmp");
  }
  entry.Picture.Data = ReadFile(path);
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  std::string error;
  if (!vexel::DecodePicture(entry.Picture, width, height, pixels, error)) {
    throw std::invalid_argument("picture " + path.string() + ": " + error);
  }
  if (entry.TileWidth > width || entry.TileHeight > height) {
    throw std::invalid_argument("tile " + std::to_string(entry.TileWidth) + "x" +
                                std::to_string(entry.TileHeight) + " larger than the picture " +
                                std::to_string(width) + "x" + std::to_string(height));
  }
}

void ParseOption(const std::string& field, vexel::TImageListFileEntry& entry, bool& colorSeen) {
  const size_t equals = field.find('=');
  const std::string key = field.substr(0, equals);
  const std::string value = equals == std::string::npos ? "" : field.substr(equals + 1);
  if (equals == std::string::npos || value.empty()) {
    throw std::invalid_argument("option \"" + field + "\" needs a value");
  }
  if (key == "transparent" && !colorSeen) {
    ParseColor(value, entry);
    entry.Transparent = true;
    colorSeen = true;
  } else if (key == "filepath" && !entry.Filepath) {
    entry.Filepath = value;
  } else {
    throw std::invalid_argument("unknown or repeated option \"" + key + "\"");
  }
}

vexel::TImageListFileEntry ParseEntry(const std::vector<std::string>& fields,
                                      const std::filesystem::path& folder) {
  if (fields[0] != "entry")
    throw std::invalid_argument("expected \"entry\", not \"" + fields[0] + "\"");
  if (fields.size() < 5) {
    throw std::invalid_argument("expected: entry <Name> <picture> <TileWidth> <TileHeight>");
  }
  vexel::TImageListFileEntry entry;
  entry.Name = fields[1];
  if (!ParseTileSize(fields[3], entry.TileWidth) || !ParseTileSize(fields[4], entry.TileHeight)) {
    throw std::invalid_argument("tile sizes must be whole numbers from 0");
  }
  bool colorSeen = false;
  for (size_t i = 5; i < fields.size(); ++i) ParseOption(fields[i], entry, colorSeen);
  LoadPicture(folder / fields[2], entry);
  return entry;
}

}  // namespace

std::vector<vexel::TImageListFileEntry> ParseManifest(const std::string& text,
                                                      const std::filesystem::path& folder,
                                                      const std::string& source) {
  std::vector<vexel::TImageListFileEntry> entries;
  std::istringstream lines(text);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    const std::vector<std::string> fields = Fields(line);
    if (fields.empty() || fields[0][0] == '#') continue;
    try {
      entries.push_back(ParseEntry(fields, folder));
    } catch (const std::invalid_argument& e) {
      throw std::runtime_error(source + ":" + std::to_string(number) + ": " + e.what());
    }
  }
  return entries;
}

std::vector<vexel::TImageListFileEntry> ReadManifest(const std::filesystem::path& manifest) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadFile(manifest);
  } catch (const std::invalid_argument& e) {
    throw std::runtime_error(e.what());
  }
  return ParseManifest(std::string(bytes.begin(), bytes.end()), manifest.parent_path(),
                       manifest.string());
}

}  // namespace oiltool
