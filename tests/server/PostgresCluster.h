#pragma once
// Test support: a throwaway PostgreSQL cluster of the test's own, on a Unix socket only.

#include <string>

namespace servertest {

/// Makes a cluster with initdb in a temporary folder and runs it with pg_ctl (as the postgres
/// user when the tests run as root), listening on no TCP address, until destroyed.
class TPostgresCluster {
 public:
  /// The folder of the PostgreSQL programs, or empty when PostgreSQL is not installed.
  static std::string BinaryFolder();

  /// Makes and starts the cluster; throws when it does not come up.
  TPostgresCluster();
  ~TPostgresCluster();
  TPostgresCluster(const TPostgresCluster&) = delete;
  TPostgresCluster& operator=(const TPostgresCluster&) = delete;

  /// Makes a new empty database and returns its "postgresql://" address.
  std::string NewDatabase();

  /// Shuts the cluster down (its sessions are ended, as an operator's restart ends them) and
  /// starts it again; throws when it does not come back.
  void Stop();
  void Start();

  /// What the database server has written to its log so far.
  std::string ServerLog() const;

 private:
  int Run(const std::string& program, const std::string& arguments) const;

  std::string Bin_;
  std::string Folder_;
  int Databases_ = 0;
};

}  // namespace servertest
