// xm-gen: compiles a song source (instruments, phrases, patterns, order) to an XM module.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "song_builder.h"
#include "synth/source_text.h"

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
    std::fprintf(stderr, "usage: xm-gen <song source> <output.xm>\n");
    return 2;
  }
  const std::string source_path = argv[1];
  try {
    WriteFile(argv[2], xm::CompileSong(synth::ReadTextFile(source_path)));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "xm-gen: %s: %s\n", source_path.c_str(), error.what());
    return 1;
  }
  return 0;
}
