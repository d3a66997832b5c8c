// Image lists on the recording back end: cells, texture sizes and coordinates, colour keys,
// preparation, external picture files, texture failures, and the exact quads of every drawing
// operation.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "ImageListTestSupport.h"
#include "engine/RecordingDevice.h"
#include "engine/VexelImageList.h"
#include "engine/VexelScreen.h"
#include "platform/ImageFile.h"

namespace {

using imagelisttest::BmpFile;
using imagelisttest::PngPicture;
using imagelisttest::SolidPng;
using imagelisttest::StderrOf;
using vexel::TDeviceCall;

class ImageListTest : public ::testing::Test {
 protected:
  ImageListTest() : Screen(std::make_unique<vexel::TRecordingSystem>()) {
    Screen.Initialize();
    Device = static_cast<vexel::TRecordingSystem*>(Screen.System())->LastDevice;
    List.SetVexelScreen(&Screen);
    List.OnTerminateRequest = [this] { ++TerminateRequests; };
  }

  /// Adds an entry as a file load makes it: picture filled directly, tiles through the setters.
  vexel::TImageListItem* Add(const std::string& name, const vexel::TPicture& picture,
                             int32_t tileWidth, int32_t tileHeight) {
    vexel::TImageListItem* item = List.ImageList.Add();
    item->Name = name;
    item->Picture = picture;
    item->SetTileWidth(tileWidth);
    item->SetTileHeight(tileHeight);
    return item;
  }

  /// Opens a frame and forgets the calls so far.
  void BeginFrame() {
    Screen.BeginScene();
    Device->Calls.clear();
  }

  /// The one quad drawn since BeginFrame.
  std::vector<vexel::TVertex> OnlyQuad() {
    const auto draws = Device->CallsOf(TDeviceCall::TKind::Draw);
    EXPECT_EQ(draws.size(), 1u);
    return draws.empty() ? std::vector<vexel::TVertex>(4) : draws.back().Vertices;
  }

  /// The last blend factors sent to the device.
  std::pair<vexel::TBlendFactor, vexel::TBlendFactor> LastBlend() {
    const auto blends = Device->CallsOf(TDeviceCall::TKind::Blend);
    EXPECT_FALSE(blends.empty());
    if (blends.empty()) return {};
    return {blends.back().Source, blends.back().Destination};
  }

  vexel::TVexelScreen Screen;
  vexel::TRecordingDevice* Device = nullptr;
  vexel::TVexelImageList List;
  int TerminateRequests = 0;
};

void ExpectTexCoords(const std::vector<vexel::TVertex>& quad,
                     const std::array<std::array<float, 2>, 4>& expected) {
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(quad[i].U, expected[i][0]) << "vertex " << i;
    EXPECT_FLOAT_EQ(quad[i].V, expected[i][1]) << "vertex " << i;
  }
}

TEST_F(ImageListTest, PreparedEntriesTakeImageSizeCellsAndTextureSize) {
  auto* item = Add("wide", SolidPng(100, 60), 32, 20);
  EXPECT_EQ(item->ImageWidth, 0);
  List.Prepare();
  EXPECT_EQ(item->ImageWidth, 100);
  EXPECT_EQ(item->ImageHeight, 60);
  EXPECT_EQ(item->Columns, 3);  // the last 4 pixels are never a cell
  EXPECT_EQ(item->Rows, 3);
  EXPECT_EQ(item->TextureWidth, 128);
  EXPECT_EQ(item->TextureHeight, 64);
  EXPECT_EQ(item->Renderer, &List.Renderer);
  EXPECT_EQ(item->Device, Device);
}

struct TSizeCase {
  int32_t Width, Height, TextureWidth, TextureHeight;
};

class TextureSizeTest : public ImageListTest, public ::testing::WithParamInterface<TSizeCase> {};

TEST_P(TextureSizeTest, SidesRoundUpToPowersOfTwoOfAtLeastTwo) {
  const TSizeCase& size = GetParam();
  auto* item = List.ImageList.Add();
  item->SetPicture(SolidPng(size.Width, size.Height, 0xFF808080));
  // Expected before any texture exists, as the bitmap font asks for it.
  EXPECT_EQ(item->GetTextureWidth(), size.TextureWidth);
  EXPECT_EQ(item->GetTextureHeight(), size.TextureHeight);
  EXPECT_EQ(item->TileWidth, size.Width);
  EXPECT_EQ(item->TileHeight, size.Height);
  List.Prepare();
  ASSERT_NE(item->Texture, nullptr);
  EXPECT_EQ(item->Texture->Width(), size.TextureWidth);
  EXPECT_EQ(item->Texture->Height(), size.TextureHeight);
  EXPECT_EQ(item->TextureWidth, size.TextureWidth);
  EXPECT_EQ(item->TextureHeight, size.TextureHeight);
  // The picture sits at the top-left; padding texels are 0.
  const auto& texels = item->Texture->Texels();
  for (int32_t y = 0; y < size.TextureHeight; ++y) {
    for (int32_t x = 0; x < size.TextureWidth; ++x) {
      const bool inside = x < size.Width && y < size.Height;
      ASSERT_EQ(texels[static_cast<size_t>(y * size.TextureWidth + x)], inside ? 0xFF808080u : 0u)
          << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, TextureSizeTest,
                         ::testing::Values(TSizeCase{1, 1, 2, 2}, TSizeCase{2, 3, 2, 4},
                                           TSizeCase{128, 64, 128, 64}, TSizeCase{129, 5, 256, 8},
                                           TSizeCase{100, 60, 128, 64}));

TEST_F(ImageListTest, WholePictureOfA100By60PictureUsesItsPartOfThe128By64Texture) {
  auto* item = Add("whole", SolidPng(100, 60), 100, 60);
  List.Prepare();
  BeginFrame();
  item->Draw(0, 0, -1);
  ExpectTexCoords(OnlyQuad(), {{{0, 0}, {0.78125f, 0}, {0.78125f, 0.9375f}, {0, 0.9375f}}});
}

struct TPatternCase {
  int32_t PatternIndex;
  std::array<std::array<float, 2>, 4> TexCoords;
};

class PatternTest : public ImageListTest, public ::testing::WithParamInterface<TPatternCase> {};

TEST_P(PatternTest, SelectsTheCellRowByRowAndClampsToTheLast) {
  // 96 x 64 in 32 x 32 cells: 3 columns, 2 rows, 6 cells, in a 128 x 64 texture.
  auto* item = Add("cells", SolidPng(96, 64), 32, 32);
  List.Prepare();
  BeginFrame();
  item->DrawSprite(0, 0, 0, 0, 0, 1, 1, ~0u, ~0u, ~0u, ~0u, false, false, GetParam().PatternIndex,
                   0);
  ExpectTexCoords(OnlyQuad(), GetParam().TexCoords);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, PatternTest,
    ::testing::Values(TPatternCase{0, {{{0, 0}, {0.25f, 0}, {0.25f, 0.5f}, {0, 0.5f}}}},
                      TPatternCase{4, {{{0.25f, 0.5f}, {0.5f, 0.5f}, {0.5f, 1}, {0.25f, 1}}}},
                      TPatternCase{5, {{{0.5f, 0.5f}, {0.75f, 0.5f}, {0.75f, 1}, {0.5f, 1}}}},
                      TPatternCase{9, {{{0.5f, 0.5f}, {0.75f, 0.5f}, {0.75f, 1}, {0.5f, 1}}}},
                      TPatternCase{-1, {{{0, 0}, {0.75f, 0}, {0.75f, 1}, {0, 1}}}},
                      TPatternCase{-7, {{{0, 0}, {0.25f, 0}, {0.25f, 0.5f}, {0, 0.5f}}}}));

TEST_F(ImageListTest, FindIsCaseSensitiveAndTakesTheFirstMatch) {
  auto* first = Add("b_go", SolidPng(2, 2), 2, 2);
  Add("B_GO", SolidPng(2, 2), 2, 2);
  Add("b_go", SolidPng(2, 2), 2, 2);
  EXPECT_EQ(List.ImageList.Find("b_go"), first);
  EXPECT_EQ(List.ImageList.Find("B_GO"), List.ImageList.Items(1));
  EXPECT_EQ(List.ImageList.Find("B_go"), nullptr);
  EXPECT_EQ(List.ImageList.Find(""), nullptr);
  EXPECT_EQ(List.ImageList.Items(3), nullptr);
  EXPECT_EQ(List.ImageList.Items(-1), nullptr);
}

TEST_F(ImageListTest, TexturesAreMadeOnceAndSurviveUnbindingAndDeviceResets) {
  auto* item = Add("once", SolidPng(8, 8), 8, 8);
  List.Prepare();
  const vexel::TTexture* texture = item->Texture.get();
  ASSERT_NE(texture, nullptr);
  List.Prepare();
  EXPECT_EQ(item->Texture.get(), texture);

  ASSERT_EQ(Screen.ResetDevice(), 0);  // invalidates (unbinds) and restores (prepares) the list
  EXPECT_EQ(item->Texture.get(), texture);
  EXPECT_EQ(item->Renderer, &List.Renderer);

  List.Unprepare(false);
  EXPECT_EQ(item->Renderer, nullptr);
  EXPECT_EQ(item->Device, nullptr);
  EXPECT_EQ(item->Texture.get(), texture);
  List.Unprepare(true);
  EXPECT_EQ(item->Texture, nullptr);
  List.Prepare();
  EXPECT_NE(item->Texture, nullptr);
}

TEST_F(ImageListTest, AReleasedTextureIsMadeAgainByTheNextDrawWithTheSameTexels) {
  auto* item = Add("panel", SolidPng(6, 4, 0xFF336699u), 3, 4);
  List.Prepare();
  ASSERT_NE(item->Texture, nullptr);
  const std::vector<uint32_t> texels = item->Texture->Texels();
  item->ReleaseTexture();
  EXPECT_EQ(item->Texture, nullptr);
  EXPECT_EQ(item->Renderer, &List.Renderer);  // still bound: its sizes and cells stay

  BeginFrame();
  item->Draw(10, 20, 1);
  ASSERT_NE(item->Texture, nullptr);
  EXPECT_EQ(item->Texture->Texels(), texels);
  EXPECT_EQ(item->TileWidth, 3);
  const auto quad = OnlyQuad();
  EXPECT_FLOAT_EQ(quad[0].U, 0.375f);  // cell 1 of the 8 x 4 texture
  EXPECT_EQ(TerminateRequests, 0);
}

TEST_F(ImageListTest, ReleasingByNameGivesBackOnlyTheChosenTexturesAndADrawMakesOneAgain) {
  auto* back = Add("mainback", SolidPng(8, 8), 8, 8);
  auto* panel = Add("scr_help", SolidPng(8, 8, 0xFF00FF00u), 8, 8);
  auto* font = Add("font", SolidPng(8, 8), 4, 4);
  List.Prepare();
  const vexel::TTexture* kept = font->Texture.get();
  List.ReleaseTextures([](const std::string& name) { return name != "font"; });
  EXPECT_EQ(back->Texture, nullptr);
  EXPECT_EQ(panel->Texture, nullptr);
  EXPECT_EQ(font->Texture.get(), kept);
  // A second release of the same entries, or one that chooses nothing, changes nothing.
  List.ReleaseTextures([](const std::string& name) { return name != "font"; });
  List.ReleaseTextures([](const std::string&) { return false; });
  EXPECT_EQ(font->Texture.get(), kept);

  BeginFrame();
  panel->Draw(0, 0, 0);
  ASSERT_NE(panel->Texture, nullptr);
  EXPECT_EQ(panel->Texture->Texels()[0], 0xFF00FF00u);
  EXPECT_EQ(back->Texture, nullptr);  // not drawn, not made
  // Preparing again, as after a device reset, makes every missing texture as at the start.
  List.Prepare();
  EXPECT_NE(back->Texture, nullptr);
  EXPECT_EQ(TerminateRequests, 0);
}

TEST_F(ImageListTest, ZeroAndNegativeTileSizesBecomeThePictureSizeWhenPrepared) {
  auto* zero = Add("zero", SolidPng(40, 30), 0, 0);
  auto* negative = Add("negative", SolidPng(40, 30), -3, 10);
  List.Prepare();
  EXPECT_EQ(zero->TileWidth, 40);
  EXPECT_EQ(zero->TileHeight, 30);
  EXPECT_EQ(zero->Columns, 1);
  EXPECT_EQ(negative->TileWidth, 40);
  EXPECT_EQ(negative->Rows, 3);
  // A tile larger than the picture has no whole cell; drawing a cell still works.
  auto* large = Add("large", SolidPng(10, 10), 16, 16);
  List.Prepare();
  EXPECT_EQ(large->Columns, 0);
  BeginFrame();
  large->Draw(0, 0, 3);
  ExpectTexCoords(OnlyQuad(), {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}});
}

struct TKeyCase {
  const char* Name;
  bool Transparent;
  uint32_t TransparentColor;
  uint32_t KeyedTexel;  // the texel the key should remove (as 0xAARRGGBB)
  bool Removed;
  bool Bitmap;
};

class ColorKeyTest : public ImageListTest, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(ColorKeyTest, TurnsTexelsOfTheKeyColourIntoZero) {
  const TKeyCase& key = GetParam();
  // 3 x 2: the key colour twice, the key colour half transparent, and three other colours.
  const std::vector<uint32_t> pixels = {
      key.KeyedTexel, 0xFF123456,     (key.KeyedTexel & 0xFFFFFF) | 0x80000000,
      0xFF00FF01,     key.KeyedTexel, 0xFF000000};
  vexel::TPicture picture = PngPicture(3, 2, pixels);
  if (key.Bitmap) picture = {vexel::TPicture::TKind::Bitmap, BmpFile(3, 2, 24, pixels)};
  auto* item = Add("keyed", picture, 3, 2);
  item->Transparent = key.Transparent;
  item->TransparentColor = key.TransparentColor;
  List.Prepare();
  ASSERT_NE(item->Texture, nullptr);
  const auto& texels = item->Texture->Texels();
  const uint32_t removed = key.Removed ? 0 : key.KeyedTexel;
  EXPECT_EQ(texels[0], removed);
  EXPECT_EQ(texels[1], 0xFF123456u);
  // BMP pictures are opaque, so their third texel matches the key as well.
  EXPECT_EQ(texels[2], key.Bitmap ? removed : (key.KeyedTexel & 0xFFFFFF) | 0x80000000);
  EXPECT_EQ(texels[4], 0xFF00FF01u);
  EXPECT_EQ(texels[5], removed);
  EXPECT_EQ(texels[6], 0xFF000000u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ColorKeyTest,
    ::testing::Values(TKeyCase{"Fuchsia", true, 0xFF00FF, 0xFFFF00FF, true, false},
                      TKeyCase{"RedAndBlueSwapped", true, 0x0000FF, 0xFFFF0000, true, false},
                      TKeyCase{"Off", false, 0xFF00FF, 0xFFFF00FF, false, false},
                      TKeyCase{"SystemColourBtnFace", true, 0xFF00000F, 0xFFF0F0F0, true, false},
                      TKeyCase{"NoneKeysNothing", true, 0x1FFFFFFF, 0xFFFFFFFF, false, false},
                      TKeyCase{"Bitmap", true, 0x00FF00, 0xFF00FF00, true, true}),
    [](const auto& test) { return std::string(test.param.Name); });

TEST_F(ImageListTest, TextureFailuresReportTheEntryAndAskToTerminate) {
  Device->MaxTextureSide = 64;
  auto* big = Add("big", SolidPng(100, 60), 100, 60);
  auto* broken = Add("broken", {vexel::TPicture::TKind::Png, {1, 2, 3}}, 1, 1);
  vexel::TPicture badBitmap{vexel::TPicture::TKind::Bitmap,
                            BmpFile(2, 2, 24, std::vector<uint32_t>(4))};
  badBitmap.Data.resize(badBitmap.Data.size() - 1);
  auto* truncated = Add("truncated", badBitmap, 1, 1);
  auto* fine = Add("fine", SolidPng(64, 64), 64, 64);
  const std::string messages = StderrOf([&] { List.Prepare(); });
  EXPECT_NE(messages.find("[Error] Error creating texture big\n"), std::string::npos) << messages;
  EXPECT_NE(messages.find("[Error] Error creating texture broken\n"), std::string::npos);
  EXPECT_NE(messages.find("[Error] Error creating texture truncated\n"), std::string::npos);
  EXPECT_EQ(TerminateRequests, 3);
  EXPECT_EQ(big->Texture, nullptr);
  EXPECT_EQ(broken->Texture, nullptr);
  EXPECT_EQ(truncated->Texture, nullptr);
  EXPECT_EQ(big->TextureWidth, 0);
  EXPECT_NE(fine->Texture, nullptr);
  // Preparing again (a device restore does) does not show the same failures a second time.
  EXPECT_EQ(StderrOf([&] { List.Prepare(); }), "");
  EXPECT_EQ(TerminateRequests, 3);
}

TEST_F(ImageListTest, EmptyPicturesAndListsWithoutADeviceAreLeftAlone) {
  auto* empty = Add("empty", {}, 1, 1);
  vexel::TVexelImageList unbound;
  auto* loose = unbound.ImageList.Add();
  loose->Picture = SolidPng(4, 4);
  unbound.Prepare();
  List.Prepare();
  EXPECT_EQ(empty->Renderer, nullptr);
  EXPECT_EQ(loose->Renderer, nullptr);
  EXPECT_EQ(TerminateRequests, 0);
  // Unbound entries draw nothing.
  BeginFrame();
  loose->Draw(0, 0, 0);
  EXPECT_TRUE(Device->CallsOf(TDeviceCall::TKind::Draw).empty());
}

TEST_F(ImageListTest, ExternalPictureFilesAreReadAtEveryPreparationAndThenDropped) {
  const auto folder = std::filesystem::temp_directory_path() / "imagelist-external-test";
  std::filesystem::create_directories(folder / "wdata");
  ASSERT_TRUE(platform::WritePng((folder / "wdata" / "promo.png").string(), 20, 10,
                                 std::vector<uint32_t>(200, 0xFF0000FF)));
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  auto* item = Add("promo", {}, 0, 0);
  item->Filepath = "  wdata\\promo.png ";
  auto* missing = Add("missing", SolidPng(4, 4), 4, 4);
  missing->Filepath = "wdata\\none.png";
  List.Prepare();
  ASSERT_NE(item->Texture, nullptr);
  EXPECT_EQ(item->ImageWidth, 20);
  EXPECT_EQ(item->TileHeight, 10);
  EXPECT_EQ(item->Texture->Texels()[0], 0xFF0000FFu);
  EXPECT_TRUE(item->Picture.Empty());
  // A missing file leaves the stored picture to make the texture; it is dropped all the same.
  EXPECT_NE(missing->Texture, nullptr);
  EXPECT_TRUE(missing->Picture.Empty());
  const vexel::TTexture* texture = item->Texture.get();
  List.Prepare();
  EXPECT_EQ(item->Texture.get(), texture);
  EXPECT_EQ(item->Renderer, &List.Renderer);
  // Its picture is gone, so releasing would leave nothing to draw from: the texture stays.
  item->ReleaseTexture();
  EXPECT_EQ(item->Texture.get(), texture);
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(folder);
}

TEST_F(ImageListTest, DrawSpriteRotatesAndScalesAboutThePivotWithTheHalfPixelEdges) {
  auto* item = Add("car", SolidPng(64, 16), 32, 16);
  List.Prepare();
  BeginFrame();
  const uint32_t colors[4] = {0xFF102030, 0x80FFFFFF, 0x00000000, 0xFFFFFFFF};
  item->DrawSprite(10, 20, 30, 0.5f, 0.25f, 2, 0.5f, colors[0], colors[1], colors[2], colors[3],
                   false, false, 1, -1);
  const auto quad = OnlyQuad();
  const double corners[4][2] = {{9.5, 19.5}, {42, 19.5}, {42, 36}, {9.5, 36}};
  const double cx = 10 + 32 * 0.5;
  const double cy = 20 + 16 * 0.25;
  const double r = static_cast<float>(30 * std::numbers::pi / 180);
  for (size_t i = 0; i < 4; ++i) {
    const double dx = corners[i][0] - cx;
    const double dy = corners[i][1] - cy;
    EXPECT_NEAR(quad[i].X, cx + std::cos(r) * 2 * dx - std::sin(r) * 0.5 * dy, 1e-4) << i;
    EXPECT_NEAR(quad[i].Y, cy + std::sin(r) * 2 * dx + std::cos(r) * 0.5 * dy, 1e-4) << i;
    EXPECT_EQ(quad[i].Color, vexel::ModulateColor(colors[i], Screen.ScreenColor())) << i;
  }
  ExpectTexCoords(quad, {{{0.5f, 0}, {1, 0}, {1, 1}, {0.5f, 1}}});
  const auto textures = Device->CallsOf(TDeviceCall::TKind::Texture);
  ASSERT_EQ(textures.size(), 1u);
  EXPECT_EQ(textures[0].Texture, item->Texture.get());
}

TEST_F(ImageListTest, ScaleZeroDrawsAtScaleOneAndMirroringSwapsTexCoords) {
  auto* item = Add("m", SolidPng(32, 32), 16, 16);  // 2 x 2 cells in a 32 x 32 texture
  List.Prepare();
  BeginFrame();
  item->DrawSprite(0, 0, 0, 0, 0, 0, 0, ~0u, ~0u, ~0u, ~0u, false, true, 3, 0);
  auto quad = OnlyQuad();
  EXPECT_FLOAT_EQ(quad[0].X, -0.5f);
  EXPECT_FLOAT_EQ(quad[2].X, 16);
  EXPECT_FLOAT_EQ(quad[2].Y, 16);
  ExpectTexCoords(quad, {{{1, 0.5f}, {0.5f, 0.5f}, {0.5f, 1}, {1, 1}}});
  BeginFrame();
  item->DrawSprite(0, 0, 0, 0, 0, 1, 1, ~0u, ~0u, ~0u, ~0u, true, false, 3, 0);
  ExpectTexCoords(OnlyQuad(), {{{0.5f, 1}, {1, 1}, {1, 0.5f}, {0.5f, 0.5f}}});
  BeginFrame();
  item->DrawSprite(0, 0, 0, 0, 0, 1, 1, ~0u, ~0u, ~0u, ~0u, true, true, 3, 0);
  ExpectTexCoords(OnlyQuad(), {{{1, 1}, {0.5f, 1}, {0.5f, 0.5f}, {1, 0.5f}}});
}

TEST_F(ImageListTest, DrawAlphaSetsTheDestinationFactorDirectly) {
  auto* item = Add("glow", SolidPng(8, 8), 8, 8);
  List.Prepare();
  BeginFrame();
  item->DrawAlpha(5, 6, 0, 0, 0, 1, 1, true, 0x110, 0x20, 0x30, 0x40, 0, -1);
  EXPECT_EQ(LastBlend(), std::make_pair(vexel::TBlendFactor::SrcAlpha, vexel::TBlendFactor::One));
  EXPECT_EQ(Screen.CurrentBlendMode(), 0);
  const auto quad = OnlyQuad();
  EXPECT_EQ(quad[0].Color, vexel::ModulateColor(0x40102030, Screen.ScreenColor()));
  EXPECT_FLOAT_EQ(quad[0].X, 4.5f);
  EXPECT_FLOAT_EQ(quad[2].Y, 14);

  // Mode 0 is already current, so the additive destination stays in force.
  BeginFrame();
  item->Draw(0, 0, 0);
  EXPECT_TRUE(Device->CallsOf(TDeviceCall::TKind::Blend).empty());

  BeginFrame();
  item->DrawAlpha(5, 6, 0, 0, 0, 1, 1, false, 255, 255, 255, 255, 0, -1);
  EXPECT_EQ(LastBlend(),
            std::make_pair(vexel::TBlendFactor::SrcAlpha, vexel::TBlendFactor::InvSrcAlpha));

  // An explicit mode is applied after the direct destination factor.
  BeginFrame();
  item->DrawAlpha(5, 6, 0, 0, 0, 1, 1, false, 255, 255, 255, 255, 0, 1);
  EXPECT_EQ(LastBlend(), std::make_pair(vexel::TBlendFactor::One, vexel::TBlendFactor::One));
  EXPECT_EQ(Screen.CurrentBlendMode(), 1);
}

TEST_F(ImageListTest, DrawSetsNormalBlendingAndDrawRectMovesTheRectangle) {
  auto* item = Add("panel", SolidPng(64, 32), 64, 32);
  List.Prepare();
  Screen.SetBlendMode(2);
  BeginFrame();
  item->Draw(100, 50, 0);
  EXPECT_EQ(Screen.CurrentBlendMode(), 0);
  auto quad = OnlyQuad();
  EXPECT_FLOAT_EQ(quad[0].X, 99.5f);
  EXPECT_FLOAT_EQ(quad[0].Y, 49.5f);
  EXPECT_FLOAT_EQ(quad[2].X, 164);
  EXPECT_FLOAT_EQ(quad[2].Y, 82);
  EXPECT_EQ(quad[1].Color, 0xFEFEFEFEu);

  BeginFrame();
  item->DrawRect({10, 20, 50, 30}, 5, 6, 90, 0.5f, 0.5f, 1, 1, 0x12, 0x34, 0x56, 0x78, false, false,
                 -1, -1);
  quad = OnlyQuad();
  // Corners (14.5, 25.5) .. (55, 36) rotated a quarter turn about (15 + 32, 26 + 16).
  EXPECT_NEAR(quad[0].X, 47 - (25.5 - 42), 1e-4);
  EXPECT_NEAR(quad[0].Y, 42 + (14.5 - 47), 1e-4);
  EXPECT_NEAR(quad[2].X, 47 - (36 - 42), 1e-4);
  EXPECT_NEAR(quad[2].Y, 42 + (55 - 47), 1e-4);
  EXPECT_EQ(quad[3].Color, vexel::ModulateColor(0x78123456, Screen.ScreenColor()));

  BeginFrame();
  item->DrawColored(0, 0, 0, 0, 0, 1, 1, 0xFF00FF00, false, false, 0, 5);
  EXPECT_EQ(LastBlend(), std::make_pair(vexel::TBlendFactor::Zero, vexel::TBlendFactor::SrcColor));
  for (const auto& vertex : OnlyQuad()) EXPECT_EQ(vertex.Color, 0xFE00FE00u);
}

TEST_F(ImageListTest, DrawQuadUsesTheFourGivenCorners) {
  auto* item = Add("q", SolidPng(16, 16), 16, 16);
  List.Prepare();
  BeginFrame();
  item->DrawQuad(0, 0, 10, 2, 12, 14, 1, 9, 0, 0, 0, 1, 1, ~0u, ~0u, ~0u, ~0u, false, false, 0, 0);
  const auto quad = OnlyQuad();
  EXPECT_FLOAT_EQ(quad[0].X, -0.5f);
  EXPECT_FLOAT_EQ(quad[0].Y, -0.5f);
  EXPECT_FLOAT_EQ(quad[1].X, 10);
  EXPECT_FLOAT_EQ(quad[1].Y, 1.5f);
  EXPECT_FLOAT_EQ(quad[2].X, 12);
  EXPECT_FLOAT_EQ(quad[2].Y, 14);
  EXPECT_FLOAT_EQ(quad[3].X, 0.5f);
  EXPECT_FLOAT_EQ(quad[3].Y, 9);
}

}  // namespace
