#include "RaceReplayDriver.h"

#include "game/race/EnemyCar.h"
#include "game/race/Player.h"

namespace game {
namespace {

std::string TimeText(const TRaceTime& time) {
  return time.Minutes >= NoBestTimeMinutes ? "-" : time.Text();
}

std::string ResultLine(const std::string& car, const TRaceWorld& world, int32_t who,
                       const std::string& bestLap) {
  std::string place = "-";
  std::string time = "-";
  for (int32_t p = 1; p < world.FinishCount && p <= MaxPlaces; ++p) {
    const TRaceResult& entry = world.RaceResults[static_cast<size_t>(p)];
    if (entry.Who != who) continue;
    place = std::to_string(p);
    time = entry.Time.Text();
  }
  return car + " place " + place + " time " + time + " best-lap " + bestLap + "\n";
}

}  // namespace

void TRaceReplayDriver::BeforeSetup(TRaceWorld& world, std::mt19937& random) {
  if (Playback_) {
    Playback_->PrepareRace(world, random);
  } else {
    Recording_.BeginRecording(world, random);
  }
}

void TRaceReplayDriver::AfterSetup(const TRaceWorld& world) {
  if (Playback_) {
    Playback_->CheckOpponents(world);
    Player_ = std::make_unique<TReplayPlayer>(*Playback_);
  } else {
    Recording_.RecordOpponents(world);
  }
}

void TRaceReplayDriver::Frame(TKeyTable& keyDown, TKeyTable& keyReleased) {
  if (Player_) {
    TRaceReplay::ApplyFlags(Player_->NextFlags(), keyDown, keyReleased);
  } else {
    Recording_.RecordFrame(TRaceReplay::CaptureFlags(keyDown, keyReleased));
  }
}

std::string TRaceReplayDriver::ResultLines(const TRaceWorld& world) {
  std::string lines =
      ResultLine("player", world, PlayerWho, world.Player ? TimeText(world.Player->BestLap) : "-");
  for (int32_t i = 0; i < world.EnemyCount; ++i) {
    lines += ResultLine("opponent " + std::to_string(i + 1), world, i, "-");
  }
  return lines;
}

}  // namespace game
