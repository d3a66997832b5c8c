#pragma once
// Test support: the real comet-score-server started on 127.0.0.1 with a free port.

#include <sys/types.h>

#include <string>
#include <vector>

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

/// Runs comet-score-server on a free port of 127.0.0.1 with the given database until stopped or
/// destroyed. Its rate limits are off unless the extra arguments set them; its logs go to files
/// beside the port file.
class TScoreServerProcess {
 public:
  /// Starts the service and waits until it listens; throws when it does not come up. The port
  /// file and logs are kept in the folder (the database file's folder when empty).
  explicit TScoreServerProcess(const std::string& database,
                               const std::vector<std::string>& extraArgs = {},
                               const std::string& folder = "");
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
  /// Its process id.
  pid_t Pid() const { return Pid_; }
  /// What it wrote to standard error (the error log) and standard output (the access log).
  std::string ErrorLog() const;
  std::string AccessLog() const;

 private:
  pid_t Pid_ = -1;
  int Port_ = 0;
  std::string Files_;
  // Tells apart the files of several services started on one database.
  static int& Serial();
};

}  // namespace servertest
