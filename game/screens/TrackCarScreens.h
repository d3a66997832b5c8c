#pragma once
// The track and car carousels.

#include <array>
#include <string>

#include "ScreenGroup.h"
#include "engine/VexelFont.h"

namespace game {

/// States 14 (choose a track: its preview, title, best time, length, laps and opponents) and
/// 15 (choose a car: its picture and four handling bars); locked entries are shown greyed with
/// a padlock and the points that open them, and cannot be raced. The track choice's GO leads
/// to a race, its TIME TRIAL (key T, pad Y) to a time trial; the car choice of a time trial
/// shows the profile's record of the car on the track.
class TTrackCarScreens : public TScreenGroup {
 public:
  using TScreenGroup::TScreenGroup;
  /// States 14 and 15.
  bool Owns(uint8_t state) const override { return state == 14 || state == 15; }
  /// Builds the carousel and slides it in.
  void Enter(uint8_t state) override;
  /// Frees the carousel's widgets and pictures.
  void Leave(uint8_t state) override;
  /// One frame of the carousel.
  void Frame(uint8_t state) override;
  /// Draws the shown track's title, best time, length, laps and opponents.
  void DrawTrackInfo();

 private:
  void EnterTrack();
  void TrackFrame();
  void ShowTrack();
  void StepTrack(int32_t step);
  void ToCarScreen();
  void ToTrialCarScreen();
  void EnterCar();
  void CarFrame();
  void ShowCar(int32_t dim);
  void StepCar(int32_t step);
  bool CarouselKeys(uint8_t back, bool available, void (TTrackCarScreens::*go)(),
                    void (TTrackCarScreens::*step)(int32_t));
  void SlideCarousel(int32_t pictureX);
  void BeginCarouselScene();
  void StartRace();
  void DrawCentred(vexel::TVexelFont& font, int32_t x, int32_t y, const std::string& text);
  void DrawLockLabel(int32_t x, int32_t y, int32_t score);
  void DrawCarLock();
  void DrawTrialRecord();
  std::string TrialRecordText(int32_t track, int32_t car) const;

  TMenuScreen* TrackPicture_ = nullptr;
  TMenuScreen* CarPicture_ = nullptr;
  std::array<TMenuScreen*, 4> CarBars_{};
  /// What the car choice of a time trial says under its buttons ("" in a race's).
  std::string TrialLine_;
};

}  // namespace game
