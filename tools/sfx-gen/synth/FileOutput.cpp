#include "synth/FileOutput.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace synth {

void WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string temporary = path + ".part";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + temporary);
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw std::runtime_error("cannot replace " + path);
  }
}

}  // namespace synth
