// fuzz_options_ini: the options file "options.ini" read from any bytes. Whatever a damaged file
// gives must be something the game writes whole and reads back the same, without a problem.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/OptionsIni.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  game::TOptionsIni read;
  read.Parse(std::string(reinterpret_cast<const char*>(data), size));
  const std::string written = read.Text();
  game::TOptionsIni again;
  again.Parse(written);
  Require(again.Problems().empty());
  Require(again.Camera == read.Camera);
  Require(again.Text() == written);
  return 0;
}
