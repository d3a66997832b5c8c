#pragma once
// The display device component: owns the graphics device and brackets every frame.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DeviceClient.h"
#include "DisplayDevice.h"

namespace vexel {

/// Where the vertex buffer lives (kept for the component's published state).
enum class TPoolType { plManaged, plDefault };
/// Device kind asked for at creation.
enum class TRenderMode { rmHardware, rmReference, rmSoftware };

/// Owns the graphics device for the main window: creates it windowed or full screen, opens and
/// closes frames, clears, keeps the blending mode, applies one screen-wide colour and transform
/// to everything drawn, and restores the other components' device resources after (re)creation.
class TVexelScreen {
 public:
  using TNotifyEvent = std::function<void(TVexelScreen&)>;

  /// Creates the component with its graphics system; without one the program ends (exit code 1).
  explicit TVexelScreen(std::unique_ptr<TDisplaySystem> system);
  ~TVexelScreen();
  TVexelScreen(const TVexelScreen&) = delete;
  TVexelScreen& operator=(const TVexelScreen&) = delete;

  TPoolType Pool = TPoolType::plManaged;
  float ScaleX = 1;
  float ScaleY = 1;
  int32_t CenterX = 0;
  int32_t CenterY = 0;
  int32_t OffsetX = 0;
  int32_t OffsetY = 0;
  float Rotation = 0;
  bool ShowMouseCursor = true;
  TRenderMode RenderMode = TRenderMode::rmHardware;
  int32_t Width = 800;
  int32_t Height = 600;
  bool ZBuffer = true;
  bool FullScreen = false;
  bool VSYNC = false;
  bool BackBufferAccess = false;
  int32_t BBCount = 0;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnInit;
  TNotifyEvent OnUnInit;

  /// Makes the device (fatal messages and exit code 1 when none can be had); returns 0.
  int Initialize();
  /// Releases the device after invalidating the components.
  void Finalize();
  /// Resets the device in place; 0 on success, 1 without a device, 2 when the reset failed.
  int ResetDevice();
  /// Switches between windowed and full screen.
  void ToggleFullScreen();
  /// Opens a frame when the device is usable.
  void BeginScene();
  /// Closes the frame, takes a pending screenshot and presents.
  void EndScene();
  /// Clears the back buffer to ARGB (A, R, G, B) and the depth buffer when ZBuffer is on.
  void Clear(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
  /// Writes one pixel, unblended.
  void PutPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
  /// Linear (true) or nearest-texel sampling.
  void SetFiltering(bool smooth);
  /// Selects a blending mode of the table; -1 and the current mode change nothing.
  void SetBlendMode(int32_t mode);
  /// Sets the destination blend factor directly, leaving CurrentBlendMode as it is.
  void SetDestBlend(TBlendFactor destination);
  /// Stores the packed screen colour and splits it into its channels.
  void SetColor(uint32_t argb);
  /// Applies the screen colour and transform in place and draws the vertices as a fan.
  void DrawVertices(TVertex* vertices, int32_t count);
  /// Selects the texture of the next quads.
  void SetTexture(const TTexture* texture);
  /// Saves the back buffer as a 24-bit BMP file; false when it cannot.
  bool SaveScreenshot(const std::string& fileName);
  /// Saves the back buffer as a PNG file; false when it cannot.
  bool SavePng(const std::string& fileName);
  /// Asks EndScene to save a screenshot of the next frame.
  void RequestScreenshot(const std::string& fileName);

  /// Registers a component whose device resources follow the device.
  void AddClient(TDeviceClient* client);
  /// Unregisters a component.
  void RemoveClient(TDeviceClient* client);

  /// Full-screen colour depth setter: 32 stays 32, anything else becomes 16.
  void SetBpp(int32_t value) { Bpp_ = value == 32 ? 32 : 16; }
  /// Full-screen colour depth.
  int32_t Bpp() const { return Bpp_; }
  /// Refresh-rate setter: only the usual rates are kept, anything else becomes 0 (default).
  void SetFrequency(uint32_t value);
  /// Full-screen refresh rate in hertz (0: default).
  uint32_t Frequency() const { return Frequency_; }
  /// Channel setters rebuild the packed screen colour.
  void SetRed(uint8_t v);
  void SetGreen(uint8_t v);
  void SetBlue(uint8_t v);
  void SetAlpha(uint8_t v);
  uint8_t Red() const { return Red_; }
  uint8_t Green() const { return Green_; }
  uint8_t Blue() const { return Blue_; }
  uint8_t Alpha() const { return Alpha_; }
  /// Packed ARGB screen colour.
  uint32_t ScreenColor() const { return ScreenColor_; }
  /// The blending mode in force.
  int32_t CurrentBlendMode() const { return CurrentBlendMode_; }
  /// Whether linear filtering is on.
  bool Filtering() const { return Filtering_; }
  /// Whether a frame is open.
  bool InScene() const { return InScene_; }
  /// Whether the device exists and frames may be drawn.
  bool Active() const { return Active_; }
  /// Whether Initialize has run successfully.
  bool Initialized() const { return Initialized_; }
  /// The device, or none.
  TDisplayDevice* Device() const { return Device_.get(); }
  /// The graphics system.
  TDisplaySystem* System() const { return System_.get(); }
  /// The presentation parameters of the device in use.
  const TPresentParams& PresentParams() const { return Params_; }

 private:
  void BuildPresentParams();
  bool MakeDevice();
  void ApplyDefaultStates();
  void RestoreComponents();
  void InvalidateComponents();
  void ApplyBlendFactors();
  void RebuildScreenColor();
  bool ReadScreen(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height);
  [[noreturn]] void Fatal(const std::vector<std::string>& lines);

  std::unique_ptr<TDisplaySystem> System_;
  std::unique_ptr<TDisplayDevice> Device_;
  std::vector<TDeviceClient*> Clients_;
  TPresentParams Params_;
  int32_t Bpp_ = 16;
  uint32_t Frequency_ = 0;
  uint8_t Red_ = 255;
  uint8_t Green_ = 255;
  uint8_t Blue_ = 255;
  uint8_t Alpha_ = 255;
  uint32_t ScreenColor_ = 0xFFFFFFFF;
  int32_t CurrentBlendMode_ = 0;
  TBlendFactor SourceBlend_ = TBlendFactor::SrcAlpha;
  TBlendFactor DestBlend_ = TBlendFactor::InvSrcAlpha;
  bool Filtering_ = false;
  bool InScene_ = false;
  bool Active_ = false;
  bool Initialized_ = false;
  bool ScreenshotPending_ = false;
  std::string ScreenshotFile_;
};

/// The source and destination factors of a blending mode of the table (unknown modes blend as 0).
std::pair<TBlendFactor, TBlendFactor> BlendFactorsOf(int32_t mode);

/// Packs four channels into ARGB after multiplying each by the screen channel (>> 8).
uint32_t ModulateColor(uint32_t color, uint32_t screenColor);

}  // namespace vexel
