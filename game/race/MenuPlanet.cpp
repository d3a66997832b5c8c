#include "MenuPlanet.h"

#include <array>
#include <string>

#include "game/AnglesAndRandom.h"

namespace game {
namespace {

constexpr int32_t kPlanetCells = 8;
constexpr double kOrbitCentreX = 220;
constexpr double kOrbitCentreY = 380;

struct TOrbit {
  double RadiusX;
  double RadiusY;
};

constexpr std::array<TOrbit, 6> kOrbits = {
    {{85, 60}, {140, 80}, {155, 110}, {170, 135}, {0, 0}, {200, 150}}};

}  // namespace

TMenuPlanet::TMenuPlanet(vexel::TVexelSprite& engine, vexel::TVexelImageList& menuImages,
                         std::mt19937& random, float x, float y, int32_t kind)
    : TSprite(engine), PlanetKind(kind) {
  std::string key = "p";
  key += std::to_string(kind + 1);
  SetImage(menuImages.ImageList.Find(key));
  SetName("planet");
  Visible = true;
  SetPatternIndex(RandomBelow(random, kPlanetCells));
  AnimTick = 1;
  SetZ(55);
  SetX(x);
  SetY(y);
  OrbitAngle = RandomBelow(random, 360);
  const TOrbit orbit = kOrbits[static_cast<size_t>(kind >= 0 && kind < 6 ? kind : 4)];
  RadiusX = orbit.RadiusX;
  RadiusY = orbit.RadiusY;
  if (RadiusX != 0) OrbitSpeed = RandomBelow(random, 10) / 20.0 - 0.15;
  if (OrbitSpeed == 0) OrbitSpeed = 0.1;
}

void TMenuPlanet::DoMove(float delta) {
  TSprite::DoMove(delta);
  if (AnimTick % 10 == 0) {
    SetPatternIndex((PatternIndex() + 1) % kPlanetCells);
    AnimTick = 0;
  }
  ++AnimTick;
  SetX(static_cast<float>(CosDeg(OrbitAngle) * RadiusX + kOrbitCentreX - Width() / 2.0));
  SetY(static_cast<float>(SinDeg(OrbitAngle) * RadiusY + kOrbitCentreY - Height() / 2.0));
  OrbitAngle += OrbitSpeed;
}

}  // namespace game
