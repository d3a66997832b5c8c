// The records screen: the rows it makes of a profile's ghost files and the race best times, and
// the screen itself reached from the high scores by mouse, keys and controller.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "GameRun.h"
#include "RaceScript.h"
#include "Screenshot.h"
#include "game/SettingsFile.h"
#include "game/race/GhostRun.h"
#include "game/screens/RecordsScreen.h"

namespace {

namespace fs = std::filesystem;
using game::TGhostRun;
using game::TRecordRow;
using game::TRecordsScreen;
using testgame::At;
using testgame::TGameRun;

constexpr long kMenu = testgame::MenuFrame;
// 2026-12-11 12:00 UTC: the same date in every time zone within eleven hours of it.
constexpr std::time_t kNoon = 1796990400;
constexpr std::time_t kDay = 24 * 60 * 60;

// Saves a record of a profile slot on a track with a car.
void SaveRecord(const std::string& configDir, int32_t profile, int32_t track, int32_t car,
                int32_t timeFrames, int32_t lapFrames, std::time_t date) {
  TGhostRun run;
  run.TrackSlot = track;
  run.TrackFile = "Data\\data" + std::to_string(track + 1) + ".prd";
  run.Car = car;
  run.TimeFrames = timeFrames;
  run.BestLapFrames = lapFrames;
  run.Date = date;
  run.Frames.assign(static_cast<size_t>(timeFrames), {100, 200, 90});
  run.Save(TGhostRun::PathFor(configDir, profile, track, car));
}

// Writes bytes over a file.
void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A new empty settings folder for the running test.
std::string FreshDir() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const fs::path dir = fs::path(::testing::TempDir()) /
                       ("cld-records-" + std::string(info->test_suite_name()) + "-" + info->name());
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

TEST(RecordsRows, TimesInMinutesSecondsAndHundredths) {
  EXPECT_EQ(TRecordsScreen::FramesText(0), "0:00:00");
  EXPECT_EQ(TRecordsScreen::FramesText(89), "0:00:98");
  EXPECT_EQ(TRecordsScreen::FramesText(5400), "1:00:00");
  EXPECT_EQ(TRecordsScreen::FramesText(5399), "0:59:98");
  EXPECT_EQ(TRecordsScreen::FramesText(TGhostRun::kMaxFrames), "30:00:00");
}

TEST(RecordsRows, TheFastestCarOfEachTrackAndTheRaceBestTimes) {
  const std::string dir = FreshDir();
  // Track 1: the Viper's record beats the Speeder's; Track 6: the Turbo's alone. Track 8's file
  // is damaged and Track 9's holds another track's run: both are "--". Profile 2's record on
  // Track 2 is not profile 1's.
  SaveRecord(dir, 0, 0, 0, 3000, 1000, kNoon);
  SaveRecord(dir, 0, 0, 3, 2750, 880, kNoon + 30 * kDay);
  SaveRecord(dir, 0, 5, 1, 9001, 2999, kNoon - 365 * kDay);
  SaveRecord(dir, 0, 7, 2, 4000, 1300, kNoon);
  const std::string damaged = TGhostRun::PathFor(dir, 0, 7, 2);
  std::string bytes = [&] {
    std::ifstream in(damaged, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), {}};
  }();
  bytes[40] = static_cast<char>(bytes[40] ^ 0x10);
  WriteBytes(damaged, bytes);
  SaveRecord(dir, 0, 9, 4, 4000, 1300, kNoon);
  fs::rename(TGhostRun::PathFor(dir, 0, 9, 4), TGhostRun::PathFor(dir, 0, 8, 4));
  SaveRecord(dir, 1, 1, 1, 4000, 1300, kNoon);

  game::TGameCatalogue catalogue;
  catalogue.TrackInfo[0].BestTime = {0, 31, 5};
  catalogue.TrackInfo[11].BestTime = {2, 3, 4};
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  testing::internal::CaptureStderr();
  const std::vector<TRecordRow> rows = TRecordsScreen::Rows(dir, 0, catalogue);
  const std::string errors = testing::internal::GetCapturedStderr();
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[0],
            (TRecordRow{"Track 1", "0:30:55", "Viper", "2027-01-10", "0:09:77", "0:31:05"}));
  EXPECT_EQ(rows[1], (TRecordRow{"Track 2"}));
  EXPECT_EQ(rows[5], (TRecordRow{"Track 6", "1:40:01", "Turbo", "2025-12-11", "0:33:32", "--"}));
  EXPECT_EQ(rows[7], (TRecordRow{"Track 8"}));
  EXPECT_EQ(rows[8], (TRecordRow{"Track 9"}));
  EXPECT_EQ(rows[11], (TRecordRow{"Track 12", "--", "--", "--", "--", "2:03:04"}));
  EXPECT_NE(errors.find(damaged + ": the ghost file is damaged (its check sum does not match)"),
            std::string::npos)
      << errors;
  EXPECT_NE(errors.find(TGhostRun::PathFor(dir, 0, 8, 4) + ": the record is of another track"),
            std::string::npos)
      << errors;
  // Profile 2 sees its own record only; no profile sees none.
  EXPECT_EQ(TRecordsScreen::Rows(dir, 1, catalogue)[1].Car, "Turbo");
  EXPECT_EQ(TRecordsScreen::Rows(dir, 1, catalogue)[0].Car, "--");
  EXPECT_EQ(TRecordsScreen::Rows(dir, -1, catalogue)[0],
            (TRecordRow{"Track 1", "--", "--", "--", "--", "0:31:05"}));
}

using testgame::TScreenshot;

// Dark (text) pixels in a box of the records' light well, right and bottom exclusive.
long DarkPixels(const TScreenshot& shot, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  long count = 0;
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) {
      const uint32_t p = shot.At(x, y);
      if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 200) ++count;
    }
  }
  return count;
}

// The settings of the scripted runs: one profile "Ann", race best times on Tracks 1 and 12,
// and records on Tracks 1 and 3.
void WriteSettings(const TGameRun& run) {
  testgame::WriteProfile(run, 0);
  std::array<game::TRaceTime, game::TrackSlotCount> times;
  for (game::TRaceTime& time : times) time.Minutes = game::NoBestTimeMinutes;
  times[0] = {0, 31, 5};
  times[11] = {2, 3, 4};
  std::string error;
  ASSERT_TRUE(game::TSettingsFile::SaveBestTimes(run.ConfigDir() + "/Configdat.cfg", times, error))
      << error;
  SaveRecord(run.ConfigDir(), 0, 0, 3, 2750, 880, kNoon);
  SaveRecord(run.ConfigDir(), 0, 2, 1, 9001, 2999, kNoon);
}

// How the records screen is reached from the high scores and left again.
struct TWay {
  const char* Name;
  // From the high scores (entered at kMenu + 1) to the records at kMenu + 41, then back to the
  // high scores at kMenu + 121.
  std::string There;
  std::string Back;
};

const TWay kWays[] = {
    {"Mouse", At(kMenu + 40, "click 600 519"), At(kMenu + 120, "click 400 534")},
    // The focus: CLEAR SCORES, WORLD HIGH SCORES, BACK, RECORDS.
    {"Keys",
     At(kMenu + 30, "key down") + At(kMenu + 32, "key down") + At(kMenu + 34, "key down") +
         At(kMenu + 36, "key down") + At(kMenu + 40, "key enter"),
     At(kMenu + 120, "key escape")},
    {"Gamepad",
     At(kMenu + 30, "pad dpdown") + At(kMenu + 32, "pad dpdown") + At(kMenu + 34, "pad dpdown") +
         At(kMenu + 36, "pad dpdown") + At(kMenu + 40, "pad a"),
     At(kMenu + 120, "pad b")},
    {"KeysOnBack", At(kMenu + 40, "click 600 519"),
     At(kMenu + 116, "key down") + At(kMenu + 120, "key enter")},
};

class RecordsScreen : public ::testing::TestWithParam<TWay> {};

void PrintTo(const TWay& way, std::ostream* out) {
  *out << way.Name;
}

TEST_P(RecordsScreen, OpensFromTheHighScoresAndGoesBack) {
  TGameRun run("way");
  WriteSettings(run);
  const std::string script = At(kMenu, "click 700 339") + GetParam().There + GetParam().Back;
  ASSERT_EQ(run.Run(script, kMenu + 160), 0) << run.Errors();
  EXPECT_EQ(run.States(), (std::vector<int>{3, 4, 8, 26, 8}));
  EXPECT_EQ(run.FrameOf(26), kMenu + 41);
  EXPECT_EQ(run.Trace().back().first, kMenu + 121);
  EXPECT_EQ(run.Errors(), "");
}

INSTANTIATE_TEST_SUITE_P(Ways, RecordsScreen, ::testing::ValuesIn(kWays),
                         [](const auto& test) { return std::string(test.param.Name); });

// The top and bottom (exclusive) of the text of row `row` (Track 1 is row 0) on screen.
int32_t RowTop(int32_t row) {
  return 255 + 20 * row;
}
int32_t RowBottom(int32_t row) {
  return RowTop(row) + 20;
}

TEST(RecordsScreenFiles, ShowsTheRowsOfTheRecordsThatExist) {
  TGameRun run("rows");
  WriteSettings(run);
  const std::string shot = run.Dir() + "/records.png";
  const std::string script = At(kMenu, "click 700 339") + At(kMenu + 40, "click 600 519");
  ASSERT_EQ(run.Run(script, kMenu + 100, {"--screenshot", shot}), 0) << run.Errors();
  ASSERT_EQ(run.LastState(), 26);
  const TScreenshot records = TScreenshot::Load(shot);
  ASSERT_EQ(records.Width, 800);
  // Every track's title is there, Track 12's too.
  for (int32_t row = 0; row < 12; ++row) {
    EXPECT_GT(DarkPixels(records, 60, RowTop(row), 170, RowBottom(row)), 60) << "row " << row;
  }
  // Tracks 1 and 3 have records, Track 2 none: only dashes in the record columns.
  const long track1 = DarkPixels(records, 180, RowTop(0), 640, RowBottom(0));
  const long track3 = DarkPixels(records, 180, RowTop(2), 640, RowBottom(2));
  const long track2 = DarkPixels(records, 180, RowTop(1), 640, RowBottom(1));
  EXPECT_GT(track1, 400);
  EXPECT_GT(track3, 400);
  EXPECT_LT(track2, track3 / 4);
  // Race best times on Tracks 1 and 12, dashes elsewhere.
  EXPECT_GT(DarkPixels(records, 640, RowTop(11), 730, RowBottom(11)),
            3 * DarkPixels(records, 640, RowTop(10), 730, RowBottom(10)));
  // Nothing drawn between the rows' text and the well's bottom edge.
  EXPECT_EQ(DarkPixels(records, 60, RowBottom(11), 730, 498), 0);
}

TEST(RecordsScreenFiles, ADamagedRecordShowsAsMissingAndTheGameGoesOn) {
  const std::string script = At(kMenu, "click 700 339") + At(kMenu + 40, "click 600 519");
  TGameRun intact("intact");
  WriteSettings(intact);
  const std::string intactShot = intact.Dir() + "/records.png";
  ASSERT_EQ(intact.Run(script, kMenu + 100, {"--screenshot", intactShot}), 0) << intact.Errors();

  TGameRun damaged("damaged");
  WriteSettings(damaged);
  const std::string file = TGhostRun::PathFor(damaged.ConfigDir(), 0, 2, 1);
  WriteBytes(file, "CLDGHOST garbage");
  const std::string damagedShot = damaged.Dir() + "/records.png";
  const std::string back = At(kMenu + 120, "key escape") + At(kMenu + 160, "key escape");
  ASSERT_EQ(damaged.Run(script + back, kMenu + 200), 0) << damaged.Errors();
  EXPECT_EQ(damaged.States(), (std::vector<int>{3, 4, 8, 26, 8, 4}));
  EXPECT_NE(damaged.Errors().find(file + ": the ghost file"), std::string::npos)
      << damaged.Errors();
  ASSERT_EQ(damaged.Run(script, kMenu + 100, {"--screenshot", damagedShot}), 0) << damaged.Errors();

  // Track 3's record columns are as empty as Track 2's; Track 1's are as they were.
  const TScreenshot a = TScreenshot::Load(intactShot);
  const TScreenshot b = TScreenshot::Load(damagedShot);
  EXPECT_LT(DarkPixels(b, 180, RowTop(2), 640, RowBottom(2)),
            DarkPixels(a, 180, RowTop(2), 640, RowBottom(2)) / 4);
  EXPECT_LE(std::abs(DarkPixels(b, 180, RowTop(2), 640, RowBottom(2)) -
                     DarkPixels(b, 180, RowTop(1), 640, RowBottom(1))),
            15)
      << "dashes alone, as on Track 2";
  EXPECT_EQ(DarkPixels(b, 180, RowTop(0), 730, RowBottom(0)),
            DarkPixels(a, 180, RowTop(0), 730, RowBottom(0)));
}

}  // namespace
