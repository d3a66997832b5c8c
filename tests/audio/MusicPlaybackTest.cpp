// Music modules streamed through the real output (SDL's disk driver) and read back, and the
// music component's song mappings.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AudioMeasure.h"
#include "CaseName.h"
#include "DiskAudio.h"
#include "SongBuilder.h"
#include "engine/VexelMusic.h"
#include "engine/VexelSound3D.h"
#include "game/GameAudio.h"

namespace {

using audio_test::MeasureLevels;
using audio_test::ToDecibels;
using namespace std::chrono_literals;

constexpr int kRate = 44100;

// A module of about a second and a half: one held tone over twelve rows, no loop point. Its
// last half second lands in the buffer's second refill, after the first whole second.
constexpr const char* kShortSong = R"(channels 2
speed 6
bpm 125
instrument tone
  wave triangle
  pitch c4
  length 0.2
  loop
  volume 48
end
phrase held tone
  c4/12
end
pattern a 12
  1 held
end
order a
)";

// The game's sound component writing to a file, paced like a real device so that the
// streaming threads keep up; the messages it shows are collected instead.
class MusicPlayback : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = audio_test::FreshTestDir();
    audio_test::UseDiskAudio(Dir, false);
    Paths = std::make_unique<game::TGamePaths>(CLD_DATA_DIR, Dir + "/config");
    Sound3D = std::make_unique<vexel::TVexelSound3D>();
    ASSERT_TRUE(Sound3D->Audible()) << Sound3D->OutputError();
    game::SetUpGameAudio(*Sound3D, *Paths);
    Sound3D->OnMessage = [this](const std::string& text) { Messages.push_back(text); };
    Sound3D->CreateAudioPaths();
  }

  vexel::TModListItem& Module(const std::string& name) {
    vexel::TModListItem* module = Sound3D->ModList.Find(name);
    EXPECT_NE(module, nullptr) << name;
    return *module;
  }

  // A module item for a file written into the test's folder.
  vexel::TModListItem& ModuleFromBytes(const std::string& bytes) {
    const std::string file = Dir + "/fixture.xm";
    std::ofstream(file, std::ios::binary) << bytes;
    vexel::TModListItem& module = Sound3D->ModList.Add();
    module.Name = "fixture";
    module.FileName = file;
    return module;
  }

  // Waits until the output has played `seconds` more, however busy the machine is.
  void WaitForOutput(double seconds) {
    platform::TAudioMixer& mixer = *Sound3D->Mixer();
    const auto target = mixer.MixedFrames() + static_cast<std::uint64_t>(seconds * kRate);
    for (int i = 0; i < 3000 && mixer.MixedFrames() < target; ++i) {
      std::this_thread::sleep_for(10ms);
    }
  }

  // Closes the output and returns the left channel of everything it wrote.
  std::vector<float> CloseAndRead() {
    Sound3D.reset();
    return audio_test::Channel(audio_test::ReadDiskAudio(Dir), 0);
  }

  std::string Dir;
  std::unique_ptr<game::TGamePaths> Paths;
  std::unique_ptr<vexel::TVexelSound3D> Sound3D;
  std::vector<std::string> Messages;
};

// One of the game's modules.
struct ModuleCase {
  const char* Name;
  const char* Module;
};

void PrintTo(const ModuleCase& c, std::ostream* out) {
  *out << c.Module;
}

class GameModule : public MusicPlayback, public ::testing::WithParamInterface<ModuleCase> {};

TEST_P(GameModule, PlaysMusicAfterAtMostASecondOfSilence) {
  vexel::TModListItem& music = Module(GetParam().Module);
  ASSERT_TRUE(music.Load());
  // Silence is counted from Play: the output runs while the module loads, which takes longer
  // on a busy or instrumented machine.
  const auto before = static_cast<std::size_t>(Sound3D->Mixer()->MixedFrames());
  music.Play();
  EXPECT_TRUE(music.Playing());
  EXPECT_TRUE(music.HasThread());
  WaitForOutput(3.0);
  EXPECT_TRUE(music.Playing());
  const std::vector<float> out = CloseAndRead();
  ASSERT_GT(out.size(), before + 2u * kRate);
  const std::size_t first = audio_test::FirstAbove(out, 1e-4f);
  // The buffer's first second is silence.
  ASSERT_GE(first, before);
  EXPECT_LT(first - before, static_cast<std::size_t>(1.5 * kRate));
  const auto heard = std::span(out).subspan(first);
  EXPECT_GT(ToDecibels(MeasureLevels(heard).Rms), -35.0);
  EXPECT_LT(MeasureLevels(heard).Peak, 0.99);
  // No gaps once it has begun: every tenth of a second has sound.
  for (std::size_t at = 0; at + kRate / 10 <= heard.size(); at += kRate / 10) {
    EXPECT_GT(MeasureLevels(heard.subspan(at, kRate / 10)).Peak, 1e-3) << at;
  }
  EXPECT_TRUE(Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Game, GameModule,
                         ::testing::Values(ModuleCase{"Menu", "menumusic"},
                                           ModuleCase{"Race", "gamemusic"},
                                           ModuleCase{"Results", "losemusic"}),
                         audio_test::CaseName<ModuleCase>);

TEST_F(MusicPlayback, StopKeepsThePositionAndPlayGoesOnFromThere) {
  vexel::TModListItem& music = Module("menumusic");
  music.Play();
  WaitForOutput(2.5);
  music.Stop();
  EXPECT_FALSE(music.Playing());
  const double stopped = music.PositionSeconds();
  EXPECT_GT(stopped, 2.0);
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(music.PositionSeconds(), stopped) << "the player went on while stopped";
  music.Play();
  WaitForOutput(1.5);
  EXPECT_GT(music.PositionSeconds(), stopped + 0.5);
  // Playing a module that plays clears its buffer and goes on, too.
  const double playing = music.PositionSeconds();
  music.Play();
  WaitForOutput(1.5);
  EXPECT_GT(music.PositionSeconds(), playing + 0.5);
  EXPECT_TRUE(music.Playing());
}

TEST_F(MusicPlayback, AModuleWithoutLoopEndsByItselfAfterItsLastNoteAndStaysLoaded) {
  const std::vector<std::uint8_t> bytes = xm::CompileSong(kShortSong);
  vexel::TModListItem& song = ModuleFromBytes(std::string(bytes.begin(), bytes.end()));
  song.Loop = false;
  song.Play();
  for (int i = 0; i < 80 && song.Playing(); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(song.Playing());
  EXPECT_TRUE(song.Loaded());
  EXPECT_TRUE(song.HasThread());
  const std::vector<float> out = CloseAndRead();
  // The whole song is heard, up to its last row.
  const auto heard = static_cast<double>(audio_test::HeardLength(out, 1e-3f)) / kRate;
  EXPECT_GT(heard, 1.35);
  EXPECT_LT(heard, 1.8);
}

TEST_F(MusicPlayback, AModuleWithLoopGoesOnPastItsEnd) {
  const std::vector<std::uint8_t> bytes = xm::CompileSong(kShortSong);
  vexel::TModListItem& song = ModuleFromBytes(std::string(bytes.begin(), bytes.end()));
  song.Loop = true;
  song.Play();
  WaitForOutput(4.0);
  EXPECT_TRUE(song.Playing());
  const std::vector<float> out = CloseAndRead();
  EXPECT_GT(static_cast<double>(audio_test::HeardLength(out, 1e-3f)) / kRate, 2.5);
}

TEST_F(MusicPlayback, UnloadEndsAndJoinsTheThread) {
  vexel::TModListItem& music = Module("gamemusic");
  music.Unload();  // never loaded: nothing to do
  music.Play();
  std::this_thread::sleep_for(300ms);
  music.Unload();
  EXPECT_FALSE(music.Loaded());
  EXPECT_FALSE(music.Playing());
  EXPECT_FALSE(music.HasThread());
  // A stopped module's suspended thread is joined as well, and Play loads it again.
  music.Play();
  music.Stop();
  music.Unload();
  EXPECT_FALSE(music.HasThread());
  music.Play();
  EXPECT_TRUE(music.Playing());
  // Closing the component with music playing unloads it on the way.
  Sound3D.reset();
}

// A module file that cannot be played, and what the player says.
struct BrokenModuleCase {
  const char* Name;
  const char* Contents;  // nullptr: the file does not exist
  const char* Message;   // the fixture's file name follows a message ending in ": "
};

void PrintTo(const BrokenModuleCase& c, std::ostream* out) {
  *out << c.Name;
}

class BrokenModule : public MusicPlayback,
                     public ::testing::WithParamInterface<BrokenModuleCase> {};

TEST_P(BrokenModule, SaysSoOnceAndTheGameGoesOnWithoutIt) {
  vexel::TModListItem& song = Sound3D->ModList.Add();
  song.FileName = Dir + "/broken.xm";
  if (GetParam().Contents) std::ofstream(song.FileName, std::ios::binary) << GetParam().Contents;
  song.Play();
  song.Play();
  EXPECT_FALSE(song.Loaded());
  EXPECT_FALSE(song.Playing());
  song.Stop();
  song.Unload();
  std::string expected = GetParam().Message;
  if (expected.ends_with(": ")) expected += song.FileName;
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0], expected);
  Module("menumusic").Play();
  EXPECT_TRUE(Module("menumusic").Playing());
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenModule,
    ::testing::Values(BrokenModuleCase{"Missing", nullptr, "Error loading module: "},
                      BrokenModuleCase{"Text", "no module here",
                                       "Error initializing the module player"},
                      BrokenModuleCase{"TruncatedHeader", "Extended Module: cut",
                                       "Error initializing the module player"}),
    audio_test::CaseName<BrokenModuleCase>);

// A pan or volume of a song and the level in hundredths of a decibel it gives.
struct MappingCase {
  const char* Name;
  int32_t Value;
  int32_t Hundredths;
};

void PrintTo(const MappingCase& c, std::ostream* out) {
  *out << c.Value;
}

class SongPan : public ::testing::TestWithParam<MappingCase> {};

TEST_P(SongPan, CutsOneSideByTheDecibelsOfItsDistanceFromTheOther) {
  vexel::TSongListItem song;
  song.SetPan(GetParam().Value);
  EXPECT_EQ(vexel::TSongListItem::BalanceOf(song.Pan()), GetParam().Hundredths);
}

INSTANTIATE_TEST_SUITE_P(
    Mapping, SongPan,
    ::testing::Values(MappingCase{"Centre", 0, 0}, MappingCase{"HalfLeft", -50, -301},
                      MappingCase{"HalfRight", 50, 301}, MappingCase{"NearlyLeft", -99, -2000},
                      MappingCase{"NearlyRight", 99, 2000}, MappingCase{"Left", -100, -10000},
                      MappingCase{"Right", 100, 10000}, MappingCase{"PastLeft", -150, -10000},
                      MappingCase{"PastRight", 180, 10000}),
    audio_test::CaseName<MappingCase>);

class SongVolume : public ::testing::TestWithParam<MappingCase> {};

TEST_P(SongVolume, IsTheDecibelsOfItsShareOfFullVolume) {
  vexel::TSongListItem song;
  song.SetVolume(GetParam().Value);
  EXPECT_EQ(vexel::TSongListItem::LevelOf(song.Volume()), GetParam().Hundredths);
}

INSTANTIATE_TEST_SUITE_P(
    Mapping, SongVolume,
    ::testing::Values(MappingCase{"Full", 100, 0}, MappingCase{"Half", 50, -301},
                      MappingCase{"Tenth", 10, -1000}, MappingCase{"One", 1, -2000},
                      MappingCase{"Off", 0, -10000}, MappingCase{"Above", 120, 0},
                      MappingCase{"Below", -5, -10000}),
    audio_test::CaseName<MappingCase>);

TEST(MusicComponent, TheGamesEmptySongListUpdatesAndFindsNothing) {
  vexel::TVexelMusic music;
  music.Update();
  EXPECT_EQ(music.Songs.Count(), 0);
  EXPECT_EQ(music.Songs.Find("menumusic"), nullptr);
  vexel::TSongListItem& song = music.Songs.Add();
  song.Name = "intro";
  song.Loop = true;
  song.Play();  // nothing opens a song's media: it stays quiet
  music.Update();
  EXPECT_FALSE(song.Playing());
  EXPECT_EQ(music.Songs.Find("intro"), &song);
  EXPECT_EQ(music.Songs.Find("Intro"), nullptr);
}

}  // namespace
