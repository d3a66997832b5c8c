#pragma once
// Shared pieces of the font tests: the game's font configuration, a display device that
// records (and counts textures), and a font picture laid out like the menu list's entry 0.

#include <memory>
#include <string>
#include <vector>

#include "engine/RecordingDevice.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "platform/FontSystem.h"

namespace fonts_test {

/// The alias file the game ships, from the source tree.
std::string AliasFile();
/// A folder the tests may write into.
std::string OutputFolder();

/// A recording device that also counts the textures made on it.
class TCountingDevice : public vexel::TRecordingDevice {
 public:
  std::shared_ptr<vexel::TTexture> CreateTexture(int32_t width, int32_t height,
                                                 std::vector<uint32_t> texels) override;
  int32_t TexturesMade = 0;
};

/// The graphics system of the counting device; remembers the device it made last.
class TCountingSystem : public vexel::TDisplaySystem {
 public:
  explicit TCountingSystem(int32_t maxTextureSide = 4096) : MaxTextureSide_(maxTextureSide) {}
  std::unique_ptr<vexel::TDisplayDevice> CreateDevice(const vexel::TPresentParams& params,
                                                      bool software) override;
  void SetWindowFullScreen(bool) override {}
  void ShowCursor(bool) override {}
  TCountingDevice* LastDevice = nullptr;

 private:
  int32_t MaxTextureSide_;
};

/// A screen on a counting device; Device() is the device of the last Initialize.
struct TRecordingScreen {
  explicit TRecordingScreen(int32_t maxTextureSide = 4096);
  TCountingDevice& Device() const { return *System->LastDevice; }
  /// The quads drawn since the calls were last cleared.
  std::vector<vexel::TDeviceCall> Draws() const;
  TCountingSystem* System;
  std::unique_ptr<vexel::TVexelScreen> Screen;
};

/// PNG bytes of a font picture: the characters of the set in cells of the given size, row by
/// row, columns per row; each cell holds its glyph drawn with the game's "MathSoftText" face.
std::vector<uint8_t> FontPicturePng(const std::string& characters, int32_t cellWidth,
                                    int32_t cellHeight, int32_t columns, int32_t rows);

/// Adds an entry holding a font picture to a list.
vexel::TImageListItem& AddFontPicture(vexel::TVexelImageList& list, const std::string& name,
                                      int32_t cellWidth, int32_t cellHeight, int32_t columns,
                                      int32_t rows);

}  // namespace fonts_test
