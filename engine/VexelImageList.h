#pragma once
// Image lists: named pictures with animation cells, made into textures and drawn as quads.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DeviceClient.h"
#include "DisplayDevice.h"
#include "VexelRenderer.h"

namespace vexel {

class TVexelScreen;
class TImageListCollection;

/// The encoded picture of an entry: the bytes of a PNG file or of a BMP file, as stored.
struct TPicture {
  enum class TKind { None, Png, Bitmap };
  TKind Kind = TKind::None;
  std::vector<uint8_t> Data;
  /// Whether the picture holds an image.
  bool Empty() const { return Kind == TKind::None || Data.empty(); }
};

/// One named picture of an image list: its encoded picture, cell (tile) size, colour key and
/// optional external picture file, and once the list is prepared, its texture.
class TImageListItem {
 public:
  explicit TImageListItem(TImageListCollection* collection);

  int32_t Rows = 0;
  int32_t Columns = 0;
  std::string Name;
  TVexelRenderer* Renderer = nullptr;
  TDisplayDevice* Device = nullptr;
  std::shared_ptr<TTexture> Texture;
  TPicture Picture;
  int32_t ImageHeight = 0;
  int32_t ImageWidth = 0;
  int32_t TileHeight = 1;
  int32_t TileWidth = 1;
  int32_t TextureHeight = 0;
  int32_t TextureWidth = 0;
  std::string Filepath;
  uint32_t TransparentColor = 0;
  bool Transparent = false;

  /// Cell height; 0 means the whole image height.
  void SetTileHeight(int32_t value);
  /// Cell width; 0 means the whole image width.
  void SetTileWidth(int32_t value);
  /// Copies a picture and takes its size as image and tile size.
  void SetPicture(const TPicture& picture);
  /// Texture width expected before a texture exists (powers of two from 2 up).
  int32_t GetTextureWidth();
  /// Texture height expected before a texture exists.
  int32_t GetTextureHeight();
  /// Binds the entry to the list's renderer and makes its texture once.
  void Restore();

  /// Draws the picture or one cell on the four given corners.
  void DrawQuad(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                int32_t x4, int32_t y4, float rotation, float centerX, float centerY,
                float scaleX, float scaleY, uint32_t color1, uint32_t color2, uint32_t color3,
                uint32_t color4, bool mirrorY, bool mirrorX, int32_t patternIndex,
                int32_t blendMode);
  /// Draws a tile-sized quad at (x, y) with four corner tints.
  void DrawSprite(int32_t x, int32_t y, float rotation, float centerX, float centerY,
                  float scaleX, float scaleY, uint32_t color1, uint32_t color2, uint32_t color3,
                  uint32_t color4, bool mirrorY, bool mirrorX, int32_t patternIndex,
                  int32_t blendMode);
  /// Draws a tile-sized quad at (x, y) in one colour.
  void DrawColored(int32_t x, int32_t y, float rotation, float centerX, float centerY,
                   float scaleX, float scaleY, uint32_t color, bool mirrorY, bool mirrorX,
                   int32_t patternIndex, int32_t blendMode);
  /// Draws a cell at (x, y), untinted, unrotated, with normal blending.
  void Draw(int32_t x, int32_t y, int32_t patternIndex);
  /// Draws a tile-sized quad, additively or with alpha, in one colour from four bytes.
  void DrawAlpha(int32_t x, int32_t y, float rotation, float centerX, float centerY, float scaleX,
                 float scaleY, bool additive, int32_t red, int32_t green, int32_t blue,
                 int32_t alpha, int32_t patternIndex, int32_t blendMode);
  /// Draws a rectangle moved by (x, y) in one colour from four bytes.
  void DrawRect(const TRect& rect, int32_t x, int32_t y, float rotation, float centerX,
                float centerY, float scaleX, float scaleY, int32_t red, int32_t green,
                int32_t blue, int32_t alpha, bool mirrorY, bool mirrorX, int32_t patternIndex,
                int32_t blendMode);

  /// The collection the entry belongs to.
  TImageListCollection* Collection() const { return Collection_; }

 private:
  TImageListCollection* Collection_;
};

/// The entries of an image list, in order; filled from image-list files.
class TImageListCollection {
 public:
  /// A filter the loaded bytes pass through before they are parsed (none in the game).
  using TLoadFilter = std::function<std::vector<uint8_t>(const std::vector<uint8_t>&)>;

  explicit TImageListCollection(class TVexelImageList* owner = nullptr) : Owner_(owner) {}

  /// Loads an image-list file; a file that cannot be read leaves the collection as it was.
  void LoadFromFile(const std::string& fileName);
  /// Loads image-list data; entries read before an error stay.
  void LoadFromStream(const std::vector<uint8_t>& stream);
  /// The entry at Index.
  TImageListItem* Items(int32_t index) const;
  /// Number of entries.
  int32_t Count() const { return static_cast<int32_t>(Items_.size()); }
  /// Appends a new empty entry and returns it.
  TImageListItem* Add();
  /// Removes every entry.
  void Clear() { Items_.clear(); }
  /// The first entry whose name equals Name exactly (case-sensitive), or none.
  TImageListItem* Find(const std::string& name) const;
  /// The image list owning the collection.
  class TVexelImageList* Owner() const { return Owner_; }

  TLoadFilter LoadFilter;

 private:
  class TVexelImageList* Owner_;
  std::vector<std::unique_ptr<TImageListItem>> Items_;
};

/// An image-list component: a collection of named pictures, bound to a display device that
/// makes their textures; entries are found by name and drawn through the list's renderer.
class TVexelImageList : public TDeviceClient {
 public:
  TVexelImageList();
  ~TVexelImageList() override;
  TVexelImageList(const TVexelImageList&) = delete;
  TVexelImageList& operator=(const TVexelImageList&) = delete;

  /// Binds the renderer to the screen and, with a device, restores every entry in order.
  void Prepare();
  /// Unbinds every entry; releases the textures too when asked.
  void Unprepare(bool releaseTextures);
  /// Brackets direct drawing (nothing to do on this platform).
  void BeginBatch() {}
  void EndBatch() {}
  /// Sets the display device (registering with it) or none.
  void SetVexelScreen(TVexelScreen* screen);

  TDeviceClientKind DeviceClientKind() const override { return TDeviceClientKind::ImageList; }
  void DeviceRestore() override { Prepare(); }
  void DeviceInvalidate() override { Unprepare(false); }

  TImageListCollection ImageList{this};
  TVexelScreen* VexelScreen = nullptr;
  TVexelRenderer Renderer;
};

}  // namespace vexel
