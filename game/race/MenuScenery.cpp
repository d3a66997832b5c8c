#include "MenuScenery.h"

#include <utility>

#include "engine/VexelScreen.h"
#include "game/AnglesAndRandom.h"

namespace game {

TMenuScenery CreateMenuScenery(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages,
                               std::mt19937& random, const TTickerValues& ticker,
                               TRunningString::TMeasure measure) {
  TMenuScenery scenery;
  scenery.Lights[0] = engine.Create<TLight>(menuImages, random, 147.0f, 310.0f, 0);
  scenery.Lights[1] = engine.Create<TLight>(menuImages, random, 1000.0f, 565.0f, 1);
  scenery.Lights[2] = engine.Create<TLight>(menuImages, random, 1000.0f, 565.0f, 1);
  for (int32_t kind = 0; kind < static_cast<int32_t>(scenery.Planets.size()); ++kind) {
    scenery.Planets[static_cast<size_t>(kind)] =
        engine.Create<TMenuPlanet>(menuImages, random, 0.0f, 0.0f, kind);
  }
  scenery.Ticker = engine.Create<TRunningString>(ticker, std::move(measure));
  return scenery;
}

void RemoveMenuScenery(vexel::TVexelSprite& engine, TMenuScenery& scenery) {
  for (TLight* light : scenery.Lights) {
    if (light) light->Kill();
  }
  for (TMenuPlanet* planet : scenery.Planets) {
    if (planet) planet->Kill();
  }
  engine.ClearDead();
  scenery.Lights.fill(nullptr);
  scenery.Planets.fill(nullptr);
}

TStars MakeStars(std::mt19937& random) {
  TStars stars;
  for (TStar& star : stars) {
    star.X = RandomBelow(random, 800);
    star.Y = RandomBelow(random, 600);
    star.Countdown = static_cast<uint8_t>(RandomBelow(random, 250));
    star.Brightness = static_cast<uint8_t>(RandomBelow(random, 100));
  }
  return stars;
}

void DrawStars(TStars& stars, vexel::TVexelScreen& screen, std::mt19937& random) {
  for (TStar& star : stars) {
    if (star.Countdown == 0) {
      star.Countdown = static_cast<uint8_t>(RandomBelow(random, 50));
      star.Brightness = star.Brightness <= 50 ? 70 : 10;
    }
    if (star.Brightness > 50) screen.PutPixel(star.X, star.Y, 255, 200, 100, 100);
    --star.Countdown;
  }
}

}  // namespace game
