// The settings files: the exact bytes written, reading them back, damaged files and failed writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>

#include "SettingsTestSupport.h"
#include "game/SettingsFile.h"
#include "online/TextCodec.h"

namespace {

namespace fs = std::filesystem;
using game::TGameSettings;
using game::TPlayerProfile;
using game::TSettingsFile;
using namespace settings_test;

using TBestTimes = std::array<game::TRaceTime, game::TrackSlotCount>;

void ExpectSameSettings(const TGameSettings& a, const TGameSettings& b) {
  EXPECT_EQ(a.FullScreen, b.FullScreen);
  EXPECT_EQ(a.MusicOn, b.MusicOn);
  EXPECT_EQ(a.SoundOn, b.SoundOn);
  EXPECT_EQ(a.OptionsText, b.OptionsText);
  EXPECT_EQ(a.PlayerName, b.PlayerName);
  EXPECT_EQ(a.HighScores.Rows, b.HighScores.Rows);
  EXPECT_EQ(a.Profiles.Profiles, b.Profiles.Profiles);
  EXPECT_EQ(a.Profiles.ProfileCount, b.Profiles.ProfileCount);
  EXPECT_EQ(a.Profiles.CurrentProfile, b.Profiles.CurrentProfile);
}

// Saves the settings and returns the file's bytes.
std::string SavedBytes(const std::string& path, const TGameSettings& settings) {
  std::string error;
  EXPECT_TRUE(TSettingsFile::SaveConfig(path, settings, error)) << error;
  EXPECT_EQ(error, "");
  return ReadBytes(path);
}

// Reads a file that exists; the warning is returned.
std::string ReadBack(const std::string& path, TGameSettings& settings) {
  std::string warning;
  EXPECT_TRUE(TSettingsFile::ReadConfig(path, settings, warning));
  return warning;
}

// Every line of the first file: defaults, after the first name "Ann" was confirmed. The encoded
// forms were worked out by hand from the bit strings.
const std::pair<const char*, const char*> kFirstStartLines[] = {
    {"false", "G7LM845Y"},
    {"true", "W6PT3FY"},
    {"true", "W6PT3FY"},
    {"", ""},
    {"Ann%%", "AY9U4SSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"1000%", "UT8RQGWY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"900%%", "PT8RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"800%%", "PQ8RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"700%%", "U48RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"600%%", "U88RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"500%%", "UB8RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"400%%", "UL8RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"300%%", "UG8RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"200%%", "UA8RQSSY"},
    {"Anonymous%", "AY9U25V7HN99D47Y"},
    {"100%%", "UT8RQSSY"},
    {"1%%%%%%%%%", "UTCCDSSYTBCCDSSY"},
    {"0%%%%%%%%%", "UQCCDSSYTBCCDSSY"},
    {"Ann%%%%%%%", "AY9U4SSYTBCCDSSY"},
    {"2%%%%%%%%%", "UACCDSSYTBCCDSSY"},
    {"3%%%%%%%%%", "UGCCDSSYTBCCDSSY"},
    {"0%%%%%%%%%", "UQCCDSSYTBCCDSSY"},
    {"300%%%%%%%", "UG8RQSSYTBCCDSSY"},
    {"0%%%%%%%%%", "UQCCDSSYTBCCDSSY"},
};

TEST(SettingsFile, FirstStartFileIsByteForByteTheKnownOne) {
  TGameSettings settings;
  settings.Profiles.CreateFirstProfile(" Ann ");
  settings.PlayerName = "Ann";
  const std::string path = FreshDir() + "/Config.cfg";
  std::vector<std::string> expected;
  for (const auto& [plain, encoded] : kFirstStartLines) {
    expected.push_back(encoded);
    // The table itself is checked against the codec's round trip.
    if (*plain != '\0' && std::string(plain) != "true") {
      EXPECT_EQ(online::DecodeText(encoded), plain);
    }
  }
  EXPECT_EQ(expected.size(), TSettingsFile::ConfigHeadLines + TSettingsFile::ProfileLines);
  EXPECT_EQ(SavedBytes(path, settings), JoinLines(expected));
  EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST(SettingsFile, PaddingFillsToTheMultipleAndStripsOnlyTrailingPercents) {
  const std::tuple<std::string, size_t, std::string> pads[] = {
      {"", 5, ""},
      {"a", 5, "a%%%%"},
      {"abcde", 5, "abcde"},
      {"abcdef", 5, "abcdef%%%%"},
      {"abcdef", 10, "abcdef%%%%"},
      {"twelve chars", 10, "twelve chars%%%%%%%%"},
  };
  for (const auto& [text, multiple, padded] : pads) {
    EXPECT_EQ(TSettingsFile::PadText(text, multiple), padded);
    EXPECT_EQ(TSettingsFile::StripPadding(padded), text);
  }
  EXPECT_EQ(TSettingsFile::StripPadding("a%b%%"), "a%b");
  EXPECT_EQ(TSettingsFile::StripPadding("%%%"), "");
}

TEST(SettingsFile, ATwelveCharacterNameIsStoredWithEightPercents) {
  TGameSettings settings;
  settings.Profiles.CreateFirstProfile("Twelve Chars");
  const std::string path = FreshDir() + "/Config.cfg";
  const auto lines = SplitLines(SavedBytes(path, settings));
  ASSERT_EQ(lines.size(), 33u);
  EXPECT_EQ(online::DecodeText(lines[27]), "Twelve Chars%%%%%%%%");
  TGameSettings read;
  ReadBack(path, read);
  EXPECT_EQ(read.Profiles.Profiles[0].Name, "Twelve Chars");
}

TEST(SettingsFile, EveryValueComesBackAsWritten) {
  for (int32_t count : {0, 1, 4, 10}) {
    const TGameSettings settings = SampleSettings(count);
    const std::string path = FreshDir() + "/Config.cfg";
    const auto lines = SplitLines(SavedBytes(path, settings));
    EXPECT_EQ(lines.size(), 27u + 6u * count);
    TGameSettings read;
    EXPECT_EQ(ReadBack(path, read), "");
    ExpectSameSettings(read, settings);
  }
}

TEST(SettingsFile, SavingKeepsTheCountAndCurrentProfileInTheList) {
  struct Case {
    int32_t Count, Current;
    const char *CountLine, *CurrentLine;
    size_t Lines;
  };
  const Case cases[] = {
      {99, 12, "10%%%%%%%%", "9%%%%%%%%%", 87},
      {-3, 2, "0%%%%%%%%%", "0%%%%%%%%%", 27},
      {3, 7, "3%%%%%%%%%", "2%%%%%%%%%", 45},
      {3, -1, "3%%%%%%%%%", "0%%%%%%%%%", 45},
  };
  for (const Case& c : cases) {
    TGameSettings settings = SampleSettings(10);
    settings.Profiles.ProfileCount = c.Count;
    settings.Profiles.CurrentProfile = c.Current;
    const auto lines = SplitLines(SavedBytes(FreshDir() + "/Config.cfg", settings));
    ASSERT_EQ(lines.size(), c.Lines) << c.Count;
    EXPECT_EQ(online::DecodeText(lines[25]), c.CountLine);
    EXPECT_EQ(online::DecodeText(lines[26]), c.CurrentLine);
  }
}

TEST(SettingsFile, EightBitNamesAreStoredAsTheirBytes) {
  TGameSettings settings;
  settings.PlayerName = "\xC0\xE1\xE2\xFF";
  const auto lines = SplitLines(SavedBytes(FreshDir() + "/Config.cfg", settings));
  EXPECT_EQ(online::DecodeText(lines[4]), "\xC0\xE1\xE2\xFF%");
}

TEST(SettingsFile, SwitchesAreOnUnlessTheirLineSaysFalse) {
  // Line 1 turns full screen on unless it says "false"; lines 2 and 3 only ever turn off.
  const std::string path = FreshDir() + "/Config.cfg";
  const std::tuple<std::string, bool, bool> cases[] = {
      {"false", false, false}, {"true", true, true}, {"yes", true, true}, {"FALSE", true, true}};
  for (const auto& [word, fullScreen, on] : cases) {
    auto lines = SplitLines(SavedBytes(path, TGameSettings()));
    for (size_t i = 0; i < 3; ++i) lines[i] = Encoded(word);
    WriteBytes(path, JoinLines(lines));
    TGameSettings read;
    ReadBack(path, read);
    EXPECT_EQ(read.FullScreen, fullScreen) << word;
    EXPECT_EQ(read.MusicOn, on) << word;
    EXPECT_EQ(read.SoundOn, on) << word;
  }
}

TEST(SettingsFile, EmptyHighScoreLinesKeepTheRowsValue) {
  const std::string path = FreshDir() + "/Config.cfg";
  auto lines = SplitLines(SavedBytes(path, SampleSettings(1)));
  lines[5] = "";   // rank 1's name
  lines[14] = "";  // rank 5's points
  WriteBytes(path, JoinLines(lines));
  TGameSettings read;
  EXPECT_EQ(ReadBack(path, read), "");
  EXPECT_EQ(read.HighScores.Rows[0].Name, "Anonymous");
  EXPECT_EQ(read.HighScores.Rows[0].Points, "5200");
  EXPECT_EQ(read.HighScores.Rows[4].Name, "\xC8\xE2\xE0\xED");
  EXPECT_EQ(read.HighScores.Rows[4].Points, "600");
}

TEST(SettingsFile, AMissingFileLeavesTheDefaults) {
  TGameSettings read = SampleSettings(2);
  std::string warning = "old";
  EXPECT_FALSE(TSettingsFile::ReadConfig(FreshDir() + "/Config.cfg", read, warning));
  EXPECT_EQ(warning, "");
  ExpectSameSettings(read, SampleSettings(2));
}

TEST(SettingsFile, AFolderInPlaceOfTheFileIsReportedNotRead) {
  const std::string path = FreshDir() + "/Config.cfg";
  fs::create_directory(path);
  TGameSettings read;
  std::string warning;
  EXPECT_FALSE(TSettingsFile::ReadConfig(path, read, warning));
  EXPECT_NE(warning.find("Config.cfg"), std::string::npos) << warning;
  ExpectSameSettings(read, TGameSettings());
}

// A damaged file: how it is made from the lines of a sound one (SampleSettings(3), profile 2
// current), and what must come of reading it.
struct DamageCase {
  const char* Name;
  std::function<std::string(std::vector<std::string>)> Damage;
  std::function<void(const TGameSettings&)> Check;
  const char* WarningPart;
};

// Names the case in test output.
void PrintTo(const DamageCase& c, std::ostream* out) {
  *out << c.Name;
}

std::string RandomBytes(size_t size) {
  std::mt19937 random(7);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  return bytes;
}

const TGameSettings kSound = SampleSettings(3);

const DamageCase kDamageCases[] = {
    {"RandomBytes", [](auto) { return RandomBytes(5000); },
     [](const TGameSettings& s) { ExpectSameSettings(s, TGameSettings()); }, "does not decode"},
    {"EmptyFile", [](auto) { return std::string(); },
     [](const TGameSettings& s) { ExpectSameSettings(s, TGameSettings()); },
     "ends after line 0 of 27"},
    {"TruncatedInTheSecondProfile",
     [](std::vector<std::string> lines) {
       lines.resize(36);  // profile 1: name, cars and half of its tracks line
       lines[35].resize(5);
       return JoinLines(lines).substr(0, JoinLines(lines).size() - 2);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.PlayerName, kSound.PlayerName);
       EXPECT_EQ(s.HighScores.Rows, kSound.HighScores.Rows);
       EXPECT_EQ(s.Profiles.ProfileCount, 2);
       EXPECT_EQ(s.Profiles.CurrentProfile, 1);
       EXPECT_EQ(s.Profiles.Profiles[0], kSound.Profiles.Profiles[0]);
       EXPECT_EQ(s.Profiles.Profiles[1],
                 (TPlayerProfile{kSound.Profiles.Profiles[1].Name,
                                 kSound.Profiles.Profiles[1].CarsAvailable, 3, 0, 300, 0}));
       EXPECT_EQ(s.Profiles.Profiles[2], TPlayerProfile{});
     },
     "ends after line 36 of 45"},
    {"TruncatedInTheHighScores",
     [](std::vector<std::string> lines) {
       lines.resize(8);
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.OptionsText, kSound.OptionsText);
       EXPECT_EQ(s.HighScores.Rows[0], kSound.HighScores.Rows[0]);
       EXPECT_EQ(s.HighScores.Rows[1].Points, "900");
       EXPECT_EQ(s.HighScores.Rows[4], game::THighScoreTable().Rows[4]);
       EXPECT_EQ(s.Profiles.ProfileCount, 0);
     },
     "ends after line 8 of 27"},
    {"CountOf99",
     [](std::vector<std::string> lines) {
       lines[25] = Encoded("99%%%%%%%%");
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.Profiles.ProfileCount, 3);
       EXPECT_EQ(s.Profiles.Profiles, kSound.Profiles.Profiles);
       EXPECT_EQ(s.Profiles.CurrentProfile, 2);
     },
     "lists 99 profiles"},
    {"NegativeCount",
     [](std::vector<std::string> lines) {
       lines[25] = Encoded("-4%%%%%%%%");
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.Profiles.ProfileCount, 0);
       EXPECT_EQ(s.Profiles.CurrentProfile, 0);
       EXPECT_EQ(s.Profiles.Profiles[0], TPlayerProfile{});
       EXPECT_EQ(s.PlayerName, kSound.PlayerName);
     },
     "lists -4 profiles"},
    {"CurrentProfileOutsideTheList",
     [](std::vector<std::string> lines) {
       lines[26] = Encoded("7%%%%%%%%%");
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.Profiles.ProfileCount, 3);
       EXPECT_EQ(s.Profiles.CurrentProfile, 2);
     },
     "profile index 7 outside the 3 profiles"},
    {"ScoreThatIsNoNumber",
     [](std::vector<std::string> lines) {
       lines[27 + 6 + 3] = Encoded("12x4%%%%%%");  // profile 1's score
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       TPlayerProfile expected = kSound.Profiles.Profiles[1];
       expected.Score = 0;
       EXPECT_EQ(s.Profiles.Profiles[1], expected);
       EXPECT_EQ(s.Profiles.Profiles[2], kSound.Profiles.Profiles[2]);
       EXPECT_EQ(s.Profiles.ProfileCount, 3);
     },
     "line 37 is not a number"},
    {"NumberBeyondThirtyTwoBits",
     [](std::vector<std::string> lines) {
       lines[27 + 4] = Encoded("9999999999");  // profile 0's target
       return JoinLines(lines);
     },
     [](const TGameSettings& s) { EXPECT_EQ(s.Profiles.Profiles[0].TargetScore, 300); },
     "line 32 is not a number"},
    {"NameLineWithForeignCharacters",
     [](std::vector<std::string> lines) {
       lines[4] = "qwerty%%";
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.PlayerName, "");
       EXPECT_EQ(s.OptionsText, kSound.OptionsText);
       EXPECT_EQ(s.Profiles.Profiles, kSound.Profiles.Profiles);
     },
     "line 5 does not decode"},
    {"LineCutShort",
     [](std::vector<std::string> lines) {
       lines[3].pop_back();
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.OptionsText, "");
       EXPECT_EQ(s.PlayerName, kSound.PlayerName);
     },
     "line 4 does not decode"},
    {"ControlBytesInAName",
     [](std::vector<std::string> lines) {
       lines[27] = Encoded(TSettingsFile::PadText("\x01\x02\x1B\x7F name", 10));
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_EQ(s.Profiles.Profiles[0].Name, "");
       EXPECT_EQ(s.Profiles.Profiles[0].Score, kSound.Profiles.Profiles[0].Score);
     },
     "line 28 holds bytes that are no text"},
    {"OverlongFileIsReadOnlyAsFarAsTheCap",
     [](std::vector<std::string> lines) {
       lines.push_back(std::string(3 << 20, 'Q'));
       return JoinLines(lines);
     },
     [](const TGameSettings& s) { ExpectSameSettings(s, kSound); }, "only its start was read"},
    {"DamagedSwitchKeepsItsDefault",
     [](std::vector<std::string> lines) {
       lines[0] = "\xFF\xFE garbage";
       lines[1] = "";
       return JoinLines(lines);
     },
     [](const TGameSettings& s) {
       EXPECT_FALSE(s.FullScreen);
       EXPECT_TRUE(s.MusicOn);
       EXPECT_FALSE(s.SoundOn);
     },
     "line 1 does not decode; line 2 does not decode"},
};

class DamagedConfig : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedConfig, KeepsWhatWasReadAndWarns) {
  const DamageCase& c = GetParam();
  const std::string path = FreshDir() + "/Config.cfg";
  WriteBytes(path, c.Damage(SplitLines(SavedBytes(path, kSound))));
  TGameSettings read;
  const std::string warning = ReadBack(path, read);
  c.Check(read);
  EXPECT_NE(warning.find(c.WarningPart), std::string::npos) << warning;
  EXPECT_NE(warning.find(path), std::string::npos) << warning;
  // What was read is written again whole and then reads back without a warning.
  SavedBytes(path, read);
  TGameSettings again;
  EXPECT_EQ(ReadBack(path, again), "");
  ExpectSameSettings(again, read);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedConfig, ::testing::ValuesIn(kDamageCases),
                         [](const auto& test) { return std::string(test.param.Name); });

// Best times of every slot with distinct values; slots without a time hold 1000 minutes.
TBestTimes SampleTimes() {
  TBestTimes times{};
  for (int32_t slot = 0; slot < game::TrackCount; ++slot) {
    times[slot] = {game::NoBestTimeMinutes, 0, 0};
  }
  times[0] = {1, 2, 3};
  times[5] = {12, 59, 99};
  times[11] = {0, 0, 1};
  return times;
}

TEST(BestTimesFile, HoldsHundredthsSecondsAndMinutesOfEverySlot) {
  const std::string path = FreshDir() + "/Configdat.cfg";
  std::string error;
  ASSERT_TRUE(TSettingsFile::SaveBestTimes(path, SampleTimes(), error)) << error;
  const auto lines = SplitLines(ReadBytes(path));
  ASSERT_EQ(lines.size(), 75u);
  EXPECT_EQ(ReadBytes(path).substr(0, 3 * 10),
            JoinLines({Encoded("3%%%%"), Encoded("2%%%%"), Encoded("1%%%%")}));
  EXPECT_EQ(lines[3 * 5], Encoded("99%%%"));
  EXPECT_EQ(lines[3 * 1 + 2], Encoded("1000%"));
  EXPECT_EQ(lines[3 * 24 + 2], Encoded("0%%%%"));

  TBestTimes read{};
  std::string warning;
  ASSERT_TRUE(TSettingsFile::ReadBestTimes(path, read, warning));
  EXPECT_EQ(warning, "");
  EXPECT_EQ(read, SampleTimes());
}

TEST(BestTimesFile, AMissingFileKeepsTheTimes) {
  TBestTimes times = SampleTimes();
  std::string warning;
  EXPECT_FALSE(TSettingsFile::ReadBestTimes(FreshDir() + "/Configdat.cfg", times, warning));
  EXPECT_EQ(warning, "");
  EXPECT_EQ(times, SampleTimes());
}

struct BestTimeDamage {
  const char* Name;
  std::function<std::string(std::vector<std::string>)> Damage;
  std::vector<int32_t> SlotsKeptAtDefault;
  const char* WarningPart;
};

// Names the case in test output.
void PrintTo(const BestTimeDamage& c, std::ostream* out) {
  *out << c.Name;
}

const BestTimeDamage kBestTimeDamage[] = {
    {"SecondsOutOfRange",
     [](std::vector<std::string> lines) {
       lines[3 * 5 + 1] = Encoded("75%%%");
       return JoinLines(lines);
     },
     {5},
     "track slot 6 holds no valid time"},
    {"NegativeMinutes",
     [](std::vector<std::string> lines) {
       lines[2] = Encoded("-1%%%");
       return JoinLines(lines);
     },
     {0},
     "track slot 1 holds no valid time"},
    {"HundredthsThatAreNoNumber",
     [](std::vector<std::string> lines) {
       lines[3 * 11] = Encoded("a1%%%");
       return JoinLines(lines);
     },
     {11},
     "line 34 is not a number"},
    {"EndsInTheSixthSlot",
     [](std::vector<std::string> lines) {
       lines.resize(3 * 5 + 2);
       return JoinLines(lines);
     },
     {5, 11},
     "ends after line 17 of 75"},
    {"RandomBytes", [](auto) { return RandomBytes(3000); }, {0, 5, 11}, "does not decode"},
};

class DamagedBestTimes : public ::testing::TestWithParam<BestTimeDamage> {};

TEST_P(DamagedBestTimes, KeepTheGivenTimeOfEveryDamagedSlot) {
  const BestTimeDamage& c = GetParam();
  const std::string path = FreshDir() + "/Configdat.cfg";
  std::string error;
  ASSERT_TRUE(TSettingsFile::SaveBestTimes(path, SampleTimes(), error));
  WriteBytes(path, c.Damage(SplitLines(ReadBytes(path))));
  TBestTimes read{};
  for (auto& time : read) time = {game::NoBestTimeMinutes, 0, 0};
  std::string warning;
  ASSERT_TRUE(TSettingsFile::ReadBestTimes(path, read, warning));
  EXPECT_NE(warning.find(c.WarningPart), std::string::npos) << warning;
  for (int32_t slot = 0; slot < game::TrackCount; ++slot) {
    const bool kept = std::find(c.SlotsKeptAtDefault.begin(), c.SlotsKeptAtDefault.end(), slot) !=
                      c.SlotsKeptAtDefault.end();
    const game::TRaceTime expected =
        kept ? game::TRaceTime{game::NoBestTimeMinutes, 0, 0} : SampleTimes()[slot];
    EXPECT_EQ(read[slot], expected) << "slot " << slot;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedBestTimes, ::testing::ValuesIn(kBestTimeDamage),
                         [](const auto& test) { return std::string(test.param.Name); });

}  // namespace
