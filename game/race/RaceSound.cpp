#include "RaceSound.h"

#include <algorithm>
#include <cmath>

#include "EnemyCar.h"
#include "Player.h"
#include "engine/VexelSound3D.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

constexpr std::array<const char*, TRaceSound::kRivalVoices> kRivalSounds = {"rival1", "rival2",
                                                                            "rival3"};
/// The rival engines are tuned a little apart so that they do not beat against each other.
constexpr std::array<double, TRaceSound::kRivalVoices> kRivalTuning = {0.97, 1.0, 1.04};

/// Playback rate of the engine loop over its own rate at standstill and at top speed.
constexpr double kIdlePitch = 0.7;
constexpr double kTopPitch = 2.1;
/// How much of the way to their target the revs go each frame.
constexpr double kRevFollow = 0.12;
/// Share of the revs the throttle alone gives (the rest follows the speed).
constexpr double kThrottleRevs = 0.15;
/// Engine volume (decibels + 100) at idle and at full revs.
constexpr double kEngineIdleVolume = 82;
constexpr double kEngineTopVolume = 92;
/// Opponent engine volume before the distance takes its share.
constexpr double kRivalIdleVolume = 84;
constexpr double kRivalTopVolume = 92;
/// Skid volume at the slide threshold speed and at top speed.
constexpr double kSkidLowVolume = 86;
constexpr double kSkidHighVolume = 96;
constexpr double kSkidAttack = 0.5;
constexpr double kSkidRelease = 0.2;
/// Relative speed (pixels a frame) of a crash at its top volume; softer ones lose 12 dB for each
/// tenth of it, down to kQuietestImpact of it. The top volume leaves the crash 4 dB of headroom
/// over the engines and the music.
constexpr double kLoudImpactSpeed = 8;
constexpr double kQuietestImpact = 0.06;
constexpr double kImpactDecibelsPerDecade = 12;
constexpr double kImpactTopVolume = 96;
/// Impacts slower than this are not heard.
constexpr double kSilentImpactSpeed = 0.2;
/// Frames after a crash in which only a much harder one plays again.
constexpr int32_t kImpactHoldFrames = 12;

/// A level in decibels + 100 as a volume 0..100 (90 is -10 dB).
int32_t VolumeOf(double decibelsPlus100) {
  return static_cast<int32_t>(std::lround(std::clamp(decibelsPlus100, 0.0, 100.0)));
}

/// The share 0..1 of the top speed that a speed is.
double SpeedShare(double speed, double maxSpeed) {
  return maxSpeed > 0 ? std::clamp(std::fabs(speed) / maxSpeed, 0.0, 1.0) : 0.0;
}

/// The playback frequency of a loop of `sound` at `pitch` times its own rate.
int32_t FrequencyOf(const vexel::TSoundListItem& sound, double pitch) {
  const int rate = sound.Clip() ? sound.Clip()->SourceRate() : 44100;
  return static_cast<int32_t>(std::lround(rate * pitch));
}

/// Sets the level and pitch of the path a sound last played on.
void Steer(vexel::TSoundListItem* sound, int32_t volume, double pitch) {
  if (!sound || !sound->LastPath()) return;
  sound->LastPath()->SetVolume(volume);
  sound->LastPath()->SetFrequency(FrequencyOf(*sound, pitch));
}

}  // namespace

TRaceSound::TRaceSound(vexel::TVexelSound3D& sound3D) : Sound3D_(sound3D) {}

TRaceSoundState TRaceSound::Observe(TRaceWorld& world) {
  TRaceSoundState state;
  const TPlayer& player = *world.Player;
  state.Speed = player.Speed;
  state.MaxSpeed = player.MaxSpeed;
  const bool driving = player.ControlsEnabled;
  state.Throttle = driving && world.KeyDown[platform::VK_UP];
  const bool handbrake =
      driving && (world.KeyDown[platform::VK_SPACE] || world.KeyDown[platform::VK_CONTROL]);
  const bool sideways = std::fabs(player.Heading - player.TravelDir) > kSlideAngle;
  state.Sliding = std::fabs(player.Speed) > kSlideSpeed && (sideways || handbrake);
  state.Lap = player.Lap;
  state.RaceLaps = world.RaceLaps;
  state.Listener = player.Centre();
  state.OpponentCount = std::min(world.EnemyCount, MaxOpponents);
  for (int32_t i = 0; i < state.OpponentCount; ++i) {
    const TEnemyCar& enemy = world.Enemy(i);
    state.Opponents[static_cast<size_t>(i)] = {enemy.Centre(), enemy.Speed, enemy.MaxSpeed};
  }
  state.Impact = world.Impact;
  world.Impact = {};
  return state;
}

vexel::TSoundListItem* TRaceSound::Sound(const char* name) const {
  return Sound3D_.SoundList.Find(name);
}

void TRaceSound::Update(const TRaceSoundState& state) {
  Sound3D_.SetListenerPositionX(static_cast<float>(state.Listener.X));
  Sound3D_.SetListenerPositionY(static_cast<float>(state.Listener.Y));
  if (!LoopsRunning_) StartLoops();
  UpdateEngine(state);
  UpdateSkid(state);
  UpdateRivals(state);
  UpdateImpact(state.Impact);
  UpdateLap(state);
}

void TRaceSound::StartLoops() {
  LoopsRunning_ = true;
  for (const char* name : {"engine", "skid", "rival1", "rival2", "rival3"}) {
    vexel::TSoundListItem* sound = Sound(name);
    if (!sound) continue;
    // Each loop starts silent; its level is set from the race right after.
    sound->Volume = 0;
    sound->SetLoop(true);
    sound->Play();
  }
}

void TRaceSound::UpdateEngine(const TRaceSoundState& state) {
  const double target = (1 - kThrottleRevs) * SpeedShare(state.Speed, state.MaxSpeed) +
                        (state.Throttle ? kThrottleRevs : 0.0);
  Revs_ += (target - Revs_) * kRevFollow;
  vexel::TSoundListItem* engine = Sound("engine");
  const double pitch = kIdlePitch + (kTopPitch - kIdlePitch) * Revs_;
  Steer(engine, VolumeOf(kEngineIdleVolume + (kEngineTopVolume - kEngineIdleVolume) * Revs_),
        pitch);
  if (engine) EngineFrequency_ = FrequencyOf(*engine, pitch);
}

void TRaceSound::UpdateSkid(const TRaceSoundState& state) {
  const double target = state.Sliding ? 1.0 : 0.0;
  SkidLevel_ += (target - SkidLevel_) * (state.Sliding ? kSkidAttack : kSkidRelease);
  const double share = SpeedShare(state.Speed, state.MaxSpeed);
  const double level = SkidLevel_ < 0.01
                           ? 0.0
                           : kSkidLowVolume + (kSkidHighVolume - kSkidLowVolume) * share +
                                 20 * std::log10(SkidLevel_);
  Steer(Sound("skid"), VolumeOf(level), 0.9 + 0.2 * share);
}

void TRaceSound::AssignRivals(const TRaceSoundState& state) {
  std::array<int32_t, MaxOpponents> order{};
  for (int32_t i = 0; i < state.OpponentCount; ++i) order[static_cast<size_t>(i)] = i;
  const auto distance = [&state](int32_t i) {
    return Distance(state.Opponents[static_cast<size_t>(i)].At, state.Listener);
  };
  const auto end = order.begin() + state.OpponentCount;
  std::stable_sort(order.begin(), end,
                   [&distance](int32_t a, int32_t b) { return distance(a) < distance(b); });
  const auto nearest = order.begin() + std::min(state.OpponentCount, kRivalVoices);
  // A voice keeps its opponent while that one stays among the nearest, so pitches do not jump.
  for (int32_t& rival : Rivals_) {
    if (std::find(order.begin(), nearest, rival) == nearest) rival = -1;
  }
  for (auto it = order.begin(); it != nearest; ++it) {
    if (std::find(Rivals_.begin(), Rivals_.end(), *it) != Rivals_.end()) continue;
    *std::find(Rivals_.begin(), Rivals_.end(), -1) = *it;
  }
}

void TRaceSound::UpdateRivals(const TRaceSoundState& state) {
  AssignRivals(state);
  for (size_t k = 0; k < Rivals_.size(); ++k) {
    vexel::TSoundListItem* sound = Sound(kRivalSounds[k]);
    if (!sound || !sound->LastPath()) continue;
    if (Rivals_[k] < 0) {
      Steer(sound, 0, 1.0);
      continue;
    }
    const TRaceSoundCar& car = state.Opponents[static_cast<size_t>(Rivals_[k])];
    sound->LastPath()->SetPosition(static_cast<float>(car.At.X), static_cast<float>(car.At.Y), 0);
    const double share = SpeedShare(car.Speed, car.MaxSpeed);
    Steer(sound, VolumeOf(kRivalIdleVolume + (kRivalTopVolume - kRivalIdleVolume) * share),
          (kIdlePitch + (kTopPitch - kIdlePitch) * share) * kRivalTuning[k]);
  }
}

void TRaceSound::UpdateImpact(const TRaceImpact& impact) {
  if (ImpactHold_ > 0) --ImpactHold_;
  if (impact.Speed < kSilentImpactSpeed) return;
  if (ImpactHold_ > 0 && impact.Speed < 2 * LastImpactSpeed_) return;
  vexel::TSoundListItem* crash = Sound("crash");
  if (!crash) return;
  const double share = std::clamp(impact.Speed / kLoudImpactSpeed, kQuietestImpact, 1.0);
  crash->Volume = VolumeOf(kImpactTopVolume + kImpactDecibelsPerDecade * std::log10(share));
  crash->SoundPositionX = static_cast<float>(impact.X);
  crash->SoundPositionY = static_cast<float>(impact.Y);
  crash->Play();
  ImpactHold_ = kImpactHoldFrames;
  LastImpactSpeed_ = impact.Speed;
}

void TRaceSound::UpdateLap(const TRaceSoundState& state) {
  // The first pass of the line starts lap 1 with the race: only later laps chime. The first
  // frame heard only learns the lap.
  if (Lap_ >= 0 && state.Lap > Lap_ && state.Lap >= 2) {
    if (vexel::TSoundListItem* chime = Sound(state.Lap == state.RaceLaps ? "lastlap" : "lap")) {
      chime->Play();
    }
  }
  Lap_ = state.Lap;
}

void TRaceSound::Silence() {
  for (const char* name :
       {"engine", "skid", "rival1", "rival2", "rival3", "crash", "lap", "lastlap"}) {
    if (vexel::TSoundListItem* sound = Sound(name)) sound->Stop();
  }
  LoopsRunning_ = false;
}

}  // namespace game
