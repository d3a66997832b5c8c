// The ghost file: what is written reads back the same, what is damaged is refused with a message,
// a save killed part-way keeps the old record, and deleting a profile moves the later ghosts.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <thread>

#include "game/SafeFileWriter.h"
#include "game/race/GhostRun.h"
#include "game/race/RaceReplay.h"
#include "game/race/ReplayError.h"
#include "tests/settings/SettingsTestSupport.h"

namespace {

namespace fs = std::filesystem;
using game::TGhostFrame;
using game::TGhostRun;
using game::TReplayError;
using settings_test::AwaitFile;
using settings_test::Fork;
using settings_test::FreshDir;
using settings_test::ReadBytes;
using settings_test::WaitFor;
using settings_test::WriteBytes;

/// Bytes before the body: magic, version and body length.
constexpr size_t kHeaderSize = 16;

/// A three-minute run (16,200 frames) whose frames all differ; seed makes another run.
TGhostRun SampleRun(int32_t seed = 0, int32_t frames = 16200) {
  TGhostRun run;
  run.TrackSlot = 2 + seed % 9;
  run.TrackFile = "Data\\data3.prd";
  run.TrackHash = 0x0123456789abcdefull + static_cast<uint64_t>(seed);
  run.Car = 4 - seed % 5;
  run.TimeFrames = frames + seed;
  run.BestLapFrames = frames / 3 - seed;
  run.Date = 1796961600 + seed;
  for (int32_t i = 0; i < frames; ++i) {
    const auto f = static_cast<float>(i + seed);
    run.Frames.push_back({-1200.5f + f * 0.25f, 3000.125f - f * 0.5f, std::fmod(f * 1.5f, 360.0f)});
  }
  return run;
}

/// A file with the given body under a right header and check sum.
std::string FileAround(const std::string& body) {
  std::string file = "CLDGHOST";
  const auto put = [&file](uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  };
  put(TGhostRun::kFormatVersion, 4);
  put(body.size(), 4);
  file += body;
  put(game::TRaceReplay::Hash(body), 8);
  return file;
}

/// The body of a file.
std::string BodyOf(const std::string& file) {
  return file.substr(kHeaderSize, file.size() - kHeaderSize - 8);
}

/// The message Parse refuses bytes with, or "" when it reads them.
std::string Refusal(const std::string& bytes) {
  try {
    TGhostRun::Parse(bytes);
  } catch (const TReplayError& error) {
    return error.what();
  }
  return "";
}

TEST(GhostRun, ReadsBackWhatItWrites) {
  const TGhostRun run = SampleRun(3);
  const std::string bytes = run.Serialize();
  // Header, 32 bytes of fields and the track name, 12 bytes a frame, check sum.
  EXPECT_EQ(bytes.size(), kHeaderSize + 32 + run.TrackFile.size() + 12 * 16200 + 8);
  const TGhostRun back = TGhostRun::Parse(bytes);
  EXPECT_EQ(back.TrackSlot, run.TrackSlot);
  EXPECT_EQ(back.TrackFile, run.TrackFile);
  EXPECT_EQ(back.TrackHash, run.TrackHash);
  EXPECT_EQ(back.Car, run.Car);
  EXPECT_EQ(back.TimeFrames, run.TimeFrames);
  EXPECT_EQ(back.BestLapFrames, run.BestLapFrames);
  EXPECT_EQ(back.Date, run.Date);
  EXPECT_EQ(back.Frames, run.Frames);
  EXPECT_EQ(back.Serialize(), bytes);
}

TEST(GhostRun, ReadsTheEdgesOfItsRanges) {
  TGhostRun run;
  run.TrackSlot = 11;
  run.Car = 4;
  run.Date = -1;
  EXPECT_EQ(TGhostRun::Parse(run.Serialize()).Frames.size(), 0u);
  EXPECT_EQ(TGhostRun::Parse(run.Serialize()).Date, -1);
  run.Date = std::numeric_limits<std::time_t>::min();
  EXPECT_EQ(TGhostRun::Parse(run.Serialize()).Date, run.Date);
  run.Date = std::numeric_limits<std::time_t>::max();
  EXPECT_EQ(TGhostRun::Parse(run.Serialize()).Date, run.Date);
  run.TimeFrames = run.BestLapFrames = TGhostRun::kMaxFrames;
  run.Frames.assign(TGhostRun::kMaxFrames, TGhostFrame{-0.0f, 1e30f, -1e-30f});
  const TGhostRun back = TGhostRun::Parse(run.Serialize());
  EXPECT_EQ(back.TimeFrames, TGhostRun::kMaxFrames);
  EXPECT_EQ(back.Frames, run.Frames);
}

TEST(GhostRun, SavesIntoAFolderItMakesAndLoadsBack) {
  const std::string dir = FreshDir();
  const std::string path = TGhostRun::PathFor(dir, 1, 2, 3);
  EXPECT_EQ(path, dir + "/ghosts/profile-2/track-3-car-4.ghost");
  SampleRun(1).Save(path);
  EXPECT_EQ(TGhostRun::Load(path).Serialize(), SampleRun(1).Serialize());
  SampleRun(2, 90).Save(path);
  EXPECT_EQ(TGhostRun::Load(path).Serialize(), SampleRun(2, 90).Serialize());
  EXPECT_FALSE(fs::exists(game::TSafeFileWriter::TemporaryPath(path)));
}

TEST(GhostRun, PathsCountFromOne) {
  EXPECT_EQ(TGhostRun::PathFor("cfg", 0, 0, 0), "cfg/ghosts/profile-1/track-1-car-1.ghost");
  EXPECT_EQ(TGhostRun::PathFor("/a/b", 9, 11, 4), "/a/b/ghosts/profile-10/track-12-car-5.ghost");
}

TEST(GhostRun, LoadNamesTheFile) {
  const std::string dir = FreshDir();
  const std::string missing = dir + "/none.ghost";
  try {
    TGhostRun::Load(missing);
    FAIL() << "a missing file was read";
  } catch (const TReplayError& error) {
    EXPECT_EQ(std::string(error.what()), missing + ": cannot open the ghost file");
  }
  const std::string cut = dir + "/cut.ghost";
  const std::string bytes = SampleRun().Serialize();
  WriteBytes(cut, bytes.substr(0, bytes.size() / 2));
  try {
    TGhostRun::Load(cut);
    FAIL() << "a cut file was read";
  } catch (const TReplayError& error) {
    EXPECT_EQ(std::string(error.what()).rfind(cut + ": the ghost file is cut short", 0), 0u)
        << error.what();
  }
}

TEST(GhostRun, SaveRefusesARunItCouldNotReadBackAndWritesNothing) {
  const std::string path = FreshDir() + "/ghosts/profile-1/track-1-car-1.ghost";
  TGhostRun run = SampleRun();
  run.BestLapFrames = run.TimeFrames + 1;
  EXPECT_THROW(run.Save(path), TReplayError);
  EXPECT_FALSE(fs::exists(path));
}

TEST(GhostRun, SaveSaysWhyItCannotWrite) {
  const std::string dir = FreshDir();
  WriteBytes(dir + "/ghosts", "a file where the folder should be");
  try {
    SampleRun().Save(TGhostRun::PathFor(dir, 0, 0, 0));
    FAIL() << "saved under a file";
  } catch (const TReplayError& error) {
    EXPECT_NE(std::string(error.what()).find("cannot make the folder"), std::string::npos)
        << error.what();
  }
}

/// Damaged bytes: how a good file is changed, and the start of the message that refuses it.
struct TDamage {
  const char* Name;
  std::function<std::string(std::string)> Change;
  const char* Message;
};

void PrintTo(const TDamage& damage, std::ostream* out) {
  *out << damage.Name;
}

/// Flips the bits of the byte at index (from the end when negative).
std::function<std::string(std::string)> Flip(long index) {
  return [index](std::string bytes) {
    const auto at =
        static_cast<size_t>(index < 0 ? static_cast<long>(bytes.size()) + index : index);
    bytes[at] = static_cast<char>(~bytes[at]);
    return bytes;
  };
}

/// A file of the sample run changed before it is written: the check sum is right.
std::function<std::string(std::string)> Field(std::function<void(TGhostRun&)> change) {
  return [change](const std::string&) {
    TGhostRun run = SampleRun(0, 900);
    change(run);
    return run.Serialize();
  };
}

const TDamage kDamages[] = {
    {"Empty", [](const std::string&) { return std::string(); }, "not a ghost file"},
    {"OtherMagic", [](std::string bytes) { return bytes.replace(0, 8, "CLDRPLAY"); },
     "not a ghost file"},
    {"FlippedMagicByte", Flip(3), "not a ghost file"},
    {"OtherVersion",
     [](std::string bytes) {
       bytes[8] = 2;
       return bytes;
     },
     "the ghost file is of format version 2; this game reads version 1"},
    {"FlippedVersionByte", Flip(11),
     "the ghost file is of format version 4278190081; this game reads version 1"},
    {"OnlyTheMagic", [](const std::string& bytes) { return bytes.substr(0, 8); },
     "the ghost file is cut short"},
    {"CutInTheHeader", [](const std::string& bytes) { return bytes.substr(0, 13); },
     "the ghost file is cut short"},
    {"CutInHalf", [](const std::string& bytes) { return bytes.substr(0, bytes.size() / 2); },
     "the ghost file is cut short ("},
    {"CutInTheCheckSum", [](const std::string& bytes) { return bytes.substr(0, bytes.size() - 1); },
     "the ghost file is cut short ("},
    {"LengthTooLong", Flip(15), "the ghost file is cut short ("},
    {"TrailingGarbage", [](const std::string& bytes) { return bytes + "junk"; },
     "the ghost file is damaged (it has bytes after its end)"},
    {"FlippedTrackSlot", Flip(kHeaderSize),
     "the ghost file is damaged (its check sum does not match)"},
    {"FlippedTimeByte", Flip(kHeaderSize + 30),
     "the ghost file is damaged (its check sum does not match)"},
    {"FlippedFrameByte", Flip(-100), "the ghost file is damaged (its check sum does not match)"},
    {"FlippedCheckSumByte", Flip(-1), "the ghost file is damaged (its check sum does not match)"},
    {"NegativeTime", Field([](TGhostRun& run) { run.TimeFrames = -1; }),
     "the ghost file is damaged (a negative time)"},
    {"LongerThanHalfAnHour",
     Field([](TGhostRun& run) { run.TimeFrames = TGhostRun::kMaxFrames + 1; }),
     "the ghost file is damaged (a time longer than half an hour)"},
    {"NegativeBestLap", Field([](TGhostRun& run) { run.BestLapFrames = -90; }),
     "the ghost file is damaged (a negative time)"},
    {"BestLapLongerThanTheRun",
     Field([](TGhostRun& run) { run.BestLapFrames = run.TimeFrames + 1; }),
     "the ghost file is damaged (its best lap is longer than its time)"},
    {"NotANumber",
     Field([](TGhostRun& run) { run.Frames[7].Y = std::numeric_limits<float>::quiet_NaN(); }),
     "the ghost file is damaged (a position that is not a number)"},
    {"Infinite",
     Field([](TGhostRun& run) { run.Frames[899].Angle = -std::numeric_limits<float>::infinity(); }),
     "the ghost file is damaged (a position that is not a number)"},
    {"NoSuchTrack", Field([](TGhostRun& run) { run.TrackSlot = 12; }),
     "the ghost file is damaged (track 12 does not exist)"},
    {"NoSuchCar", Field([](TGhostRun& run) { run.Car = 5; }),
     "the ghost file is damaged (car 5 does not exist)"},
    {"TooManyFrames", Field([](TGhostRun& run) { run.Frames.resize(TGhostRun::kMaxFrames + 1); }),
     "the ghost file is damaged (162001 frames, at most 162000)"},
    {"FrameCountOverTheBody",
     [](const std::string& bytes) {
       std::string body = BodyOf(Field([](TGhostRun&) {})(bytes));
       body.pop_back();
       return FileAround(body);
     },
     "the ghost file is damaged (its frames do not fill its body)"},
    {"BytesAfterTheFrames",
     [](const std::string& bytes) { return FileAround(BodyOf(bytes) + "x"); },
     "the ghost file is damaged (its frames do not fill its body)"},
    {"TrackNameTooLong", Field([](TGhostRun& run) { run.TrackFile = std::string(1025, 'a'); }),
     "the ghost file is damaged (a text is too long)"},
    {"BodyCutInTheTrackName",
     [](const std::string& bytes) { return FileAround(BodyOf(bytes).substr(0, 5)); },
     "the ghost file is cut short"},
};

class GhostRefusal : public ::testing::TestWithParam<TDamage> {};

TEST_P(GhostRefusal, SaysWhatIsWrong) {
  const TDamage& damage = GetParam();
  const std::string message = Refusal(damage.Change(SampleRun().Serialize()));
  EXPECT_EQ(message.rfind(damage.Message, 0), 0u) << message;
}

INSTANTIATE_TEST_SUITE_P(Cases, GhostRefusal, ::testing::ValuesIn(kDamages),
                         [](const auto& test) { return std::string(test.param.Name); });

struct THundredthsCase {
  int32_t Frames;
  int32_t Hundredths;
};

class GhostHundredths : public ::testing::TestWithParam<THundredthsCase> {};

TEST_P(GhostHundredths, RoundDown) {
  EXPECT_EQ(TGhostRun::Hundredths(GetParam().Frames), GetParam().Hundredths);
}

INSTANTIATE_TEST_SUITE_P(Cases, GhostHundredths,
                         ::testing::Values(THundredthsCase{0, 0}, THundredthsCase{1, 1},
                                           THundredthsCase{9, 10}, THundredthsCase{89, 98},
                                           THundredthsCase{90, 100}, THundredthsCase{91, 101},
                                           THundredthsCase{5400, 6000},
                                           THundredthsCase{16199, 17998},
                                           THundredthsCase{TGhostRun::kMaxFrames, 180000},
                                           THundredthsCase{std::numeric_limits<int32_t>::max(),
                                                           std::numeric_limits<int32_t>::max()}));

/// A deletion: the profile count, the slots that have ghost folders, the slot deleted and the
/// folders expected afterwards (new slot → the old slot whose ghost it must hold).
struct TDeletion {
  const char* Name;
  int32_t Count;
  std::vector<int32_t> WithGhosts;
  int32_t Deleted;
  std::map<int32_t, int32_t> Expected;
};

void PrintTo(const TDeletion& deletion, std::ostream* out) {
  *out << deletion.Name;
}

const TDeletion kDeletions[] = {
    {"First", 4, {0, 1, 2, 3}, 0, {{0, 1}, {1, 2}, {2, 3}}},
    {"Middle", 4, {0, 1, 2, 3}, 1, {{0, 0}, {1, 2}, {2, 3}}},
    {"Last", 4, {0, 1, 2, 3}, 3, {{0, 0}, {1, 1}, {2, 2}}},
    {"TheOnlyOne", 1, {0}, 0, {}},
    {"DeletedHasNoGhosts", 3, {1, 2}, 0, {{0, 1}, {1, 2}}},
    {"GapBetweenLaterOnes", 4, {0, 3}, 0, {{2, 3}}},
    {"NoGhostsAtAll", 3, {}, 1, {}},
};

class GhostDeletion : public ::testing::TestWithParam<TDeletion> {};

TEST_P(GhostDeletion, RemovesTheSlotAndMovesTheLaterOnesDown) {
  const TDeletion& c = GetParam();
  const std::string dir = FreshDir();
  // Each slot's two records carry the slot in their date.
  for (int32_t slot : c.WithGhosts) {
    SampleRun(slot, 10).Save(TGhostRun::PathFor(dir, slot, 0, 0));
    SampleRun(slot, 10).Save(TGhostRun::PathFor(dir, slot, 11, 4));
  }
  TGhostRun::DeleteProfileGhosts(dir, c.Deleted, c.Count);
  std::map<int32_t, int32_t> found;
  if (fs::exists(dir + "/ghosts")) {
    for (const auto& folder : fs::directory_iterator(dir + "/ghosts")) {
      const std::string name = folder.path().filename().string();
      ASSERT_EQ(name.rfind("profile-", 0), 0u) << name;
      const int32_t slot = std::stoi(name.substr(8)) - 1;
      EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2)
          << name;
      const auto first = TGhostRun::Load(TGhostRun::PathFor(dir, slot, 0, 0)).Date;
      EXPECT_EQ(TGhostRun::Load(TGhostRun::PathFor(dir, slot, 11, 4)).Date, first) << name;
      found[slot] = static_cast<int32_t>(first - SampleRun(0, 0).Date);
    }
  }
  EXPECT_EQ(found, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GhostDeletion, ::testing::ValuesIn(kDeletions),
                         [](const auto& test) { return std::string(test.param.Name); });

TEST(GhostDeletion, AMissingSettingsFolderIsLeftAlone) {
  const std::string dir = FreshDir() + "/none";
  TGhostRun::DeleteProfileGhosts(dir, 0, 3);
  EXPECT_FALSE(fs::exists(dir));
}

TEST(GhostInterruptedSave, KilledBeforeTheRenameKeepsTheOldRecordLoadable) {
  const std::string dir = FreshDir();
  const std::string path = TGhostRun::PathFor(dir, 0, 3, 1);
  const std::string marker = dir + "/paused";
  SampleRun(1).Save(path);
  const pid_t child = Fork([&] {
    ::setenv(game::TSafeFileWriter::PauseVariable, marker.c_str(), 1);
    SampleRun(2).Save(path);
    return 0;
  });
  ASSERT_TRUE(AwaitFile(marker));
  ::kill(child, SIGKILL);
  EXPECT_EQ(WaitFor(child), -SIGKILL);
  EXPECT_EQ(TGhostRun::Load(path).Serialize(), SampleRun(1).Serialize());
  // The next save replaces the record and clears the killed writer's temporary file.
  SampleRun(3).Save(path);
  EXPECT_EQ(TGhostRun::Load(path).Serialize(), SampleRun(3).Serialize());
  EXPECT_FALSE(fs::exists(game::TSafeFileWriter::TemporaryPath(path)));
}

TEST(GhostInterruptedSave, KilledAtAnyMomentLeavesOneWholeRecord) {
  const std::string dir = FreshDir();
  const std::string path = TGhostRun::PathFor(dir, 0, 0, 0);
  const std::string oldBytes = SampleRun(1).Serialize();
  const std::string newBytes = SampleRun(2).Serialize();
  fs::create_directories(fs::path(path).parent_path());
  for (int round = 0; round < 20; ++round) {
    WriteBytes(path, oldBytes);
    const pid_t child = Fork([&] {
      for (;;) SampleRun(2).Save(path);
      return 0;
    });
    std::this_thread::sleep_for(std::chrono::microseconds(500 + 700 * round));
    ::kill(child, SIGKILL);
    EXPECT_EQ(WaitFor(child), -SIGKILL);
    const std::string bytes = ReadBytes(path);
    EXPECT_TRUE(bytes == oldBytes || bytes == newBytes) << "round " << round;
    EXPECT_NO_THROW(TGhostRun::Load(path)) << "round " << round;
  }
}

}  // namespace
