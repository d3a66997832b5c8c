#pragma once
// The scenery of the main menus: lights, planets, the greeting ticker and the star field.

#include <array>
#include <cstdint>
#include <random>

#include "Light.h"
#include "MenuPlanet.h"
#include "RunningString.h"

namespace vexel {
class TVexelScreen;
}

namespace game {

/// The sprites of the menu scenery, owned by the engine.
struct TMenuScenery {
  std::array<TLight*, 3> Lights{};
  std::array<TMenuPlanet*, 6> Planets{};
  TRunningString* Ticker = nullptr;
};

/// One star of the menu star field.
struct TStar {
  int32_t X = 0;
  int32_t Y = 0;
  uint8_t Countdown = 0;
  uint8_t Brightness = 0;
};

/// The 41 stars of the menus.
using TStars = std::array<TStar, 41>;

/// Makes the three lights, the six planets and the greeting ticker.
TMenuScenery CreateMenuScenery(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages,
                               std::mt19937& random, const TTickerValues& ticker,
                               TRunningString::TMeasure measure);
/// Kills the lights and the planets and has the engine free the dead sprites.
void RemoveMenuScenery(vexel::TVexelSprite& engine, TMenuScenery& scenery);
/// Stars at random places with random countdowns and brightness.
TStars MakeStars(std::mt19937& random);
/// One frame of the star field: stars whose countdown ran out flip between dim and bright,
/// the bright ones are drawn as pixels and every countdown goes down by one.
void DrawStars(TStars& stars, vexel::TVexelScreen& screen, std::mt19937& random);

}  // namespace game
