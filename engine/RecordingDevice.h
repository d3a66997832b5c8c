#pragma once
// A display back end that draws nothing and records every call, so engine tests can check
// exact vertices, colours and blend factors without a GPU.

#include <vector>

#include "DisplayDevice.h"

namespace vexel {

/// One recorded device call.
struct TDeviceCall {
  enum class TKind { Reset, BeginScene, EndScene, Present, Clear, Blend, Filtering, Texture, Draw };
  TKind Kind = TKind::Draw;
  uint32_t Color = 0;
  bool Flag = false;
  bool HasArea = false;
  TRect Area;
  TBlendFactor Source = TBlendFactor::One;
  TBlendFactor Destination = TBlendFactor::Zero;
  const TTexture* Texture = nullptr;
  std::vector<TVertex> Vertices;
};

/// A device that records its calls; its "back buffer" is never drawn.
class TRecordingDevice : public TDisplayDevice {
 public:
  /// Calls received so far, oldest first.
  std::vector<TDeviceCall> Calls;
  /// The level the next TestCooperativeLevel answers (tests simulate a lost device with it).
  TCooperativeLevel Level = TCooperativeLevel::Ok;
  /// Whether Reset succeeds.
  bool ResetSucceeds = true;
  /// Largest texture side reported.
  int32_t MaxTextureSide = 4096;
  /// Whether Calls keeps every frame; when false, each presentation drops the frames before the
  /// one it ends, so a long headless run does not grow without end.
  bool KeepsAllFrames = true;

  /// The recorded calls of one kind.
  std::vector<TDeviceCall> CallsOf(TDeviceCall::TKind kind) const;

  bool Reset(const TPresentParams& params) override;
  TCooperativeLevel TestCooperativeLevel() override { return Level; }
  void BeginScene() override;
  void EndScene() override;
  void Present() override;
  void Clear(uint32_t argb, bool clearDepth, const TRect* area) override;
  void SetBlendFactors(TBlendFactor source, TBlendFactor destination) override;
  void SetFiltering(bool linear) override;
  void SetTexture(const TTexture* texture) override;
  void DrawTriangleFan(const TVertex* vertices, int32_t count) override;
  std::shared_ptr<TTexture> CreateTexture(int32_t width, int32_t height,
                                          std::vector<uint32_t> texels) override;
  int32_t MaxTextureSize() const override { return MaxTextureSide; }
  bool ReadBackBuffer(std::vector<uint32_t>& argb, int32_t& width, int32_t& height) override;

 private:
  void Record(TDeviceCall::TKind kind);
};

/// The graphics system of the recording back end; it remembers the device it made last.
class TRecordingSystem : public TDisplaySystem {
 public:
  /// The device made by the last CreateDevice, owned by the screen that asked for it.
  TRecordingDevice* LastDevice = nullptr;
  /// When false, CreateDevice fails (tests of the fatal path).
  bool DevicesAvailable = true;
  /// Number of CreateDevice calls.
  int CreateCount = 0;
  /// Last full-screen request.
  bool FullScreen = false;
  /// Last cursor visibility request.
  bool CursorShown = true;
  /// Whether the devices made keep the calls of every frame (see TRecordingDevice).
  bool KeepsAllFrames = true;

  std::unique_ptr<TDisplayDevice> CreateDevice(const TPresentParams& params,
                                               bool software) override;
  void SetWindowFullScreen(bool fullScreen) override { FullScreen = fullScreen; }
  void ShowCursor(bool show) override { CursorShown = show; }
};

}  // namespace vexel
