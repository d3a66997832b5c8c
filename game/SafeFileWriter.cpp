#include "SafeFileWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace game {

namespace {

// A description of the last system error.
std::string SystemError() {
  return std::strerror(errno);
}

// Writes all bytes, resuming after partial writes and interruptions.
bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The permission bits of the file at path, or -1 when there is no such file.
int ExistingMode(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return -1;
  return static_cast<int>(status.st_mode & 07777);
}

// Writes and flushes a new temporary file (one left by an interrupted save is replaced) with the
// given permission bits (-1: the usual ones); on failure it is removed again and the reason is in
// error.
bool WriteTemporary(const std::string& temporary, const std::string& bytes, int mode,
                    std::string& error) {
  ::unlink(temporary.c_str());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = "cannot create \"" + temporary + "\": " + SystemError();
    return false;
  }
  if (mode >= 0) ::fchmod(fd, static_cast<mode_t>(mode));
  bool ok = WriteAll(fd, bytes);
  if (!ok) error = "cannot write \"" + temporary + "\": " + SystemError();
  if (ok && ::fsync(fd) != 0) {
    error = "cannot flush \"" + temporary + "\" to disk: " + SystemError();
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = "cannot close \"" + temporary + "\": " + SystemError();
    ok = false;
  }
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

// The testing pause between writing and renaming (see PauseVariable).
void PauseIfAsked() {
  const char* marker = std::getenv(TSafeFileWriter::PauseVariable);
  if (marker == nullptr || *marker == '\0') return;
  const int fd = ::open(marker, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd >= 0) ::close(fd);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (::access(marker, F_OK) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// The folder holding path ("." for a bare file name).
std::filesystem::path FolderOf(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? std::filesystem::path(".") : parent;
}

// Flushes the folder holding path, so that the rename itself reaches the disk.
void FlushFolder(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Takes the exclusive lock of the folder holding path, waiting while another process (another
// copy of the game) writes there; the lock goes with the returned descriptor, or with the
// process. -1 when the folder cannot be locked; the caller then goes on unlocked and meets the
// folder's real problem when it writes.
int LockFolder(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  int locked = 0;
  do {
    locked = ::flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  return fd;
}

// Replaces the file while the folder's lock is held.
bool ReplaceLocked(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string temporary = TSafeFileWriter::TemporaryPath(path);
  if (!WriteTemporary(temporary, bytes, ExistingMode(path), error)) return false;
  PauseIfAsked();
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace \"" + path + "\": " + SystemError();
    ::unlink(temporary.c_str());
    return false;
  }
  FlushFolder(path);
  return true;
}

}  // namespace

std::string TSafeFileWriter::TemporaryPath(const std::string& path) {
  return path + ".tmp";
}

bool TSafeFileWriter::Replace(const std::string& path, const std::string& bytes,
                              std::string& error) {
  const int lock = LockFolder(path);
  const bool replaced = ReplaceLocked(path, bytes, error);
  if (lock >= 0) ::close(lock);
  return replaced;
}

TSafeFileWriter::TCreate TSafeFileWriter::CreateNew(const std::string& path,
                                                    const std::string& bytes, std::string& error) {
  const int lock = LockFolder(path);
  TCreate result = TCreate::Exists;
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) {
    result = ReplaceLocked(path, bytes, error) ? TCreate::Created : TCreate::Failed;
  }
  if (lock >= 0) ::close(lock);
  return result;
}

}  // namespace game
