#include "VexelImageListItem.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "ImageListColors.h"
#include "VexelImageList.h"
#include "VexelScreen.h"
#include "platform/MessageBox.h"

namespace vexel {
namespace {

// External picture files larger than this are not read.
constexpr std::uintmax_t kMaxPictureFileBytes = 256u << 20;
// Expected texture sides stop doubling here.
constexpr int32_t kMaxTextureSide = 1 << 30;

int32_t NextPowerOfTwo(int32_t size) {
  int32_t side = 2;
  while (side < size && side < kMaxTextureSide) side *= 2;
  return side;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// An external picture path: drive and network paths are taken as they stand, others use "/"
// and are looked for beside the executable first, then in the current directory.
std::filesystem::path ResolvePicturePath(const std::string& filepath) {
  if (filepath.find(':') != std::string::npos || filepath.find("\\\\") != std::string::npos) {
    return filepath;
  }
  std::string portable = filepath;
  std::replace(portable.begin(), portable.end(), '\\', '/');
  const std::filesystem::path path(portable);
  if (path.is_absolute()) return path;
  std::error_code error;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const auto beside = executable.parent_path() / path;
    if (std::filesystem::is_regular_file(beside, error)) return beside;
  }
  return path;
}

bool ReadPictureFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > kMaxPictureFileBytes) return false;
  std::ifstream file(path, std::ios::binary);
  bytes.resize(static_cast<size_t>(size));
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  return static_cast<bool>(file);
}

// The opaque ARGB texel a colour key removes; none for values that are no RGB colour.
bool ColorKeyOf(uint32_t transparentColor, uint32_t& key) {
  const uint32_t rgb = ColorToRgb(transparentColor);
  if (rgb > 0xFFFFFF) return false;
  key = 0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | rgb >> 16;
  return true;
}

// The picture's pixels at the top left of a larger, transparent black texture.
std::vector<uint32_t> PlaceTopLeft(const std::vector<uint32_t>& pixels, int32_t width,
                                   int32_t height, int32_t textureWidth, int32_t textureHeight) {
  std::vector<uint32_t> texels(static_cast<size_t>(textureWidth) * textureHeight, 0);
  for (int32_t y = 0; y < height; ++y) {
    std::copy_n(pixels.data() + static_cast<size_t>(y) * width, width,
                texels.data() + static_cast<size_t>(y) * textureWidth);
  }
  return texels;
}

uint32_t PackArgb(int32_t alpha, int32_t red, int32_t green, int32_t blue) {
  return static_cast<uint32_t>(alpha & 0xFF) << 24 | static_cast<uint32_t>(red & 0xFF) << 16 |
         static_cast<uint32_t>(green & 0xFF) << 8 | static_cast<uint32_t>(blue & 0xFF);
}

}  // namespace

TImageListItem::TImageListItem(TImageListCollection* collection) : Collection_(collection) {}

void TImageListItem::SetTileHeight(int32_t value) {
  TileHeight = value == 0 ? ImageHeight : value;
  Rows = TileHeight > 0 ? ImageHeight / TileHeight : 0;
}

void TImageListItem::SetTileWidth(int32_t value) {
  TileWidth = value == 0 ? ImageWidth : value;
  Columns = TileWidth > 0 ? ImageWidth / TileWidth : 0;
}

void TImageListItem::SetPicture(const TPicture& picture) {
  Picture = picture;
  int32_t width = 0;
  int32_t height = 0;
  std::string error;
  if (Picture.Empty() || !PictureSize(Picture, width, height, error)) return;
  ImageWidth = width;
  ImageHeight = height;
  SetTileWidth(width);
  SetTileHeight(height);
  GetTextureWidth();
}

int32_t TImageListItem::GetTextureWidth() {
  if (TextureWidth < 2) {
    TextureWidth = NextPowerOfTwo(ImageWidth);
    TextureHeight = NextPowerOfTwo(ImageHeight);
  }
  return TextureWidth;
}

int32_t TImageListItem::GetTextureHeight() {
  GetTextureWidth();
  return TextureHeight;
}

void TImageListItem::LoadExternalPicture() {
  const std::string filepath = Trim(Filepath);
  if (filepath.empty()) return;
  const std::filesystem::path path = ResolvePicturePath(filepath);
  const TPicture::TKind kind = PictureKindOfFileName(path.string());
  std::vector<uint8_t> bytes;
  if (kind == TPicture::TKind::None || !ReadPictureFile(path, bytes)) return;
  Picture.Kind = kind;
  Picture.Data = std::move(bytes);
}

void TImageListItem::Restore() {
  TVexelImageList* list = Collection_ ? Collection_->Owner() : nullptr;
  if (!list || !list->VexelScreen || !list->VexelScreen->Device()) return;
  LoadExternalPicture();
  if (Picture.Empty()) return;
  Renderer = &list->Renderer;
  Device = list->VexelScreen->Device();
  int32_t width = 0;
  int32_t height = 0;
  std::string error;
  if (!PictureSize(Picture, width, height, error) || (!Texture && !MakeTexture())) {
    ReportTextureFailure();
    return;
  }
  if (TileHeight < 1) TileHeight = height;
  if (TileWidth < 1) TileWidth = width;
  TextureWidth = std::max(Texture->Width(), 2);
  TextureHeight = std::max(Texture->Height(), 2);
  ImageHeight = std::max(height, 1);
  ImageWidth = std::max(width, 1);
  Rows = ImageHeight / TileHeight;
  Columns = ImageWidth / TileWidth;
  ProblemShown = false;
  if (!Trim(Filepath).empty()) Picture = TPicture{};
}

bool TImageListItem::MakeTexture() {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  std::string error;
  if (!DecodePicture(Picture, width, height, pixels, error)) return false;
  const bool powerOfTwo = Device->PowerOfTwoTextures();
  const int32_t textureWidth = powerOfTwo ? NextPowerOfTwo(width) : std::max(width, 2);
  const int32_t textureHeight = powerOfTwo ? NextPowerOfTwo(height) : std::max(height, 2);
  const int32_t maxSide = Device->MaxTextureSize();
  if (textureWidth > maxSide || textureHeight > maxSide) return false;
  uint32_t key = 0;
  const bool keyed = Transparent && ColorKeyOf(TransparentColor, key);
  if (keyed) std::replace(pixels.begin(), pixels.end(), key, 0u);
  if (textureWidth != width || textureHeight != height) {
    pixels = PlaceTopLeft(pixels, width, height, textureWidth, textureHeight);
  }
  Texture = Device->CreateTexture(textureWidth, textureHeight, std::move(pixels));
  return Texture != nullptr;
}

void TImageListItem::ReleaseTexture() {
  if (!Picture.Empty()) Texture.reset();
}

// Makes the texture of a bound entry whose texture was released.
bool TImageListItem::RemakeTexture() {
  if (!Device || Picture.Empty()) return false;
  if (MakeTexture()) return true;
  ReportTextureFailure();
  return false;
}

void TImageListItem::ReportTextureFailure() {
  if (ProblemShown) return;
  ProblemShown = true;
  platform::ShowMessageBox("Error", "Error creating texture " + Name, {"OK"});
  TVexelImageList* list = Collection_ ? Collection_->Owner() : nullptr;
  if (list && list->OnTerminateRequest) list->OnTerminateRequest();
}

void TImageListItem::SetCellTexCoords(int32_t patternIndex, double& baseWidth, double& baseHeight) {
  const double textureWidth = std::max(TextureWidth, 1);
  const double textureHeight = std::max(TextureHeight, 1);
  if (patternIndex == -1) {
    const auto u = static_cast<float>(ImageWidth / textureWidth);
    const auto v = static_cast<float>(ImageHeight / textureHeight);
    Renderer->SetTexCoords(0, 0, u, 0, u, v, 0, v);
    baseWidth = ImageWidth;
    baseHeight = ImageHeight;
    return;
  }
  const int64_t count = static_cast<int64_t>(Rows) * Columns;
  const int64_t index = std::max<int64_t>(std::min<int64_t>(patternIndex, count - 1), 0);
  const int64_t column = Columns > 0 ? index % Columns : 0;
  const int64_t row = Columns > 0 ? index / Columns : 0;
  const double left = static_cast<double>(column * TileWidth);
  const double top = static_cast<double>(row * TileHeight);
  const auto uLeft = static_cast<float>(left / textureWidth);
  const auto uRight = static_cast<float>((left + TileWidth) / textureWidth);
  const auto vTop = static_cast<float>(top / textureHeight);
  const auto vBottom = static_cast<float>((top + TileHeight) / textureHeight);
  Renderer->SetTexCoords(uLeft, vTop, uRight, vTop, uRight, vBottom, uLeft, vBottom);
  baseWidth = TileWidth;
  baseHeight = TileHeight;
}

void TImageListItem::DrawQuad(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                              int32_t y3, int32_t x4, int32_t y4, float rotation, float centerX,
                              float centerY, float scaleX, float scaleY, uint32_t color1,
                              uint32_t color2, uint32_t color3, uint32_t color4, bool mirrorY,
                              bool mirrorX, int32_t patternIndex, int32_t blendMode) {
  if (!Renderer || (!Texture && !RemakeTexture())) return;
  if (scaleX == 0) scaleX = 1;
  if (scaleY == 0) scaleY = 1;
  if (blendMode != -1 && Renderer->Screen()) Renderer->Screen()->SetBlendMode(blendMode);
  Renderer->SetColors(color1, color2, color3, color4);
  Renderer->SetMirrorY(mirrorY);
  Renderer->SetMirrorX(mirrorX);
  double baseWidth = 0;
  double baseHeight = 0;
  SetCellTexCoords(patternIndex, baseWidth, baseHeight);
  Renderer->SetTexture(Texture.get());
  const auto at = [](int32_t coordinate) { return static_cast<float>(coordinate) - 0.5f; };
  Renderer->SetPositions(at(x1), at(y1), at(x2), at(y2), at(x3), at(y3), at(x4), at(y4));
  const auto pivotX = static_cast<float>(baseWidth * centerX + x1);
  const auto pivotY = static_cast<float>(baseHeight * centerY + y1);
  Renderer->RotateScale(pivotX, pivotY, rotation, scaleX, scaleY);
  Renderer->Render();
}

void TImageListItem::DrawSprite(int32_t x, int32_t y, float rotation, float centerX, float centerY,
                                float scaleX, float scaleY, uint32_t color1, uint32_t color2,
                                uint32_t color3, uint32_t color4, bool mirrorY, bool mirrorX,
                                int32_t patternIndex, int32_t blendMode) {
  DrawQuad(x, y, x + TileWidth, y, x + TileWidth, y + TileHeight, x, y + TileHeight, rotation,
           centerX, centerY, scaleX, scaleY, color1, color2, color3, color4, mirrorY, mirrorX,
           patternIndex, blendMode);
}

void TImageListItem::DrawColored(int32_t x, int32_t y, float rotation, float centerX, float centerY,
                                 float scaleX, float scaleY, uint32_t color, bool mirrorY,
                                 bool mirrorX, int32_t patternIndex, int32_t blendMode) {
  DrawSprite(x, y, rotation, centerX, centerY, scaleX, scaleY, color, color, color, color, mirrorY,
             mirrorX, patternIndex, blendMode);
}

void TImageListItem::Draw(int32_t x, int32_t y, int32_t patternIndex) {
  DrawColored(x, y, 0, 0, 0, 1, 1, 0xFFFFFFFFu, false, false, patternIndex, 0);
}

void TImageListItem::DrawAlpha(int32_t x, int32_t y, float rotation, float centerX, float centerY,
                               float scaleX, float scaleY, bool additive, int32_t red,
                               int32_t green, int32_t blue, int32_t alpha, int32_t patternIndex,
                               int32_t blendMode) {
  if (Renderer && Renderer->Screen()) {
    Renderer->Screen()->SetDestBlend(additive ? TBlendFactor::One : TBlendFactor::InvSrcAlpha);
  }
  DrawColored(x, y, rotation, centerX, centerY, scaleX, scaleY, PackArgb(alpha, red, green, blue),
              false, false, patternIndex, blendMode);
}

void TImageListItem::DrawRect(const TRect& rect, int32_t x, int32_t y, float rotation,
                              float centerX, float centerY, float scaleX, float scaleY, int32_t red,
                              int32_t green, int32_t blue, int32_t alpha, bool mirrorY,
                              bool mirrorX, int32_t patternIndex, int32_t blendMode) {
  const uint32_t color = PackArgb(alpha, red, green, blue);
  DrawQuad(rect.Left + x, rect.Top + y, rect.Right + x, rect.Top + y, rect.Right + x,
           rect.Bottom + y, rect.Left + x, rect.Bottom + y, rotation, centerX, centerY, scaleX,
           scaleY, color, color, color, color, mirrorY, mirrorX, patternIndex, blendMode);
}

}  // namespace vexel
