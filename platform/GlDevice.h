#pragma once
// The OpenGL 3.3 core back end of the display device.

#include <memory>
#include <vector>

#include "GlFunctions.h"
#include "PlatformWindow.h"
#include "engine/DisplayDevice.h"

namespace platform {

/// Draws the display device's pre-transformed, tinted, textured quads with OpenGL 3.3 core into
/// an off-screen back buffer of the requested size, and shows it letterboxed in the window.
/// Consecutive quads that share texture, blend factors and sampling go out in one draw call.
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
  bool ReadBackBuffer(std::vector<uint32_t>& argb, int32_t& width, int32_t& height) override;

  /// Number of draw calls made since the device was created.
  uint64_t DrawCalls() const { return DrawCalls_; }

  /// When false, every fan is drawn at once in a call of its own (for measurements).
  bool Batching = true;

 private:
  bool MakeProgram();
  bool MakeBackBuffer(int32_t width, int32_t height);
  void ReleaseBackBuffer();
  void MakeBuffers();
  void Flush();
  void BindBackBuffer();
  void MakeCurrent();

  TPlatformWindow& Window_;
  SDL_GLContext Context_ = nullptr;
  TGlFunctions Gl_;
  std::shared_ptr<bool> ContextAlive_;
  bool Valid_ = false;
  int32_t Width_ = 0;
  int32_t Height_ = 0;
  int32_t MaxTextureSize_ = 2048;
  GLuint Program_ = 0;
  GLint ViewSizeLocation_ = -1;
  GLuint VertexArray_ = 0;
  GLuint VertexBuffer_ = 0;
  GLuint Framebuffer_ = 0;
  GLuint ColorTexture_ = 0;
  GLuint WhiteTexture_ = 0;
  GLuint Samplers_[2] = {0, 0};
  std::vector<vexel::TVertex> Batch_;
  GLuint BoundTexture_ = 0;
  uint64_t DrawCalls_ = 0;
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
