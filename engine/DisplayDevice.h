#pragma once
// The graphics device seam: everything the display device asks of the graphics hardware.
// The OpenGL back end draws for real; the recording back end keeps every call for tests.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vexel {

/// A rectangle of four 32-bit signed values; Right and Bottom are exclusive.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const TRect&) const = default;
};

/// One screen-space vertex, already transformed: position, rhw, ARGB colour, texture coordinates.
struct TVertex {
  float X = 0;
  float Y = 0;
  float Z = 0;
  float Rhw = 1;
  uint32_t Color = 0xFFFFFFFF;
  float U = 0;
  float V = 0;
};
static_assert(sizeof(TVertex) == 28, "vertices are 28 bytes");

/// Blend factors of the fixed-function blender.
enum class TBlendFactor : uint8_t {
  Zero,
  One,
  SrcColor,
  InvSrcColor,
  SrcAlpha,
  InvSrcAlpha,
  DestAlpha,
  InvDestAlpha,
  DestColor,
  InvDestColor,
};

/// What a device says at the start of a frame.
enum class TCooperativeLevel { Ok, Lost, NotReset, Failed };

/// Presentation parameters of a device: back-buffer size and how frames are shown.
struct TPresentParams {
  int32_t BackBufferWidth = 800;
  int32_t BackBufferHeight = 600;
  int32_t BackBufferCount = 1;
  bool Windowed = true;
  bool DepthBuffer = true;
  bool VSync = false;
  uint32_t RefreshRate = 0;
  bool Lockable = false;
};

/// A texture: its size and its 32-bit ARGB texels for the pixel collision test. A back end whose
/// texels live on the graphics device keeps no copy: it reads them back the first time they are
/// asked for and keeps them from then on.
class TTexture {
 public:
  /// A texture whose texels are kept here.
  TTexture(int32_t width, int32_t height, std::vector<uint32_t> texels);
  virtual ~TTexture() = default;
  TTexture(const TTexture&) = delete;
  TTexture& operator=(const TTexture&) = delete;

  /// Width in texels.
  int32_t Width() const { return Width_; }
  /// Height in texels.
  int32_t Height() const { return Height_; }
  /// Texels row by row, top row first, as 0xAARRGGBB (read back from the device on first use).
  const std::vector<uint32_t>& Texels() const;
  /// Whether a copy of the texels is held in main memory now.
  bool TexelsHeld() const { return TexelsHeld_; }

 protected:
  /// A texture whose texels stay on the device until Texels() is first called.
  TTexture(int32_t width, int32_t height);
  /// Reads the texels back from the device; empty when they cannot be read.
  virtual std::vector<uint32_t> ReadTexels() const { return {}; }

 private:
  int32_t Width_;
  int32_t Height_;
  mutable std::vector<uint32_t> Texels_;
  mutable bool TexelsHeld_;
};

/// A graphics device bound to one window: frames, clears, blend state, textured triangle fans.
class TDisplayDevice {
 public:
  virtual ~TDisplayDevice() = default;

  /// Re-applies presentation parameters in place (mode switch); false on failure.
  virtual bool Reset(const TPresentParams& params) = 0;
  /// Whether frames can be drawn now.
  virtual TCooperativeLevel TestCooperativeLevel() = 0;
  /// Opens a frame.
  virtual void BeginScene() = 0;
  /// Closes a frame.
  virtual void EndScene() = 0;
  /// Shows the back buffer in the window.
  virtual void Present() = 0;
  /// Fills the whole back buffer, or one rectangle of it, with an ARGB colour, unblended.
  virtual void Clear(uint32_t argb, bool clearDepth, const TRect* area) = 0;
  /// Sets the source and destination blend factors.
  virtual void SetBlendFactors(TBlendFactor source, TBlendFactor destination) = 0;
  /// Linear (true) or nearest-texel (false) sampling for magnification and minification.
  virtual void SetFiltering(bool linear) = 0;
  /// Selects the texture for the next draws; none draws the vertex colours alone.
  virtual void SetTexture(const TTexture* texture) = 0;
  /// Draws a triangle fan of Count vertices.
  virtual void DrawTriangleFan(const TVertex* vertices, int32_t count) = 0;
  /// Makes a texture from 32-bit ARGB texels (top row first).
  virtual std::shared_ptr<TTexture> CreateTexture(int32_t width, int32_t height,
                                                  std::vector<uint32_t> texels) = 0;
  /// Largest texture side the device accepts.
  virtual int32_t MaxTextureSize() const = 0;
  /// Whether texture sides must be powers of two (pictures then sit top-left in a larger one).
  virtual bool PowerOfTwoTextures() const { return true; }
  /// Reads the back buffer as 0xAARRGGBB rows, top row first.
  virtual bool ReadBackBuffer(std::vector<uint32_t>& argb, int32_t& width, int32_t& height) = 0;
};

/// The graphics system: makes devices for a window.
class TDisplaySystem {
 public:
  virtual ~TDisplaySystem() = default;
  /// Creates a device; none when no compatible device exists.
  virtual std::unique_ptr<TDisplayDevice> CreateDevice(const TPresentParams& params,
                                                       bool software) = 0;
  /// Switches the window between desktop full screen and an 800 x 600 window.
  virtual void SetWindowFullScreen(bool fullScreen) = 0;
  /// Shows or hides the system mouse pointer.
  virtual void ShowCursor(bool show) = 0;
};

}  // namespace vexel
