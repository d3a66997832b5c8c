#pragma once
// The databases a score store test runs on.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PostgresCluster.h"
#include "ScoreServerProcess.h"

namespace servertest {

/// Which database a case runs on.
enum class TBackend { kSqlite, kPostgres };

/// A test suite run on each database the score store keeps: an SQLite file in the case's folder,
/// and a new database of one throwaway PostgreSQL cluster for the whole suite (the PostgreSQL
/// cases are skipped when PostgreSQL is not installed).
class TStoreBackends : public ::testing::TestWithParam<TBackend> {
 public:
  /// Starts the suite's PostgreSQL cluster, when PostgreSQL is installed.
  static void SetUpTestSuite();
  /// Stops the suite's cluster.
  static void TearDownTestSuite();
  /// The name of a case's database, for the names of the cases.
  static std::string NameOf(const ::testing::TestParamInfo<TBackend>& info);

 protected:
  /// Chooses the case's database location; skips the case when its database is missing.
  void SetUp() override;

  TTempFolder Folder;
  std::string Location;

 private:
  static std::unique_ptr<TPostgresCluster>& Cluster();
};

}  // namespace servertest
