#include "Shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>

extern char** environ;

namespace platform {

bool OpenWithDesktop(const std::string& target) {
  // Children are reaped by the system, so an opener never lingers as a zombie.
  std::signal(SIGCHLD, SIG_IGN);
  pid_t pid = 0;
  std::string program = "xdg-open";
  std::string argument = target;
  char* argv[] = {program.data(), argument.data(), nullptr};
  return posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) == 0;
}

std::string NativePath(const std::string& gamePath) {
  std::string path = gamePath;
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace platform
