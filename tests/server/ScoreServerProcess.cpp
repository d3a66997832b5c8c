#include "ScoreServerProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace servertest {

TTempFolder::TTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "cld-score-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  Path_ = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Path_, ignored);
}

TScoreServerProcess::TScoreServerProcess(const std::string& databaseFile) {
  const std::string portFile = databaseFile + ".port";
  std::filesystem::remove(portFile);
  std::vector<std::string> args = {COMET_SCORE_SERVER, "--port",      "0",     "--db",
                                   databaseFile,       "--port-file", portFile};
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (posix_spawn(&Pid_, COMET_SCORE_SERVER, nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start comet-score-server");
  }
  for (int attempt = 0; attempt < 200 && Port_ <= 0; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::ifstream(portFile) >> Port_;
  }
  if (Port_ <= 0) {
    Kill();
    throw std::runtime_error("comet-score-server did not start listening");
  }
}

TScoreServerProcess::~TScoreServerProcess() {
  if (Pid_ > 0) Stop();
}

std::string TScoreServerProcess::Address() const {
  return "http://127.0.0.1:" + std::to_string(Port_);
}

int TScoreServerProcess::Stop() {
  int status = 0;
  if (Pid_ <= 0) return status;
  kill(Pid_, SIGTERM);
  waitpid(Pid_, &status, 0);
  Pid_ = -1;
  return status;
}

void TScoreServerProcess::Kill() {
  if (Pid_ <= 0) return;
  kill(Pid_, SIGKILL);
  waitpid(Pid_, nullptr, 0);
  Pid_ = -1;
}

}  // namespace servertest
