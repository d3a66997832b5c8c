#pragma once
// A test on a score store kept in a new database of a throwaway PostgreSQL cluster.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PostgresCluster.h"
#include "server/ScoreStore.h"

namespace servertest {

/// A test fixture with a cluster of its own, a new database on it and a score store with two
/// connections to it; the case is skipped when PostgreSQL is not installed.
class TPostgresStoreFixture : public ::testing::Test {
 protected:
  /// Starts the cluster and opens the store; skips the case without PostgreSQL.
  void SetUp() override;

  std::unique_ptr<TPostgresCluster> Cluster;
  std::string Location;
  std::unique_ptr<server::TScoreStore> Store;
};

}  // namespace servertest
