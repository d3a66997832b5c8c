#include "FontSystem.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>

namespace platform {
namespace {

// The family asked for when a face cannot be opened.
constexpr const char* kFallbackFamily = "sans-serif";

std::string StringOf(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

TFontMatch MatchOf(FcPattern* font) {
  TFontMatch match;
  match.File = StringOf(font, FC_FILE);
  match.Family = StringOf(font, FC_FAMILY);
  int index = 0;
  if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) match.Index = index;
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) {
    match.Embolden = embolden != FcFalse;
  }
  FcMatrix* matrix = nullptr;
  if (FcPatternGetMatrix(font, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix) {
    match.Matrix = {matrix->xx, matrix->xy, matrix->yx, matrix->yy};
    match.Slant = match.Matrix != std::array<double, 4>{1, 0, 0, 1};
  }
  return match;
}

}  // namespace

TFontSystem::TFontSystem(const std::string& aliasFile) {
  Config_ = FcInitLoadConfig();
  std::error_code error;
  if (Config_ && !aliasFile.empty() && std::filesystem::is_regular_file(aliasFile, error)) {
    AliasesLoaded_ =
        FcConfigParseAndLoad(Config_, reinterpret_cast<const FcChar8*>(aliasFile.c_str()),
                             FcTrue) != FcFalse;
  }
  if (Config_ && FcConfigBuildFonts(Config_) == FcFalse) {
    FcConfigDestroy(Config_);
    Config_ = nullptr;
  }
  if (FT_Init_FreeType(&Library_) != 0) Library_ = nullptr;
}

TFontSystem::~TFontSystem() {
  if (Library_) FT_Done_FreeType(Library_);
  if (Config_) FcConfigDestroy(Config_);
}

TFontMatch TFontSystem::Match(const std::string& face, int32_t pixelHeight,
                              const TFontStyle& style) const {
  if (!Config_) return {};
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, style.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, style.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelHeight);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(Config_, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(Config_, pattern, &result);
  FcPatternDestroy(pattern);
  if (!font) return {};
  TFontMatch match = MatchOf(font);
  FcPatternDestroy(font);
  return match;
}

std::unique_ptr<TFontFace> TFontSystem::Open(const TFontRequest& request) const {
  if (!Valid()) return nullptr;
  auto face =
      TFontFace::Open(Library_, Match(request.Face, request.PixelHeight, request.Style), request);
  if (!face) {
    face = TFontFace::Open(Library_, Match(kFallbackFamily, request.PixelHeight, request.Style),
                           request);
  }
  return face;
}

}  // namespace platform
