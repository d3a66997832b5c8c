// Saving settings never leaves a half-written file: failed writes and writers killed part-way.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "SettingsTestSupport.h"
#include "game/SafeFileWriter.h"
#include "game/SettingsFile.h"

namespace {

namespace fs = std::filesystem;
using game::TGameSettings;
using game::TSafeFileWriter;
using game::TSettingsFile;
using namespace settings_test;

// The bytes "Config.cfg" holds for the settings.
std::string ConfigBytes(const TGameSettings& settings) {
  const std::string path = FreshDir("expected") + "/Config.cfg";
  std::string error;
  EXPECT_TRUE(TSettingsFile::SaveConfig(path, settings, error)) << error;
  return ReadBytes(path);
}

// The names of the listed profiles.
std::string Names(const TGameSettings& settings) {
  std::string names;
  for (int32_t i = 0; i < settings.Profiles.ProfileCount; ++i) {
    names += settings.Profiles.Profiles[i].Name + ";";
  }
  return names;
}

// The profile names a settings file holds, read back through the reader, which must find the
// file sound.
std::string StoredNames(const std::string& path) {
  TGameSettings read;
  std::string warning;
  EXPECT_TRUE(TSettingsFile::ReadConfig(path, read, warning));
  EXPECT_EQ(warning, "");
  return Names(read);
}

// The names in a folder, sorted.
std::vector<std::string> Listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SafeFileWriter, ReplacesTheWholeFileAndLeavesNoTemporaryFile) {
  const std::string path = FreshDir() + "/file.cfg";
  std::string error;
  ASSERT_TRUE(TSafeFileWriter::Replace(path, "a much longer first text\r\n", error)) << error;
  ASSERT_TRUE(TSafeFileWriter::Replace(path, "short\r\n", error)) << error;
  EXPECT_EQ(ReadBytes(path), "short\r\n");
  EXPECT_FALSE(fs::exists(TSafeFileWriter::TemporaryPath(path)));
  // A temporary file left by an earlier crash is simply overwritten.
  WriteBytes(TSafeFileWriter::TemporaryPath(path), "stale, from a killed writer");
  ASSERT_TRUE(TSafeFileWriter::Replace(path, "next\r\n", error)) << error;
  EXPECT_EQ(ReadBytes(path), "next\r\n");
  EXPECT_FALSE(fs::exists(TSafeFileWriter::TemporaryPath(path)));
}

TEST(SafeFileWriter, ABareFileNameIsReplacedInTheWorkingFolder) {
  const std::string folder = FreshDir();
  const pid_t child = Fork([&] {
    std::string error;
    if (::chdir(folder.c_str()) != 0) return 1;
    return TSafeFileWriter::Replace("bare.cfg", "bare\r\n", error) ? 0 : 2;
  });
  EXPECT_EQ(WaitFor(child), 0);
  EXPECT_EQ(ReadBytes(folder + "/bare.cfg"), "bare\r\n");
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"bare.cfg"});
}

TEST(SafeFileWriter, TheReplacedFileKeepsItsPermissions) {
  const std::string path = FreshDir() + "/Config.cfg";
  WriteBytes(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  std::string error;
  ASSERT_TRUE(TSafeFileWriter::Replace(path, "new", error)) << error;
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadBytes(path), "new");
}

// A save that cannot be done: how the folder is prepared around an existing settings file, and
// what the error must say.
struct FailureCase {
  const char* Name;
  std::function<std::string(const std::string& folder)> Prepare;  // returns the path to save to
  const char* Reason;
};

// Names the case in test output.
void PrintTo(const FailureCase& c, std::ostream* out) {
  *out << c.Name;
}

const FailureCase kFailures[] = {
    {"PathIsAFolder",
     [](const std::string& folder) {
       fs::create_directory(folder + "/Config.cfg.d");
       return folder + "/Config.cfg.d";
     },
     "Is a directory"},
    {"FolderIsMissing", [](const std::string& folder) { return folder + "/gone/Config.cfg"; },
     "No such file or directory"},
    {"TemporaryNameTakenByAFolder",
     [](const std::string& folder) {
       fs::create_directory(folder + "/Config.cfg.tmp");
       return folder + "/Config.cfg";
     },
     "File exists"},
};

class FailedSave : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedSave, KeepsTheOldFileAndSaysWhy) {
  const FailureCase& c = GetParam();
  const std::string folder = FreshDir();
  const std::string old = folder + "/Config.cfg";
  const std::string oldBytes = ConfigBytes(SampleSettings(4));
  WriteBytes(old, oldBytes);
  const std::string path = c.Prepare(folder);
  const std::vector<std::string> before = Listing(folder);
  std::string error;
  EXPECT_FALSE(TSettingsFile::SaveConfig(path, SampleSettings(7), error));
  EXPECT_NE(error.find(c.Reason), std::string::npos) << error;
  EXPECT_NE(error.find("Config.cfg"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(old), oldBytes);
  EXPECT_EQ(Listing(folder), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedSave, ::testing::ValuesIn(kFailures),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(SafeFileWriter, AWriteThatFailsHalfWayKeepsTheOldProfiles) {
  const std::string path = FreshDir() + "/Config.cfg";
  WriteBytes(path, ConfigBytes(SampleSettings(4)));
  // The child may write only 100 bytes per file, so the new file breaks off part-way.
  const pid_t child = Fork([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    if (TSettingsFile::SaveConfig(path, SampleSettings(10), error)) return 1;
    if (error.find("File too large") == std::string::npos) return 2;
    return fs::exists(path + ".tmp") ? 3 : 0;
  });
  EXPECT_EQ(WaitFor(child), 0);
  EXPECT_EQ(StoredNames(path), Names(SampleSettings(4)));
  EXPECT_EQ(ReadBytes(path), ConfigBytes(SampleSettings(4)));
}

TEST(SafeFileWriter, AReadOnlyFolderKeepsTheOldProfiles) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write into read-only folders";
  const std::string folder = FreshDir();
  const std::string path = folder + "/Config.cfg";
  WriteBytes(path, ConfigBytes(SampleSettings(4)));
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  std::string error;
  const bool saved = TSettingsFile::SaveConfig(path, SampleSettings(7), error);
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_FALSE(saved);
  EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(path), ConfigBytes(SampleSettings(4)));
}

// A child process saving SampleSettings(7) over SampleSettings(4) with the writer's pause on.
class InterruptedSave : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = FreshDir();
    Path = Folder + "/Config.cfg";
    Marker = Folder + "/paused";
    WriteBytes(Path, ConfigBytes(SampleSettings(4)));
  }
  pid_t StartPausedSave(const std::string& afterSave) {
    return Fork([&] {
      ::setenv(TSettingsFile::PauseVariable, Marker.c_str(), 1);
      std::string error;
      if (!TSettingsFile::SaveConfig(Path, SampleSettings(7), error)) return 1;
      if (afterSave.empty()) return 0;
      WriteBytes(afterSave, "");
      for (;;) ::pause();
    });
  }
  std::string Folder, Path, Marker;
};

TEST_F(InterruptedSave, KilledBeforeTheRenameLeavesTheOldCompleteFile) {
  const pid_t child = StartPausedSave("");
  ASSERT_TRUE(AwaitFile(Marker));
  ::kill(child, SIGKILL);
  EXPECT_EQ(WaitFor(child), -SIGKILL);
  EXPECT_EQ(ReadBytes(Path), ConfigBytes(SampleSettings(4)));
  EXPECT_EQ(StoredNames(Path), Names(SampleSettings(4)));
  // The next save replaces the file and clears the killed writer's temporary file.
  std::string error;
  ASSERT_TRUE(TSettingsFile::SaveConfig(Path, SampleSettings(2), error)) << error;
  EXPECT_EQ(ReadBytes(Path), ConfigBytes(SampleSettings(2)));
  EXPECT_FALSE(fs::exists(Path + ".tmp"));
}

TEST_F(InterruptedSave, KilledAfterTheRenameLeavesTheNewCompleteFile) {
  ::unsetenv(TSettingsFile::PauseVariable);
  const std::string saved = Folder + "/saved";
  const pid_t child = Fork([&] {
    std::string error;
    if (!TSettingsFile::SaveConfig(Path, SampleSettings(7), error)) return 1;
    WriteBytes(saved, "");
    for (;;) ::pause();
  });
  ASSERT_TRUE(AwaitFile(saved));
  ::kill(child, SIGKILL);
  EXPECT_EQ(WaitFor(child), -SIGKILL);
  EXPECT_EQ(ReadBytes(Path), ConfigBytes(SampleSettings(7)));
  EXPECT_EQ(StoredNames(Path), Names(SampleSettings(7)));
  EXPECT_FALSE(fs::exists(Path + ".tmp"));
}

TEST_F(InterruptedSave, ThePausedWriterFinishesOnceTheMarkerIsRemoved) {
  const pid_t child = StartPausedSave("");
  ASSERT_TRUE(AwaitFile(Marker));
  EXPECT_EQ(ReadBytes(Path), ConfigBytes(SampleSettings(4)));
  EXPECT_EQ(ReadBytes(Path + ".tmp"), ConfigBytes(SampleSettings(7)));
  fs::remove(Marker);
  EXPECT_EQ(WaitFor(child), 0);
  EXPECT_EQ(ReadBytes(Path), ConfigBytes(SampleSettings(7)));
  EXPECT_FALSE(fs::exists(Path + ".tmp"));
}

// Two writers of one folder, each in its own process with its own pause marker: the first is held
// between writing and renaming while the second sets out to write the same file.
class TwoWriters : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = FreshDir();
    Path = Folder + "/Config.cfg";
  }
  // A child that saves bytes through fn with the pause on marker "paused-NAME"; its exit code
  // is fn's.
  template <typename F>
  pid_t Writer(const std::string& name, F fn) {
    const std::string marker = Folder + "/paused-" + name;
    return Fork([marker, fn] {
      ::setenv(TSafeFileWriter::PauseVariable, marker.c_str(), 1);
      return fn();
    });
  }
  // Lets the first writer go once the second has had time to disturb it, checking that it
  // did not: the first writer's temporary file is untouched and the second is not paused.
  void ReleaseFirstAfterTheSecondWaited(const std::string& firstBytes) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(ReadBytes(Path + ".tmp"), firstBytes);
    EXPECT_FALSE(fs::exists(Folder + "/paused-second"));
    fs::remove(Folder + "/paused-first");
  }
  std::string Folder, Path;
};

TEST_F(TwoWriters, TakeTurnsAndTheLaterOneWinsWithAWholeFile) {
  WriteBytes(Path, "old\r\n");
  const auto save = [this](const char* bytes) {
    return [this, bytes] {
      std::string error;
      return TSafeFileWriter::Replace(Path, bytes, error) ? 0 : 1;
    };
  };
  const pid_t first = Writer("first", save("first writer\r\n"));
  ASSERT_TRUE(AwaitFile(Folder + "/paused-first"));
  const pid_t second = Writer("second", save("second writer\r\n"));
  ReleaseFirstAfterTheSecondWaited("first writer\r\n");
  EXPECT_EQ(WaitFor(first), 0);
  ASSERT_TRUE(AwaitFile(Folder + "/paused-second"));
  EXPECT_EQ(ReadBytes(Path), "first writer\r\n");
  fs::remove(Folder + "/paused-second");
  EXPECT_EQ(WaitFor(second), 0);
  EXPECT_EQ(ReadBytes(Path), "second writer\r\n");
  EXPECT_EQ(Listing(Folder), std::vector<std::string>{"Config.cfg"});
}

TEST_F(TwoWriters, CreatingTheSameFileLeavesTheFirstWholeAndTheSecondFindsIt) {
  const auto create = [this](const char* bytes) {
    return [this, bytes] {
      std::string error;
      return static_cast<int>(TSafeFileWriter::CreateNew(Path, bytes, error));
    };
  };
  const pid_t first = Writer("first", create("first writer\n"));
  ASSERT_TRUE(AwaitFile(Folder + "/paused-first"));
  const pid_t second = Writer("second", create("second writer\n"));
  ReleaseFirstAfterTheSecondWaited("first writer\n");
  EXPECT_EQ(WaitFor(first), static_cast<int>(TSafeFileWriter::TCreate::Created));
  EXPECT_EQ(WaitFor(second), static_cast<int>(TSafeFileWriter::TCreate::Exists));
  EXPECT_EQ(ReadBytes(Path), "first writer\n");
  EXPECT_EQ(Listing(Folder), std::vector<std::string>{"Config.cfg"});
}

TEST(SafeFileWriter, CreateNewWritesOnlyWhereThereIsNothing) {
  const std::string folder = FreshDir();
  std::string error;
  EXPECT_EQ(TSafeFileWriter::CreateNew(folder + "/new.ini", "made\n", error),
            TSafeFileWriter::TCreate::Created);
  EXPECT_EQ(ReadBytes(folder + "/new.ini"), "made\n");
  WriteBytes(folder + "/mine.ini", "edited by hand\n");
  EXPECT_EQ(TSafeFileWriter::CreateNew(folder + "/mine.ini", "defaults\n", error),
            TSafeFileWriter::TCreate::Exists);
  EXPECT_EQ(ReadBytes(folder + "/mine.ini"), "edited by hand\n");
  fs::create_directory(folder + "/taken.ini");
  EXPECT_EQ(TSafeFileWriter::CreateNew(folder + "/taken.ini", "defaults\n", error),
            TSafeFileWriter::TCreate::Exists);
  EXPECT_EQ(TSafeFileWriter::CreateNew(folder + "/gone/new.ini", "made\n", error),
            TSafeFileWriter::TCreate::Failed);
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  EXPECT_EQ(Listing(folder), (std::vector<std::string>{"mine.ini", "new.ini", "taken.ini"}));
}

}  // namespace
