#include "RaceWorld.h"

#include <filesystem>
#include <utility>

#include "EnemyCar.h"
#include "FinishLine.h"
#include "Player.h"
#include "engine/VexelImageList.h"
#include "platform/Shell.h"

namespace game {

TRaceWorld::TRaceWorld(vexel::TVexelSprite& engine, vexel::TVexelImageList& images,
                       TGameCatalogue& catalogue, std::mt19937& random, TKeyTable& keyDown,
                       TKeyTable& keyReleased, std::string dataDir)
    : Engine(engine),
      Images(images),
      Catalogue(catalogue),
      Random(random),
      KeyDown(keyDown),
      KeyReleased(keyReleased),
      DataDir(std::move(dataDir)) {}

vexel::TImageListItem* TRaceWorld::Image(const std::string& key) const {
  return Images.ImageList.Find(key);
}

std::string TRaceWorld::DataFile(const std::string& gamePath) const {
  return (std::filesystem::path(DataDir) / platform::NativePath(gamePath)).string();
}

void TRaceWorld::RaceClockStep() {
  if (Player) {
    if (Player->LapTiming) Player->LapClock.AddHundredth();
    Player->RaceTime.AddHundredth();
  }
  for (int32_t i = 0; i < EnemyCount; ++i) Enemy(i).RaceTime.AddHundredth();
}

void TRaceWorld::HoldOpponents() {
  for (int32_t i = 0; i < EnemyCount; ++i) Enemy(i).Speed = 0;
}

void TRaceWorld::ReleaseStart() {
  Player->ControlsEnabled = true;
  for (int32_t i = 0; i < EnemyCount; ++i) Enemy(i).Started = true;
}

int32_t TRaceWorld::TakeFinishPlace(int32_t who, const TRaceTime& time) {
  const int32_t place = FinishCount;
  if (place >= 1 && place <= MaxPlaces) RaceResults[static_cast<size_t>(place)] = {who, time};
  ++FinishCount;
  return place;
}

void TRaceWorld::ReportImpact(const TPoint2& at, double speed) {
  if (speed > Impact.Speed) Impact = {at.X, at.Y, speed};
}

TPoint2 TRaceWorld::ToScreen(const TPoint2& point) const {
  const TPoint2 offset = Camera.Offset();
  return {point.X - offset.X, point.Y - offset.Y};
}

TPoint2 TRaceWorld::PlayerOnScreen() const {
  return ToScreen(Player ? Player->Centre() : TPoint2{PlayerScreenX, PlayerScreenY});
}

TPoint2 TRaceWorld::TrackOrigin() const {
  if (!FinishLine) return {};
  return {FinishLine->X() - FinishLine->TrackPosition.X,
          FinishLine->Y() - FinishLine->TrackPosition.Y};
}

}  // namespace game
