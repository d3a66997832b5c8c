#include "RunningString.h"

#include <algorithm>
#include <utility>

#include "game/AnglesAndRandom.h"
#include "game/GameConstants.h"

namespace game {
namespace {

constexpr size_t kLead = 100;
constexpr size_t kShownAfterCreate = 100;
constexpr size_t kShown = 110;

std::string Greeting(const std::string& name, int32_t score) {
  return std::string(kLead, ' ') + "Hello, " + name + "!         Your score is  " +
         std::to_string(score);
}

// The greeting, followed by the warning when the progress cannot be saved.
std::string Opening(const TTickerValues& values) {
  std::string text = Greeting(values.PlayerName, values.Score);
  if (!values.SaveProblem.empty()) {
    text += "           Progress cannot be saved: " + values.SaveProblem;
  }
  return text;
}

std::string Availability(int32_t cars, int32_t tracks) {
  return "           Cars available: " + std::to_string(cars) +
         "           Tracks available: " + std::to_string(tracks);
}

}  // namespace

TRunningString::TRunningString(vexel::TVexelSprite& engine, const TTickerValues& values,
                               TMeasure measure)
    : TSprite(engine), Measure_(std::move(measure)) {
  Text = Opening(values);
  if (values.UnlockStage > UnlockComplete - 1) {
    Text += "           Game COMPLETE!!!    " +
            Availability(values.CarsAvailable, values.TracksAvailable) + std::string(82, ' ');
  } else {
    Text += "           Target score is:  " + std::to_string(values.TargetScore) +
            Availability(values.CarsAvailable, values.TracksAvailable) + std::string(90, ' ');
  }
  ShownText = Text.substr(0, kShownAfterCreate);
  CharW = Measure_("W");
  LastCharW = Measure_(" ");
  Tick = 0;
}

void TRunningString::Rebuild(const TTickerValues& profile) {
  Text = Opening(profile) + "           Target score is:  " + std::to_string(profile.TargetScore) +
         Availability(profile.CarsAvailable, profile.TracksAvailable) + std::string(64, ' ');
  ShownText = Text.substr(0, kShown);
}

void TRunningString::DoMove(float delta) {
  TSprite::DoMove(delta);
  if (CharW != 0) {
    // A pace that rounds to 0 (a character with no width) advances every frame.
    const int64_t pace = std::max<int64_t>(1, NearestEven(12.0 * LastCharW / CharW));
    if (Tick % pace == 0) {
      std::rotate(Text.begin(), Text.begin() + 1, Text.end());
      ShownText = Text.substr(0, kShown);
      LastCharW = Measure_(Text.substr(Text.size() - 1));
      Tick = 0;
    }
  }
  ++Tick;
}

}  // namespace game
