// The game itself through menus and a race on autopilot, headless, with its audio written by
// SDL's disk driver: how loud the whole session gets, and whether the race is heard.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AudioMeasure.h"
#include "CaseName.h"
#include "DiskAudio.h"
#include "game/SettingsFile.h"
#include "platform/AudioMixer.h"

namespace {

using audio_test::MeasureLevels;
using audio_test::ToDecibels;

constexpr int kRate = 44100;
/// The main menu takes clicks from this frame on, after the logo.
constexpr long kMenu = 514;
/// The race has begun by this frame when the script below goes straight into it.
constexpr long kRace = kMenu + 200;

/// The settings folder of a run in `dir`: one profile, and the two sound switches.
void WriteSettings(const std::string& dir, bool music, bool effects) {
  game::TGameSettings settings;
  settings.MusicOn = music;
  settings.SoundOn = effects;
  settings.Profiles.ProfileCount = 1;
  settings.Profiles.Profiles[0] = {"Ann", 2, 3, 0, 300, 0};
  settings.PlayerName = "Ann";
  std::filesystem::create_directories(dir + "/config");
  std::string error;
  ASSERT_TRUE(game::TSettingsFile::SaveConfig(dir + "/config/Config.cfg", settings, error))
      << error;
}

/// Into a race of the first track and car: start on the main menu, enter on track and car.
std::string IntoTheRace() {
  return std::to_string(kMenu) + " click 697 219\n" + std::to_string(kMenu + 40) + " key enter\n" +
         std::to_string(kMenu + 80) + " key enter\n";
}

/// Runs the game on autopilot for `frames` frames with the script and the options given; its
/// audio goes to `dir`/output.raw at the pace of a real device. Returns the screen states it
/// passed, in order.
std::vector<int> RunGame(const std::string& dir, const std::string& script, long frames,
                         const std::string& options) {
  std::ofstream(dir + "/input.txt") << script;
  const std::string command =
      "env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + dir +
      "/output.raw' '" + CLD_GAME_EXECUTABLE + "' --null-display --autopilot --seed 7 " + options +
      " --frames " + std::to_string(frames) + " --config-dir '" + dir + "/config' --input '" + dir +
      "/input.txt' --trace '" + dir + "/trace.txt' 2>'" + dir + "/stderr.txt'";
  EXPECT_EQ(std::system(command.c_str()), 0);
  std::ifstream errors(dir + "/stderr.txt");
  std::ostringstream text;
  text << errors.rdbuf();
  EXPECT_EQ(text.str().find("Error"), std::string::npos) << text.str();
  std::vector<int> states;
  std::ifstream trace(dir + "/trace.txt");
  long frame = 0;
  int state = 0;
  while (trace >> frame >> state) states.push_back(state);
  return states;
}

TEST(RaceSessionAudio, AWholeRaceWithMusicAndEffectsNeverGoesPastMinusOneDecibel) {
  const std::string dir = audio_test::FreshTestDir();
  WriteSettings(dir, true, true);
  // Menus with their clicks, a whole race (start lights, engines, bumps, lap chimes, the
  // finish), the results and back to the track choice. Unpaced, the race is over in seconds
  // while the output keeps real time, so its sounds crowd together: a hard case for the mix.
  const long end = kMenu + 9000;
  std::string script = IntoTheRace();
  for (long f = kMenu + 3000; f < end; f += 40) {
    script += std::to_string(f) + " click 370 395\n" + std::to_string(f + 20) + " click 455 365\n";
  }
  const std::vector<int> states = RunGame(dir, script, end + 20, "--unpaced");
  ASSERT_EQ(states, (std::vector<int>{3, 4, 14, 15, 12, 16, 14}));
  const std::vector<float> stereo = audio_test::ReadDiskAudio(dir);
  audio_test::WriteWav(dir + "/session.wav", stereo, kRate);
  // Unpaced, the run's length (and so the audio's) follows the machine's speed: a quick machine
  // writes under two seconds.
  ASSERT_GT(stereo.size(), 2u * kRate / 2) << "less than half a second was written";
  const double peak = MeasureLevels(stereo).Peak;
  std::printf("session: %.1f s, peak %.2f dBFS, rms %.1f dBFS\n",
              static_cast<double>(stereo.size()) / 2 / kRate, ToDecibels(peak),
              ToDecibels(MeasureLevels(stereo).Rms));
  EXPECT_LE(peak, platform::TAudioMixer::kCeiling);
  EXPECT_LE(ToDecibels(peak), -1.0 + 1e-4);
  EXPECT_GT(ToDecibels(MeasureLevels(stereo).Rms), -40.0) << "the session was heard";
}

// The sound switches of the options and what the race must sound like under them.
struct SwitchCase {
  const char* Name;
  bool Music;
  bool Effects;
  bool RaceHeard;
};

void PrintTo(const SwitchCase& c, std::ostream* out) {
  *out << c.Name;
}

class RaceUnderSwitches : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(RaceUnderSwitches, TheRaceIsHeardOnlyWithTheEffectsOn) {
  const std::string dir = audio_test::FreshTestDir();
  WriteSettings(dir, GetParam().Music, GetParam().Effects);
  // Paced: the last two seconds are the race driving on autopilot after the start lights.
  const long end = kRace + 250 + 200;
  const std::vector<int> states = RunGame(dir, IntoTheRace(), end, "");
  ASSERT_EQ(states, (std::vector<int>{3, 4, 14, 15, 12}));
  const std::vector<float> out = audio_test::Channel(audio_test::ReadDiskAudio(dir), 0);
  ASSERT_GT(out.size(), static_cast<std::size_t>(3 * kRate));
  const auto race = std::span(out).last(2 * kRate);
  const double level = ToDecibels(MeasureLevels(race).Rms);
  std::printf("%s: the race at %.1f dBFS rms\n", GetParam().Name, level);
  if (GetParam().RaceHeard) {
    EXPECT_GT(level, -35.0);
  } else {
    EXPECT_LT(MeasureLevels(race).Peak, 1e-4);
  }
}

INSTANTIATE_TEST_SUITE_P(Switches, RaceUnderSwitches,
                         ::testing::Values(SwitchCase{"EffectsOnMusicOff", false, true, true},
                                           SwitchCase{"EffectsOffMusicOff", false, false, false}),
                         audio_test::CaseName<SwitchCase>);

}  // namespace
