#include "VexelScreen.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "VexelRenderer.h"
#include "platform/ImageFile.h"
#include "platform/MessageBox.h"

namespace vexel {
namespace {

bool IsKnownMode(int32_t w, int32_t h) {
  static constexpr int32_t kModes[][2] = {{800, 600}, {640, 400}, {640, 480},  {1024, 768},
                                          {320, 200}, {320, 240}, {1280, 1024}};
  return std::any_of(std::begin(kModes), std::end(kModes),
                     [&](const auto& m) { return m[0] == w && m[1] == h; });
}

uint32_t PackArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a & 0xFF) << 24 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}

}  // namespace

std::pair<TBlendFactor, TBlendFactor> BlendFactorsOf(int32_t mode) {
  using F = TBlendFactor;
  static constexpr std::pair<F, F> kTable[] = {
      {F::SrcAlpha, F::InvSrcAlpha},
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
      {F::InvDestColor, F::InvDestColor},
  };
  if (mode < 0 || mode >= static_cast<int32_t>(std::size(kTable))) return kTable[0];
  return kTable[mode];
}

uint32_t ModulateColor(uint32_t color, uint32_t screenColor) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t c = (color >> shift) & 0xFF;
    const uint32_t s = (screenColor >> shift) & 0xFF;
    result |= ((c * s) >> 8) << shift;
  }
  return result;
}

TVexelScreen::TVexelScreen(std::unique_ptr<TDisplaySystem> system) : System_(std::move(system)) {
  std::setlocale(LC_NUMERIC, "C");
  SetColor(0xFFFFFFFF);
  if (!System_) {
    Fatal({"Could not initialize Direct3D. You may", "want to check that the latest version of",
           "DirectX is correctly installed on your", "system.  Also make sure that this program",
           "was compiled with header files that match", "the installed DirectX DLLs."});
  }
  if (OnCreate) OnCreate(*this);
}

TVexelScreen::~TVexelScreen() {
  if (System_) System_->ShowCursor(true);
  Finalize();
  if (OnDestroy) OnDestroy(*this);
}

void TVexelScreen::Fatal(const std::vector<std::string>& lines) {
  if (System_) System_->ShowCursor(true);
  std::string text;
  for (const auto& line : lines) text += (text.empty() ? "" : "\n") + line;
  platform::ShowMessageBox("Error", text, {"OK", "Cancel"});
  platform::ShowMessageBox("Error", "This application will now exit.", {"OK"});
  std::exit(1);
}

void TVexelScreen::SetFrequency(uint32_t value) {
  static constexpr uint32_t kRates[] = {56,  60,  70,  72,  75,  85,  90,  100,
                                        120, 140, 144, 150, 160, 170, 200, 240};
  Frequency_ =
      std::find(std::begin(kRates), std::end(kRates), value) != std::end(kRates) ? value : 0;
}

void TVexelScreen::SetRed(uint8_t v) {
  Red_ = v;
  RebuildScreenColor();
}
void TVexelScreen::SetGreen(uint8_t v) {
  Green_ = v;
  RebuildScreenColor();
}
void TVexelScreen::SetBlue(uint8_t v) {
  Blue_ = v;
  RebuildScreenColor();
}
void TVexelScreen::SetAlpha(uint8_t v) {
  Alpha_ = v;
  RebuildScreenColor();
}

void TVexelScreen::RebuildScreenColor() {
  ScreenColor_ = PackArgb(Alpha_, Red_, Green_, Blue_);
}

void TVexelScreen::SetColor(uint32_t argb) {
  ScreenColor_ = argb;
  Alpha_ = static_cast<uint8_t>(argb >> 24);
  Red_ = static_cast<uint8_t>(argb >> 16);
  Green_ = static_cast<uint8_t>(argb >> 8);
  Blue_ = static_cast<uint8_t>(argb);
}

void TVexelScreen::BuildPresentParams() {
  Params_ = TPresentParams{};
  Params_.Lockable = BackBufferAccess;
  if (FullScreen && !IsKnownMode(Width, Height)) {
    Params_.BackBufferWidth = 800;
    Params_.BackBufferHeight = 600;
  } else {
    Params_.BackBufferWidth = Width;
    Params_.BackBufferHeight = Height;
  }
  Params_.Windowed = !FullScreen;
  Params_.DepthBuffer = ZBuffer;
  if (FullScreen) {
    if (BBCount <= 0) BBCount = 1;
    Params_.BackBufferCount = BBCount;
    Params_.VSync = VSYNC;
    Params_.RefreshRate = Frequency_;
  }
}

bool TVexelScreen::MakeDevice() {
  Device_ = System_->CreateDevice(Params_, RenderMode != TRenderMode::rmHardware);
  if (!Device_ && RenderMode == TRenderMode::rmHardware) {
    RenderMode = TRenderMode::rmSoftware;
    Device_ = System_->CreateDevice(Params_, true);
  }
  return Device_ != nullptr;
}

int TVexelScreen::Initialize() {
  Device_.reset();
  BuildPresentParams();
  System_->SetWindowFullScreen(FullScreen);
  if (!MakeDevice()) Fatal({"Could not find any compatible Direct3D", "devices."});
  Initialized_ = Active_ = true;
  ApplyDefaultStates();
  RestoreComponents();
  if (OnInit) OnInit(*this);
  System_->ShowCursor(ShowMouseCursor);
  return 0;
}

void TVexelScreen::ApplyDefaultStates() {
  CurrentBlendMode_ = 0;
  SourceBlend_ = TBlendFactor::SrcAlpha;
  DestBlend_ = TBlendFactor::InvSrcAlpha;
  ApplyBlendFactors();
  Filtering_ = false;
  Device_->SetFiltering(false);
}

void TVexelScreen::ApplyBlendFactors() {
  if (Device_) Device_->SetBlendFactors(SourceBlend_, DestBlend_);
}

void TVexelScreen::Finalize() {
  Active_ = Initialized_ = false;
  InScene_ = false;
  if (!Device_) return;
  InvalidateComponents();
  if (OnUnInit) OnUnInit(*this);
  Device_.reset();
}

void TVexelScreen::AddClient(TDeviceClient* client) {
  if (std::find(Clients_.begin(), Clients_.end(), client) == Clients_.end()) {
    Clients_.push_back(client);
  }
}

void TVexelScreen::RemoveClient(TDeviceClient* client) {
  Clients_.erase(std::remove(Clients_.begin(), Clients_.end(), client), Clients_.end());
}

void TVexelScreen::RestoreComponents() {
  if (Device_) Device_->SetTexture(nullptr);
  for (auto* client : Clients_) {
    if (client->DeviceClientKind() == TDeviceClientKind::ImageList) client->DeviceRestore();
  }
  for (auto* client : Clients_) {
    if (client->DeviceClientKind() != TDeviceClientKind::ImageList) client->DeviceRestore();
  }
}

void TVexelScreen::InvalidateComponents() {
  if (Device_) Device_->SetTexture(nullptr);
  static constexpr TDeviceClientKind kOrder[] = {
      TDeviceClientKind::BitmapFont, TDeviceClientKind::SystemFont, TDeviceClientKind::ImageList,
      TDeviceClientKind::Gui};
  for (auto kind : kOrder) {
    for (auto* client : Clients_) {
      if (client->DeviceClientKind() == kind) client->DeviceInvalidate();
    }
  }
}

int TVexelScreen::ResetDevice() {
  if (!Device_) return 1;
  InScene_ = false;
  InvalidateComponents();
  if (OnUnInit) OnUnInit(*this);
  Device_->SetTexture(nullptr);
  BuildPresentParams();
  if (!Device_->Reset(Params_)) return 2;
  System_->ShowCursor(ShowMouseCursor);
  ApplyBlendFactors();
  Device_->SetFiltering(Filtering_);
  RestoreComponents();
  if (OnInit) OnInit(*this);
  return 0;
}

void TVexelScreen::ToggleFullScreen() {
  Active_ = false;
  FullScreen = !FullScreen;
  System_->SetWindowFullScreen(FullScreen);
  ResetDevice();
  Initialized_ = Active_ = Device_ != nullptr;
}

void TVexelScreen::BeginScene() {
  if (!Device_) return;
  switch (Device_->TestCooperativeLevel()) {
    case TCooperativeLevel::Ok:
      if (Initialized_ && Active_) {
        Device_->BeginScene();
        InScene_ = true;
      }
      return;
    case TCooperativeLevel::NotReset:
      ResetDevice();
      return;
    case TCooperativeLevel::Lost:
    case TCooperativeLevel::Failed:
      return;
  }
}

void TVexelScreen::EndScene() {
  if (!InScene_) return;
  InScene_ = false;
  Device_->EndScene();
  if (ScreenshotPending_) {
    SaveScreenshot(ScreenshotFile_);
    ScreenshotPending_ = false;
  }
  Device_->Present();
}

void TVexelScreen::Clear(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  if (Device_) Device_->Clear(PackArgb(a, r, g, b), ZBuffer, nullptr);
}

void TVexelScreen::PutPixel(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  const TRect area{x, y, x + 1, y + 1};
  if (Device_) Device_->Clear(PackArgb(a, r, g, b), false, &area);
}

void TVexelScreen::SetFiltering(bool smooth) {
  Filtering_ = smooth;
  if (Device_) Device_->SetFiltering(smooth);
}

void TVexelScreen::SetBlendMode(int32_t mode) {
  if (mode == -1 || mode == CurrentBlendMode_) return;
  std::tie(SourceBlend_, DestBlend_) = BlendFactorsOf(mode);
  ApplyBlendFactors();
  CurrentBlendMode_ = mode;
}

void TVexelScreen::SetDestBlend(TBlendFactor destination) {
  if (destination == DestBlend_) return;
  DestBlend_ = destination;
  ApplyBlendFactors();
}

void TVexelScreen::SetTexture(const TTexture* texture) {
  if (Device_) Device_->SetTexture(texture);
}

void TVexelScreen::DrawVertices(TVertex* vertices, int32_t count) {
  const float radians = static_cast<float>(Rotation * std::numbers::pi / 180.0);
  const auto cx = static_cast<float>(CenterX);
  const auto cy = static_cast<float>(CenterY);
  for (int32_t i = 0; i < count; ++i) {
    TVertex& v = vertices[i];
    v.Color = ModulateColor(v.Color, ScreenColor_);
    RotateScalePoint(v.X, v.Y, cx, cy, radians, ScaleX, ScaleY);
    v.X += static_cast<float>(OffsetX);
    v.Y += static_cast<float>(OffsetY);
  }
  if (Device_ && InScene_) Device_->DrawTriangleFan(vertices, count);
}

bool TVexelScreen::ReadScreen(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) {
  if (!Device_ || !Device_->ReadBackBuffer(pixels, width, height)) return false;
  // What the screen shows is opaque, whatever alpha the back buffer holds.
  for (auto& pixel : pixels) pixel |= 0xFF000000u;
  return true;
}

bool TVexelScreen::SaveScreenshot(const std::string& fileName) {
  std::vector<uint32_t> pixels;
  int32_t w = 0;
  int32_t h = 0;
  return ReadScreen(pixels, w, h) && platform::WriteBmp24(fileName, w, h, pixels);
}

bool TVexelScreen::SavePng(const std::string& fileName) {
  std::vector<uint32_t> pixels;
  int32_t w = 0;
  int32_t h = 0;
  return ReadScreen(pixels, w, h) && platform::WritePng(fileName, w, h, pixels);
}

void TVexelScreen::RequestScreenshot(const std::string& fileName) {
  ScreenshotPending_ = true;
  ScreenshotFile_ = fileName;
}

}  // namespace vexel
