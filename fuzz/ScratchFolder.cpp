#include "ScratchFolder.h"

#include <stdlib.h>

#include <cstdlib>
#include <system_error>

namespace fuzzing {

TScratchFolder::TScratchFolder(const std::string& tag) {
  std::string dir = (std::filesystem::temp_directory_path() / (tag + "-XXXXXX")).string();
  if (!mkdtemp(dir.data())) std::abort();
  Path_ = dir;
}

TScratchFolder::~TScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Path_, ignored);
}

}  // namespace fuzzing
