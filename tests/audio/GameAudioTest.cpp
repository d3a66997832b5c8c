// The game itself, run headless with its audio written by SDL's disk driver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "AudioMeasure.h"
#include "DiskAudio.h"

namespace {

using audio_test::MeasureLevels;

constexpr int kRate = 44100;

// Runs the game for `frames` paced frames with the given environment; returns its exit code
// and leaves what it wrote to standard error in `errors`.
int RunGame(const std::string& dir, const std::string& environment, int frames,
            std::string& errors) {
  const std::string errorFile = dir + "/stderr.txt";
  const std::string command = "env SDL_VIDEODRIVER=offscreen " + environment + " '" +
                              CLD_GAME_EXECUTABLE + "' --frames " + std::to_string(frames) +
                              " --config-dir '" + dir + "/config' 2>'" + errorFile + "'";
  const int status = std::system(command.c_str());
  std::ifstream file(errorFile);
  std::ostringstream text;
  text << file.rdbuf();
  errors = text.str();
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(GameAudio, HeadlessRunWritesTheMenuMusic) {
  const std::string dir = audio_test::FreshTestDir();
  std::string errors;
  ASSERT_EQ(
      RunGame(dir, "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + dir + "/output.raw'", 400, errors),
      0)
      << errors;
  EXPECT_EQ(errors.find("Error"), std::string::npos) << errors;
  const std::vector<float> out = audio_test::Channel(audio_test::ReadDiskAudio(dir), 0);
  ASSERT_GT(out.size(), 3u * kRate) << "the run wrote less than three seconds";
  // The music begins within about a second of showing; the last second and a half has it.
  const auto tail = std::span(out).last(static_cast<std::size_t>(1.5 * kRate));
  EXPECT_GT(audio_test::ToDecibels(MeasureLevels(tail).Rms), -35.0);
  EXPECT_LT(MeasureLevels(out).Peak, 0.99);
}

TEST(GameAudio, StartsSilentWhenTheAudioDeviceCannotOpen) {
  const std::string dir = audio_test::FreshTestDir();
  std::string errors;
  EXPECT_EQ(RunGame(dir, "SDL_AUDIODRIVER=no-such-driver", 20, errors), 0) << errors;
  EXPECT_NE(errors.find("No audio device"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("Error"), std::string::npos) << errors;
}

}  // namespace
