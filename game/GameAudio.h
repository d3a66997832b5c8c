#pragma once
// The game's sound effects, music modules and audio path.

#include "GamePaths.h"
#include "engine/VexelSound3D.h"

namespace game {

/// Gives the sound component its one stereo path "path", the seven effects and the three
/// music modules, with file names resolved inside the data folder of `paths`.
void SetUpGameAudio(vexel::TVexelSound3D& sound3D, const TGamePaths& paths);

}  // namespace game
