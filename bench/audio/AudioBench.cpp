// Measures the game's software mixer: one second of 44100 Hz stereo output per iteration, mixed
// in the output's blocks of 1024 frames, with the module's refills rendered as they fall due
// (the streaming thread's work, counted here on the same core).
//
//   Mix/Effects:32/Module:1   32 overlapping looping effects on one path plus the menu music
//   Mix/Effects:32/Module:0   the effects alone
//   Mix/Effects:0/Module:1    the music alone
//
// "core%" is the CPU time one second of audio takes, as a share of one core (the target is
// below 2); on a busy machine the wall-clock column runs higher than the CPU column.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/AudioMixer.h"
#include "platform/ModuleDecoder.h"

namespace {

constexpr int kRate = 44100;
constexpr std::size_t kBlock = 1024;
const char* const kEffects[] = {"Lighter 03.wav", "Switch 04.wav", "Car Start 01.wav",
                                "finish.wav",     "svet1.wav",     "svet2.wav",
                                "up.wav"};

std::string SoundFile(const std::string& name) {
  return std::string(CLD_SOUNDS_DIR) + "/" + name;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Mix(benchmark::State& state) {
  const auto effects = static_cast<int>(state.range(0));
  const bool module = state.range(1) != 0;
  platform::TAudioMixer mixer(kRate);
  const int path = mixer.AddPath();
  mixer.SetPathGain(path, 0.03f);
  std::string error;
  for (int i = 0; i < effects; ++i) {
    auto clip = platform::TAudioClip::LoadWav(SoundFile(kEffects[i % 7]), kRate, error);
    if (!clip) {
      state.SkipWithError(error.c_str());
      return;
    }
    mixer.Play(path, clip, -1);
  }
  platform::TModuleDecoder decoder;
  platform::TAudioStream stream;
  if (module) {
    if (!decoder.Load(ReadFile(SoundFile("1.xm")), error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    decoder.SetLoop(true);
    mixer.AddStream(&stream);
    stream.RequestRefillAhead();
    mixer.SetStreamPlaying(&stream, true);
  }
  std::vector<float> out(kBlock * 2);
  for (auto _ : state) {
    for (std::size_t done = 0; done < kRate; done += kBlock) {
      mixer.Mix(out.data(), kBlock);
      const int half = module ? stream.WaitForRefill(std::chrono::milliseconds(0)) : -1;
      if (half >= 0) decoder.Render(stream.Half(half).data(), stream.Half(half).size() / 2);
    }
    benchmark::DoNotOptimize(out.data());
  }
  // Seconds of CPU per second of audio, as a percentage of one core.
  state.counters["core%"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / 100.0,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  if (module) mixer.RemoveStream(&stream);
}

BENCHMARK(Mix)
    ->ArgNames({"Effects", "Module"})
    ->Args({32, 1})
    ->Args({32, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
