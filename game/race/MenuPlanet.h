#pragma once
// A planet of the main-menu scenery.

#include <cstdint>
#include <random>

#include "engine/VexelImageList.h"
#include "engine/VexelSprite.h"

namespace game {

/// A spinning planet of the menu scenery ("p1" .. "p6" of the menu pictures) that orbits the
/// point (220, 380) on an ellipse of its kind; kind 4 sits at the centre.
class TMenuPlanet : public vexel::TSprite {
 public:
  /// A planet of kind 0 .. 5 at (X, Y) with a random cell, orbit angle and orbit speed.
  TMenuPlanet(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages, std::mt19937& random,
              float x, float y, int32_t kind);

  /// Turns every tenth frame and moves along the orbit.
  void DoMove(float delta) override;

  int32_t AnimTick = 1;
  int32_t PlanetKind = 0;
  double RadiusX = 0;
  double RadiusY = 0;
  double OrbitAngle = 0;
  double OrbitSpeed = 0;
};

}  // namespace game
