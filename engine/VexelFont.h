#pragma once
// System-font text drawn in one colour: the font component the game's screens write with.

#include <cstdint>
#include <memory>
#include <string>

#include "DeviceClient.h"
#include "platform/FontGlyphCache.h"
#include "platform/FontSystem.h"

namespace vexel {

class TVexelScreen;

/// Draws 8-bit (code page 1251) text with a system font in one colour, top-left anchored, with
/// line breaks honoured and no clipping, and measures text in the same face, size and style.
/// The glyphs live in a cache made for the screen's device: released before the device goes
/// and made again when it comes back. A font registered with a screen must be destroyed, or
/// given no screen, before that screen.
class TVexelFont : public TDeviceClient {
 public:
  /// A font without a face, drawing with the given system fonts (which must outlive it).
  explicit TVexelFont(const platform::TFontSystem& fonts);
  ~TVexelFont() override;
  TVexelFont(const TVexelFont&) = delete;
  TVexelFont& operator=(const TVexelFont&) = delete;

  /// Sets the display device (registering with it and leaving the previous one) or none.
  void SetVexelScreen(TVexelScreen* screen);
  /// The display device.
  TVexelScreen* VexelScreen() const { return VexelScreen_; }
  /// Stores face, size in points and style, sets the colour to opaque white and makes the font
  /// again; returns true.
  bool SetFont(const std::string& faceName, int32_t size, const platform::TFontStyle& style);
  /// Stores a packed ARGB colour and its four bytes.
  void SetColor(uint32_t argb);
  /// Draws text with its top-left corner at (x, y) in ARGB (alpha, red, green, blue), taking
  /// the low byte of each; nothing without a face or a device.
  void TextOut(int32_t x, int32_t y, const std::string& text, int32_t red, int32_t green,
               int32_t blue, int32_t alpha);
  /// Draws text in the stored colour bytes.
  void TextOut(int32_t x, int32_t y, const std::string& text);
  /// Width of the widest line of the text in pixels (0 without a face).
  int32_t TextWidth(const std::string& text) const;
  /// Height of the text's lines in pixels (0 without a face).
  int32_t TextHeight(const std::string& text) const;

  /// Face name asked for.
  const std::string& FontName() const { return FontName_; }
  /// Size in points.
  int32_t Size() const { return Size_; }
  /// Style asked for.
  const platform::TFontStyle& Style() const { return Style_; }
  /// The opened face, or none.
  const platform::TFontFace* Face() const { return Face_.get(); }
  /// The glyph cache of the current device, or none.
  const platform::TFontGlyphCache* GlyphCache() const { return Cache_.get(); }

  TDeviceClientKind DeviceClientKind() const override { return TDeviceClientKind::SystemFont; }
  void DeviceRestore() override;
  void DeviceInvalidate() override { Cache_.reset(); }

  /// Colour bytes of the one-colour TextOut; game code may write them directly.
  uint8_t Red = 255;
  uint8_t Blue = 255;
  uint8_t Green = 255;
  uint8_t Alpha = 255;
  /// The packed colour last given to SetColor.
  uint32_t Color = 0xFFFFFFFF;

 private:
  void DrawGlyph(const platform::TCachedGlyph& glyph, int32_t penX, int32_t lineTop, uint32_t color,
                 int32_t& selectedPage);
  void DrawBars(int32_t left, int32_t lineTop, int32_t width, uint32_t color,
                int32_t& selectedPage);

  const platform::TFontSystem& Fonts_;
  std::unique_ptr<platform::TFontFace> Face_;
  std::unique_ptr<platform::TFontGlyphCache> Cache_;
  std::string FontName_;
  int32_t Size_ = 0;
  platform::TFontStyle Style_;
  TVexelScreen* VexelScreen_ = nullptr;
};

}  // namespace vexel
