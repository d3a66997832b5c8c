#include "SoundListItem.h"

#include <algorithm>

#include "AudioPathListItem.h"
#include "VexelSound3D.h"

namespace vexel {

TSoundListItem::TSoundListItem(TVexelSound3D& owner) : Owner_(owner) {}

TSoundListItem::~TSoundListItem() {
  Unload();
  Owner_.ForgetSound(this);
}

void TSoundListItem::SetFileName(const std::string& fileName) {
  if (fileName == FileName_) return;
  FileName_ = fileName;
  LoadFailed_ = false;
}

bool TSoundListItem::Load() {
  platform::TAudioMixer* mixer = Owner_.Mixer();
  if (!mixer || LoadFailed_) return false;
  std::string error;
  Clip_ = platform::TAudioClip::LoadWav(Owner_.ResolveFile(FileName_), mixer->OutputRate(), error);
  if (!Clip_) {
    LoadFailed_ = true;
    Owner_.Report("Error loading sound: " + FileName_);
    return false;
  }
  Loaded_ = true;
  return true;
}

TAudioPathListItem* TSoundListItem::ChoosePath() const {
  switch (AudioPathPool) {
    case TAudioPathPool::appUseIndex:
      return Owner_.AudioPathList.Items(AudioPathIndex);
    case TAudioPathPool::app3D:
      return Owner_.AudioPathList.PickPooled(TAudioPathType::apt3D, Owner_.Milliseconds());
    case TAudioPathPool::appMono:
      return Owner_.AudioPathList.PickPooled(TAudioPathType::aptMono, Owner_.Milliseconds());
    case TAudioPathPool::appStereo:
      return Owner_.AudioPathList.PickPooled(TAudioPathType::aptStereo, Owner_.Milliseconds());
  }
  return nullptr;
}

TAudioPathListItem* TSoundListItem::Play() {
  if (!Loaded_ && !Load()) return nullptr;
  TAudioPathListItem* path = ChoosePath();
  if (path && path->Created()) {
    path->SetVolume(Volume);
    path->SetFrequency(Frequency);
    path->SetPosition(SoundPositionX, SoundPositionY, SoundPositionZ);
    const int repeats = Loop_ ? -1 : static_cast<int>(std::min<uint32_t>(RepeatCount_, 1u << 30));
    Owner_.Mixer()->Play(path->MixerPath(), Clip_, repeats);
    path->Started(this, Owner_.Milliseconds());
  }
  LastPath_ = path;
  return path;
}

void TSoundListItem::Stop() {
  if (Loaded_) Owner_.Mixer()->Stop(Clip_.get());
  Owner_.ForgetSound(this);
}

void TSoundListItem::Unload() {
  LoadFailed_ = false;
  if (!Loaded_) return;
  Stop();
  Clip_.reset();
  Loaded_ = false;
}

}  // namespace vexel
