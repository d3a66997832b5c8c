#include "AudioClip.h"

#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace platform {
namespace {

// Largest wave file read; the game's effects are a few hundred kilobytes.
constexpr std::size_t kMaxFileBytes = 64u << 20;
// Longest clip kept, in seconds at the output rate.
constexpr std::uint64_t kMaxSeconds = 600;
// Sample rates a file may declare.
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;

std::uint32_t ReadLittle32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void WriteLittle32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Reads the whole file, at most kMaxFileBytes; false with the reason when it cannot.
bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  errno = 0;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  file.seekg(0, std::ios::end);
  const auto size = static_cast<std::uint64_t>(std::max<std::streamoff>(0, file.tellg()));
  file.seekg(0);
  if (size > kMaxFileBytes) {
    error = "the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
    return false;
  }
  bytes.resize(size);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (file.bad() || static_cast<std::uint64_t>(file.gcount()) != size) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}

// Where the chunks of a wave file begin: after the RIFF header, or at once after "WAVE" in a
// file whose RIFF header is missing (the decoder takes those too); npos for anything else.
std::size_t FirstChunk(const std::vector<std::uint8_t>& bytes) {
  const auto starts = [&bytes](std::size_t at, const char* tag) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
  };
  if (starts(0, "RIFF") && starts(8, "WAVE")) return 12;
  if (starts(0, "WAVE")) return 4;
  return std::string::npos;
}

// Shortens every chunk whose declared length runs past the end of the file to what the file
// holds, so that the decoder never sizes a buffer by a length the file cannot fill (a cut file
// plays what it has).
void ClampChunkLengths(std::vector<std::uint8_t>& bytes) {
  constexpr std::size_t kChunkHeader = 8;
  const std::size_t first = FirstChunk(bytes);
  if (first == std::string::npos) return;
  for (std::size_t at = first; at + kChunkHeader <= bytes.size();) {
    const std::size_t room = bytes.size() - at - kChunkHeader;
    std::uint32_t length = ReadLittle32(bytes, at + 4);
    if (length > room) {
      length = static_cast<std::uint32_t>(room);
      WriteLittle32(bytes, at + 4, length);
    }
    at += kChunkHeader + length + (length & 1u);
  }
}

// Bytes of one frame of the decoded wave data.
std::uint64_t FrameBytes(const SDL_AudioSpec& wav) {
  return std::max<std::uint64_t>(1, SDL_AUDIO_BITSIZE(wav.format) / 8 *
                                        static_cast<std::uint64_t>(std::max<int>(1, wav.channels)));
}

// Refuses a format whose conversion would not fit a sound effect: an odd rate or a clip longer
// than kMaxSeconds once converted.
bool CheckSize(const SDL_AudioSpec& wav, Uint32 length, int outputRate, std::string& error) {
  if (wav.freq < kMinRate || wav.freq > kMaxRate) {
    error = "unsupported sample rate " + std::to_string(wav.freq) + " Hz";
    return false;
  }
  const std::uint64_t frameBytes = std::max<std::uint64_t>(
      1, SDL_AUDIO_BITSIZE(wav.format) / 8 * std::max<int>(1, wav.channels));
  const std::uint64_t seconds = length / frameBytes / static_cast<std::uint64_t>(wav.freq);
  if (seconds > kMaxSeconds || outputRate <= 0) {
    error = "the sound is longer than " + std::to_string(kMaxSeconds) + " seconds";
    return false;
  }
  return true;
}

// Converts raw wave data to interleaved stereo floats at `outputRate`. The resampler holds back
// the last few hundred frames even when flushed, so silence is fed after the data and the
// result cut to the converted length.
bool ConvertToStereoFloat(const SDL_AudioSpec& wav, const Uint8* data, Uint32 length,
                          int outputRate, std::vector<float>& out, std::string& error) {
  constexpr std::uint64_t kResamplerTailFrames = 1024;
  SDL_AudioStream* stream =
      SDL_NewAudioStream(wav.format, wav.channels, wav.freq, AUDIO_F32SYS, 2, outputRate);
  if (!stream) {
    error = SDL_GetError();
    return false;
  }
  const std::uint64_t frames = length / FrameBytes(wav);
  const auto wanted = static_cast<std::size_t>(frames * static_cast<std::uint64_t>(outputRate) /
                                               static_cast<std::uint64_t>(wav.freq));
  const Uint8 silence = SDL_AUDIO_ISSIGNED(wav.format) ? 0 : 0x80;
  const std::vector<Uint8> tail(kResamplerTailFrames * FrameBytes(wav), silence);
  bool ok = SDL_AudioStreamPut(stream, data, static_cast<int>(length)) == 0 &&
            (wav.freq == outputRate ||
             SDL_AudioStreamPut(stream, tail.data(), static_cast<int>(tail.size())) == 0) &&
            SDL_AudioStreamFlush(stream) == 0;
  if (ok) {
    out.resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)) / sizeof(float));
    const int bytes = static_cast<int>(out.size() * sizeof(float));
    ok = SDL_AudioStreamGet(stream, out.data(), bytes) == bytes;
    out.resize(std::min(out.size(), 2 * wanted));
  }
  if (!ok) error = SDL_GetError();
  SDL_FreeAudioStream(stream);
  return ok;
}

}  // namespace

std::shared_ptr<const TAudioClip> TAudioClip::LoadWav(const std::string& path, int outputRate,
                                                      std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadFile(path, bytes, error)) return nullptr;
  ClampChunkLengths(bytes);
  SDL_RWops* file = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
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
  const bool converted = CheckSize(wav, length, outputRate, error) &&
                         ConvertToStereoFloat(wav, data, length, outputRate, stereo, error);
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
