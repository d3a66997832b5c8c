// The sound of a race: the game's sound component with its real effects, driven frame by frame
// by race states, played through SDL's disk driver and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "AudioMeasure.h"
#include "CaseName.h"
#include "DiskAudio.h"
#include "engine/VexelSound3D.h"
#include "game/GameAudio.h"
#include "game/race/RaceSound.h"

namespace {

using audio_test::MeasureLevels;
using audio_test::ToDecibels;
using namespace std::chrono_literals;

constexpr int kRate = 44100;
/// Output frames in one game frame at 90 frames a second.
constexpr std::uint64_t kFrameSamples = kRate / 90;
/// The player's car sits here; the race is heard from it.
constexpr game::TPoint2 kListener{396, 321};

/// A race state of the player's car at `speed` of a top speed of 10.
game::TRaceSoundState Driving(double speed, bool throttle = false) {
  game::TRaceSoundState state;
  state.Speed = speed;
  state.MaxSpeed = 10;
  state.Throttle = throttle;
  state.Lap = 1;
  state.RaceLaps = 5;
  state.Listener = kListener;
  return state;
}

/// A part of the recording: from one output frame count to another.
struct TSpan {
  std::uint64_t Begin = 0;
  std::uint64_t End = 0;
};

// The game's sound component writing to a file, with the race sound on it.
class RaceSound : public ::testing::Test {
 protected:
  RaceSound() : Dir(audio_test::FreshTestDir()), Paths(CLD_DATA_DIR, Dir + "/config") {
    audio_test::UseDiskAudio(Dir, false);
    Sound3D = std::make_unique<vexel::TVexelSound3D>();
    game::SetUpGameAudio(*Sound3D, Paths);
    Sound3D->OnMessage = [this](const std::string& text) { Messages.push_back(text); };
    Sound3D->CreateAudioPaths();
    Race = std::make_unique<game::TRaceSound>(*Sound3D);
  }

  std::uint64_t Now() const { return Sound3D->Mixer()->MixedFrames(); }

  // Plays `frames` race frames of `state`, each as long as a frame at 90 a second; returns
  // the part of the output they span.
  TSpan Play(const game::TRaceSoundState& state, int frames) {
    TSpan span{Now(), 0};
    for (int i = 0; i < frames; ++i) {
      Race->Update(state);
      const std::uint64_t target = span.Begin + static_cast<std::uint64_t>(i + 1) * kFrameSamples;
      for (int wait = 0; wait < 2000 && Now() < target; ++wait) std::this_thread::sleep_for(200us);
    }
    span.End = Now();
    return span;
  }

  // Plays one frame of `state` and then `frames` frames of `after`; returns the span from the
  // first frame on.
  TSpan PlayEvent(const game::TRaceSoundState& state, const game::TRaceSoundState& after,
                  int frames) {
    const TSpan first = Play(state, 1);
    return {first.Begin, Play(after, frames).End};
  }

  // Closes the output and keeps the left channel of everything it wrote.
  void Close() {
    Race.reset();
    Sound3D.reset();
    const std::vector<float> stereo = audio_test::ReadDiskAudio(Dir);
    audio_test::WriteWav(Dir + "/race.wav", stereo, kRate);
    Out = audio_test::Channel(stereo, 0);
  }

  // The recording of a span, leaving out its first `skip` seconds (the mixer works a block
  // ahead, so a change lands up to a block late).
  std::span<const float> Heard(const TSpan& span, double skip = 0.03) const {
    const auto begin =
        std::min<std::size_t>(span.Begin + static_cast<std::size_t>(skip * kRate), Out.size());
    const auto end = std::min<std::size_t>(span.End, Out.size());
    return std::span(Out).subspan(begin, end > begin ? end - begin : 0);
  }

  // RMS in dBFS of the recording of a span.
  double Loudness(const TSpan& span, double skip = 0.03) const {
    return ToDecibels(MeasureLevels(Heard(span, skip)).Rms);
  }

  // RMS in dBFS of the span's recording after a first difference, which keeps the treble
  // (chimes, squeal) and drops most of the low engine.
  double Treble(const TSpan& span, double skip = 0.03) const {
    const std::span<const float> heard = Heard(span, skip);
    std::vector<float> difference(heard.size() > 0 ? heard.size() - 1 : 0);
    for (std::size_t i = 0; i < difference.size(); ++i) difference[i] = heard[i + 1] - heard[i];
    return ToDecibels(MeasureLevels(difference).Rms);
  }

  std::string Dir;
  game::TGamePaths Paths;
  std::unique_ptr<vexel::TVexelSound3D> Sound3D;
  std::unique_ptr<game::TRaceSound> Race;
  std::vector<std::string> Messages;
  std::vector<float> Out;
};

TEST_F(RaceSound, TheEnginePitchRisesWithSpeedAndTheThrottle) {
  ASSERT_TRUE(Sound3D->Audible()) << Sound3D->OutputError();
  const TSpan idle = Play(Driving(0), 60);
  const int idleFrequency = Race->EngineFrequency();
  const TSpan fast = Play(Driving(10, true), 60);
  const int fastFrequency = Race->EngineFrequency();
  Close();
  EXPECT_TRUE(Messages.empty());
  // The revs take about a quarter of a second to follow: measure the last half second.
  const auto last = [](TSpan span) { return TSpan{span.End - kRate / 2, span.End}; };
  const double idleHz = audio_test::ZeroCrossingFrequency(Heard(last(idle), 0), kRate);
  const double fastHz = audio_test::ZeroCrossingFrequency(Heard(last(fast), 0), kRate);
  RecordProperty("idle_hz", std::to_string(idleHz));
  RecordProperty("fast_hz", std::to_string(fastHz));
  std::printf("engine: zero crossings %.1f Hz at idle, %.1f Hz at top speed; playback %d / %d Hz\n",
              idleHz, fastHz, idleFrequency, fastFrequency);
  EXPECT_GT(idleHz, 10.0) << "the idle engine is heard";
  EXPECT_GT(fastHz, 2.5 * idleHz);
  EXPECT_GT(fastFrequency, 2.5 * idleFrequency);
  EXPECT_GT(Loudness(last(fast), 0), Loudness(last(idle), 0) + 5) << "louder at speed";
}

// One bump as the race reports it, and how far it must lift the treble (where the crash is
// heard and the idle engine hardly is) over the idle engine, in dB.
struct ImpactCase {
  const char* Name;
  double Speed;
  double Distance;
  double MinRise;  // dB over the idle engine, at least
  double MaxRise;  // dB over the idle engine, at most
};

class RaceImpact : public RaceSound, public ::testing::WithParamInterface<ImpactCase> {};

TEST_P(RaceImpact, ACrashIsHeardAsLoudAsTheBumpIsHardAndNear) {
  const TSpan before = Play(Driving(0), 40);
  game::TRaceSoundState bump = Driving(0);
  bump.Impact = {kListener.X + GetParam().Distance, kListener.Y, GetParam().Speed};
  const TSpan after = PlayEvent(bump, Driving(0), 20);
  Close();
  // The crash is loudest in its first tenth of a second or so, a block after the frame.
  const double rise = Treble({after.Begin, after.Begin + 3 * kRate / 20}, 0) - Treble(before);
  std::printf("%s: treble %.1f dB over the idle engine\n", GetParam().Name, rise);
  EXPECT_GE(rise, GetParam().MinRise);
  EXPECT_LE(rise, GetParam().MaxRise);
}

INSTANTIATE_TEST_SUITE_P(Bumps, RaceImpact,
                         ::testing::Values(ImpactCase{"HardAndNear", 8, 0, 20, 40},
                                           // A tenth of the speed loses 12 dB.
                                           ImpactCase{"SoftAndNear", 0.8, 0, 10, 20},
                                           // Sixteen times the near distance loses 24 dB.
                                           ImpactCase{"HardAndFar", 8, 1920, 1, 10},
                                           // Too slow to be a bump at all.
                                           ImpactCase{"Graze", 0.1, 0, -1, 1}),
                         audio_test::CaseName<ImpactCase>);

TEST_F(RaceSound, BumpsOnConsecutiveFramesMakeOneCrash) {
  game::TRaceSoundState bump = Driving(0);
  bump.Impact = {kListener.X, kListener.Y, 8};
  Play(Driving(0), 20);
  Race->Update(bump);
  const vexel::TSoundListItem* crash = Sound3D->SoundList.Find("crash");
  ASSERT_NE(crash->LastPath(), nullptr);
  EXPECT_EQ(Sound3D->Mixer()->ActiveVoices(crash->LastPath()->MixerPath()), 1);
  Race->Update(bump);
  Race->Update(bump);
  EXPECT_EQ(Sound3D->Mixer()->ActiveVoices(crash->LastPath()->MixerPath()), 1)
      << "the same bump went on: no second crash";
  bump.Impact.Speed = 20;
  Race->Update(bump);
  EXPECT_EQ(Sound3D->Mixer()->ActiveVoices(crash->LastPath()->MixerPath()), 2)
      << "a much harder bump is heard at once";
}

// A change of the lap counter and the chime it must give (nullptr: none).
struct LapCase {
  const char* Name;
  int32_t From;
  int32_t To;
  const char* Chime;
};

class RaceLap : public RaceSound, public ::testing::WithParamInterface<LapCase> {};

TEST_P(RaceLap, ANewLapChimesAndTheLastLapHasItsOwnChime) {
  game::TRaceSoundState before = Driving(0);
  before.Lap = GetParam().From;
  game::TRaceSoundState after = before;
  after.Lap = GetParam().To;
  const TSpan quiet = Play(before, 30);
  const TSpan chime = Play(after, 40);
  for (const char* name : {"lap", "lastlap"}) {
    const vexel::TSoundListItem* sound = Sound3D->SoundList.Find(name);
    const bool due = GetParam().Chime && std::string(GetParam().Chime) == name;
    EXPECT_EQ(sound->Loaded() && Sound3D->Mixer()->IsPlaying(sound->Clip()), due) << name;
  }
  Close();
  const double rise = Treble({chime.Begin, chime.Begin + kRate / 2}) - Treble(quiet);
  std::printf("%s: treble %.1f dB over the engine\n", GetParam().Name, rise);
  if (GetParam().Chime) {
    EXPECT_GT(rise, 15);
  } else {
    EXPECT_LT(rise, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Laps, RaceLap,
    ::testing::Values(LapCase{"SecondLap", 1, 2, "lap"}, LapCase{"FourthOfFive", 3, 4, "lap"},
                      LapCase{"LastLap", 4, 5, "lastlap"},
                      // The first pass of the line starts the race's first lap: no chime.
                      LapCase{"StartOfTheRace", 0, 1, nullptr}, LapCase{"SameLap", 3, 3, nullptr}),
    audio_test::CaseName<LapCase>);

TEST_F(RaceSound, TheLastLapChimeIsLongerThanTheLapChime) {
  game::TRaceSoundState state = Driving(0);
  Play(state, 10);
  state.Lap = 2;
  const TSpan lap = Play(state, 150);
  state.Lap = 5;
  const TSpan last = Play(state, 150);
  Close();
  // How long the treble stays within 30 dB of its loudest tenth of a second after the chime.
  const auto ringing = [this](const TSpan& span) {
    const std::uint64_t step = kRate / 20;
    std::vector<double> levels;
    for (std::uint64_t at = span.Begin; at + step <= span.End; at += step) {
      levels.push_back(Treble({at, at + step}, 0));
    }
    const double loudest = *std::max_element(levels.begin(), levels.end());
    double seconds = 0;
    for (double level : levels) seconds += level > loudest - 30 ? 0.05 : 0.0;
    return seconds;
  };
  EXPECT_GT(ringing(last), ringing(lap) + 0.3);
}

TEST_F(RaceSound, TheTyresSquealWhileTheCarSlides) {
  const TSpan straight = Play(Driving(6, true), 40);
  game::TRaceSoundState slide = Driving(6, true);
  slide.Sliding = true;
  const TSpan sliding = Play(slide, 40);
  const TSpan after = Play(Driving(6, true), 60);
  Close();
  const auto last = [](const TSpan& span) { return TSpan{span.End - kRate / 4, span.End}; };
  const double squeal = Treble(last(sliding), 0) - Treble(last(straight), 0);
  std::printf("skid: treble %.1f dB over driving straight\n", squeal);
  EXPECT_GT(squeal, 10);
  EXPECT_NEAR(Treble(last(after), 0), Treble(last(straight), 0), 1.0)
      << "the squeal ends with the slide";
}

TEST_F(RaceSound, AnOpponentIsQuieterFartherAway) {
  std::vector<std::pair<double, TSpan>> heard;
  for (double distance : {0.0, 80.0, 320.0, 2000.0}) {
    game::TRaceSoundState state = Driving(0);
    if (distance > 0) {
      state.OpponentCount = 1;
      state.Opponents[0] = {{kListener.X, kListener.Y + distance}, 10, 10};
    }
    heard.emplace_back(distance, Play(state, 50));
  }
  Close();
  const auto level = [this](const TSpan& span) {
    return Loudness({span.End - kRate / 4, span.End}, 0);
  };
  const double alone = level(heard[0].second);
  const double near = level(heard[1].second);
  const double middle = level(heard[2].second);
  const double far = level(heard[3].second);
  std::printf("opponent: alone %.1f, at 80 px %.1f, at 320 px %.1f, at 2000 px %.1f dBFS\n", alone,
              near, middle, far);
  EXPECT_GT(near, alone + 6);
  EXPECT_LT(middle, near - 3);
  EXPECT_GT(middle, alone + 0.5);
  EXPECT_NEAR(far, alone, 1.0) << "out of hearing";
}

TEST_F(RaceSound, OnlyTheNearestOpponentsAreHeardOnTheFewRivalPaths) {
  game::TRaceSoundState state = Driving(0);
  state.OpponentCount = 6;
  for (int i = 0; i < 6; ++i) {
    state.Opponents[static_cast<size_t>(i)] = {{kListener.X + 100.0 * (6 - i), kListener.Y}, 5, 10};
  }
  Race->Update(state);
  // The three nearest are opponents 5, 4 and 3 at 100, 200 and 300 pixels.
  std::vector<float> heard;
  for (const char* name : {"rival1", "rival2", "rival3"}) {
    const vexel::TAudioPathListItem* path = Sound3D->SoundList.Find(name)->LastPath();
    ASSERT_NE(path, nullptr);
    heard.push_back(path->PositionX() - static_cast<float>(kListener.X));
  }
  std::sort(heard.begin(), heard.end());
  EXPECT_EQ(heard, (std::vector<float>{100, 200, 300}));
  // The nearest moves away behind the others: its voice goes to the next one in.
  state.Opponents[5].At.X = kListener.X + 1000;
  Race->Update(state);
  heard.clear();
  for (const char* name : {"rival1", "rival2", "rival3"}) {
    heard.push_back(Sound3D->SoundList.Find(name)->LastPath()->PositionX() -
                    static_cast<float>(kListener.X));
  }
  std::sort(heard.begin(), heard.end());
  EXPECT_EQ(heard, (std::vector<float>{200, 300, 400}));
}

TEST_F(RaceSound, SilenceStopsEveryRaceSoundAndTheNextFrameStartsTheLoopsAgain) {
  game::TRaceSoundState state = Driving(8, true);
  state.Sliding = true;
  state.Lap = 2;
  state.Impact = {kListener.X, kListener.Y, 8};
  state.OpponentCount = 1;
  state.Opponents[0] = {{kListener.X, kListener.Y + 50}, 8, 10};
  Race->Update(state);
  Race->Silence();
  for (int path = 0; path < Sound3D->AudioPathList.Count(); ++path) {
    EXPECT_EQ(Sound3D->Mixer()->ActiveVoices(Sound3D->AudioPathList.Items(path)->MixerPath()), 0)
        << Sound3D->AudioPathList.Items(path)->Name;
  }
  const TSpan paused = {Now(), Now()};
  std::this_thread::sleep_for(300ms);
  const TSpan silent = {paused.Begin + kRate / 20, Now()};
  Race->Update(Driving(0));
  EXPECT_TRUE(Sound3D->Mixer()->IsPlaying(Sound3D->SoundList.Find("engine")->Clip()));
  Close();
  EXPECT_LT(MeasureLevels(Heard(silent, 0)).Peak, 1e-6);
}

}  // namespace
