#include "GameProcess.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace robust {
namespace {

// Pointers to the strings, ending with a null pointer, as exec wants them.
std::vector<char*> PointerList(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The test's environment with the headless drivers and the extra variables.
std::vector<std::string> GameEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> variables;
  for (char** v = environ; *v != nullptr; ++v) variables.emplace_back(*v);
  variables.emplace_back("SDL_VIDEODRIVER=offscreen");
  variables.emplace_back("SDL_AUDIODRIVER=dummy");
  variables.insert(variables.end(), extra.begin(), extra.end());
  return variables;
}

}  // namespace

std::string TGameOutcome::Describe() const {
  switch (Kind) {
    case TKind::Exited:
      return "exit code " + std::to_string(Code);
    case TKind::Signalled:
      return "signal " + std::to_string(Code);
    case TKind::TimedOut:
      return "no end within the time limit";
  }
  return "?";
}

std::string At(long frame, const std::string& event) {
  return std::to_string(frame) + " " + event + "\n";
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TGameProcess::TGameProcess(const std::string& folder, const std::string& name)
    : Base_(folder + "/" + name) {}

TGameProcess::~TGameProcess() {
  if (Running()) Kill();
}

void TGameProcess::Start(const std::string& script, long frames,
                         const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
  std::ofstream(Base_ + ".input") << script;
  std::filesystem::remove(Screenshot());
  std::vector<std::string> args = {
      CLD_GAME_EXECUTABLE,    "--unpaced", "--seed",         "7",       "--frames",
      std::to_string(frames), "--trace",   Base_ + ".trace", "--input", Base_ + ".input",
      "--screenshot",         Screenshot()};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<std::string> variables = GameEnvironment(environment);
  const std::vector<char*> argv = PointerList(args);
  const std::vector<char*> envp = PointerList(variables);
  const std::string errors = Base_ + ".stderr";
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("cannot start the game");
  if (pid == 0) {
    const int err = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int out = ::open("/dev/null", O_WRONLY);
    if (err < 0 || out < 0 || ::dup2(err, 2) < 0 || ::dup2(out, 1) < 0) ::_exit(126);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  Pid_ = pid;
}

TGameOutcome TGameProcess::Reap(int status) {
  Pid_ = -1;
  Outcome_ = WIFSIGNALED(status) ? TGameOutcome{TGameOutcome::TKind::Signalled, WTERMSIG(status)}
                                 : TGameOutcome{TGameOutcome::TKind::Exited, WEXITSTATUS(status)};
  return Outcome_;
}

bool TGameProcess::Ended() {
  if (!Running()) return true;
  int status = 0;
  if (::waitpid(Pid_, &status, WNOHANG) != Pid_) return false;
  Reap(status);
  return true;
}

TGameOutcome TGameProcess::Wait(std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!Ended()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      Kill();
      Outcome_ = {TGameOutcome::TKind::TimedOut, 0};
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return Outcome_;
}

TGameOutcome TGameProcess::Kill() {
  if (!Running()) return Outcome_;
  ::kill(Pid_, SIGKILL);
  int status = 0;
  ::waitpid(Pid_, &status, 0);
  return Reap(status);
}

void TGameProcess::Signal(int signal) const {
  if (Pid_ > 0) ::kill(Pid_, signal);
}

bool TGameProcess::WaitForState(int state, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline && !Ended()) {
    const std::vector<int> states = States();
    if (!states.empty() && states.back() == state) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

std::vector<int> TGameProcess::States() const {
  std::vector<int> states;
  std::istringstream trace(ReadFileBytes(Base_ + ".trace"));
  long frame = 0;
  int state = 0;
  while (trace >> frame >> state) states.push_back(state);
  return states;
}

std::string TGameProcess::Errors() const {
  return ReadFileBytes(Base_ + ".stderr");
}

bool TGameProcess::ReachedFrameLimit() const {
  return std::filesystem::exists(Screenshot());
}

}  // namespace robust
