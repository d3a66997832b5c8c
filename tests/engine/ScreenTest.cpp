// The display device and quad renderer through the recording back end.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/RecordingDevice.h"
#include "engine/VexelRenderer.h"
#include "engine/VexelScreen.h"

namespace {

using vexel::TBlendFactor;
using vexel::TDeviceCall;
using Kind = vexel::TDeviceCall::TKind;

class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest() {
    auto system = std::make_unique<vexel::TRecordingSystem>();
    System = system.get();
    Screen = std::make_unique<vexel::TVexelScreen>(std::move(system));
    Screen->Initialize();
    Device = System->LastDevice;
    Device->Calls.clear();
    Renderer.Bind(Screen.get());
  }

  // Draws a WxH quad at (x, y) the way image entries do: corners minus half a pixel.
  void DrawQuad(float x, float y, float w, float h, uint32_t color = 0xFFFFFFFF) {
    Renderer.SetColors(color, color, color, color);
    Renderer.SetPositions(x - 0.5f, y - 0.5f, x + w - 0.5f, y - 0.5f, x + w - 0.5f, y + h - 0.5f,
                          x - 0.5f, y + h - 0.5f);
    Renderer.RotateScale(x, y, 0, 1, 1);
    Renderer.Render();
  }

  vexel::TRecordingSystem* System = nullptr;
  vexel::TRecordingDevice* Device = nullptr;
  std::unique_ptr<vexel::TVexelScreen> Screen;
  vexel::TVexelRenderer Renderer;
};

TEST_F(ScreenTest, QuadCornersFollowTheHalfPixelRules) {
  Screen->BeginScene();
  DrawQuad(10, 20, 32, 16);
  const auto draws = Device->CallsOf(Kind::Draw);
  ASSERT_EQ(draws.size(), 1u);
  const auto& v = draws[0].Vertices;
  ASSERT_EQ(v.size(), 4u);
  const float expected[4][2] = {{9.5f, 19.5f}, {42, 19.5f}, {42, 36}, {9.5f, 36}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(v[i].X, expected[i][0]) << "vertex " << i;
    EXPECT_FLOAT_EQ(v[i].Y, expected[i][1]) << "vertex " << i;
    EXPECT_FLOAT_EQ(v[i].Z, 0);
    EXPECT_FLOAT_EQ(v[i].Rhw, 1);
  }
}

// Frames drawn at x = 0, 10, 20 ...: a quad and a presentation each.
struct KeptFramesCase {
  const char* Name;
  bool KeepsAllFrames;
  int Frames;
  // The quads kept, by their left edge.
  std::vector<float> KeptLefts;
};

class RecordedFrames : public ScreenTest, public ::testing::WithParamInterface<KeptFramesCase> {};

TEST_P(RecordedFrames, AHeadlessRunKeepsOnlyTheLastFrameAndTheOneBeingDrawn) {
  const KeptFramesCase& c = GetParam();
  Device->KeepsAllFrames = c.KeepsAllFrames;
  for (int frame = 0; frame < c.Frames; ++frame) {
    Screen->BeginScene();
    DrawQuad(static_cast<float>(frame * 10), 0, 4, 4);
    Screen->EndScene();
  }
  Screen->BeginScene();  // the frame being drawn
  DrawQuad(500, 0, 4, 4);
  std::vector<float> lefts;
  for (const auto& draw : Device->CallsOf(Kind::Draw)) lefts.push_back(draw.Vertices[0].X + 0.5f);
  std::vector<float> expected = c.KeptLefts;
  expected.push_back(500);
  EXPECT_EQ(lefts, expected);
  EXPECT_EQ(Device->CallsOf(Kind::Present).size(), c.KeptLefts.size());
}

const KeptFramesCase kKeptFrames[] = {
    {"EveryFrameForTests", true, 3, {0, 10, 20}},
    {"LastFrameHeadless", false, 3, {20}},
    {"FirstFrameHeadless", false, 1, {0}},
    {"NoFrameYetHeadless", false, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Recording, RecordedFrames, ::testing::ValuesIn(kKeptFrames),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST_F(ScreenTest, ScreenColourScalesEveryChannelSoWhiteBecomes254) {
  Screen->BeginScene();
  DrawQuad(0, 0, 4, 4, 0xFFFFFFFF);
  Screen->SetColor(0x80FF40FF);
  DrawQuad(0, 0, 4, 4, 0xFFFFFFFF);
  const auto draws = Device->CallsOf(Kind::Draw);
  ASSERT_EQ(draws.size(), 2u);
  for (const auto& v : draws[0].Vertices) EXPECT_EQ(v.Color, 0xFEFEFEFEu);
  EXPECT_EQ(draws[1].Vertices[0].Color, 0x7FFE3FFEu);
}

TEST_F(ScreenTest, EveryBlendModeSetsItsFactorPair) {
  using F = TBlendFactor;
  const std::pair<F, F> table[] = {{F::SrcAlpha, F::InvSrcAlpha},
                                   {F::One, F::One},
                                   {F::SrcAlpha, F::One},
                                   {F::SrcColor, F::InvSrcColor},
                                   {F::SrcColor, F::One},
                                   {F::Zero, F::SrcColor},
                                   {F::Zero, F::SrcAlpha},
                                   {F::Zero, F::InvSrcColor},
                                   {F::Zero, F::InvSrcAlpha},
                                   {F::InvDestColor, F::Zero},
                                   {F::SrcColor, F::SrcColor},
                                   {F::DestColor, F::DestColor},
                                   {F::InvSrcColor, F::InvSrcColor},
                                   {F::InvDestColor, F::InvDestColor}};
  for (int mode = 13; mode >= 0; --mode) {
    Device->Calls.clear();
    Screen->SetBlendMode(mode);
    const auto blends = Device->CallsOf(Kind::Blend);
    ASSERT_EQ(blends.size(), 1u) << "mode " << mode;
    EXPECT_EQ(blends[0].Source, table[mode].first) << "mode " << mode;
    EXPECT_EQ(blends[0].Destination, table[mode].second) << "mode " << mode;
    EXPECT_EQ(Screen->CurrentBlendMode(), mode);
  }
}

TEST_F(ScreenTest, BlendStateChangesOnlyWhenTheModeDiffers) {
  Screen->SetBlendMode(1);
  Screen->SetBlendMode(1);
  Screen->SetBlendMode(-1);
  EXPECT_EQ(Device->CallsOf(Kind::Blend).size(), 1u);
  EXPECT_EQ(Screen->CurrentBlendMode(), 1);
  Screen->SetBlendMode(99);
  const auto blends = Device->CallsOf(Kind::Blend);
  ASSERT_EQ(blends.size(), 2u);
  EXPECT_EQ(blends[1].Source, TBlendFactor::SrcAlpha);
  EXPECT_EQ(blends[1].Destination, TBlendFactor::InvSrcAlpha);
  EXPECT_EQ(Screen->CurrentBlendMode(), 99);
}

TEST_F(ScreenTest, DirectDestinationFactorLeavesTheModeNumber) {
  Screen->SetDestBlend(TBlendFactor::One);
  const auto blends = Device->CallsOf(Kind::Blend);
  ASSERT_EQ(blends.size(), 1u);
  EXPECT_EQ(blends[0].Source, TBlendFactor::SrcAlpha);
  EXPECT_EQ(blends[0].Destination, TBlendFactor::One);
  EXPECT_EQ(Screen->CurrentBlendMode(), 0);
}

TEST_F(ScreenTest, MirrorFlagsSwapTheTextureCoordinatePairs) {
  struct Case {
    bool MirrorX, MirrorY;
    int Order[4];
  };
  const Case cases[] = {{false, false, {0, 1, 2, 3}},
                        {true, false, {1, 0, 3, 2}},
                        {false, true, {3, 2, 1, 0}},
                        {true, true, {2, 3, 0, 1}}};
  const float u[4] = {0.1f, 0.2f, 0.3f, 0.4f};
  for (const auto& c : cases) {
    Renderer.SetMirrorX(c.MirrorX);
    Renderer.SetMirrorY(c.MirrorY);
    Renderer.SetTexCoords(u[0], 0, u[1], 0, u[2], 0, u[3], 0);
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(Renderer.Vertices()[i].U, u[c.Order[i]])
          << "mirrorX " << c.MirrorX << " mirrorY " << c.MirrorY << " vertex " << i;
    }
  }
}

TEST_F(ScreenTest, MirrorXTakesEffectAtTheNextTexCoordsOnly) {
  Renderer.SetTexCoords(0, 0, 1, 0, 1, 1, 0, 1);
  Renderer.SetMirrorX(true);
  EXPECT_FLOAT_EQ(Renderer.Vertices()[0].U, 0);
  Renderer.SetMirrorY(true);  // re-applies the stored pairs with both flags
  EXPECT_FLOAT_EQ(Renderer.Vertices()[0].U, 1);
  EXPECT_FLOAT_EQ(Renderer.Vertices()[0].V, 1);
}

TEST_F(ScreenTest, ScreenTransformRotatesAboutTheCentreAndOffsets) {
  Screen->CenterX = 400;
  Screen->CenterY = 300;
  Screen->Rotation = 90;
  Screen->OffsetX = 5;
  Screen->OffsetY = -5;
  Screen->BeginScene();
  DrawQuad(500.5f, 300.5f, 0, 0);
  const auto v = Device->CallsOf(Kind::Draw).at(0).Vertices;
  // (500, 300) turns clockwise a quarter about (400, 300) to (400, 400), then moves by (5, -5).
  EXPECT_NEAR(v[0].X, 405, 1e-3);
  EXPECT_NEAR(v[0].Y, 395, 1e-3);
}

TEST_F(ScreenTest, RotateScaleTurnsClockwiseAboutThePivot) {
  Renderer.SetPositions(10, 0, 10, 0, 10, 0, 10, 0);
  Renderer.RotateScale(0, 0, 90, 2, 1);
  EXPECT_NEAR(Renderer.Vertices()[0].X, 0, 1e-5);
  EXPECT_NEAR(Renderer.Vertices()[0].Y, 20, 1e-5);
}

TEST_F(ScreenTest, DrawingOutsideAFrameShowsNothing) {
  DrawQuad(0, 0, 4, 4);
  Screen->EndScene();
  EXPECT_TRUE(Device->CallsOf(Kind::Draw).empty());
  EXPECT_TRUE(Device->CallsOf(Kind::Present).empty());
  Screen->BeginScene();
  Screen->EndScene();
  EXPECT_EQ(Device->CallsOf(Kind::Present).size(), 1u);
}

TEST_F(ScreenTest, ClearAndPutPixel) {
  Screen->Clear(0, 0, 0, 0);
  Screen->ZBuffer = false;
  Screen->Clear(1, 2, 3, 4);
  Screen->PutPixel(7, 9, 255, 200, 100, 100);
  const auto clears = Device->CallsOf(Kind::Clear);
  ASSERT_EQ(clears.size(), 3u);
  EXPECT_EQ(clears[0].Color, 0u);
  EXPECT_TRUE(clears[0].Flag);
  EXPECT_FALSE(clears[0].HasArea);
  EXPECT_EQ(clears[1].Color, 0x04010203u);
  EXPECT_FALSE(clears[1].Flag);
  EXPECT_TRUE(clears[2].HasArea);
  EXPECT_EQ(clears[2].Area, (vexel::TRect{7, 9, 8, 10}));
  EXPECT_EQ(clears[2].Color, 0x64FFC864u);
}

TEST_F(ScreenTest, PropertySettersKeepOnlyAcceptedValues) {
  Screen->SetFrequency(65);
  EXPECT_EQ(Screen->Frequency(), 0u);
  Screen->SetFrequency(144);
  EXPECT_EQ(Screen->Frequency(), 144u);
  Screen->SetBpp(24);
  EXPECT_EQ(Screen->Bpp(), 16);
  Screen->SetBpp(32);
  EXPECT_EQ(Screen->Bpp(), 32);
  Screen->SetRed(10);
  Screen->SetAlpha(20);
  EXPECT_EQ(Screen->ScreenColor(), 0x140AFFFFu);
}

TEST_F(ScreenTest, UnknownFullScreenSizeFallsBackTo800x600) {
  Screen->Width = 1000;
  Screen->Height = 700;
  Screen->ResetDevice();
  EXPECT_EQ(Screen->PresentParams().BackBufferWidth, 1000);
  Screen->ToggleFullScreen();
  EXPECT_TRUE(System->FullScreen);
  EXPECT_EQ(Screen->PresentParams().BackBufferWidth, 800);
  EXPECT_EQ(Screen->PresentParams().BackBufferHeight, 600);
  EXPECT_EQ(Screen->PresentParams().BackBufferCount, 1);
  EXPECT_TRUE(Screen->Active());
  Screen->ToggleFullScreen();
  EXPECT_FALSE(System->FullScreen);
  EXPECT_EQ(Screen->PresentParams().BackBufferWidth, 1000);
}

TEST_F(ScreenTest, LostDeviceSkipsFramesAndResetsWhenItCan) {
  Device->Level = vexel::TCooperativeLevel::Lost;
  Screen->BeginScene();
  EXPECT_FALSE(Screen->InScene());
  Device->Level = vexel::TCooperativeLevel::NotReset;
  Screen->BeginScene();
  EXPECT_FALSE(Screen->InScene());
  EXPECT_EQ(Device->CallsOf(Kind::Reset).size(), 1u);
  Device->Level = vexel::TCooperativeLevel::Ok;
  Screen->BeginScene();
  EXPECT_TRUE(Screen->InScene());
}

TEST_F(ScreenTest, ResetKeepsBlendAndFilteringState) {
  Screen->SetBlendMode(2);
  Screen->SetFiltering(true);
  Device->Calls.clear();
  EXPECT_EQ(Screen->ResetDevice(), 0);
  const auto blends = Device->CallsOf(Kind::Blend);
  ASSERT_FALSE(blends.empty());
  EXPECT_EQ(blends.back().Destination, TBlendFactor::One);
  const auto filters = Device->CallsOf(Kind::Filtering);
  ASSERT_FALSE(filters.empty());
  EXPECT_TRUE(filters.back().Flag);
  Device->ResetSucceeds = false;
  EXPECT_NE(Screen->ResetDevice(), 0);
}

/// A component that logs when the screen restores or invalidates it.
class TLoggingClient : public vexel::TDeviceClient {
 public:
  TLoggingClient(vexel::TDeviceClientKind kind, std::string name, std::string& log)
      : Kind_(kind), Name_(std::move(name)), Log_(log) {}
  vexel::TDeviceClientKind DeviceClientKind() const override { return Kind_; }
  void DeviceRestore() override { Log_ += "+" + Name_; }
  void DeviceInvalidate() override { Log_ += "-" + Name_; }

 private:
  vexel::TDeviceClientKind Kind_;
  std::string Name_;
  std::string& Log_;
};

TEST_F(ScreenTest, ComponentsRestoreImageListsFirstAndInvalidateFontsFirst) {
  std::string log;
  using K = vexel::TDeviceClientKind;
  TLoggingClient gui(K::Gui, "gui", log), font(K::BitmapFont, "font", log),
      list(K::ImageList, "list", log), text(K::SystemFont, "text", log);
  for (auto* c : {&gui, &font, &list, &text}) Screen->AddClient(c);
  Screen->ResetDevice();
  EXPECT_EQ(log, "-font-text-list-gui+list+gui+font+text");
  for (auto* c : {&gui, &font, &list, &text}) Screen->RemoveClient(c);
}

TEST(ScreenFatalTest, NoGraphicsSystemEndsTheProgramWithExitCode1) {
  EXPECT_EXIT(vexel::TVexelScreen screen(nullptr), ::testing::ExitedWithCode(1),
              "Could not initialize Direct3D");
}

TEST(ScreenFatalTest, NoCompatibleDeviceEndsTheProgramWithExitCode1) {
  auto system = std::make_unique<vexel::TRecordingSystem>();
  system->DevicesAvailable = false;
  auto* raw = system.get();
  vexel::TVexelScreen screen(std::move(system));
  EXPECT_EXIT(screen.Initialize(), ::testing::ExitedWithCode(1),
              "Could not find any compatible Direct3D");
  EXPECT_EQ(raw->CreateCount, 0);  // the attempts happened in the child process
}

}  // namespace
