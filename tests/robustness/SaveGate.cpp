#include "SaveGate.h"

#include <filesystem>
#include <sstream>
#include <thread>

#include "game/SafeFileWriter.h"

namespace robust {

std::string TSaveGate::Variable() const {
  return std::string(game::TSafeFileWriter::PauseVariable) + "=" + Marker_;
}

bool TSaveGate::Paused() const {
  return std::filesystem::exists(Marker_);
}

bool TSaveGate::AwaitPause(TGameProcess& game, std::chrono::seconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!Paused()) {
    if (game.Ended() || std::chrono::steady_clock::now() >= deadline) return Paused();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void TSaveGate::Release() const {
  std::filesystem::remove(Marker_);
}

bool WaitsForALock(pid_t pid) {
  // A waiting lock is listed as "N: -> FLOCK ADVISORY WRITE PID DEVICE:INODE START END".
  std::istringstream locks(ReadFileBytes("/proc/locks"));
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream fields(line);
    std::string number, arrow, kind, mode, access, owner;
    fields >> number >> arrow >> kind >> mode >> access >> owner;
    if (arrow == "->" && owner == std::to_string(pid)) return true;
  }
  return false;
}

}  // namespace robust
