#pragma once
// A folder of its own for a fuzz target that reads its input from a file.

#include <filesystem>
#include <string>

namespace fuzzing {

/// A new folder under the temporary folder, named after the given tag, removed with everything
/// in it when the object goes (at the end of the process for a static one).
class TScratchFolder {
 public:
  /// Makes the folder; aborts when it cannot.
  explicit TScratchFolder(const std::string& tag);
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  /// Where the folder is.
  const std::filesystem::path& Path() const { return Path_; }

 private:
  std::filesystem::path Path_;
};

}  // namespace fuzzing
