#include "ScoreServerProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

namespace {

std::string FileText(const std::string& path) {
  std::ifstream file(path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

TScoreServerProcess::TScoreServerProcess(const std::string& database,
                                         const std::vector<std::string>& extraArgs,
                                         const std::string& folder) {
  const std::string base = folder.empty() ? database : folder + "/server";
  Files_ = base + "-" + std::to_string(Serial()++);
  const std::string portFile = Files_ + ".port";
  std::filesystem::remove(portFile);
  std::vector<std::string> args = {COMET_SCORE_SERVER,
                                   "--port",
                                   "0",
                                   "--db",
                                   database,
                                   "--port-file",
                                   portFile,
                                   "--submit-rate",
                                   "0",
                                   "--handshake-rate",
                                   "0"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, (Files_ + ".access").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, (Files_ + ".errors").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int spawned = posix_spawn(&Pid_, COMET_SCORE_SERVER, &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (spawned != 0) throw std::runtime_error("cannot start comet-score-server");
  for (int attempt = 0; attempt < 200 && Port_ <= 0; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::ifstream(portFile) >> Port_;
    if (Port_ <= 0 && waitpid(Pid_, nullptr, WNOHANG) == Pid_) {
      Pid_ = -1;
      throw std::runtime_error("comet-score-server ended at start: " + ErrorLog());
    }
  }
  if (Port_ <= 0) {
    Kill();
    throw std::runtime_error("comet-score-server did not start listening");
  }
}

std::string TScoreServerProcess::ErrorLog() const {
  return FileText(Files_ + ".errors");
}

std::string TScoreServerProcess::AccessLog() const {
  return FileText(Files_ + ".access");
}

int& TScoreServerProcess::Serial() {
  static int serial = 0;
  return serial;
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
