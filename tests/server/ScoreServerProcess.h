#pragma once
// Test support: the real comet-score-server started on 127.0.0.1 with a free port.

#include <sys/types.h>

#include <string>

namespace servertest {

/// A fresh temporary folder, removed with everything in it when the object goes.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  /// The folder's path.
  const std::string& Path() const { return Path_; }

 private:
  std::string Path_;
};

/// Runs comet-score-server on a free port of 127.0.0.1 with the given database file until
/// stopped or destroyed.
class TScoreServerProcess {
 public:
  /// Starts the service and waits until it listens; throws when it does not come up.
  explicit TScoreServerProcess(const std::string& databaseFile);
  ~TScoreServerProcess();
  TScoreServerProcess(const TScoreServerProcess&) = delete;
  TScoreServerProcess& operator=(const TScoreServerProcess&) = delete;

  /// "http://127.0.0.1:PORT".
  std::string Address() const;
  /// The port it listens on.
  int Port() const { return Port_; }
  /// Ends it with SIGTERM and waits; returns its exit status as waitpid reports it.
  int Stop();
  /// Ends it at once with SIGKILL, as a crash or power cut would.
  void Kill();

 private:
  pid_t Pid_ = -1;
  int Port_ = 0;
};

}  // namespace servertest
