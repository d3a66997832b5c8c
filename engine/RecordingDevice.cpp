#include "RecordingDevice.h"

#include <algorithm>
#include <utility>

namespace vexel {

std::vector<TDeviceCall> TRecordingDevice::CallsOf(TDeviceCall::TKind kind) const {
  std::vector<TDeviceCall> result;
  for (const auto& call : Calls) {
    if (call.Kind == kind) result.push_back(call);
  }
  return result;
}

void TRecordingDevice::Record(TDeviceCall::TKind kind) {
  TDeviceCall call;
  call.Kind = kind;
  Calls.push_back(std::move(call));
}

bool TRecordingDevice::Reset(const TPresentParams& params) {
  Record(TDeviceCall::TKind::Reset);
  Calls.back().Flag = params.Windowed;
  return ResetSucceeds;
}

void TRecordingDevice::BeginScene() {
  Record(TDeviceCall::TKind::BeginScene);
}

void TRecordingDevice::EndScene() {
  Record(TDeviceCall::TKind::EndScene);
}

void TRecordingDevice::Present() {
  if (!KeepsAllFrames) {
    const auto isPresent = [](const TDeviceCall& call) {
      return call.Kind == TDeviceCall::TKind::Present;
    };
    const auto lastPresent = std::find_if(Calls.rbegin(), Calls.rend(), isPresent);
    Calls.erase(Calls.begin(), lastPresent.base());
  }
  Record(TDeviceCall::TKind::Present);
}

void TRecordingDevice::Clear(uint32_t argb, bool clearDepth, const TRect* area) {
  Record(TDeviceCall::TKind::Clear);
  Calls.back().Color = argb;
  Calls.back().Flag = clearDepth;
  Calls.back().HasArea = area != nullptr;
  if (area) Calls.back().Area = *area;
}

void TRecordingDevice::SetBlendFactors(TBlendFactor source, TBlendFactor destination) {
  Record(TDeviceCall::TKind::Blend);
  Calls.back().Source = source;
  Calls.back().Destination = destination;
}

void TRecordingDevice::SetFiltering(bool linear) {
  Record(TDeviceCall::TKind::Filtering);
  Calls.back().Flag = linear;
}

void TRecordingDevice::SetTexture(const TTexture* texture) {
  Record(TDeviceCall::TKind::Texture);
  Calls.back().Texture = texture;
}

void TRecordingDevice::DrawTriangleFan(const TVertex* vertices, int32_t count) {
  Record(TDeviceCall::TKind::Draw);
  Calls.back().Vertices.assign(vertices, vertices + count);
}

std::shared_ptr<TTexture> TRecordingDevice::CreateTexture(int32_t width, int32_t height,
                                                          std::vector<uint32_t> texels) {
  return std::make_shared<TTexture>(width, height, std::move(texels));
}

bool TRecordingDevice::ReadBackBuffer(std::vector<uint32_t>& argb, int32_t& width,
                                      int32_t& height) {
  argb.clear();
  width = height = 0;
  return false;
}

std::unique_ptr<TDisplayDevice> TRecordingSystem::CreateDevice(const TPresentParams&, bool) {
  ++CreateCount;
  if (!DevicesAvailable) return nullptr;
  auto device = std::make_unique<TRecordingDevice>();
  device->KeepsAllFrames = KeepsAllFrames;
  LastDevice = device.get();
  return device;
}

}  // namespace vexel
