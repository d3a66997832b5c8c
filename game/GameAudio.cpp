#include "GameAudio.h"

#include <array>

namespace game {
namespace {

struct TEffect {
  const char* Name;
  const char* FileName;
  int32_t Volume;
};

constexpr std::array<TEffect, 7> kEffects = {{
    {"check1", "Sounds\\Lighter 03.wav", 100},
    {"check2", "Sounds\\Switch 04.wav", 100},
    {"begin", "Sounds\\Car Start 01.wav", 95},
    {"finish", "Sounds\\finish.wav", 90},
    {"svet1", "Sounds\\svet1.wav", 100},
    {"svet2", "Sounds\\svet2.wav", 100},
    {"up", "Sounds\\up.wav", 100},
}};

constexpr std::array<std::array<const char*, 2>, 3> kModules = {{
    {"menumusic", "Sounds\\1.xm"},
    {"gamemusic", "Sounds\\2.xm"},
    {"losemusic", "Sounds\\3.xm"},
}};

}  // namespace

void SetUpGameAudio(vexel::TVexelSound3D& sound3D, const TGamePaths& paths) {
  sound3D.FileResolver = [&paths](const std::string& fileName) { return paths.DataFile(fileName); };
  vexel::TAudioPathListItem& path = sound3D.AudioPathList.Add();
  path.Name = "path";
  path.AudioPathType = vexel::TAudioPathType::aptStereo;
  path.Pool = false;
  path.Channels = 32;
  for (const TEffect& effect : kEffects) {
    vexel::TSoundListItem& sound = sound3D.SoundList.Add();
    sound.Name = effect.Name;
    sound.SetFileName(effect.FileName);
    sound.Volume = effect.Volume;
    sound.AudioPathIndex = 0;
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
