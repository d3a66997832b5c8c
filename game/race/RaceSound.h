#pragma once
// The sound of a race: engines, tyres, bumps and lap chimes.

#include <array>
#include <cstdint>

#include "RaceWorld.h"
#include "game/QuadCollision.h"

namespace vexel {
class TSoundListItem;
class TVexelSound3D;
}  // namespace vexel

namespace game {

/// An opponent as the race sound hears it: where it is and how fast it goes.
struct TRaceSoundCar {
  TPoint2 At;
  double Speed = 0;
  double MaxSpeed = 1;
};

/// What the race sound hears of one frame of the race.
struct TRaceSoundState {
  /// The player's speed (pixels a frame, negative in reverse) and top speed.
  double Speed = 0;
  double MaxSpeed = 1;
  /// Whether the player holds the throttle.
  bool Throttle = false;
  /// Whether the player's car slides (sideways at speed, or on the handbrake).
  bool Sliding = false;
  /// The player's lap counter and the laps of the race.
  int32_t Lap = 0;
  int32_t RaceLaps = 0;
  /// The centre of the player's car: where the race is heard from.
  TPoint2 Listener;
  std::array<TRaceSoundCar, MaxOpponents> Opponents{};
  int32_t OpponentCount = 0;
  /// The hardest bump that began this frame (speed 0: none).
  TRaceImpact Impact;
};

/// Plays the sound of a race from what each frame shows of it: the player's engine as a loop
/// whose pitch and level follow the speed and the throttle, the engines of the nearest
/// opponents on a few 3D paths (quieter with distance), a squeal while the car slides, a crash
/// for each bump (louder for a harder one, quieter farther away) and a chime for each new lap
/// and another for the last. It only listens: the race runs the same with or without it.
class TRaceSound {
 public:
  /// Engines heard at once besides the player's: the nearest opponents get them.
  static constexpr int32_t kRivalVoices = 3;
  /// Angle in degrees between heading and travel above which a moving car slides.
  static constexpr double kSlideAngle = 18;
  /// Speed in pixels a frame below which a car does not slide audibly.
  static constexpr double kSlideSpeed = 1.5;

  /// The race sound of the game's sound component (set up by SetUpGameAudio).
  explicit TRaceSound(vexel::TVexelSound3D& sound3D);
  /// Leaves the sound component alone (it may be gone already at shutdown): Silence first.
  ~TRaceSound() = default;
  TRaceSound(const TRaceSound&) = delete;
  TRaceSound& operator=(const TRaceSound&) = delete;

  /// What the race sound hears of the world this frame; takes the world's impact record.
  static TRaceSoundState Observe(TRaceWorld& world);
  /// One frame: starts the loops when they are not running, sets their pitch and level, and
  /// plays the crash and the lap chimes that are due.
  void Update(const TRaceSoundState& state);
  /// Stops the loops and the race's one-shot sounds; the next Update starts the loops again.
  void Silence();

  /// The playback frequency of the player's engine last set, in Hz.
  int32_t EngineFrequency() const { return EngineFrequency_; }

 private:
  void UpdateEngine(const TRaceSoundState& state);
  void UpdateSkid(const TRaceSoundState& state);
  void UpdateRivals(const TRaceSoundState& state);
  void AssignRivals(const TRaceSoundState& state);
  void UpdateImpact(const TRaceImpact& impact);
  void UpdateLap(const TRaceSoundState& state);
  void StartLoops();
  vexel::TSoundListItem* Sound(const char* name) const;

  vexel::TVexelSound3D& Sound3D_;
  bool LoopsRunning_ = false;
  double Revs_ = 0;
  double SkidLevel_ = 0;
  int32_t EngineFrequency_ = 0;
  /// The opponent each rival engine follows (-1: none).
  std::array<int32_t, kRivalVoices> Rivals_{-1, -1, -1};
  int32_t ImpactHold_ = 0;
  double LastImpactSpeed_ = 0;
  /// The lap counter of the last frame (-1 before the first).
  int32_t Lap_ = -1;
};

}  // namespace game
