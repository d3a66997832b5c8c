#include "FontTestSupport.h"

#include "engine/VexelBitmapFont.h"
#include "platform/ImageFile.h"

namespace fonts_test {

std::string AliasFile() {
  return CLD_FONTS_CONF;
}

std::string OutputFolder() {
  return CLD_FONTS_TEST_OUTPUT;
}

std::shared_ptr<vexel::TTexture> TCountingDevice::CreateTexture(int32_t width, int32_t height,
                                                                std::vector<uint32_t> texels) {
  ++TexturesMade;
  return TRecordingDevice::CreateTexture(width, height, std::move(texels));
}

std::unique_ptr<vexel::TDisplayDevice> TCountingSystem::CreateDevice(const vexel::TPresentParams&,
                                                                     bool) {
  auto device = std::make_unique<TCountingDevice>();
  device->MaxTextureSide = MaxTextureSide_;
  LastDevice = device.get();
  return device;
}

TRecordingScreen::TRecordingScreen(int32_t maxTextureSide) {
  auto system = std::make_unique<TCountingSystem>(maxTextureSide);
  System = system.get();
  Screen = std::make_unique<vexel::TVexelScreen>(std::move(system));
}

std::vector<vexel::TDeviceCall> TRecordingScreen::Draws() const {
  return Device().CallsOf(vexel::TDeviceCall::TKind::Draw);
}

std::vector<uint8_t> FontPicturePng(const std::string& characters, int32_t cellWidth,
                                    int32_t cellHeight, int32_t columns, int32_t rows) {
  const platform::TFontSystem fonts(AliasFile());
  const auto face = fonts.Open({"MathSoftText", cellHeight * 3 / 4, {}, true});
  auto coverage = platform::TGrayBitmap::Blank(cellWidth * columns, cellHeight * rows);
  for (size_t k = 0; face && k < characters.size() && k < static_cast<size_t>(columns * rows);
       ++k) {
    const auto cell = static_cast<int32_t>(k);
    face->DrawText(coverage, (cell % columns) * cellWidth + 1, (cell / columns) * cellHeight,
                   characters.substr(k, 1), false);
  }
  std::vector<uint32_t> argb(coverage.Pixels.size());
  for (size_t i = 0; i < argb.size(); ++i) {
    argb[i] = static_cast<uint32_t>(coverage.Pixels[i]) << 24 | 0xFFFFFFu;
  }
  std::vector<uint8_t> png;
  platform::EncodePng(coverage.Width, coverage.Height, argb, png);
  return png;
}

vexel::TImageListItem& AddFontPicture(vexel::TVexelImageList& list, const std::string& name,
                                      int32_t cellWidth, int32_t cellHeight, int32_t columns,
                                      int32_t rows) {
  vexel::TImageListItem& item = *list.ImageList.Add();
  item.Name = name;
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  picture.Data = FontPicturePng(vexel::DefaultCharacters(), cellWidth, cellHeight, columns, rows);
  item.SetPicture(picture);
  item.SetTileWidth(cellWidth);
  item.SetTileHeight(cellHeight);
  return item;
}

}  // namespace fonts_test
