// sfx-gen: renders a sound-effect source file (voices, envelopes, filters) to a 16-bit WAV file.
#include <cstdio>
#include <exception>
#include <string>

#include "EffectParser.h"
#include "EffectRenderer.h"
#include "WavEncoder.h"
#include "synth/FileOutput.h"
#include "synth/SourceText.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sfx-gen <effect source> <output.wav>\n");
    return 2;
  }
  const std::string source_path = argv[1];
  try {
    const sfx::TEffectDescription effect = sfx::ParseEffect(synth::ReadTextFile(source_path));
    synth::WriteFileAtomically(argv[2],
                               sfx::EncodeWav(sfx::RenderEffect(effect), sfx::kEffectSampleRate));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "sfx-gen: %s: %s\n", source_path.c_str(), error.what());
    return 1;
  }
  return 0;
}
