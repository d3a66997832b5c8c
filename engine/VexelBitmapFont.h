#pragma once
// Bitmap fonts: text drawn as one textured quad per character from a table of character cells.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "DeviceClient.h"
#include "DisplayDevice.h"
#include "VexelRenderer.h"
#include "platform/FontSystem.h"

namespace vexel {

class TVexelScreen;
class TVexelImageList;

/// Where a bitmap font's text is anchored.
enum class TBitmapFontPositionMode { pmTopLeft, pmCenter };

/// Texture coordinates of a character cell: left, top, right, bottom.
struct TCharUV {
  float U0 = 0;
  float V0 = 0;
  float U1 = 0;
  float V1 = 0;
  bool operator==(const TCharUV&) const = default;
};

/// Size of a character cell in pixels.
struct TCharSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TCharSize&) const = default;
};

/// Flags of TVexelBitmapFont::GenerateFont.
enum TGenerateFontFlags : int32_t {
  gfBold = 1,
  gfItalic = 2,
  gfUnderline = 4,
  gfStrikeOut = 8,
  gfPlainQuality = 16,
  gfFixedCells = 32,
};

/// The 161 characters a font has when its Characters are empty: space to the at sign, the
/// upper-case Cyrillic letters, [ \ ] ^ _ `, the lower-case Cyrillic letters, { | } ~, then
/// the Latin letters "A".."Z" and "a".."z", in the order of an image font's cells (code page
/// 1251 bytes).
const std::string& DefaultCharacters();

/// Draws 8-bit text as one textured quad per character, from a table of character cells: the
/// cells of an image-list entry (a font picture laid out as a grid, one cell per character of
/// Characters) or a texture it renders itself from a system font. Supports per-corner colours,
/// rotation of the text and of each character, scaling, spacing, line breaks and centring.
/// A font registered with a screen must be destroyed, or given no screen, before that screen.
class TVexelBitmapFont : public TDeviceClient {
 public:
  /// A font without cells; GenerateFont opens faces from the given system fonts (which must
  /// outlive it).
  explicit TVexelBitmapFont(const platform::TFontSystem& fonts);
  ~TVexelBitmapFont() override;
  TVexelBitmapFont(const TVexelBitmapFont&) = delete;
  TVexelBitmapFont& operator=(const TVexelBitmapFont&) = delete;

  /// Sets the display device (registering with it and leaving the previous one) or none.
  void SetVexelScreen(TVexelScreen* screen);
  /// Builds an image font from entry Value of the image list (negative values are ignored).
  void SetImageIndex(int32_t value);
  /// Sets the image list and, when there is one, builds the image font of the current index.
  void SetImageList(TVexelImageList* list);
  /// Sets the character set (empty: the default set) and builds the character map.
  void SetCharacters(const std::string& value);
  /// Renders a system font into a texture of character cells (flags: TGenerateFontFlags; empty
  /// chars: the default set); nothing without a device.
  void GenerateFont(const std::string& faceName, const std::string& chars, int32_t flags,
                    int32_t size);
  /// Draws text, one quad per character, with four corner colours; BlendMode −1 keeps the
  /// screen's mode.
  void TextOut(float x, float y, float rotation, float scaleX, float scaleY, uint32_t color1,
               uint32_t color2, uint32_t color3, uint32_t color4, const std::string& text,
               int32_t blendMode);
  /// Draws text with one colour on all four corners.
  void TextOutColored(float x, float y, float rotation, float scaleX, float scaleY, uint32_t color,
                      const std::string& text, int32_t blendMode);
  /// Width of the text: its cell widths × ScaleX, each rounded half to even; at least 1.
  int32_t TextWidth(const std::string& text) const;
  /// Cell height × ScaleY rounded half to even; at least 1.
  int32_t TextHeight() const;
  /// Rebinds to the screen's device after it was made or reset and rebuilds the cells.
  void Restore();
  /// Called before the device is released or reset; the textures survive, so nothing to do.
  void Invalidate() {}

  /// Sets the red tint; all four vertex colours become ARGB (Alpha, Red, Green, Blue).
  void SetRed(int32_t value);
  /// Sets the green tint and the vertex colours.
  void SetGreen(int32_t value);
  /// Sets the blue tint and the vertex colours.
  void SetBlue(int32_t value);
  /// Sets the alpha tint and the vertex colours.
  void SetAlpha(int32_t value);

  TDeviceClientKind DeviceClientKind() const override { return TDeviceClientKind::BitmapFont; }
  void DeviceRestore() override { Restore(); }
  void DeviceInvalidate() override { Invalidate(); }

  /// Extra pixels between lines.
  int32_t LineSpace = 10;
  /// Pivot of the whole-text rotation and scale, in pixels from the text position.
  float CenterX = 0;
  float CenterY = 0;
  /// Scale used by the measuring operations (drawing takes its scale as arguments).
  float ScaleX = 1;
  float ScaleY = 1;
  /// Stored only; drawing takes its rotation as an argument.
  float Rotation = 0;
  /// Rotation of every character about its own centre, in degrees.
  float CharRotation = 0;
  /// Extra pixels after every character.
  int32_t Spacing = 0;
  /// Anchor of the text.
  TBitmapFontPositionMode PositionMode = TBitmapFontPositionMode::pmTopLeft;

  /// Name of the image entry or of the system font in use.
  const std::string& FontName() const { return FontName_; }
  /// The display device.
  TVexelScreen* VexelScreen() const { return VexelScreen_; }
  /// The image list of the image font.
  TVexelImageList* VexelImageList() const { return VexelImageList_; }
  /// The entry of the image list that holds the font picture.
  int32_t VexelImageIndex() const { return VexelImageIndex_; }
  /// The character set: byte k is drawn with cell k of an image font.
  const std::string& Characters() const { return Characters_; }
  /// Red tint.
  int32_t Red() const { return Red_; }
  /// Green tint.
  int32_t Green() const { return Green_; }
  /// Blue tint.
  int32_t Blue() const { return Blue_; }
  /// Alpha tint.
  int32_t Alpha() const { return Alpha_; }
  /// The four vertex colours set by the tint setters.
  const std::array<uint32_t, 4>& Colors() const { return Colors_; }
  /// The screen's device, or none.
  TDisplayDevice* Device() const;
  /// The font's own quad builder.
  const TVexelRenderer& Renderer() const { return Renderer_; }
  /// Character byte → cell index (−1: not in the set).
  const std::array<int32_t, 256>& CharMap() const { return CharMap_; }
  /// Texture coordinates of each cell.
  const std::array<TCharUV, 256>& CharUV() const { return CharUV_; }
  /// Size of each cell.
  const std::array<TCharSize, 256>& CharSize() const { return CharSize_; }
  /// Cell width of an image font, or the measured width of "a" ("W" with fixed cells).
  int32_t CellWidth() const { return CellWidth_; }
  /// Cell height of an image font, or the line height of the generated font.
  int32_t CellHeight() const { return CellHeight_; }
  /// 1 unless the generated texture had to be smaller than its size asked for.
  float SizeScale() const { return SizeScale_; }
  /// Whether the cells come from a generated texture.
  bool Generated() const { return Generated_; }
  /// The generated texture, or none.
  const TTexture* GeneratedTexture() const { return GeneratedTexture_.get(); }
  /// Width of the last generated texture.
  int32_t GenTextureWidth() const { return GenTextureWidth_; }
  /// Height of the last generated texture.
  int32_t GenTextureHeight() const { return GenTextureHeight_; }

 private:
  const TTexture* CurrentTexture() const;
  void RenderCells(const platform::TFontFace& face, const std::string& chars, bool fixedCells,
                   bool italic, platform::TGrayBitmap& bitmap);
  void SetTint(int32_t& channel, int32_t value);

  const platform::TFontSystem& Fonts_;
  TVexelRenderer Renderer_;
  int32_t GenTextureWidth_ = 0;
  int32_t GenTextureHeight_ = 0;
  std::array<TCharUV, 256> CharUV_{};
  std::array<TCharSize, 256> CharSize_{};
  float SizeScale_ = 1;
  TVexelImageList* VexelImageList_ = nullptr;
  int32_t VexelImageIndex_ = 0;
  bool Generated_ = false;
  std::shared_ptr<TTexture> GeneratedTexture_;
  std::string Characters_;
  std::array<int32_t, 256> CharMap_{};
  int32_t CellWidth_ = 0;
  int32_t CellHeight_ = 0;
  int32_t Red_ = 255;
  int32_t Green_ = 255;
  int32_t Blue_ = 255;
  int32_t Alpha_ = 255;
  std::string FontName_;
  std::array<uint32_t, 4> Colors_{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  TVexelScreen* VexelScreen_ = nullptr;
};

}  // namespace vexel
