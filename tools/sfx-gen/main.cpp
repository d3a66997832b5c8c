// sfx-gen: renders a sound-effect source file (voices, envelopes, filters) to a 16-bit WAV file.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "effect_parser.h"
#include "effect_renderer.h"
#include "synth/source_text.h"
#include "wav_encoder.h"

namespace {

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sfx-gen <effect source> <output.wav>\n");
    return 2;
  }
  const std::string source_path = argv[1];
  try {
    const sfx::EffectDescription effect = sfx::ParseEffect(synth::ReadTextFile(source_path));
    WriteFile(argv[2], sfx::EncodeWav(sfx::RenderEffect(effect), sfx::kEffectSampleRate));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "sfx-gen: %s: %s\n", source_path.c_str(), error.what());
    return 1;
  }
  return 0;
}
