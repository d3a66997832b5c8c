#include "RaceScript.h"

#include <gtest/gtest.h>

#include "game/SettingsFile.h"

namespace testgame {

std::string At(long frame, const std::string& event) {
  return std::to_string(frame) + " " + event + "\n";
}

void WriteProfile(const TGameRun& run, int32_t score) {
  game::TGameSettings settings;
  settings.Profiles.ProfileCount = 1;
  settings.Profiles.Profiles[0] = {"Ann", 2, 3, score, 300, 0};
  settings.PlayerName = "Ann";
  std::string error;
  ASSERT_TRUE(game::TSettingsFile::SaveConfig(run.ConfigDir() + "/Config.cfg", settings, error))
      << error;
}

std::string IntoTheRace() {
  return At(MenuFrame, "click 697 219") + At(MenuFrame + 40, "key enter") +
         At(MenuFrame + 80, "key enter");
}

std::string ThroughTheResults(long from, long to, const char* answer) {
  std::string script;
  for (long f = from; f < to; f += 40) {
    script += At(f, "click 370 395") + At(f + 20, answer);
  }
  return script;
}

}  // namespace testgame
