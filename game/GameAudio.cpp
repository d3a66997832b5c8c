#include "GameAudio.h"

#include <array>

namespace game {
namespace {

/// An output path: 3D ones are quieter with the distance of their sound, in screen pixels.
struct TPath {
  const char* Name;
  vexel::TAudioPathType Type;
  float MinDistance;
  float MaxDistance;
};

/// Path 0 carries the menu and race signals; the race's loops each have their own path, whose
/// pitch and level follow the race.
constexpr std::array<TPath, 7> kPaths = {{
    {"path", vexel::TAudioPathType::aptStereo, 1, 1e9f},
    {"engine", vexel::TAudioPathType::aptStereo, 1, 1e9f},
    {"skid", vexel::TAudioPathType::aptStereo, 1, 1e9f},
    {"impact", vexel::TAudioPathType::apt3D, 120, 2000},
    {"rival1", vexel::TAudioPathType::apt3D, 80, 1400},
    {"rival2", vexel::TAudioPathType::apt3D, 80, 1400},
    {"rival3", vexel::TAudioPathType::apt3D, 80, 1400},
}};

struct TEffect {
  const char* Name;
  const char* FileName;
  int32_t Volume;
  int32_t Path;
};

constexpr std::array<TEffect, 15> kEffects = {{
    {"check1", "Sounds\\Lighter 03.wav", 100, 0},
    {"check2", "Sounds\\Switch 04.wav", 100, 0},
    {"begin", "Sounds\\Car Start 01.wav", 95, 0},
    {"finish", "Sounds\\finish.wav", 90, 0},
    {"svet1", "Sounds\\svet1.wav", 100, 0},
    {"svet2", "Sounds\\svet2.wav", 100, 0},
    {"up", "Sounds\\up.wav", 100, 0},
    {"lap", "Sounds\\lap.wav", 92, 0},
    {"lastlap", "Sounds\\lastlap.wav", 96, 0},
    {"engine", "Sounds\\engine.wav", 0, 1},
    {"skid", "Sounds\\skid.wav", 0, 2},
    {"crash", "Sounds\\crash.wav", 100, 3},
    {"rival1", "Sounds\\engine.wav", 0, 4},
    {"rival2", "Sounds\\engine.wav", 0, 5},
    {"rival3", "Sounds\\engine.wav", 0, 6},
}};

constexpr std::array<std::array<const char*, 2>, 3> kModules = {{
    {"menumusic", "Sounds\\1.xm"},
    {"gamemusic", "Sounds\\2.xm"},
    {"losemusic", "Sounds\\3.xm"},
}};

}  // namespace

void SetUpGameAudio(vexel::TVexelSound3D& sound3D, const TGamePaths& paths) {
  sound3D.FileResolver = [&paths](const std::string& fileName) { return paths.DataFile(fileName); };
  for (const TPath& description : kPaths) {
    vexel::TAudioPathListItem& path = sound3D.AudioPathList.Add();
    path.Name = description.Name;
    path.AudioPathType = description.Type;
    path.Pool = false;
    path.Channels = 32;
    path.MinDistance = description.MinDistance;
    path.MaxDistance = description.MaxDistance;
  }
  for (const TEffect& effect : kEffects) {
    vexel::TSoundListItem& sound = sound3D.SoundList.Add();
    sound.Name = effect.Name;
    sound.SetFileName(effect.FileName);
    sound.Volume = effect.Volume;
    sound.AudioPathIndex = effect.Path;
    sound.AudioPathPool = vexel::TAudioPathPool::appUseIndex;
  }
  for (const auto& [name, fileName] : kModules) {
    vexel::TModListItem& module = sound3D.ModList.Add();
    module.Name = name;
    module.FileName = fileName;
    module.Loop = true;
    module.Volume = 100;
  }
}

}  // namespace game
