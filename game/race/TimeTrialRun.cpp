#include "TimeTrialRun.h"

#include <cstdlib>

#include "GhostCar.h"
#include "Player.h"
#include "RaceWorld.h"

namespace game {
namespace {

/// The code page's en dash, which the race fonts draw as a minus sign.
constexpr const char* kMinus = "\x96";

}  // namespace

void TTimeTrialRun::SetGhost(TGhostRun record) {
  if (record.Frames.empty()) return;
  Record_ = std::move(record);
  Ghost_ = World_.Engine.Create<TGhostCar>(World_, Record_->Car);
  PlaceGhost();
}

void TTimeTrialRun::Observe() {
  if (Finished_ || !World_.Player) return;
  if (!Started_) {
    if (World_.Player->ControlsEnabled) Start();
    PlaceGhost();
    return;
  }
  ++RunFrames_;
  // A record holds at most TGhostRun::kMaxFrames frames; a longer run can be no record.
  if (RunFrames_ < TGhostRun::kMaxFrames) Frames_.push_back(PlayerFrame(World_));
  const TPlayer& player = *World_.Player;
  if (World_.PlayerFinished) {
    Finish();
  } else if (player.Lap != LastLap_) {
    if (LastLap_ >= 1) CloseLap();
    LapStart_ = RunFrames_;
    LastLap_ = player.Lap;
  }
  PlaceGhost();
}

void TTimeTrialRun::Start() {
  Started_ = true;
  Frames_.push_back(PlayerFrame(World_));
  LastLap_ = World_.Player->Lap;
}

void TTimeTrialRun::CloseLap() {
  const int32_t lap = RunFrames_ - LapStart_;
  if (BestLapFrames_ == 0 || lap < BestLapFrames_) BestLapFrames_ = lap;
}

void TTimeTrialRun::Finish() {
  Finished_ = true;
  CloseLap();
  TPlayer& player = *World_.Player;
  // The frame counts are the trial's times; the race clock's readings of them could be a
  // hundredth off where a lap does not start on a whole hundredth.
  player.RaceTime = TimeOfFrames(RunFrames_);
  player.BestLap = TimeOfFrames(BestLapFrames_);
  const int32_t place = player.FinishPosition;
  if (place >= 1 && place <= MaxPlaces) {
    World_.RaceResults[static_cast<size_t>(place)].Time = player.RaceTime;
  }
}

void TTimeTrialRun::PlaceGhost() {
  if (!Ghost_ || !Record_) return;
  const size_t last = Record_->Frames.size() - 1;
  const size_t frame = std::min(static_cast<size_t>(RunFrames_), last);
  Ghost_->Place(Record_->Frames[frame]);
}

bool TTimeTrialRun::BeatsRecord() const {
  if (!Finished_ || RunFrames_ >= TGhostRun::kMaxFrames) return false;
  return !Record_ || RunFrames_ < Record_->TimeFrames;
}

TGhostRun TTimeTrialRun::AsRecord(const std::string& trackFile, uint64_t trackHash,
                                  std::time_t date) const {
  TGhostRun record;
  record.TrackSlot = World_.Catalogue.SelectedTrack;
  record.TrackFile = trackFile;
  record.TrackHash = trackHash;
  record.Car = World_.Catalogue.SelectedCar;
  record.TimeFrames = RunFrames_;
  record.BestLapFrames = BestLapFrames_;
  record.Date = date;
  record.Frames = Frames_;
  return record;
}

TGhostFrame TTimeTrialRun::PlayerFrame(const TRaceWorld& world) {
  const TPoint2 centre = world.Player->Centre();
  const TPoint2 origin = world.TrackOrigin();
  return {static_cast<float>(centre.X - origin.X), static_cast<float>(centre.Y - origin.Y),
          world.Player->Rotation};
}

TRaceTime TTimeTrialRun::TimeOfFrames(int32_t frames) {
  const int32_t hundredths = TGhostRun::Hundredths(frames);
  return {hundredths / 6000, hundredths / 100 % 60, hundredths % 100};
}

std::string TTimeTrialRun::DifferenceText(int32_t runFrames, int32_t recordFrames) {
  const int32_t difference = TGhostRun::Hundredths(runFrames) - TGhostRun::Hundredths(recordFrames);
  const int32_t size = std::abs(difference);
  const TRaceTime time{size / 6000, size / 100 % 60, size % 100};
  // Appended in two steps: GCC 12 warns about the concatenation of a literal and a temporary.
  std::string text = difference < 0 ? kMinus : "+";
  text += time.Text();
  return text;
}

}  // namespace game
