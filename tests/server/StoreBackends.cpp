#include "StoreBackends.h"

namespace servertest {

std::unique_ptr<TPostgresCluster>& TStoreBackends::Cluster() {
  static std::unique_ptr<TPostgresCluster> cluster;
  return cluster;
}

void TStoreBackends::SetUpTestSuite() {
  if (!TPostgresCluster::BinaryFolder().empty()) Cluster() = std::make_unique<TPostgresCluster>();
}

void TStoreBackends::TearDownTestSuite() {
  Cluster().reset();
}

std::string TStoreBackends::NameOf(const ::testing::TestParamInfo<TBackend>& info) {
  return info.param == TBackend::kSqlite ? "Sqlite" : "Postgres";
}

void TStoreBackends::SetUp() {
  if (GetParam() == TBackend::kSqlite) {
    Location = Folder.Path() + "/scores.db";
    return;
  }
  if (!Cluster()) GTEST_SKIP() << "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin)";
  Location = Cluster()->NewDatabase();
}

}  // namespace servertest
