#pragma once
// The OpenGL 3.3 core back end of the display device.

#include <memory>
#include <vector>

#include "GlFunctions.h"
#include "PlatformWindow.h"
#include "ResampledCopies.h"
#include "engine/DisplayDevice.h"

namespace platform {

/// Draws the display device's pre-transformed, tinted, textured quads with OpenGL 3.3 core.
/// When the window's drawable area has the back buffer's size, frames are drawn straight into
/// the window; otherwise into an off-screen back buffer of the requested size that is shown
/// letterboxed. Consecutive quads that share texture, blend factors and sampling go out in one
/// draw call; opaque pictures at full alpha are drawn without blending. A smoothly sampled
/// picture drawn as an unturned quad at a whole pixel position is drawn texel for pixel from a
/// copy resampled once to the quad's size. Textures have the pictures' own sizes and keep no
/// copy of their texels.
class TGlDevice : public vexel::TDisplayDevice {
 public:
  /// Makes a context on the window; check Valid() afterwards.
  TGlDevice(TPlatformWindow& window, const vexel::TPresentParams& params);
  ~TGlDevice() override;
  TGlDevice(const TGlDevice&) = delete;
  TGlDevice& operator=(const TGlDevice&) = delete;

  /// Whether the context and every object were made.
  bool Valid() const { return Valid_; }

  bool Reset(const vexel::TPresentParams& params) override;
  vexel::TCooperativeLevel TestCooperativeLevel() override;
  void BeginScene() override;
  void EndScene() override;
  void Present() override;
  void Clear(uint32_t argb, bool clearDepth, const vexel::TRect* area) override;
  void SetBlendFactors(vexel::TBlendFactor source, vexel::TBlendFactor destination) override;
  void SetFiltering(bool linear) override;
  void SetTexture(const vexel::TTexture* texture) override;
  void DrawTriangleFan(const vexel::TVertex* vertices, int32_t count) override;
  std::shared_ptr<vexel::TTexture> CreateTexture(int32_t width, int32_t height,
                                                 std::vector<uint32_t> texels) override;
  int32_t MaxTextureSize() const override { return MaxTextureSize_; }
  bool PowerOfTwoTextures() const override { return false; }
  bool ReadBackBuffer(std::vector<uint32_t>& argb, int32_t& width, int32_t& height) override;

  /// Number of draw calls made since the device was created.
  uint64_t DrawCalls() const { return DrawCalls_; }
  /// Whether the current (or last) frame is drawn straight into the window.
  bool DrawsIntoWindow() const { return Direct_; }
  /// Reads a texture of this device back from the graphics memory (for the pixel test).
  std::vector<uint32_t> ReadTexture(GLuint name, int32_t width, int32_t height);

  /// Forgets the resampled copies made from a texture of this device (it is being deleted).
  void ForgetCopiesOf(GLuint source);
  /// Number of resampled copies made since the device was created.
  uint64_t CopiesMade() const { return CopiesMade_; }
  /// Number of resampled copies kept now.
  size_t CopiesKept() const { return Copies_.Count(); }

  /// When false, every fan is drawn at once in a call of its own (for measurements).
  bool Batching = true;
  /// When false, smoothly sampled quads are always drawn from their pictures (for comparisons).
  bool Copying = true;

 private:
  bool MakeProgram();
  GLuint NewTexture(int32_t width, int32_t height, const void* texels);
  bool MakeBackBuffer();
  void ReleaseBackBuffer();
  void MakeBuffers();
  void Flush();
  void BindTarget();
  /// A picture as fans sample it: its texture, its edge rule, and whether it is wholly opaque.
  struct TPicture {
    GLuint Name = 0;
    int Edges = 0;
    bool Opaque = true;
  };
  void BindSampler(int sampler);
  void BindTexture(GLuint name);
  bool CopyKeyOf(const vexel::TVertex* v, int32_t count, TResampledKey& key, int32_t& left,
                 int32_t& top) const;
  const TResampledCopy* MakeCopy(const TResampledKey& key, const vexel::TVertex* fan, int32_t left,
                                 int32_t top);
  bool DrawFromCopy(vexel::TVertex* fan, int32_t count, TPicture& picture);
  void DeleteTextures(const std::vector<uint32_t>& names);
  bool CoversOpaquely(const vexel::TVertex* vertices, int32_t count, const TPicture& picture,
                      bool smooth) const;
  bool OutsideTarget(const vexel::TVertex* vertices, int32_t count) const;
  void SetOpaqueDrawing(bool opaque);
  void MakeCurrent();
  bool WindowFitsBackBuffer() const;
  void ReadWindow(std::vector<uint32_t>& argb);

  TPlatformWindow& Window_;
  SDL_GLContext Context_ = nullptr;
  TGlFunctions Gl_;
  std::shared_ptr<bool> ContextAlive_;
  bool Valid_ = false;
  int32_t Width_ = 0;
  int32_t Height_ = 0;
  int32_t MaxTextureSize_ = 2048;
  GLuint Program_ = 0;
  GLint TransformLocation_ = -1;
  GLuint VertexArray_ = 0;
  GLuint VertexBuffer_ = 0;
  GLuint Framebuffer_ = 0;
  GLuint ColorTexture_ = 0;
  GLuint WhiteTexture_ = 0;
  /// Samplers by filtering (linear: +4) and edge rule of each axis (transparent border: +2 for
  /// the width, +1 for the height; repeat otherwise).
  GLuint Samplers_[8] = {};
  int BoundSampler_ = -1;
  bool Linear_ = false;
  /// The picture the engine set for the fans to come.
  TPicture Picture_;
  /// Resampled copies, the framebuffer they are drawn through, how many were made, and the
  /// number of frames presented (when each copy was last used).
  TResampledCopies Copies_;
  GLuint CopyFramebuffer_ = 0;
  uint64_t CopiesMade_ = 0;
  uint64_t Frames_ = 0;
  /// Whether the blend factors are the usual alpha blending, and whether blending is off for the
  /// fans being drawn.
  bool AlphaBlending_ = true;
  bool OpaqueDrawing_ = false;
  std::vector<vexel::TVertex> Batch_;
  GLuint BoundTexture_ = 0;
  uint64_t DrawCalls_ = 0;
  /// Whether the target of this frame is bound, whether it is the window, and whether the
  /// window's frame has been presented since it was drawn.
  bool TargetBound_ = false;
  bool Direct_ = false;
  bool Presented_ = false;
  bool DoubleBuffered_ = true;
};

/// The OpenGL graphics system of one window: makes devices, switches the window mode.
class TGlSystem : public vexel::TDisplaySystem {
 public:
  explicit TGlSystem(TPlatformWindow& window) : Window_(window) {}
  std::unique_ptr<vexel::TDisplayDevice> CreateDevice(const vexel::TPresentParams& params,
                                                      bool software) override;
  void SetWindowFullScreen(bool fullScreen) override { Window_.SetFullScreen(fullScreen); }
  void ShowCursor(bool show) override { Window_.ShowCursor(show); }

 private:
  TPlatformWindow& Window_;
};

}  // namespace platform
