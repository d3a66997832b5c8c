// The display device on the real OpenGL back end (Mesa offscreen): pixels of the read-back frame,
// drawn straight into a window of the back buffer's size and through the off-screen back buffer
// of a larger, letterboxing window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "engine/VexelRenderer.h"
#include "engine/VexelScreen.h"
#include "platform/GlDevice.h"
#include "platform/ImageFile.h"

namespace {

/// The window a test draws in: its size, and whether the 800 x 600 frame goes straight into it.
struct TWindowCase {
  const char* Name;
  int Width;
  int Height;
  bool IntoWindow;
};

const TWindowCase kWindowCases[] = {{"IntoTheWindow", 800, 600, true},
                                    {"Letterboxed", 1000, 700, false}};

class GlScreenTest : public ::testing::TestWithParam<TWindowCase> {
 protected:
  GlScreenTest() : Window("test", GetParam().Width, GetParam().Height) {
    Screen = std::make_unique<vexel::TVexelScreen>(std::make_unique<platform::TGlSystem>(Window));
    Screen->Width = 800;
    Screen->Height = 600;
    Screen->Initialize();
    Renderer.Bind(Screen.get());
  }

  // Checks that the frame went where the window case says.
  void ExpectTarget() {
    const auto* device = dynamic_cast<const platform::TGlDevice*>(Screen->Device());
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->DrawsIntoWindow(), GetParam().IntoWindow);
  }

  void Quad(float x, float y, float w, float h, uint32_t color, int blend,
            const vexel::TTexture* texture = nullptr) {
    Screen->SetBlendMode(blend);
    Renderer.SetColors(color, color, color, color);
    Renderer.SetTexCoords(0, 0, 1, 0, 1, 1, 0, 1);
    Renderer.SetTexture(texture);
    Renderer.SetPositions(x - 0.5f, y - 0.5f, x + w - 0.5f, y - 0.5f, x + w - 0.5f, y + h - 0.5f,
                          x - 0.5f, y + h - 0.5f);
    Renderer.RotateScale(x, y, 0, 1, 1);
    Renderer.Render();
  }

  uint32_t Pixel(int x, int y) {
    if (Pixels.empty()) {
      int32_t w = 0;
      int32_t h = 0;
      EXPECT_TRUE(Screen->Device()->ReadBackBuffer(Pixels, w, h));
      EXPECT_EQ(w, 800);
      EXPECT_EQ(h, 600);
    }
    return Pixels[static_cast<size_t>(y) * 800 + x] & 0x00FFFFFF;
  }

  platform::TPlatformWindow Window;
  std::unique_ptr<vexel::TVexelScreen> Screen;
  vexel::TVexelRenderer Renderer;
  std::vector<uint32_t> Pixels;
};

TEST_P(GlScreenTest, QuadsCoverExactlyTheirPixelsAndBlend) {
  Screen->Clear(0, 0, 0, 0);
  Screen->BeginScene();
  Quad(10, 20, 32, 16, 0xFFFF0000, 0);
  Quad(100, 100, 20, 20, 0xFF800000, 1);
  Quad(100, 100, 20, 20, 0xFF008000, 1);  // additive: adds onto the first
  Quad(200, 100, 20, 20, 0xFFFFFFFF, 0);
  Quad(200, 100, 20, 20, 0x80000000, 0);  // half-transparent black darkens to about half
  Screen->PutPixel(300, 300, 1, 2, 3, 255);
  Screen->EndScene();
  ExpectTarget();
  // Alpha 255 reaches the device as 254 (red too): an opaque quad at that alpha covers what
  // lies under it and shows its own 254.
  EXPECT_EQ(Pixel(10, 20), 0xFE0000u);
  EXPECT_EQ(Pixel(41, 35), 0xFE0000u);
  EXPECT_EQ(Pixel(42, 20), 0u);
  EXPECT_EQ(Pixel(9, 20), 0u);
  EXPECT_EQ(Pixel(10, 36), 0u);
  EXPECT_EQ(Pixel(10, 19), 0u);
  EXPECT_EQ(Pixel(110, 110), 0x7F7F00u);
  const uint32_t grey = Pixel(210, 110);
  EXPECT_NEAR(static_cast<int>(grey & 0xFF), 127, 2);
  EXPECT_EQ(Pixel(300, 300), 0x010203u);
  EXPECT_EQ(Pixel(301, 300), 0u);
}

TEST_P(GlScreenTest, TexturesModulateWithTheVertexColourAndKeepTransparentTexels) {
  // 2 x 2 texture: opaque white, opaque green / transparent, opaque blue.
  auto texture =
      Screen->Device()->CreateTexture(2, 2, {0xFFFFFFFF, 0xFF00FF00, 0x00000000, 0xFF0000FF});
  ASSERT_TRUE(texture);
  Screen->SetFiltering(false);
  Screen->Clear(10, 20, 30, 0);
  Screen->BeginScene();
  Quad(0, 0, 64, 64, 0xFFFF00FF, 0, texture.get());
  Screen->EndScene();
  EXPECT_EQ(Pixel(10, 10), 0xFD00FDu);  // white texel tinted magenta
  EXPECT_EQ(Pixel(50, 10), 0x000000u);  // green texel tinted magenta: black
  EXPECT_EQ(Pixel(10, 50), 0x0A141Eu);  // transparent texel shows the clear colour
  EXPECT_EQ(Pixel(50, 50), 0x0000FDu);  // blue texel
}

TEST_P(GlScreenTest, ScreenshotsAreWrittenOpaque) {
  Screen->Clear(0, 0, 255, 0);
  Screen->BeginScene();
  Quad(0, 0, 10, 10, 0xFFFFFFFF, 0);
  Screen->EndScene();
  const std::string png = ::testing::TempDir() + "/screen.png";
  ASSERT_TRUE(Screen->SavePng(png));
  ASSERT_TRUE(Screen->SaveScreenshot(::testing::TempDir() + "/screen.bmp"));
  FILE* file = std::fopen(png.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::vector<uint8_t> bytes(1 << 20);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  int32_t w = 0;
  int32_t h = 0;
  std::vector<uint32_t> argb;
  std::string error;
  ASSERT_TRUE(platform::DecodePng(bytes.data(), bytes.size(), w, h, argb, error)) << error;
  EXPECT_EQ(argb[0], 0xFFFEFEFEu);  // white at alpha 254 covers the blue
  EXPECT_EQ(argb[static_cast<size_t>(599) * 800 + 799], 0xFF0000FFu);
}

TEST_P(GlScreenTest, TexturesKeepNoCopyOfTheirTexelsUntilThePixelTestReadsThem) {
  const std::vector<uint32_t> texels = {0xFF112233, 0x00000000, 0x80FFFFFF,
                                        0xFF0000FF, 0xFFFF0000, 0x01020304};
  auto texture = Screen->Device()->CreateTexture(3, 2, texels);
  ASSERT_TRUE(texture);
  EXPECT_FALSE(texture->TexelsHeld());
  EXPECT_EQ(texture->Texels(), texels);
  EXPECT_TRUE(texture->TexelsHeld());
}

TEST_P(GlScreenTest, TexturesOfAnySizeSampleTransparentBlackBeyondTheirEdges) {
  // Three opaque texels, red, green, blue, stretched over 30 pixels with linear filtering: the
  // first pixel mixes red with what lies left of it, which is nothing, never the blue texel as a
  // repeating texture would have it.
  auto texture = Screen->Device()->CreateTexture(3, 1, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
  ASSERT_TRUE(texture);
  EXPECT_FALSE(Screen->Device()->PowerOfTwoTextures());
  Screen->SetFiltering(true);
  Screen->Clear(0, 0, 0, 0);
  Screen->BeginScene();
  Quad(0, 0, 30, 10, 0xFFFFFFFF, 0, texture.get());
  Screen->EndScene();
  EXPECT_GT(Pixel(0, 5) >> 16, 0u);
  EXPECT_EQ(Pixel(0, 5) & 0xFFFF, 0u);
  EXPECT_EQ(Pixel(29, 5) >> 8, 0u);
}

TEST_P(GlScreenTest, NearestSamplingPastTheEdgeStaysOnTheEdgeTexel) {
  // The same three texels stretched a little past both ends of the picture with nearest
  // sampling: the pixels beyond take the edge texels, never the transparent frame around them.
  auto texture = Screen->Device()->CreateTexture(3, 1, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
  ASSERT_TRUE(texture);
  Screen->SetFiltering(false);
  Screen->Clear(0, 0, 0, 0);
  Screen->BeginScene();
  Screen->SetBlendMode(0);
  Renderer.SetColors(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
  Renderer.SetTexCoords(-0.2f, 0, 1.2f, 0, 1.2f, 1, -0.2f, 1);
  Renderer.SetTexture(texture.get());
  Renderer.SetPositions(-0.5f, -0.5f, 69.5f, -0.5f, 69.5f, 9.5f, -0.5f, 9.5f);
  Renderer.RotateScale(0, 0, 0, 1, 1);
  Renderer.Render();
  Screen->EndScene();
  EXPECT_EQ(Pixel(0, 5), 0xFE0000u);
  EXPECT_EQ(Pixel(35, 5), 0x00FE00u);
  EXPECT_EQ(Pixel(69, 5), 0x0000FEu);
}

// Opaque pictures at full alpha are drawn without blending and cover the blue under them; any
// other draw still blends with it.
TEST_P(GlScreenTest, OnlyOpaqueQuadsAtFullAlphaCoverWhatLiesUnderThem) {
  auto opaque = Screen->Device()->CreateTexture(3, 1, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF});
  ASSERT_TRUE(opaque);
  struct TCase {
    const char* Name;
    const vexel::TTexture* Texture;
    bool Smooth;
    uint32_t Color;
    int Blend;
    int X;
    uint32_t Expected;  // the pixel, or 0 where only "some blue shows through" is checked
  };
  const TCase cases[] = {
      {"plain colour at full alpha", nullptr, false, 0xFFFFFFFF, 0, 0, 0xFEFEFEu},
      {"opaque picture at full alpha", opaque.get(), false, 0xFFFFFFFF, 0, 0, 0xFE0000u},
      {"plain colour just below full alpha", nullptr, false, 0xFDFFFFFF, 0, 0, 0},
      {"smooth picture at its transparent border", opaque.get(), true, 0xFFFFFFFF, 0, 0, 0},
      {"opaque picture added onto the blue", opaque.get(), false, 0xFFFFFFFF, 1, 0, 0xFE00FFu},
  };
  for (const TCase& c : cases) {
    Pixels.clear();
    Screen->SetFiltering(c.Smooth);
    Screen->Clear(0, 0, 255, 0);
    Screen->BeginScene();
    Quad(0, 0, 30, 10, c.Color, c.Blend, c.Texture);
    Screen->EndScene();
    const uint32_t pixel = Pixel(c.X, 5);
    if (c.Expected != 0) {
      EXPECT_EQ(pixel, c.Expected) << c.Name;
    } else {
      EXPECT_GT(pixel & 0xFF, (pixel >> 16) & 0xFF) << c.Name;
    }
  }
}

// A noisy opaque picture and a quad at a whole pixel position, stretched by half a pixel as the
// engine's sprites are, drawn through every corner order a sprite can have.
class GlCopyTest : public GlScreenTest {
 protected:
  std::shared_ptr<vexel::TTexture> Noise(int32_t width, int32_t height) {
    std::vector<uint32_t> texels;
    uint32_t seed = 12345;
    for (int32_t i = 0; i < width * height; ++i) {
      seed = seed * 1103515245u + 12345u;
      texels.push_back(0xFF000000u | (seed >> 8));
    }
    return Screen->Device()->CreateTexture(width, height, std::move(texels));
  }

  // The frame's pixels after drawing a picture over a grey clear.
  std::vector<uint32_t> Draw(const vexel::TTexture* texture, float x, float y, const float* uv) {
    Screen->SetFiltering(true);
    Screen->Clear(40, 40, 40, 0);
    Screen->BeginScene();
    Screen->SetBlendMode(0);
    Renderer.SetColors(0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
    Renderer.SetTexCoords(uv[0], uv[1], uv[2], uv[3], uv[4], uv[5], uv[6], uv[7]);
    Renderer.SetTexture(texture);
    Renderer.SetPositions(x - 0.5f, y - 0.5f, x + 64.0f, y - 0.5f, x + 64.0f, y + 48.0f, x - 0.5f,
                          y + 48.0f);
    Renderer.RotateScale(0, 0, 0, 1, 1);
    Renderer.Render();
    Screen->EndScene();
    std::vector<uint32_t> pixels;
    int32_t w = 0;
    int32_t h = 0;
    EXPECT_TRUE(Screen->Device()->ReadBackBuffer(pixels, w, h));
    return pixels;
  }

  platform::TGlDevice& Device() { return dynamic_cast<platform::TGlDevice&>(*Screen->Device()); }
};

// Largest difference of one colour channel between two frames.
int LargestStep(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  int largest = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int step = std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                static_cast<int>((b[i] >> shift) & 0xFF));
      largest = std::max(largest, step);
    }
  }
  return largest;
}

TEST_P(GlCopyTest, SmoothQuadsAtWholePixelsLookTheSameDrawnFromTheirCopy) {
  auto pow2 = Noise(32, 16);   // repeats beyond its edges
  auto other = Noise(40, 24);  // transparent beyond its edges
  ASSERT_TRUE(pow2 && other);
  struct TCase {
    const char* Name;
    const vexel::TTexture* Texture;
    float Uv[8];
  };
  const TCase cases[] = {
      {"straight", pow2.get(), {0, 0, 1, 0, 1, 1, 0, 1}},
      {"mirrored", pow2.get(), {1, 0, 0, 0, 0, 1, 1, 1}},
      {"upside down", other.get(), {1, 1, 0, 1, 0, 0, 1, 0}},
      {"a quarter turn", other.get(), {0, 1, 0, 0, 1, 0, 1, 1}},
      {"a cell of the picture", other.get(), {0.25f, 0.5f, 0.75f, 0.5f, 0.75f, 1, 0.25f, 1}},
  };
  for (const TCase& c : cases) {
    Device().Copying = false;
    const auto fromPicture = Draw(c.Texture, 100, 200, c.Uv);
    Device().Copying = true;
    const uint64_t made = Device().CopiesMade();
    const auto fromCopy = Draw(c.Texture, 100, 200, c.Uv);
    EXPECT_EQ(Device().CopiesMade(), made + 1) << c.Name;
    // The copy keeps 8 bits a channel where the picture is sampled finer at draw time.
    EXPECT_LE(LargestStep(fromPicture, fromCopy), 2) << c.Name;
    EXPECT_NE(fromCopy[200 * 800 + 120], fromCopy[0]) << c.Name;
    EXPECT_EQ(fromCopy[199 * 800 + 120], fromCopy[0]) << c.Name;  // above the quad: the clear
  }
}

TEST_P(GlCopyTest, ACopyIsMadeOnceAndDrawnAtAnyWholePixelPosition) {
  auto texture = Noise(40, 24);
  ASSERT_TRUE(texture);
  const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
  const auto first = Draw(texture.get(), 100, 200, uv);
  const uint64_t made = Device().CopiesMade();
  const auto moved = Draw(texture.get(), 300, 50, uv);
  EXPECT_EQ(Device().CopiesMade(), made);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) {
      ASSERT_EQ(moved[(50 + y) * 800 + 300 + x], first[(200 + y) * 800 + 100 + x]) << x << "," << y;
    }
  }
  // Between whole pixels the quad samples its picture differently: no copy is made for it.
  Draw(texture.get(), 100.25f, 200, uv);
  EXPECT_EQ(Device().CopiesMade(), made);
}

// A copy made in the middle of a frame leaves the frame's target, viewport, blending and bound
// picture as they were: a plain half-transparent quad drawn after it lands where it should and
// blends exactly as one drawn before it.
TEST_P(GlCopyTest, AfterACopyIsMadeMidFrameTheFrameDrawsOnAsBefore) {
  auto texture = Noise(40, 24);
  ASSERT_TRUE(texture);
  const uint64_t made = Device().CopiesMade();
  Screen->SetFiltering(true);
  Screen->Clear(0, 0, 255, 0);
  Screen->BeginScene();
  Quad(10, 10, 20, 20, 0x80FF0000, 0);
  Quad(100, 100, 64, 48, 0xFFFFFFFF, 0, texture.get());
  Quad(300, 400, 20, 20, 0x80FF0000, 0);
  Screen->EndScene();
  EXPECT_EQ(Device().CopiesMade(), made + 1);
  const uint32_t before = Pixel(15, 15);
  EXPECT_GT((before >> 16) & 0xFF, 0x60u);
  EXPECT_GT(before & 0xFF, 0x60u);
  EXPECT_EQ(Pixel(300, 400), before);
  EXPECT_EQ(Pixel(319, 419), before);
  EXPECT_EQ(Pixel(299, 400), 0x0000FFu);
  EXPECT_EQ(Pixel(320, 419), 0x0000FFu);
}

TEST_P(GlCopyTest, ADeletedPictureTakesItsCopiesWithIt) {
  const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
  auto kept = Noise(40, 24);
  auto red = Screen->Device()->CreateTexture(8, 8, std::vector<uint32_t>(64, 0xFFFF0000u));
  ASSERT_TRUE(kept && red);
  Draw(kept.get(), 100, 200, uv);
  EXPECT_EQ(Draw(red.get(), 100, 200, uv)[220 * 800 + 130] & 0xFFFFFF, 0xFE0000u);
  EXPECT_EQ(Device().CopiesKept(), 2u);
  // Its texture name may be given to the next picture, which must never show the old copy.
  red.reset();
  EXPECT_EQ(Device().CopiesKept(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Windows, GlCopyTest, ::testing::ValuesIn(kWindowCases),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST_P(GlScreenTest, QuadsWhollyOffTheTargetAreNotDrawnAndEdgeQuadsAre) {
  const auto* device = dynamic_cast<const platform::TGlDevice*>(Screen->Device());
  ASSERT_NE(device, nullptr);
  Screen->Clear(0, 0, 0, 0);
  Screen->BeginScene();
  Screen->EndScene();
  const uint64_t before = device->DrawCalls();
  Screen->BeginScene();
  Quad(-40, 100, 39, 10, 0xFFFFFFFF, 0);
  Quad(801, 100, 10, 10, 0xFFFFFFFF, 0);
  Quad(100, -20, 10, 19, 0xFFFFFFFF, 0);
  Quad(100, 601, 10, 10, 0xFFFFFFFF, 0);
  Screen->EndScene();
  EXPECT_EQ(device->DrawCalls(), before);
  // Quads reaching only the outermost pixels of each side still draw them.
  Screen->BeginScene();
  Quad(-40, 100, 41, 10, 0xFFFFFFFF, 0);
  Quad(799, 200, 10, 10, 0xFFFFFFFF, 0);
  Quad(100, -20, 21, 21, 0xFFFFFFFF, 0);
  Quad(300, 599, 10, 10, 0xFFFFFFFF, 0);
  Screen->EndScene();
  EXPECT_EQ(Pixel(0, 105), 0xFEFEFEu);
  EXPECT_EQ(Pixel(799, 205), 0xFEFEFEu);
  EXPECT_EQ(Pixel(105, 0), 0xFEFEFEu);
  EXPECT_EQ(Pixel(305, 599), 0xFEFEFEu);
}

INSTANTIATE_TEST_SUITE_P(Windows, GlScreenTest, ::testing::ValuesIn(kWindowCases),
                         [](const auto& test) { return std::string(test.param.Name); });

}  // namespace
