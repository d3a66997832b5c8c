#include "AudioClip.h"

#include <SDL.h>

namespace platform {
namespace {

// Converts raw wave data to interleaved stereo floats at `outputRate`.
bool ConvertToStereoFloat(const SDL_AudioSpec& wav, const Uint8* data, Uint32 length,
                          int outputRate, std::vector<float>& out, std::string& error) {
  SDL_AudioStream* stream =
      SDL_NewAudioStream(wav.format, wav.channels, wav.freq, AUDIO_F32SYS, 2, outputRate);
  if (!stream) {
    error = SDL_GetError();
    return false;
  }
  bool ok = SDL_AudioStreamPut(stream, data, static_cast<int>(length)) == 0 &&
            SDL_AudioStreamFlush(stream) == 0;
  if (ok) {
    out.resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)) / sizeof(float));
    const int bytes = static_cast<int>(out.size() * sizeof(float));
    ok = SDL_AudioStreamGet(stream, out.data(), bytes) == bytes;
  }
  if (!ok) error = SDL_GetError();
  SDL_FreeAudioStream(stream);
  return ok;
}

}  // namespace

std::shared_ptr<const TAudioClip> TAudioClip::LoadWav(const std::string& path, int outputRate,
                                                      std::string& error) {
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (!file) {
    error = SDL_GetError();
    return nullptr;
  }
  SDL_AudioSpec wav{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(file, 1, &wav, &data, &length)) {
    error = SDL_GetError();
    return nullptr;
  }
  std::vector<float> stereo;
  const bool converted = ConvertToStereoFloat(wav, data, length, outputRate, stereo, error);
  SDL_FreeWAV(data);
  if (!converted) return nullptr;
  if (stereo.empty()) {
    error = "the file holds no samples";
    return nullptr;
  }
  return std::make_shared<const TAudioClip>(std::move(stereo), wav.freq);
}

TAudioClip::TAudioClip(std::vector<float> stereo, int sourceRate)
    : Samples_(std::move(stereo)), SourceRate_(sourceRate) {}

}  // namespace platform
