#include "AudioPathListItem.h"

#include <algorithm>
#include <cmath>

#include "SoundListItem.h"
#include "VexelSound3D.h"

namespace vexel {

TAudioPathListItem::TAudioPathListItem(TVexelSound3D& owner) : Owner_(owner) {}

TAudioPathListItem::~TAudioPathListItem() {
  if (Created()) Owner_.Mixer()->RemovePath(MixerPath_);
}

void TAudioPathListItem::CreatePath() {
  platform::TAudioMixer* mixer = Owner_.Mixer();
  if (!mixer || Created()) return;
  MixerPath_ = mixer->AddPath();
  if (!Created()) return;
  ApplyGain();
  mixer->SetPathFrequency(MixerPath_, Frequency_);
}

void TAudioPathListItem::SetVolume(int32_t value) {
  Volume_ = std::clamp(value, 0, 100) * 100 - 10000;
  ApplyGain();
}

float TAudioPathListItem::GainOf(int32_t hundredths) {
  if (hundredths <= -10000) return 0.0f;
  return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

void TAudioPathListItem::SetFrequency(int32_t value) {
  value = std::max(value, 0);
  if (value == Frequency_) return;
  Frequency_ = value;
  if (Created()) Owner_.Mixer()->SetPathFrequency(MixerPath_, Frequency_);
}

void TAudioPathListItem::SetPosition(float x, float y, float z) {
  PositionX_ = x;
  PositionY_ = y;
  PositionZ_ = z;
  ApplyGain();
}

void TAudioPathListItem::SetListenerPosition(float x, float y, float z) {
  ListenerX_ = x;
  ListenerY_ = y;
  ListenerZ_ = z;
  ApplyGain();
}

float TAudioPathListItem::DistanceGain() const {
  if (AudioPathType != TAudioPathType::apt3D) return 1.0f;
  const float dx = PositionX_ - ListenerX_;
  const float dy = PositionY_ - ListenerY_;
  const float dz = PositionZ_ - ListenerZ_;
  const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (distance >= MaxDistance) return 0.0f;
  if (distance <= MinDistance) return 1.0f;
  return MinDistance / distance;
}

void TAudioPathListItem::ApplyGain() {
  if (Created()) Owner_.Mixer()->SetPathGain(MixerPath_, GainOf(Volume_) * DistanceGain());
}

bool TAudioPathListItem::Busy(uint32_t now) {
  TSoundListItem* sound = CurrentSound_;
  const bool busy = sound && sound->Loaded() && sound->Clip() && sound->LastPath() == this &&
                    (now - StartTime_ < 250 || Owner_.Mixer()->IsPlaying(sound->Clip()));
  if (!busy) CurrentSound_ = nullptr;
  return busy;
}

void TAudioPathListItem::Started(TSoundListItem* sound, uint32_t now) {
  CurrentSound_ = sound;
  StartTime_ = now;
}

void TAudioPathListItem::Forget(const TSoundListItem* sound) {
  if (CurrentSound_ == sound) CurrentSound_ = nullptr;
}

}  // namespace vexel
