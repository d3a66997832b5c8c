// Sound effects played through the real output (SDL's disk driver) and read back.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AudioMeasure.h"
#include "CaseName.h"
#include "DiskAudio.h"
#include "engine/VexelSound3D.h"
#include "game/GameAudio.h"
#include "platform/AudioClip.h"

namespace {

using audio_test::MeasureLevels;
using namespace std::chrono_literals;

constexpr float kSilence = 1e-6f;

// The game's sound component with its path, effects and modules, writing to a file; the
// messages it shows are collected instead.
class SoundPlayback : public ::testing::Test {
 protected:
  void Open(bool unpaced, bool gameAudio = true) {
    Dir = audio_test::FreshTestDir();
    audio_test::UseDiskAudio(Dir, unpaced);
    Paths = std::make_unique<game::TGamePaths>(CLD_DATA_DIR, Dir + "/config");
    Sound3D = std::make_unique<vexel::TVexelSound3D>();
    ASSERT_TRUE(Sound3D->Audible()) << Sound3D->OutputError();
    if (gameAudio) game::SetUpGameAudio(*Sound3D, *Paths);
    Sound3D->OnMessage = [this](const std::string& text) { Messages.push_back(text); };
    Sound3D->CreateAudioPaths();
  }

  // Adds a path of `type` and makes it.
  vexel::TAudioPathListItem& AddPath(vexel::TAudioPathType type, bool pool) {
    vexel::TAudioPathListItem& path = Sound3D->AudioPathList.Add();
    path.AudioPathType = type;
    path.Pool = pool;
    path.CreatePath();
    return path;
  }

  // Waits until the output has played `seconds` since `from` (a frame count of the mixer);
  // on a paced output this is exact to the output's block.
  void WaitForOutput(std::uint64_t from, double seconds) {
    const auto target = from + static_cast<std::uint64_t>(seconds * 44100);
    for (int i = 0; i < 50000 && Sound3D->Mixer()->MixedFrames() < target; ++i) {
      std::this_thread::sleep_for(100us);
    }
  }

  // Waits until no effect sounds any more (or five seconds pass).
  void WaitForSilence() {
    for (int i = 0; i < 5000 && Sound3D->Mixer()->ActiveVoices(0) > 0; ++i) {
      std::this_thread::sleep_for(1ms);
    }
  }

  // Closes the output and returns the left channel of everything it wrote.
  std::vector<float> CloseAndRead() {
    Sound3D.reset();
    return audio_test::Channel(audio_test::ReadDiskAudio(Dir), 0);
  }

  // The left channel of an effect as the mixer holds it.
  std::vector<float> EffectSamples(const std::string& file) {
    std::string error;
    auto clip = platform::TAudioClip::LoadWav(Paths->DataFile(file), 44100, error);
    EXPECT_TRUE(clip) << error;
    return clip ? audio_test::Channel(clip->Samples(), 0) : std::vector<float>{};
  }

  vexel::TSoundListItem& Sound(const std::string& name) {
    vexel::TSoundListItem* sound = Sound3D->SoundList.Find(name);
    EXPECT_NE(sound, nullptr) << name;
    return *sound;
  }

  std::string Dir;
  std::unique_ptr<game::TGamePaths> Paths;
  std::unique_ptr<vexel::TVexelSound3D> Sound3D;
  std::vector<std::string> Messages;
};

// One effect of the game's table and the amplitude its volume should give.
struct LevelCase {
  const char* Name;
  const char* Sound;
  const char* File;
  double Ratio;
};

void PrintTo(const LevelCase& c, std::ostream* out) {
  *out << c.Sound;
}

class EffectLevel : public SoundPlayback, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(EffectLevel, PlaysTheWholeFileAtItsVolume) {
  Open(true);
  const std::vector<float> source = EffectSamples(GetParam().File);
  ASSERT_NE(Sound(GetParam().Sound).Play(), nullptr);
  WaitForSilence();
  const std::vector<float> out = CloseAndRead();
  const auto heard = static_cast<double>(audio_test::HeardLength(out, kSilence));
  ASSERT_GT(heard, 0) << "nothing was heard";
  const double expected = MeasureLevels(source).Peak * GetParam().Ratio;
  EXPECT_NEAR(MeasureLevels(out).Peak, expected, expected * 0.01);
  EXPECT_NEAR(heard, static_cast<double>(audio_test::HeardLength(source, kSilence)), 2.0);
  EXPECT_TRUE(Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    GameTable, EffectLevel,
    ::testing::Values(LevelCase{"Check1AtFullVolume", "check1", "Sounds\\Lighter 03.wav", 1.0},
                      // 95 is -5 dB, 90 is -10 dB: about a third of the amplitude.
                      LevelCase{"BeginAt95", "begin", "Sounds\\Car Start 01.wav", 0.5623},
                      LevelCase{"FinishAt90", "finish", "Sounds\\finish.wav", 0.3162}),
    audio_test::CaseName<LevelCase>);

// Two quick plays of one sound on the one path: the first goes on under the second, so the
// output is the sum of two copies, started in the same block of the output or a block apart.
TEST_F(SoundPlayback, TwoQuickPlaysOfOneSoundOverlapOnTheOnePath) {
  Open(false);
  vexel::TSoundListItem& click = Sound("check1");
  click.Volume = 80;  // -20 dB keeps the sum of the two copies below full scale
  const std::vector<float> source = EffectSamples("Sounds\\Lighter 03.wav");
  vexel::TAudioPathListItem* first = click.Play();
  vexel::TAudioPathListItem* second = click.Play();
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, Sound3D->AudioPathList.Items(0));
  WaitForSilence();
  const std::vector<float> out = CloseAndRead();

  // Where each copy begins: the first sample that is not silence, less the file's own silent
  // lead. The output is exact: before the second copy only the first one sounds.
  const float gain = vexel::TAudioPathListItem::GainOf(-2000);
  const std::size_t lead = audio_test::FirstAbove(source, 0.0f);
  const auto begins = [lead](const std::vector<float>& heard) {
    return audio_test::FirstAbove(heard, 0.0f) - lead;
  };
  const std::size_t firstStart = begins(out);
  std::vector<float> rest = out;
  for (std::size_t i = 0; i < source.size() && firstStart + i < rest.size(); ++i) {
    rest[firstStart + i] -= gain * source[i];
  }
  const std::size_t secondStart = begins(rest);
  ASSERT_GE(secondStart, firstStart);
  EXPECT_LT(secondStart - firstStart, audio_test::EndAbove(source, kSilence))
      << "the second play began after the first had ended";
  for (std::size_t i = 0; i < source.size() && secondStart + i < rest.size(); ++i) {
    rest[secondStart + i] -= gain * source[i];
  }
  EXPECT_LT(MeasureLevels(rest).Peak, 1e-4) << "the output is not two whole copies";
}

TEST_F(SoundPlayback, NamesAreFoundExactlyAsWritten) {
  Open(true);
  EXPECT_NE(Sound3D->SoundList.Find("check1"), nullptr);
  EXPECT_EQ(Sound3D->SoundList.Find("Check1"), nullptr);
  EXPECT_EQ(Sound3D->SoundList.Find("check"), nullptr);
  EXPECT_NE(Sound3D->ModList.Find("menumusic"), nullptr);
  EXPECT_EQ(Sound3D->ModList.Find("MenuMusic"), nullptr);
}

// A sound whose file cannot be used: how its file is broken.
struct BrokenFileCase {
  const char* Name;
  const char* Contents;  // nullptr: the file does not exist
};

void PrintTo(const BrokenFileCase& c, std::ostream* out) {
  *out << c.Name;
}

class BrokenEffectFile : public SoundPlayback,
                         public ::testing::WithParamInterface<BrokenFileCase> {};

TEST_P(BrokenEffectFile, SaysSoOnceAndTheOtherSoundsStillPlay) {
  Open(true);
  const std::string file = Dir + "/broken.wav";
  if (GetParam().Contents) std::ofstream(file, std::ios::binary) << GetParam().Contents;
  vexel::TSoundListItem& broken = Sound3D->SoundList.Add();
  broken.Name = "broken";
  broken.SetFileName(file);
  EXPECT_EQ(broken.Play(), nullptr);
  EXPECT_EQ(broken.Play(), nullptr);
  EXPECT_FALSE(broken.Loaded());
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], "Error loading sound: " + file);
  EXPECT_NE(Sound("up").Play(), nullptr);
  WaitForSilence();
  EXPECT_GT(MeasureLevels(CloseAndRead()).Peak, 0.1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenEffectFile,
    ::testing::Values(BrokenFileCase{"Missing", nullptr}, BrokenFileCase{"Empty", ""},
                      BrokenFileCase{"NotAWave", "RIFF\x10\x00\x00\x00WAVEjunkjunk"},
                      BrokenFileCase{"Text", "this is not a sound"}),
    audio_test::CaseName<BrokenFileCase>);

TEST_F(SoundPlayback, FrequencyResamplesTheSound) {
  Open(true);
  vexel::TSoundListItem& lamp = Sound("svet1");
  const std::vector<float> source = EffectSamples("Sounds\\svet1.wav");
  lamp.Frequency = 88200;  // twice the file's own rate: half as long, an octave up
  ASSERT_NE(lamp.Play(), nullptr);
  EXPECT_EQ(Sound3D->AudioPathList.Items(0)->Frequency(), 88200);
  WaitForSilence();
  const std::vector<float> out = CloseAndRead();
  const std::size_t start = audio_test::FirstAbove(out, kSilence);
  const auto heard = static_cast<double>(audio_test::HeardLength(out, kSilence));
  const auto own = static_cast<double>(audio_test::HeardLength(source, kSilence));
  EXPECT_NEAR(heard, own / 2, 4.0);
  const double ownPitch = audio_test::ZeroCrossingFrequency(std::span(source).first(8000), 44100);
  const double heardPitch =
      audio_test::ZeroCrossingFrequency(std::span(out).subspan(start, 4000), 44100);
  EXPECT_NEAR(heardPitch, 2 * ownPitch, 0.02 * ownPitch);
}

TEST_F(SoundPlayback, ALoopingSoundRepeatsUntilStopped) {
  Open(false);
  vexel::TSoundListItem& click = Sound("check1");
  click.SetLoop(true);
  vexel::TAudioPathListItem* path = click.Play();
  ASSERT_NE(path, nullptr);
  std::this_thread::sleep_for(400ms);  // the file lasts about 0.1 s
  EXPECT_TRUE(Sound3D->Mixer()->IsPlaying(click.Clip()));
  EXPECT_EQ(path->CurrentSound(), &click);
  click.Stop();
  EXPECT_FALSE(Sound3D->Mixer()->IsPlaying(click.Clip()));
  EXPECT_EQ(path->CurrentSound(), nullptr);
  const std::size_t once =
      audio_test::HeardLength(EffectSamples("Sounds\\Lighter 03.wav"), kSilence);
  EXPECT_GT(audio_test::HeardLength(CloseAndRead(), kSilence), 3 * once);
}

TEST_F(SoundPlayback, ALoadedSoundKeepsItsFileUntilUnloaded) {
  Open(true);
  vexel::TSoundListItem& click = Sound("check1");
  ASSERT_NE(click.Play(), nullptr);
  const std::size_t lighter = click.Clip()->Frames();
  click.SetFileName("Sounds\\finish.wav");
  click.Play();
  EXPECT_EQ(click.Clip()->Frames(), lighter);
  click.Unload();
  EXPECT_FALSE(click.Loaded());
  ASSERT_NE(click.Play(), nullptr);
  EXPECT_GT(click.Clip()->Frames(), lighter);
}

// The start lights: two lamp beeps and the go tone, 100 frames apart at 90 frames a second.
// The written sequence is kept as start-lights.wav in the test's folder for listening.
TEST_F(SoundPlayback, StartLightSequenceHasThreeSeparateTonesAndNoClipping) {
  Open(false);
  // The output's frame count just before and just after each play: the tone must begin in
  // that window, or with the block after it (the file holds every frame mixed, from 0).
  const std::uint64_t start = Sound3D->Mixer()->MixedFrames();
  std::vector<std::pair<std::uint64_t, std::uint64_t>> played;
  for (auto [name, frame] : {std::pair{"svet1", 50}, {"svet1", 150}, {"svet2", 250}}) {
    WaitForOutput(start, frame / 90.0);
    const std::uint64_t before = Sound3D->Mixer()->MixedFrames();
    ASSERT_NE(Sound(name).Play(), nullptr);
    played.emplace_back(before, Sound3D->Mixer()->MixedFrames());
  }
  WaitForSilence();
  Sound3D.reset();
  const std::vector<float> stereo = audio_test::ReadDiskAudio(Dir);
  audio_test::WriteWav(Dir + "/start-lights.wav", stereo, 44100);
  const std::vector<float> out = audio_test::Channel(stereo, 0);
  EXPECT_LT(MeasureLevels(out).Peak, 0.95);
  // A tone begins where the output rises after a tenth of a second of quiet.
  std::vector<std::size_t> onsets;
  std::size_t lastLoud = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (std::abs(out[i]) <= 0.01f) continue;
    if (onsets.empty() || i - lastLoud > 4410) onsets.push_back(i);
    lastLoud = i;
  }
  ASSERT_EQ(onsets.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_GE(onsets[i], played[i].first) << "tone " << i;
    EXPECT_LE(onsets[i], played[i].second + 1024 + 441) << "tone " << i;
  }
  // At 90 frames a second the lamps are 100 frames apart; a busy machine only adds to that.
  EXPECT_GE(onsets[1] - onsets[0], 100 * 44100 / 90 - 1024);
  EXPECT_GE(onsets[2] - onsets[1], 100 * 44100 / 90 - 1024);
}

TEST_F(SoundPlayback, PooledPlaysTakeTheNextFreePathAndShareTheLastLookedAtWhenAllAreBusy) {
  Open(false, false);
  using vexel::TAudioPathType;
  vexel::TAudioPathListItem& first = AddPath(TAudioPathType::aptStereo, true);
  vexel::TAudioPathListItem& second = AddPath(TAudioPathType::aptStereo, true);
  AddPath(TAudioPathType::aptMono, true);
  auto pooled = [this](const char* file) -> vexel::TSoundListItem& {
    vexel::TSoundListItem& sound = Sound3D->SoundList.Add();
    sound.SetFileName(Paths->DataFile(file));
    sound.AudioPathPool = vexel::TAudioPathPool::appStereo;
    return sound;
  };
  vexel::TSoundListItem& go = pooled("Sounds\\svet2.wav");
  vexel::TSoundListItem& finish = pooled("Sounds\\finish.wav");
  vexel::TSoundListItem& lamp = pooled("Sounds\\svet1.wav");
  // Counter 0 of three paths: path 1 is looked at first, then path 2 (mono), then path 0.
  EXPECT_EQ(go.Play(), &second);
  EXPECT_EQ(finish.Play(), &first);
  EXPECT_EQ(Sound3D->AudioPathList.StartCounter(TAudioPathType::aptStereo), 3);
  // Both stereo paths busy: path 1, then path 0 is looked at, and the second one is shared.
  EXPECT_EQ(lamp.Play(), &first);
  EXPECT_EQ(Sound3D->AudioPathList.StartCounter(TAudioPathType::aptStereo), 3);
  EXPECT_EQ(Sound3D->Mixer()->ActiveVoices(first.MixerPath()), 2);
  // Once "svet2" has ended and 250 ms have passed, its path is free again.
  for (int i = 0; i < 3000 && Sound3D->Mixer()->IsPlaying(go.Clip()); ++i) {
    std::this_thread::sleep_for(1ms);
  }
  std::this_thread::sleep_for(260ms);
  EXPECT_EQ(lamp.Play(), &second);
  EXPECT_EQ(second.CurrentSound(), &lamp);
  EXPECT_EQ(Sound3D->AudioPathList.StartCounter(TAudioPathType::aptStereo), 4);
}

TEST_F(SoundPlayback, PooledPlayWithoutAPathOfItsTypePlaysNothing) {
  Open(true, false);
  AddPath(vexel::TAudioPathType::aptStereo, true);
  AddPath(vexel::TAudioPathType::aptMono, false);
  vexel::TSoundListItem& beep = Sound3D->SoundList.Add();
  beep.SetFileName(Paths->DataFile("Sounds\\svet1.wav"));
  beep.AudioPathPool = vexel::TAudioPathPool::appMono;
  EXPECT_EQ(beep.Play(), nullptr);
  EXPECT_EQ(beep.LastPath(), nullptr);
  beep.AudioPathPool = vexel::TAudioPathPool::appUseIndex;
  beep.AudioPathIndex = 5;
  EXPECT_EQ(beep.Play(), nullptr);
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(MeasureLevels(CloseAndRead()).Peak, 0.0);
}

TEST(SoundWithoutDevice, EverySoundAndMusicCallDoesNothing) {
  const std::string dir = audio_test::FreshTestDir();
  audio_test::UseMissingAudioDriver();
  game::TGamePaths paths(CLD_DATA_DIR, dir);
  vexel::TVexelSound3D sound3D;
  std::vector<std::string> messages;
  sound3D.OnMessage = [&messages](const std::string& text) { messages.push_back(text); };
  EXPECT_FALSE(sound3D.Audible());
  EXPECT_FALSE(sound3D.OutputError().empty());
  EXPECT_EQ(sound3D.Mixer(), nullptr);
  game::SetUpGameAudio(sound3D, paths);
  sound3D.CreateAudioPaths();
  EXPECT_EQ(sound3D.SoundList.Find("check1")->Play(), nullptr);
  sound3D.SoundList.Find("check1")->Stop();
  vexel::TModListItem* music = sound3D.ModList.Find("menumusic");
  music->Play();
  EXPECT_FALSE(music->Loaded());
  EXPECT_FALSE(music->Playing());
  music->Stop();
  music->Unload();
  EXPECT_TRUE(messages.empty());
}

// A volume of the path's 0..100 scale and the level it sets.
struct VolumeCase {
  const char* Name;
  int32_t Value;
  int32_t Hundredths;
  float Gain;
};

void PrintTo(const VolumeCase& c, std::ostream* out) {
  *out << c.Value;
}

class PathVolume : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(PathVolume, MapsToHundredthsOfADecibelAndALinearGain) {
  audio_test::UseMissingAudioDriver();
  vexel::TVexelSound3D sound3D;
  vexel::TAudioPathListItem& path = sound3D.AudioPathList.Add();
  path.SetVolume(GetParam().Value);
  EXPECT_EQ(path.Volume(), GetParam().Hundredths);
  EXPECT_NEAR(vexel::TAudioPathListItem::GainOf(path.Volume()), GetParam().Gain, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Clamped, PathVolume,
                         ::testing::Values(VolumeCase{"Above", 120, 0, 1.0f},
                                           VolumeCase{"Full", 100, 0, 1.0f},
                                           VolumeCase{"Begin", 95, -500, 0.5623f},
                                           VolumeCase{"Finish", 90, -1000, 0.3162f},
                                           VolumeCase{"Half", 50, -5000, 0.003162f},
                                           VolumeCase{"Zero", 0, -10000, 0.0f},
                                           VolumeCase{"Below", -5, -10000, 0.0f}),
                         audio_test::CaseName<VolumeCase>);

TEST(PathFrequency, NegativeCountsAsTheFilesOwnRate) {
  audio_test::UseMissingAudioDriver();
  vexel::TVexelSound3D sound3D;
  vexel::TAudioPathListItem& path = sound3D.AudioPathList.Add();
  EXPECT_EQ(path.Frequency(), 22050);
  path.SetFrequency(-300);
  EXPECT_EQ(path.Frequency(), 0);
  path.SetFrequency(11025);
  EXPECT_EQ(path.Frequency(), 11025);
}

}  // namespace
