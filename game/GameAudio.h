#pragma once
// The game's sound effects, music modules and audio path.

#include "GamePaths.h"
#include "engine/VexelSound3D.h"

namespace game {

/// Gives the sound component its paths (the stereo "path" of the menu and race signals, one
/// path for each of the race's loops and the 3D "impact" path), the effects and the three
/// music modules, with file names resolved inside the data folder of `paths`.
void SetUpGameAudio(vexel::TVexelSound3D& sound3D, const TGamePaths& paths);

}  // namespace game
