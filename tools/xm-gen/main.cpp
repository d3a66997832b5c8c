// xm-gen: compiles a song source (instruments, phrases, patterns, order) to an XM module.
#include <cstdio>
#include <exception>
#include <string>

#include "SongBuilder.h"
#include "synth/FileOutput.h"
#include "synth/SourceText.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xm-gen <song source> <output.xm>\n");
    return 2;
  }
  const std::string source_path = argv[1];
  try {
    synth::WriteFileAtomically(argv[2], xm::CompileSong(synth::ReadTextFile(source_path)));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "xm-gen: %s: %s\n", source_path.c_str(), error.what());
    return 1;
  }
  return 0;
}
