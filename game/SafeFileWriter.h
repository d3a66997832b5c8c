#pragma once
// Replacing a file whole so that a crash or a failed write never leaves it half written.

#include <string>

namespace game {

/// Writes a file's new contents to a temporary file beside it ("NAME.tmp"), flushes that to disk,
/// renames it over the old file and flushes the folder; the file keeps its permission bits.
/// Whatever fails, the old file stays as it was and the temporary file is removed. Writers in
/// several processes (two copies of the game on one settings folder) take turns through a lock
/// on the folder, so each file ends up whole from the last of them.
class TSafeFileWriter {
 public:
  /// Replaces the file at path with the bytes. False, with the reason in error, on failure.
  static bool Replace(const std::string& path, const std::string& bytes, std::string& error);

  /// What CreateNew did.
  enum class TCreate { Created, Exists, Failed };

  /// Writes the file at path with the bytes, the same safe way, only if there is nothing at
  /// path; another process creating it at the same moment leaves one whole file. Failed comes
  /// with the reason in error.
  static TCreate CreateNew(const std::string& path, const std::string& bytes, std::string& error);

  /// The temporary file used while replacing the file at path.
  static std::string TemporaryPath(const std::string& path);

  /// Environment variable naming a file that the writer creates once the temporary file is on
  /// disk; it then waits (at most a minute) until that file is removed before renaming. A
  /// testing aid for interrupted writes.
  static constexpr const char* PauseVariable = "CLD_SETTINGS_PAUSE_BEFORE_RENAME";
};

}  // namespace game
