#include "PostgresCluster.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace servertest {

namespace {

// The tests run as root in containers; PostgreSQL refuses to run as root.
std::string AsClusterOwner() {
  return geteuid() == 0 ? "runuser -u postgres -- " : "";
}

}  // namespace

std::string TPostgresCluster::BinaryFolder() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", error)) {
    const auto bin = entry.path() / "bin";
    if (std::filesystem::exists(bin / "initdb") && std::filesystem::exists(bin / "pg_ctl")) {
      return bin.string();
    }
  }
  return "";
}

TPostgresCluster::TPostgresCluster() : Bin_(BinaryFolder()) {
  if (Bin_.empty()) throw std::runtime_error("PostgreSQL is not installed");
  std::string pattern = (std::filesystem::temp_directory_path() / "cld-pg-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  Folder_ = pattern;
  if (geteuid() == 0 && std::system(("chown postgres " + Folder_).c_str()) != 0) {
    throw std::runtime_error("cannot give " + Folder_ + " to the postgres user");
  }
  if (Run("initdb", "-D " + Folder_ + "/data -A trust -U postgres --no-sync > " + Folder_ +
                        "/initdb.log 2>&1") != 0) {
    throw std::runtime_error("initdb failed in " + Folder_);
  }
  Start();
}

void TPostgresCluster::Start() {
  if (Run("pg_ctl", "-D " + Folder_ + "/data -l " + Folder_ +
                        "/server.log -w -t 30 -o \"-c listen_addresses='' -k " + Folder_ +
                        " -c fsync=off -c max_connections=100\" start > /dev/null") != 0) {
    throw std::runtime_error("the PostgreSQL cluster in " + Folder_ + " did not start");
  }
}

void TPostgresCluster::Stop() {
  if (Run("pg_ctl", "-D " + Folder_ + "/data -m fast -w -t 30 stop > /dev/null") != 0) {
    throw std::runtime_error("the PostgreSQL cluster in " + Folder_ + " did not stop");
  }
}

TPostgresCluster::~TPostgresCluster() {
  Run("pg_ctl", "-D " + Folder_ + "/data -m immediate -w stop > /dev/null 2>&1");
  std::error_code ignored;
  std::filesystem::remove_all(Folder_, ignored);
}

std::string TPostgresCluster::ServerLog() const {
  std::ifstream file(Folder_ + "/server.log");
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string TPostgresCluster::NewDatabase() {
  const std::string name = "scores" + std::to_string(++Databases_);
  if (Run("createdb", "-h " + Folder_ + " -U postgres " + name) != 0) {
    throw std::runtime_error("cannot make the database " + name);
  }
  return "postgresql:///" + name + "?host=" + Folder_ + "&user=postgres";
}

int TPostgresCluster::Run(const std::string& program, const std::string& arguments) const {
  const int status =
      std::system((AsClusterOwner() + Bin_ + "/" + program + " " + arguments).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace servertest
