#pragma once
// The greeting ticker of the menus.

#include <cstdint>
#include <functional>
#include <string>

#include "engine/VexelSprite.h"

namespace game {

/// The numbers the greeting ticker shows.
struct TTickerValues {
  std::string PlayerName;
  int32_t Score = 0;
  int32_t TargetScore = 0;
  int32_t UnlockStage = 0;
  int32_t CarsAvailable = 0;
  int32_t TracksAvailable = 0;
  /// Why the progress cannot be saved ("" when it can); the ticker then says so first.
  std::string SaveProblem;
};

/// The greeting ticker of the menus: a long line of text that scrolls one character at a time,
/// every 12 frames per width of a "W", so wider characters take longer. The shell draws
/// ShownText; the sprite itself has no picture.
class TRunningString : public vexel::TSprite {
 public:
  /// Measures the pixel width of a text in the ticker's font.
  using TMeasure = std::function<int32_t(const std::string&)>;

  /// A ticker greeting the player with the given values.
  TRunningString(vexel::TVexelSprite& engine, const TTickerValues& values, TMeasure measure);

  /// Rewrites the text for another profile.
  void Rebuild(const TTickerValues& profile);
  /// Moves the text on by one character when its time has come.
  void DoMove(float delta) override;

  std::string Text;
  std::string ShownText;
  int32_t CharW = 0;
  int32_t LastCharW = 0;
  int32_t Tick = 0;

 private:
  TMeasure Measure_;
};

}  // namespace game
