#include "OilCommands.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <stdexcept>

#include "OilManifest.h"
#include "engine/ImageListFile.h"
#include "engine/VexelImageList.h"

namespace oiltool {
namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

// Loads an image-list file; on failure the reason goes to Errors and the entries read stay.
bool Load(const std::filesystem::path& file, vexel::TImageListCollection& list,
          std::ostream& errors) {
  if (list.LoadFromFile(file.string())) return true;
  errors << file.string() << ": " << list.LoadError() << "\n";
  return false;
}

const char* KindName(vexel::TPicture::TKind kind) {
  switch (kind) {
    case vexel::TPicture::TKind::Png:
      return "png";
    case vexel::TPicture::TKind::Bitmap:
      return "bmp";
    case vexel::TPicture::TKind::None:
      break;
  }
  return "none";
}

std::string EntryLine(int32_t index, const vexel::TImageListItem& item) {
  int32_t width = 0;
  int32_t height = 0;
  std::string error;
  if (item.Picture.Empty() || !vexel::PictureSize(item.Picture, width, height, error)) {
    width = height = 0;
  }
  char line[160];
  std::snprintf(line, sizeof line, " %dx%d tile=%dx%d transparent=%s color=0x%08X filepath=", width,
                height, item.TileWidth, item.TileHeight, item.Transparent ? "yes" : "no",
                item.TransparentColor);
  return std::to_string(index) + " " + item.Name + " " + KindName(item.Picture.Kind) + line +
         item.Filepath;
}

std::string SafeFileName(std::string name) {
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == '\0') c = '_';
  }
  return name.empty() || name == "." || name == ".." ? "_" + name : name;
}

}  // namespace

int Pack(const std::filesystem::path& manifest, const std::filesystem::path& out,
         std::ostream& errors) {
  try {
    const auto entries = ReadManifest(manifest);
    if (!WriteFile(out, vexel::WriteImageListFile(entries))) {
      throw std::runtime_error("cannot write " + out.string());
    }
  } catch (const std::runtime_error& e) {
    errors << "oil-tool: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

int List(const std::filesystem::path& file, std::ostream& out, std::ostream& errors) {
  vexel::TImageListCollection list;
  const bool loaded = Load(file, list, errors);
  for (int32_t i = 0; i < list.Count(); ++i) out << EntryLine(i, *list.Items(i)) << "\n";
  return loaded ? 0 : 1;
}

int Extract(const std::filesystem::path& file, const std::filesystem::path& folder,
            std::ostream& errors) {
  vexel::TImageListCollection list;
  if (!Load(file, list, errors)) return 1;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::set<std::string> written;
  for (int32_t i = 0; i < list.Count(); ++i) {
    const vexel::TImageListItem& item = *list.Items(i);
    if (item.Picture.Empty()) continue;
    const std::string extension = std::string(".") + KindName(item.Picture.Kind);
    std::string name = SafeFileName(item.Name);
    if (!written.insert(name).second) name.append(1, '-').append(std::to_string(i));
    const auto path = folder / (name + extension);
    if (!WriteFile(path, item.Picture.Data)) {
      errors << "oil-tool: cannot write " << path.string() << "\n";
      return 1;
    }
  }
  return 0;
}

}  // namespace oiltool
