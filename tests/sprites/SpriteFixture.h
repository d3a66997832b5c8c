#pragma once
// A sprite engine over a real image list prepared on the recording display device, and a sprite
// class that logs what the engine does to it.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/RecordingDevice.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "engine/VexelSprite.h"
#include "platform/ImageFile.h"

namespace spritetest {

/// What a probe sprite was told by one DoCollision call.
struct THit {
  vexel::TSprite* Other = nullptr;
  int32_t X = 0;
  int32_t Y = 0;
};

/// A sprite that writes "move", "draw", "hit" and "free" events with its label to a shared log
/// and keeps the hits it was told about; OnMove runs inside its DoMove.
class TProbeSprite : public vexel::TSprite {
 public:
  TProbeSprite(vexel::TVexelSprite& engine, std::string label, std::vector<std::string>& log,
               int32_t z = 0)
      : TSprite(engine), Label(std::move(label)), Log(log) {
    SetZ(z);
  }
  ~TProbeSprite() override { Log.push_back("free " + Label); }

  void DoMove(float delta) override {
    TSprite::DoMove(delta);
    Log.push_back("move " + Label);
    if (OnMove) OnMove(*this);
  }
  void DoDraw() override {
    Log.push_back("draw " + Label);
    TSprite::DoDraw();
  }
  void DoCollision(vexel::TSprite* other, int32_t hitX, int32_t hitY) override {
    Log.push_back("hit " + Label);
    Hits.push_back({other, hitX, hitY});
  }

  std::string Label;
  std::vector<std::string>& Log;
  std::vector<THit> Hits;
  std::function<void(TProbeSprite&)> OnMove;
};

/// Packs an opaque colour.
constexpr uint32_t Opaque(uint32_t rgb) {
  return 0xFF000000u | rgb;
}

/// A recording display device with an image list bound to it, and a sprite engine.
class SpriteFixture : public ::testing::Test {
 protected:
  SpriteFixture() : Screen(std::make_unique<vexel::TRecordingSystem>()) {
    Screen.Initialize();
    Device = static_cast<vexel::TRecordingSystem*>(Screen.System())->LastDevice;
    List.SetVexelScreen(&Screen);
  }

  /// Adds a PNG entry of width x height texels (row by row) cut into tiles, and prepares the list.
  vexel::TImageListItem* AddImage(const std::string& name, int32_t width, int32_t height,
                                  int32_t tileWidth, int32_t tileHeight,
                                  const std::vector<uint32_t>& texels) {
    vexel::TPicture picture;
    picture.Kind = vexel::TPicture::TKind::Png;
    EXPECT_TRUE(platform::EncodePng(width, height, texels, picture.Data));
    vexel::TImageListItem* item = List.ImageList.Add();
    item->Name = name;
    item->SetPicture(picture);
    item->SetTileWidth(tileWidth);
    item->SetTileHeight(tileHeight);
    List.Prepare();
    EXPECT_NE(item->Texture, nullptr) << name;
    EXPECT_NE(item->Renderer, nullptr) << name;
    return item;
  }

  /// Adds a width x height entry, one tile, every texel the same.
  vexel::TImageListItem* AddSolid(const std::string& name, int32_t width, int32_t height,
                                  uint32_t texel = Opaque(0xFFFFFF)) {
    return AddImage(name, width, height, width, height,
                    std::vector<uint32_t>(static_cast<size_t>(width * height), texel));
  }

  /// Makes a probe sprite showing an image at (x, y).
  TProbeSprite* Probe(const std::string& label, vexel::TImageListItem* image, float x, float y,
                      int32_t z = 0) {
    auto* sprite = Engine.Create<TProbeSprite>(label, Log, z);
    if (image) sprite->SetImage(image);
    sprite->SetX(x);
    sprite->SetY(y);
    return sprite;
  }

  /// The quads the device drew since the last call.
  std::vector<vexel::TDeviceCall> TakeDraws() {
    auto draws = Device->CallsOf(vexel::TDeviceCall::TKind::Draw);
    Device->Calls.clear();
    return draws;
  }

  vexel::TVexelScreen Screen;
  vexel::TRecordingDevice* Device = nullptr;
  vexel::TVexelImageList List;
  std::vector<std::string> Log;
  vexel::TVexelSprite Engine;
};

}  // namespace spritetest
