#include "RaceSimulator.h"

#include <algorithm>
#include <utility>

#include "engine/VexelImageListItem.h"
#include "engine/VexelScreen.h"
#include "game/RaceSetup.h"
#include "game/race/BegArrows.h"
#include "game/race/EnemyCar.h"
#include "game/race/Player.h"

namespace racesim {
namespace {

constexpr int32_t kArrowsGone = 300;
constexpr int32_t kFinishDelay = 150;
constexpr int32_t kTicksPerFrameNinths = 10;
constexpr int32_t kNinthsPerTick = 9;
/// Progress that counts as getting somewhere: 10 path units (100 pixels).
constexpr double kProgressStep = 10;

long Hundredths(const game::TRaceTime& time) {
  return (static_cast<long>(time.Minutes) * 60 + time.Seconds) * 100 + time.Hundredths;
}

game::TRaceTime TimeOf(long hundredths) {
  return {static_cast<int32_t>(hundredths / 6000), static_cast<int32_t>(hundredths / 100 % 60),
          static_cast<int32_t>(hundredths % 100)};
}

}  // namespace

TRaceSimulator::TRaceSimulator(const TSimOptions& options, vexel::TVexelImageList& images,
                               const std::string& dataDir)
    : Images_(images), Random_(options.Seed) {
  if (!options.InputFile.empty()) {
    std::string error;
    if (!Script_.Load(options.InputFile, error)) throw TUsageError(error);
  }
  Catalogue_.TracksAvailable = game::TrackCount;
  Catalogue_.CarsAvailable = game::CarCount;
  Catalogue_.ApplyAvailability();
  Catalogue_.SelectedTrack = options.TrackSlot;
  Catalogue_.SelectedCar = options.Car;
  World_ = std::make_unique<game::TRaceWorld>(Engine_, Images_, Catalogue_, Random_, KeyDown_,
                                              KeyReleased_, dataDir);
  World_->OpponentCarTypes = options.OpponentCars;
  World_->TimeTrial = options.TimeTrial;
  RecordingOn_ = options.RecordReplay;
  CameraMode_ = options.Camera;
  SetUp(nullptr);
  if (options.Autopilot) Autopilot_ = std::make_unique<game::TAutopilot>(*World_);
}

TRaceSimulator::TRaceSimulator(const game::TRaceReplay& replay, vexel::TVexelImageList& images,
                               const std::string& dataDir)
    : Images_(images), Replay_(std::make_unique<game::TRaceReplay>(replay)) {
  World_ = std::make_unique<game::TRaceWorld>(Engine_, Images_, Catalogue_, Random_, KeyDown_,
                                              KeyReleased_, dataDir);
  SetUp(Replay_.get());
  ReplayPlayer_ = std::make_unique<game::TReplayPlayer>(*Replay_);
}

void TRaceSimulator::SetUp(const game::TRaceReplay* replay) {
  if (replay) replay->PrepareRace(*World_, Random_);
  if (RecordingOn_) Recording_.BeginRecording(*World_, Random_);
  game::SetupRace(*World_);
  World_->Camera.SetMode(CameraMode_);
  if (replay) replay->CheckOpponents(*World_);
  if (RecordingOn_) Recording_.RecordOpponents(*World_);
  if (World_->TimeTrial) Trial_ = std::make_unique<game::TTimeTrialRun>(*World_);
  StartArrows_ =
      Engine_.Create<game::TBegArrows>(*World_, game::PlayerScreenX, game::PlayerScreenY);
  Watches_.resize(static_cast<size_t>(World_->EnemyCount) + 1);
}

TRaceSimulator::~TRaceSimulator() = default;

void TRaceSimulator::SetGhost(game::TGhostRun record) {
  if (Trial_) Trial_->SetGhost(std::move(record));
}

long TRaceSimulator::DefaultFrameLimit() const {
  return game::GreenLightTick + kArrowsGone +
         static_cast<long>(World_->RaceLaps + 1) * 60 * FramesPerSecond;
}

void TRaceSimulator::Step(vexel::TVexelScreen* screen) {
  ApplyInput();
  Engine_.ClearDead();
  if (screen) {
    screen->Clear(0, 0, 0, 0);
    screen->BeginScene();
    Images_.BeginBatch();
    Engine_.Draw();
  }
  Engine_.Move(0);
  if (screen) {
    DrawStartLights();
    Images_.EndBatch();
    screen->EndScene();
  }
  StartLights();
  if (Trial_) Trial_->Observe();
  game::TrackPathPoints(*World_);
  if (World_->PlayerFinished) {
    if (PlayerFinishFrame_ < 0) PlayerFinishFrame_ = Frame_;
    if (World_->WaitTicks != kFinishDelay) ++World_->WaitTicks;
  }
  if (World_->AllFinished()) ClockRunning_ = false;
  WatchCars();
  AdvanceClock();
  ++Frame_;
}

void TRaceSimulator::ApplyInput() {
  if (ReplayPlayer_) {
    game::TRaceReplay::ApplyFlags(ReplayPlayer_->NextFlags(), KeyDown_, KeyReleased_);
    return;
  }
  ReadControls();
  if (RecordingOn_) Recording_.RecordFrame(game::TRaceReplay::CaptureFlags(KeyDown_, KeyReleased_));
}

void TRaceSimulator::ReadControls() {
  if (Autopilot_) {
    Autopilot_->Drive();
    return;
  }
  for (const platform::TPlatformEvent& event : Script_.EventsAt(Frame_)) {
    if (event.Key < 0 || event.Key > 255) continue;
    const auto key = static_cast<size_t>(event.Key);
    if (event.Type == platform::TPlatformEvent::TType::KeyDown) {
      KeyDown_[key] = true;
    } else if (event.Type == platform::TPlatformEvent::TType::KeyUp) {
      KeyReleased_[key] = true;
      KeyDown_[key] = false;
    }
  }
}

void TRaceSimulator::StartLights() {
  const int32_t t = ScreenTick_;
  if (t >= game::GreenLightTick && t < kArrowsGone && StartArrows_) {
    StartArrows_->SetAlpha(StartArrows_->Alpha() - 5);
  }
  if (t < game::GreenLightTick) World_->HoldOpponents();
  if (t == game::GreenLightTick) {
    World_->ReleaseStart();
    ClockRunning_ = true;
    for (TWatch& watch : Watches_) watch.MarkFrame = Frame_;
  }
  if (t == kArrowsGone) {
    StartArrows_->Kill();
    StartArrows_ = nullptr;
    Engine_.ClearDead();
  }
  if (t >= 0 && t <= kArrowsGone) ++ScreenTick_;
}

void TRaceSimulator::DrawStartLights() {
  const int32_t t = ScreenTick_;
  const auto light = [this](const char* key, int32_t x, int32_t y, int32_t alpha) {
    if (vexel::TImageListItem* item = World_->Image(key)) {
      item->DrawAlpha(x, y, 0, 0, 0, 1, 1, false, 255, 255, 255, alpha, 1, 0);
    }
  };
  if (t > 0 && t < game::GreenLightTick) light("svetophor", 300, 50, 255);
  if (t > 50 && t < game::GreenLightTick) light("redlight", 280, 28, 255);
  if (t > 150 && t < game::GreenLightTick) light("yellowlight", 345, 28, 255);
  if (t >= game::GreenLightTick && t < kArrowsGone) {
    const int32_t alpha = 1505 - 5 * t;
    light("svetophor", 300, 50, alpha);
    light("redlight", 280, 28, alpha);
    light("yellowlight", 345, 28, alpha);
    light("greenlight", 410, 28, alpha);
  }
}

void TRaceSimulator::AdvanceClock() {
  if (!ClockRunning_) return;
  ClockNinths_ += kTicksPerFrameNinths;
  while (ClockNinths_ >= kNinthsPerTick) {
    ClockNinths_ -= kNinthsPerTick;
    World_->RaceClockStep();
  }
}

game::TCar& TRaceSimulator::Car(size_t index) const {
  if (index == 0) return *World_->Player;
  return World_->Enemy(static_cast<int32_t>(index - 1));
}

bool TRaceSimulator::Finished(size_t index) const {
  if (index == 0) return World_->PlayerFinished;
  return Car(index).Lap > World_->RaceLaps;
}

void TRaceSimulator::WatchCars() {
  if (!ClockRunning_ && !World_->AllFinished()) return;
  for (size_t i = 0; i < Watches_.size(); ++i) WatchCar(Car(i), Finished(i), Watches_[i]);
}

void TRaceSimulator::WatchCar(const game::TCar& car, bool finished, TWatch& watch) {
  if (watch.StuckAt >= 0 || watch.Done) return;
  if (car.Lap > watch.LastLap || finished) {
    const long now = Hundredths(car.RaceTime);
    if (watch.LastLap >= 1) {
      const game::TRaceTime lap = TimeOf(now - watch.LapStart);
      if (!game::BestTimeStands(lap, watch.BestLap)) watch.BestLap = lap;
    }
    watch.LapStart = now;
    watch.LastLap = car.Lap;
    watch.Done = finished;
    if (finished) return;
  }
  const double lapLength = World_->LapLength();
  double delta = car.PathProgress - watch.LastPathProgress;
  if (delta < -lapLength / 2) delta += lapLength;
  if (delta > lapLength / 2) delta -= lapLength;
  watch.LastPathProgress = car.PathProgress;
  watch.Travelled += delta;
  if (watch.Travelled > watch.TravelledMark + kProgressStep) {
    watch.TravelledMark = watch.Travelled;
    watch.MarkFrame = Frame_;
  } else if (Frame_ - watch.MarkFrame > StuckFrames) {
    watch.StuckAt = Frame_;
  }
}

bool TRaceSimulator::AnyStuck() const {
  return std::any_of(Watches_.begin(), Watches_.end(),
                     [](const TWatch& watch) { return watch.StuckAt >= 0; });
}

TRaceOutcome TRaceSimulator::Run(long frameLimit) {
  while (Frame_ < frameLimit && !World_->AllFinished() && !AnyStuck()) Step(nullptr);
  return Outcome();
}

TRaceOutcome TRaceSimulator::Outcome() const {
  TRaceOutcome outcome;
  outcome.Frames = Frame_;
  outcome.PlayerFinishFrame = PlayerFinishFrame_;
  outcome.AllFinished = World_->AllFinished();
  for (size_t i = 0; i < Watches_.size(); ++i) {
    const game::TCar& car = Car(i);
    TCarResult result;
    const int32_t who = i == 0 ? game::PlayerWho : static_cast<int32_t>(i - 1);
    result.Name = i == 0 ? "player" : "enemy " + std::to_string(i - 1);
    result.CarType = car.CarType;
    result.Time = car.RaceTime;
    for (int32_t place = 1; place < World_->FinishCount && place <= game::MaxPlaces; ++place) {
      const game::TRaceResult& entry = World_->RaceResults[static_cast<size_t>(place)];
      if (entry.Who == who) {
        result.Place = place;
        result.Time = entry.Time;
      }
    }
    result.Laps = result.Place > 0 ? World_->RaceLaps : std::max(car.Lap - 1, 0);
    result.BestLap = i == 0 ? World_->Player->BestLap : Watches_[i].BestLap;
    result.StuckAt = Watches_[i].StuckAt;
    outcome.Cars.push_back(result);
  }
  return outcome;
}

}  // namespace racesim
