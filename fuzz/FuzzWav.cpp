// fuzz_wav: sound effect files as the game loads them: read from a file, decoded and converted
// to the mixer's stereo floats at the output rate. A file that cannot be played is refused with
// a reason; one that loads gives whole stereo frames.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ScratchFolder.h"
#include "platform/AudioClip.h"

namespace {

namespace fs = std::filesystem;

// The usual rate of the audio device the clips are converted for.
constexpr int kOutputRate = 44100;

void Require(bool condition) {
  if (!condition) std::abort();
}

const fs::path& InputFile() {
  static const fuzzing::TScratchFolder kFolder("fuzz-wav");
  static const fs::path kFile = kFolder.Path() / "sound.wav";
  return kFile;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(InputFile(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Require(static_cast<bool>(out));
  }
  std::string error;
  const auto clip = platform::TAudioClip::LoadWav(InputFile().string(), kOutputRate, error);
  if (!clip) {
    Require(!error.empty());
    return 0;
  }
  Require(clip->Frames() > 0 && clip->Samples().size() == 2 * clip->Frames());
  Require(clip->SourceRate() > 0);
  return 0;
}
