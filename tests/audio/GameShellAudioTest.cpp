// The game shell's audio: the menu music on showing, sounds by name under the sound switch, and
// the music unloaded at shutdown; the output is SDL's disk driver.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "DiskAudio.h"
#include "game/Unit_pr.h"
#include "platform/VirtualKeys.h"

namespace {

using namespace std::chrono_literals;

class ShellAudio : public ::testing::Test {
 protected:
  ShellAudio() : Dir(audio_test::FreshTestDir()) {
    audio_test::UseDiskAudio(Dir, false);
    game::TGameOptions options;
    options.RecordingDisplay = true;
    options.ConfigDir = Dir + "/config";
    Form = std::make_unique<game::TForm1>(Application, options);
    Form->FormCreate();
  }

  vexel::TModListItem& Music(const char* name) { return *Form->Sound3D->ModList.Find(name); }

  int VoicesOnThePath() { return Form->Sound3D->Mixer()->ActiveVoices(0); }

  std::string Dir;
  platform::TApplication Application;
  std::unique_ptr<game::TForm1> Form;
};

TEST_F(ShellAudio, ShowingStartsTheMenuMusic) {
  ASSERT_TRUE(Form->Sound3D->Audible());
  // The signals' path, the race's engine, skid and impact paths and three opponent engines.
  ASSERT_EQ(Form->Sound3D->AudioPathList.Count(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_TRUE(Form->Sound3D->AudioPathList.Items(i)->Created()) << i;
  Form->FormShow();
  EXPECT_TRUE(Music("menumusic").Playing());
  EXPECT_FALSE(Music("gamemusic").Loaded());
}

TEST_F(ShellAudio, WithMusicOffShowingLoadsTheMenuMusicButKeepsItStopped) {
  Form->MusicOn = false;
  Form->FormShow();
  EXPECT_TRUE(Music("menumusic").Loaded());
  EXPECT_FALSE(Music("menumusic").Playing());
}

TEST_F(ShellAudio, SoundsPlayWhenSoundIsOnOrWhenAlwaysAsked) {
  Form->PlaySound("check1");
  EXPECT_EQ(VoicesOnThePath(), 1);
  Form->SoundOn = false;
  Form->PlaySound("check2");
  EXPECT_EQ(VoicesOnThePath(), 1);
  Form->PlaySound("up", true);
  EXPECT_EQ(VoicesOnThePath(), 2);
  Form->PlaySound("no such sound", true);
  EXPECT_EQ(VoicesOnThePath(), 2);
}

TEST_F(ShellAudio, TheLogoStartsWithItsSoundAndIgnoresKeys) {
  Form->FormShow();
  EXPECT_EQ(VoicesOnThePath(), 1) << "\"begin\" plays as the logo appears";
  Form->FormKeyDown(platform::VK_RETURN);
  Form->FormKeyUp(platform::VK_RETURN);
  Form->VexelTimer1Timer();
  EXPECT_EQ(VoicesOnThePath(), 1) << "a key on the logo makes no click";
}

TEST_F(ShellAudio, ShutdownUnloadsTheMusicAndClosesTheOutput) {
  Form->FormShow();
  Music("gamemusic").Play();
  std::this_thread::sleep_for(100ms);
  Form->FormDestroy();
  EXPECT_EQ(Form->Sound3D, nullptr);
  Form.reset();
  EXPECT_FALSE(audio_test::ReadDiskAudio(Dir).empty());
}

}  // namespace
