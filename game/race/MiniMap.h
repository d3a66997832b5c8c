#pragma once
// The track map of the HUD.

#include <cstdint>
#include <vector>

#include "RaceSprite.h"

namespace game {

/// The whole track drawn small in the HUD's deck below the race: the road pieces made into one
/// picture of the deck when the race is set up, the player's next checkpoint as a pulsing ring,
/// each opponent as a dot in its colour and the player as a larger dot in the player's colour. A
/// frame draws a dozen quads. The map keeps its place on the screen whatever moves the race.
class TMiniMap : public TRaceSprite {
 public:
  /// Builds the map from the world's road pieces and checkpoint lines as they lie now; made
  /// once the race is set up. A track without road pieces gets no map.
  TMiniMap(vexel::TVexelSprite& engine, TRaceWorld& world);

  /// Advances the checkpoint ring's pulse.
  void DoMove(float delta) override;
  /// Draws the deck's picture (backing and map), the checkpoint ring and the cars' dots.
  void DoDraw() override;

  /// Whether the track had road pieces to make a map of.
  bool HasMap() const { return !MapPixels_.empty(); }
  /// Left edge of the map picture on the screen.
  int32_t MapLeft() const { return MapLeft_; }
  /// Top edge of the map picture on the screen.
  int32_t MapTop() const { return MapTop_; }
  /// Width of the map picture in pixels.
  int32_t MapWidth() const { return MapWidth_; }
  /// Height of the map picture in pixels.
  int32_t MapHeight() const { return MapHeight_; }
  /// The map picture, 0xAARRGGBB row by row: road in the map's colour, its alpha the share of
  /// the pixel the road pieces cover, and nothing elsewhere.
  const std::vector<uint32_t>& MapPixels() const { return MapPixels_; }
  /// Where a point of the race world, as the world lies this frame, is on the screen's map.
  TPoint2 MapPoint(const TPoint2& world) const;
  /// Where the player's next checkpoint is marked on the screen; false when it has no line.
  bool NextCheckpointMark(TPoint2& at) const;

 private:
  /// A checkpoint line's number and its mark on the screen.
  struct TCheckpointMark {
    int32_t Number = 0;
    TPoint2 At;
  };

  void BuildMap();
  void FindCheckpoints();
  void StoreMapPicture();
  void DrawDot(vexel::TImageListItem& marks, const TPoint2& world, uint32_t colour,
               float scale) const;

  std::vector<uint32_t> MapPixels_;
  int32_t MapLeft_ = 0;
  int32_t MapTop_ = 0;
  int32_t MapWidth_ = 0;
  int32_t MapHeight_ = 0;
  /// World pixels per map pixel is 1 / Scale_; MinX_, MinY_ is the map's top-left in the world
  /// as it lay when the map was made.
  double Scale_ = 1;
  double MinX_ = 0;
  double MinY_ = 0;
  /// A road piece and where it lay when the map was made: how far it has moved since is how
  /// far the world has.
  const vexel::TSprite* Anchor_ = nullptr;
  double AnchorX_ = 0;
  double AnchorY_ = 0;
  std::vector<TCheckpointMark> Checkpoints_;
  vexel::TImageListItem* MapImage_ = nullptr;
  vexel::TImageListItem* Marks_ = nullptr;
  int32_t PulseTick_ = 0;
};

}  // namespace game
