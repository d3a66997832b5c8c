#include "AudioOutput.h"

#include <SDL.h>

namespace platform {

TAudioOutput::TAudioOutput(int rate) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    Error_ = SDL_GetError();
    return;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = rate;
  wanted.format = AUDIO_F32SYS;
  wanted.channels = 2;
  wanted.samples = 1024;
  wanted.callback = &TAudioOutput::Callback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  Device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (Device_ == 0) {
    Error_ = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return;
  }
  Mixer_ = std::make_unique<TAudioMixer>(obtained.freq);
  SDL_PauseAudioDevice(Device_, 0);
}

TAudioOutput::~TAudioOutput() {
  if (Device_ == 0) return;
  SDL_CloseAudioDevice(Device_);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TAudioOutput::Callback(void* self, std::uint8_t* stream, int bytes) {
  auto* output = static_cast<TAudioOutput*>(self);
  const auto frames = static_cast<std::size_t>(bytes) / (2 * sizeof(float));
  output->Mixer_->Mix(reinterpret_cast<float*>(stream), frames);
}

}  // namespace platform
