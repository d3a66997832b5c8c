#pragma once
// The system fonts: fontconfig finds the file for a face name, FreeType opens it.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

#include "FontFace.h"
#include "FontTypes.h"

struct _FcConfig;

namespace platform {

/// The system's fonts as the game sees them: the fontconfig configuration of the machine plus
/// the game's own face aliases (a fonts.conf file in its data folder that maps the face names
/// its texts ask for to installed fonts), and one FreeType library that opens the files.
/// A face name nothing matches falls back to the configuration's default sans face.
class TFontSystem {
 public:
  /// Loads the machine's configuration and then the alias file (which may be missing).
  explicit TFontSystem(const std::string& aliasFile);
  ~TFontSystem();
  TFontSystem(const TFontSystem&) = delete;
  TFontSystem& operator=(const TFontSystem&) = delete;

  /// Whether fontconfig and FreeType could be set up.
  bool Valid() const { return Config_ != nullptr && Library_ != nullptr; }
  /// Whether the alias file was read.
  bool AliasesLoaded() const { return AliasesLoaded_; }
  /// The file fontconfig picks for a face name, size and style (an empty File when none).
  TFontMatch Match(const std::string& face, int32_t pixelHeight, const TFontStyle& style) const;
  /// Opens the font for a request, falling back to the default sans face; none when no font
  /// file can be opened at all.
  std::unique_ptr<TFontFace> Open(const TFontRequest& request) const;

 private:
  _FcConfig* Config_ = nullptr;
  FT_Library Library_ = nullptr;
  bool AliasesLoaded_ = false;
};

}  // namespace platform
