#include "VexelSound3D.h"

#include <cstdio>

#include "platform/Clock.h"
#include "platform/MessageBox.h"

namespace vexel {

TVexelSound3D::TVexelSound3D() : Output_(std::make_unique<platform::TAudioOutput>()) {
  if (!Output_->IsOpen()) {
    std::fprintf(stderr, "No audio device (%s): the game runs without sound.\n",
                 Output_->Error().c_str());
  }
}

TVexelSound3D::~TVexelSound3D() {
  ModList.Clear();
  // Sounds first: each one walks the paths to make them forget it.
  SoundList.Clear();
  AudioPathList.Clear();
}

void TVexelSound3D::CreateAudioPaths() {
  for (int i = 0; i < AudioPathList.Count(); ++i) AudioPathList.Items(i)->CreatePath();
}

std::string TVexelSound3D::ResolveFile(const std::string& fileName) const {
  return FileResolver ? FileResolver(fileName) : fileName;
}

void TVexelSound3D::Report(const std::string& text) const {
  if (OnMessage) {
    OnMessage(text);
  } else {
    platform::ShowMessageBox("Error", text, {"OK"});
  }
}

uint32_t TVexelSound3D::Milliseconds() const {
  return static_cast<uint32_t>(platform::Milliseconds());
}

void TVexelSound3D::ForgetSound(const TSoundListItem* sound) {
  for (int i = 0; i < AudioPathList.Count(); ++i) AudioPathList.Items(i)->Forget(sound);
}

void TVexelSound3D::SetListenerPositionX(float value) {
  if (value == ListenerX_) return;
  ListenerX_ = value;
  UpdateListener();
}

void TVexelSound3D::SetListenerPositionY(float value) {
  if (value == ListenerY_) return;
  ListenerY_ = value;
  UpdateListener();
}

void TVexelSound3D::SetListenerPositionZ(float value) {
  if (value == ListenerZ_) return;
  ListenerZ_ = value;
  UpdateListener();
}

void TVexelSound3D::UpdateListener() {
  for (int i = 0; i < AudioPathList.Count(); ++i) {
    AudioPathList.Items(i)->SetListenerPosition(ListenerX_, ListenerY_, ListenerZ_);
  }
}

}  // namespace vexel
