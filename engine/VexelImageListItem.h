#pragma once
// One entry of an image list.

#include <cstdint>
#include <memory>
#include <string>

#include "DisplayDevice.h"
#include "ImageListPicture.h"
#include "VexelRenderer.h"

namespace vexel {

class TImageListCollection;

/// One named picture of an image list: its encoded picture, cell (tile) size, colour key and
/// optional external picture file, and once the list is prepared, its texture. Cells are
/// counted row by row from 0; a pattern index of -1 draws the whole picture.
class TImageListItem {
 public:
  /// A new entry of the collection: an empty picture and 1 x 1 cells.
  explicit TImageListItem(TImageListCollection* collection);

  int32_t Rows = 0;
  int32_t Columns = 0;
  std::string Name;
  /// The list's renderer while the entry is bound; none otherwise.
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
  /// The colour key as a system colour value (0x00BBGGRR, or a system colour index).
  uint32_t TransparentColor = 0;
  bool Transparent = false;
  /// Set once a problem of this entry (its texture could not be made, or a sprite met it
  /// unbound) has been shown, so that the same problem is not shown again on every frame or
  /// device restore; cleared when the entry is bound.
  bool ProblemShown = false;

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
  /// Binds the entry to the list's renderer and makes its texture once; on failure shows
  /// "Error creating texture <Name>" and asks the application to terminate (once per entry).
  void Restore();
  /// Frees the texture of an entry whose picture is held in memory; the next draw makes it
  /// again. Entries read from an external file keep their texture.
  void ReleaseTexture();

  /// Draws the picture or one cell on the four given corners.
  void DrawQuad(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
                int32_t y4, float rotation, float centerX, float centerY, float scaleX,
                float scaleY, uint32_t color1, uint32_t color2, uint32_t color3, uint32_t color4,
                bool mirrorY, bool mirrorX, int32_t patternIndex, int32_t blendMode);
  /// Draws a tile-sized quad at (x, y) with four corner tints.
  void DrawSprite(int32_t x, int32_t y, float rotation, float centerX, float centerY, float scaleX,
                  float scaleY, uint32_t color1, uint32_t color2, uint32_t color3, uint32_t color4,
                  bool mirrorY, bool mirrorX, int32_t patternIndex, int32_t blendMode);
  /// Draws a tile-sized quad at (x, y) in one colour.
  void DrawColored(int32_t x, int32_t y, float rotation, float centerX, float centerY, float scaleX,
                   float scaleY, uint32_t color, bool mirrorY, bool mirrorX, int32_t patternIndex,
                   int32_t blendMode);
  /// Draws a cell at (x, y), untinted, unrotated, with normal blending.
  void Draw(int32_t x, int32_t y, int32_t patternIndex);
  /// Sets the destination blend factor (one when additive, inverse source alpha otherwise),
  /// then draws a tile-sized quad in one colour from four bytes.
  void DrawAlpha(int32_t x, int32_t y, float rotation, float centerX, float centerY, float scaleX,
                 float scaleY, bool additive, int32_t red, int32_t green, int32_t blue,
                 int32_t alpha, int32_t patternIndex, int32_t blendMode);
  /// Draws a rectangle moved by (x, y) in one colour from four bytes.
  void DrawRect(const TRect& rect, int32_t x, int32_t y, float rotation, float centerX,
                float centerY, float scaleX, float scaleY, int32_t red, int32_t green, int32_t blue,
                int32_t alpha, bool mirrorY, bool mirrorX, int32_t patternIndex, int32_t blendMode);

  /// The collection the entry belongs to.
  TImageListCollection* Collection() const { return Collection_; }

 private:
  void LoadExternalPicture();
  bool MakeTexture();
  bool RemakeTexture();
  void SetCellTexCoords(int32_t patternIndex, double& baseWidth, double& baseHeight);
  void ReportTextureFailure();

  TImageListCollection* Collection_;
};

}  // namespace vexel
