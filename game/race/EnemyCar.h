#pragma once
// A computer-driven car.

#include <array>
#include <cstdint>
#include <string>

#include "Car.h"

namespace game {

/// A forward probe of an opponent: a point at Distance from the car's centre, Angle degrees off
/// its rotation, with the flags the obstacles and the car-ahead check leave for the driver.
struct TFeeler {
  double X = 0;
  double Y = 0;
  double Distance = 0;
  double Angle = 0;
  bool AvoidRight = false;
  bool AvoidLeft = false;
  bool Blocked = false;
};

/// An opponent: it steers towards the current point of the track's driving path, moves on once
/// within 160 pixels of it, brakes when its heading points too far from the target, swerves from
/// obstacles its feelers find and around cars in front of it, bumps off other cars, measures its
/// own progress and proves its laps by the tags of the path points it reaches. Unlike the
/// player's car it moves its own sprite, and it follows the world's shift too.
class TEnemyCar : public TCar {
 public:
  /// Opponent Index of the given type centred on (CentreX, CentreY), facing Heading; counts
  /// itself into the race's EnemyCount.
  TEnemyCar(vexel::TVexelSprite& engine, TRaceWorld& world, double centreX, double centreY,
            int32_t carType, const std::string& name, int32_t index, double heading);

  /// One frame: follow the world, look ahead, drive (or hold), progress, move, collide.
  void DoMove(float delta) override;
  /// Draws the car, then its paint layer over it in the opponent's colour.
  void DoDraw() override;
  /// Sets the ahead feeler's avoid flags from the opponents and the player in front.
  void CheckCarAhead();
  /// Decides and applies throttle, brake and steering towards the target path point.
  void Drive();
  /// Progress along the lap and this opponent's total progress in the race.
  void UpdatePathProgress();
  /// Place in the running order among the opponents and the player.
  void UpdateRacePosition();
  /// Places the three feelers around the car.
  void UpdateFeelers();
  /// Tests contact with the other opponents and the player and bumps off those touching.
  void CarContacts();
  /// Moves this car away from Other and turns it a little with the contact.
  void BumpOff(const TCar& other);
  /// Tells the race that a bump with `other` began, as hard as their speeds differ.
  void ReportBump(const TCar& other) const;
  /// Whether every section the lap needs (tags 2 .. TaggedPathCount - 1) was reached.
  bool SectionsComplete() const;
  /// Clears the sections for the next lap.
  void ClearSections();

  int32_t Index = 0;
  int32_t TargetPathIndex = 1;
  float Bearing = 0;
  bool PlayerContact = false;
  std::array<TFeeler, 3> Feelers{};
  bool Started = false;
  /// Lap evidence by path tag; tags 1 .. TaggedPathCount - 1 are in the table, others ignored.
  std::array<bool, MaxPathPoints> SectionPassed{};
  float LastHeading = 0;
  /// The tint of the paint layer: the opponent's colour (kOpponentColours by index).
  uint32_t PaintColour = 0xFFFFFFFF;

 private:
  struct TDecision {
    bool Accelerate = false;
    bool Brake = false;
    bool Left = false;
    bool Right = false;
  };

  void HoldOrCoast();
  void DecideSteering(const TPoint2& c, const TPathPoint& target, TDecision& decision);
  void AdvanceTarget(const TPoint2& c, const TPathPoint& target);
  void DecideSpeed(TDecision& decision) const;
  void AvoidCarsAndObstacles(TDecision& decision);
  void Act(const TDecision& decision);
  void AvoidIfAhead(const TCar& other, double half, bool turnRightWhenLevel);

  /// The car type's paint layer ("car<N>paint"), or none when the race pictures lack it.
  vexel::TImageListItem* Paint_ = nullptr;
};

}  // namespace game
