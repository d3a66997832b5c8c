// Measures the sprite engine on a scene of 500 animated, rotating, tinted sprites at ten depths,
// some of them outside the drawing area: one frame is ClearDead, Move and Draw.
//
//   SpriteFrame/Recording   the processor cost of the engine: the recording device receives
//                           every call (its log is emptied each frame)
//   SpriteFrame/OpenGL      the real OpenGL device offscreen, the frame read back each time so
//                           every frame is really drawn (SDL_VIDEODRIVER=offscreen)
//   SpriteChurn             500 sprites made at random depths, killed and freed
//   SpriteCollisions        a large sprite tested against the 500 by rectangles, then pixels

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "engine/RecordingDevice.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "engine/VexelSprite.h"
#include "platform/GlDevice.h"
#include "platform/ImageFile.h"

namespace {

constexpr int kSprites = 500;

// A sprite drifting across the screen, wrapping at the edges, turning and stepping through the
// four cells of its image every fifth frame.
class TDrifter : public vexel::TSprite {
 public:
  TDrifter(vexel::TVexelSprite& engine, vexel::TImageListItem* image, std::mt19937& random)
      : TSprite(engine) {
    std::uniform_real_distribution<float> place(-100, 900);
    std::uniform_real_distribution<float> speed(-2, 2);
    SetImage(image);
    SetX(place(random));
    SetY(place(random) * 0.75f);
    SetZ(static_cast<int32_t>(random() % 10) * 10);
    SetAlpha(static_cast<int32_t>(128 + random() % 128));
    SpeedX_ = speed(random);
    SpeedY_ = speed(random);
    CenterX = CenterY = 0.5f;
  }

  void DoMove(float delta) override {
    TSprite::DoMove(delta);
    SetX(Wrap(X() + SpeedX_, -100, 900));
    SetY(Wrap(Y() + SpeedY_, -100, 700));
    Rotation += 1.5f;
    if (++Tick_ % 5 == 0) SetPatternIndex((PatternIndex() + 1) % 4);
  }

 private:
  static float Wrap(float v, float low, float high) { return v < low ? high : v > high ? low : v; }

  float SpeedX_ = 0;
  float SpeedY_ = 0;
  int Tick_ = 0;
};

// A 64 x 64 picture of four 32 x 32 cells, each a disc on transparent texels.
std::vector<uint32_t> DiscCells(uint32_t rgb) {
  std::vector<uint32_t> texels(64 * 64, 0);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const float dx = static_cast<float>(x % 32) - 15.5f;
      const float dy = static_cast<float>(y % 32) - 15.5f;
      if (std::hypot(dx, dy) < 14) texels[static_cast<size_t>(y) * 64 + x] = 0xFF000000u | rgb;
    }
  }
  return texels;
}

// A display device with an image list of four disc pictures and a sprite engine.
struct TScene {
  explicit TScene(std::unique_ptr<vexel::TDisplaySystem> system) : Screen(std::move(system)) {
    Screen.Initialize();
    List.SetVexelScreen(&Screen);
    for (uint32_t rgb : {0xFF4040u, 0x40FF40u, 0x4040FFu, 0xFFFF40u}) {
      vexel::TPicture picture;
      picture.Kind = vexel::TPicture::TKind::Png;
      platform::EncodePng(64, 64, DiscCells(rgb), picture.Data);
      auto* item = List.ImageList.Add();
      item->SetPicture(picture);
      item->SetTileWidth(32);
      item->SetTileHeight(32);
      Images.push_back(item);
    }
    List.Prepare();
    Engine.DrawAreaX2 = 799;
    Engine.DrawAreaY2 = 599;
  }

  void Populate() {
    std::mt19937 random(2024);
    for (int i = 0; i < kSprites; ++i) Engine.Create<TDrifter>(Images[i % Images.size()], random);
  }

  void Frame() {
    Engine.ClearDead();
    Engine.Move(0);
    Engine.Draw();
  }

  vexel::TVexelScreen Screen;
  vexel::TVexelImageList List;
  std::vector<vexel::TImageListItem*> Images;
  vexel::TVexelSprite Engine;
};

void SpriteFrameRecording(benchmark::State& state) {
  TScene scene(std::make_unique<vexel::TRecordingSystem>());
  auto* device = static_cast<vexel::TRecordingDevice*>(scene.Screen.Device());
  scene.Populate();
  for (auto _ : state) {
    device->Calls.clear();
    scene.Screen.BeginScene();
    scene.Frame();
    scene.Screen.EndScene();
  }
  state.counters["quads"] =
      static_cast<double>(device->CallsOf(vexel::TDeviceCall::TKind::Draw).size());
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(SpriteFrameRecording)->Name("SpriteFrame/Recording");

void SpriteFrameOpenGl(benchmark::State& state) {
  std::unique_ptr<platform::TPlatformWindow> window;
  try {
    window = std::make_unique<platform::TPlatformWindow>("sprite-bench", 800, 600);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  TScene scene(std::make_unique<platform::TGlSystem>(*window));
  scene.Populate();
  std::vector<uint32_t> pixels;
  int32_t width = 0;
  int32_t height = 0;
  for (auto _ : state) {
    scene.Screen.Clear(0, 0, 0, 0);
    scene.Screen.BeginScene();
    scene.Frame();
    scene.Screen.EndScene();
    scene.Screen.Device()->ReadBackBuffer(pixels, width, height);
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(SpriteFrameOpenGl)
    ->Name("SpriteFrame/OpenGL")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void SpriteChurn(benchmark::State& state) {
  TScene scene(std::make_unique<vexel::TRecordingSystem>());
  for (auto _ : state) {
    scene.Populate();
    for (int i = 0; i < scene.Engine.Count(); ++i) scene.Engine.Items(i)->Kill();
    scene.Engine.ClearDead();
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(SpriteChurn);

void SpriteCollisions(benchmark::State& state) {
  TScene scene(std::make_unique<vexel::TRecordingSystem>());
  scene.Populate();
  const std::vector<vexel::TSprite*> others = scene.Engine.SpriteList();
  const bool pixels = state.range(0) != 0;
  for (auto* sprite : others) {
    sprite->Collidable = true;
    sprite->PixelCheck = pixels;
  }
  // A 256 x 256 disc in the middle of the screen, overlapping a tenth of the others or so.
  vexel::TPicture picture;
  picture.Kind = vexel::TPicture::TKind::Png;
  std::vector<uint32_t> disc(256 * 256, 0);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const float d = std::hypot(static_cast<float>(x) - 127.5f, static_cast<float>(y) - 127.5f);
      if (d < 128) disc[static_cast<size_t>(y) * 256 + x] = 0xFFFFFFFFu;
    }
  }
  platform::EncodePng(256, 256, disc, picture.Data);
  auto* large = scene.List.ImageList.Add();
  large->SetPicture(picture);
  scene.List.Prepare();
  auto* player = scene.Engine.Create<vexel::TSprite>();
  player->SetImage(large);
  player->SetX(272);
  player->SetY(172);
  player->Collidable = true;
  player->PixelCheck = pixels;
  for (auto _ : state) {
    for (auto* other : others) player->Collision(other);
  }
  state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(SpriteCollisions)->ArgName("pixels")->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
