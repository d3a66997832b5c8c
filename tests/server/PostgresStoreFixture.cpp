#include "PostgresStoreFixture.h"

namespace servertest {

void TPostgresStoreFixture::SetUp() {
  if (TPostgresCluster::BinaryFolder().empty()) GTEST_SKIP() << "PostgreSQL is not installed";
  Cluster = std::make_unique<TPostgresCluster>();
  Location = Cluster->NewDatabase();
  Store = server::OpenScoreStore(Location, 2);
}

}  // namespace servertest
