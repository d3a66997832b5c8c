#include "TrackCarScreens.h"

#include <filesystem>
#include <iterator>
#include <utility>

#include "game/Unit_pr.h"
#include "game/race/GhostRun.h"
#include "game/race/ReplayError.h"
#include "game/race/TimeTrialRun.h"
#include "platform/VirtualKeys.h"

namespace game {
namespace {

// Buttons of both carousels, in creation order, and where they slide to.
constexpr size_t kNext = 0;
constexpr size_t kPrev = 1;
constexpr size_t kRace = 3;
constexpr size_t kTrial = 4;
constexpr int32_t kFinalLeft[] = {597, 518, 407, 649, 649};
constexpr int32_t kSlideFrames = 25;

// Where the label of a locked entry is centred: under the track's details, or under the car
// screen's title, clear of the names of the bars.
constexpr int32_t kTrackLockLabelX = 665;
constexpr int32_t kTrackLockLabelY = 482;
constexpr int32_t kCarLockLabelX = 575;
constexpr int32_t kCarLockLabelY = 334;
// Where the car choice of a time trial says so, with the record of the car shown.
constexpr int32_t kTrialLineX = 575;
constexpr int32_t kTrialLineY = 560;

// What a locked track or car needs: "Opens at 700 points" ("" when no stage opens it).
std::string OpensAtText(int32_t score) {
  if (score < 0) return {};
  return "Opens at " + std::to_string(score) + " points";
}

std::string BestTimeText(const TTrackInfo& track) {
  if (track.BestTime.Minutes >= NoBestTimeMinutes) return "--:--:--";
  return track.BestTime.Text();
}

}  // namespace

void TTrackCarScreens::Enter(uint8_t state) {
  if (state == 14) EnterTrack();
  if (state == 15) EnterCar();
}

void TTrackCarScreens::Leave(uint8_t) {
  FreeWidgets();
  KillPanel();
  for (TMenuScreen** picture : {&TrackPicture_, &CarPicture_}) {
    if (*picture) (*picture)->Kill();
    *picture = nullptr;
  }
  for (TMenuScreen*& bar : CarBars_) {
    if (bar) bar->Kill();
    bar = nullptr;
  }
  Form_.VexelSprite1.ClearDead();
}

void TTrackCarScreens::Frame(uint8_t state) {
  if (state == 14) TrackFrame();
  if (state == 15) CarFrame();
}

void TTrackCarScreens::DrawCentred(vexel::TVexelFont& font, int32_t x, int32_t y,
                                   const std::string& text) {
  font.TextOut(x - font.TextWidth(text) / 2, y, text);
}

void TTrackCarScreens::EnterTrack() {
  Form_.PlaySound("up", true);
  Form_.VexelFont1.SetFont("Arial Black", 9, {});
  Form_.VexelFont1.SetColor(0xFFFFFFFF);
  Form_.VexelFont2.SetFont("Arial Black", 8, {});
  Form_.VexelFont2.SetColor(0xFFFFFFFF);
  Form_.VexelFont3.SetFont("Arial Black", 13, {});
  Form_.VexelFont3.SetColor(vexel::ARGBColor(120, 133, 255, 255));
  NewWidgetList();
  AddButton("bc_next", 997, 503, [this] { StepTrack(1); });
  AddButton("bc_prev", 918, 503, [this] { StepTrack(-1); });
  AddButton("b_back2", 807, 503, [this] {
    Form_.ChangeState(4, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
  });
  AddButton("bc_race", 1049, 505, [this] { ToCarScreen(); });
  AddButton("bc_trial", 1049, 549, [this] { ToTrialCarScreen(); });
  Form_.ButtonCount = 5;
  Form_.TimeTrial = false;
  MakePanel("choosetrack", "scr_choose", 760, 280, 500);
  const TTrackInfo& track =
      Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
  TrackPicture_ = Form_.VexelSprite1.Create<TMenuScreen>(
      Form_.VexelImageList1, true, 255, "trackimage", track.PreviewImage, 521, 360.0f, 800.0f);
  ShowTrack();
  Form_.WaitTicks = 0;
  Form_.ClearReleased();
  Form_.ScreenTick = 0;
}

void TTrackCarScreens::ShowTrack() {
  const TTrackInfo& track =
      Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
  if (TrackPicture_) {
    if (auto* item = Form_.VexelImageList1.ImageList.Find(track.Available ? track.PreviewImage
                                                                          : "tr_notav")) {
      TrackPicture_->SetImage(item);
    }
  }
  for (size_t button : {kRace, kTrial}) {
    if (auto* go = Form_.ScreenButtons[button]) go->Visible = track.Available;
  }
}

void TTrackCarScreens::StepTrack(int32_t step) {
  Form_.PlaySound("check1");
  TGameCatalogue& catalogue = Form_.Catalogue;
  catalogue.SelectedTrack += step;
  if (catalogue.SelectedTrack > catalogue.LastTrackIndex) catalogue.SelectedTrack = 0;
  if (catalogue.SelectedTrack < 0) catalogue.SelectedTrack = catalogue.LastTrackIndex;
  ShowTrack();
}

void TTrackCarScreens::ToCarScreen() {
  Form_.ChangeState(15, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
}

void TTrackCarScreens::ToTrialCarScreen() {
  Form_.TimeTrial = true;
  ToCarScreen();
}

void TTrackCarScreens::SlideCarousel(int32_t pictureX) {
  for (size_t i = 0; i < std::size(kFinalLeft); ++i) {
    if (auto* button = Form_.ScreenButtons[i]) {
      button->Left = SlideTowards(button->Left, kFinalLeft[i], 20);
    }
  }
  auto slideX = [](TMenuScreen* sprite, int32_t target) {
    if (sprite) {
      sprite->SetX(static_cast<float>(SlideTowards(static_cast<int32_t>(sprite->X()), target, 20)));
    }
  };
  slideX(Form_.MenuScreen, 360);
  slideX(TrackPicture_, pictureX);
  slideX(CarPicture_, pictureX);
  for (TMenuScreen* bar : CarBars_) slideX(bar, 572);
}

// The carousels' keys: escape goes back, enter takes an available entry, right and left
// browse. Returns whether a key acted, which ends the frame.
bool TTrackCarScreens::CarouselKeys(uint8_t back, bool available, void (TTrackCarScreens::*go)(),
                                    void (TTrackCarScreens::*step)(int32_t)) {
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.PlaySound("check2");
    Form_.ChangeState(back);
    return true;
  }
  if (Form_.KeyReleased[platform::VK_RETURN]) {
    Form_.KeyReleased[platform::VK_RETURN] = false;
    if (!available) return false;
    (this->*go)();
    return true;
  }
  for (const auto& [key, direction] : {std::pair{platform::VK_RIGHT, 1}, {platform::VK_LEFT, -1}}) {
    if (Form_.TakeReleased(key)) {
      (this->*step)(direction);
      return true;
    }
  }
  return false;
}

void TTrackCarScreens::BeginCarouselScene() {
  BeginFrame();
  DrawBackground();
  DrawStars(Form_.Stars, *Form_.VexelScreen1, Form_.Random);
  Form_.VexelSprite1.Move(0);
  Form_.VexelSprite1.Draw();
}

void TTrackCarScreens::TrackFrame() {
  const TTrackInfo& track =
      Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
  if (CarouselKeys(4, track.Available, &TTrackCarScreens::ToCarScreen,
                   &TTrackCarScreens::StepTrack)) {
    return;
  }
  if (Form_.TakeReleased('T') && track.Available) {
    ToTrialCarScreen();
    return;
  }
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    SlideCarousel(400);
    ++Form_.ScreenTick;
  }
  BeginCarouselScene();
  if (Form_.ScreenTick > kSlideFrames) DrawTrackInfo();
  DrawInfoLine();
  DrawLightsAgain();
  Form_.VexelGUI1.Draw();
  DrawCursor();
  EndFrame();
}

void TTrackCarScreens::DrawTrackInfo() {
  const int32_t slot = Form_.Catalogue.SelectedTrack;
  const TTrackInfo& track = Form_.Catalogue.TrackInfo[static_cast<size_t>(slot)];
  DrawCentred(Form_.VexelFont3, 640, 360,
              track.Available ? track.Title : "Track " + std::to_string(slot + 1));
  static const char* const kLabels[] = {"Best time: ", "Length:", "Laps:", "Opponents:"};
  const std::string values[] = {
      track.Available ? BestTimeText(track) : "--:--:--",
      track.Available ? track.LengthText : "-",
      track.Available ? std::to_string(track.Laps) : "-",
      track.Available ? std::to_string(track.Opponents) : "-",
  };
  for (int32_t i = 0; i < 4; ++i) {
    const int32_t y = 395 + 20 * i;
    Form_.VexelFont1.TextOut(560, y, kLabels[i]);
    DrawCentred(Form_.VexelFont1, 700, y, values[i]);
  }
  if (!track.Available) {
    DrawLockLabel(kTrackLockLabelX, kTrackLockLabelY, Form_.Catalogue.OpeningScore(false, slot));
  }
}

void TTrackCarScreens::DrawLockLabel(int32_t x, int32_t y, int32_t score) {
  const std::string text = OpensAtText(score);
  if (text.empty()) return;
  Form_.VexelFont3.SetColor(vexel::ARGBColor(255, 138, 30, 255));
  DrawCentred(Form_.VexelFont3, x, y, text);
  Form_.VexelFont3.SetColor(vexel::ARGBColor(120, 133, 255, 255));
}

void TTrackCarScreens::DrawCarLock() {
  const int32_t type = Form_.Catalogue.SelectedCar;
  if (Form_.Catalogue.CarInfo[static_cast<size_t>(type)].Available || !CarPicture_) return;
  auto* card = CarPicture_->Image();
  auto* lock = Form_.VexelImageList1.ImageList.Find("c_lock");
  if (card && lock) {
    lock->Draw(static_cast<int32_t>(CarPicture_->X()) + (card->ImageWidth - lock->ImageWidth) / 2,
               static_cast<int32_t>(CarPicture_->Y()) + (card->ImageHeight - lock->ImageHeight) / 2,
               0);
  }
  DrawLockLabel(kCarLockLabelX, kCarLockLabelY, Form_.Catalogue.OpeningScore(true, type));
}

void TTrackCarScreens::EnterCar() {
  Form_.PlaySound("up", true);
  Form_.VexelFont2.SetFont("Arial Black", 8, {});
  Form_.VexelFont2.SetColor(0xFFFFFFFF);
  NewWidgetList();
  AddButton("bc_next", 997, 503, [this] { StepCar(1); });
  AddButton("bc_prev", 918, 503, [this] { StepCar(-1); });
  AddButton("b_back2", 807, 503, [this] {
    Form_.ChangeState(14, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
  });
  AddButton("bc_race", 1049, 505, [this] { Form_.StartRace(); });
  Form_.ButtonCount = 4;
  MakePanel("choosetrack", "scr_choosecar", 760, 280, 500);
  const TCarInfo& car = Form_.Catalogue.CarInfo[static_cast<size_t>(Form_.Catalogue.SelectedCar)];
  CarPicture_ = Form_.VexelSprite1.Create<TMenuScreen>(Form_.VexelImageList1, true, 255, "carimage",
                                                       car.PreviewImage, 521, 363.0f, 813.0f);
  static const char* const kBars[] = {"bar1", "bar2", "bar3", "bar4"};
  static constexpr float kBarY[] = {378, 412, 446, 476};
  for (size_t i = 0; i < 4; ++i) {
    CarBars_[i] = Form_.VexelSprite1.Create<TMenuScreen>(Form_.VexelImageList1, true, 255, "bar",
                                                         kBars[i], 522, kBarY[i], 972.0f);
  }
  ShowCar(85);
  Form_.WaitTicks = 0;
  Form_.ClearReleased();
  Form_.ScreenTick = 0;
}

void TTrackCarScreens::ShowCar(int32_t dim) {
  const TCarInfo& car = Form_.Catalogue.CarInfo[static_cast<size_t>(Form_.Catalogue.SelectedCar)];
  if (CarPicture_) {
    if (auto* item = Form_.VexelImageList1.ImageList.Find(car.PreviewImage))
      CarPicture_->SetImage(item);
    const int32_t shade = car.Available ? 255 : dim;
    CarPicture_->SetRed(shade);
    CarPicture_->SetGreen(shade);
    CarPicture_->SetBlue(shade);
  }
  const double scales[] = {car.MaxSpeed / 12, car.Acceleration * 10, car.TurnRate / 2, car.Grip};
  for (size_t i = 0; i < 4; ++i) {
    if (!CarBars_[i]) continue;
    CarBars_[i]->Visible = car.Available;
    CarBars_[i]->ScaleX = static_cast<float>(scales[i]);
  }
  if (auto* race = Form_.ScreenButtons[kRace]) race->Visible = car.Available;
  // Read when the car changes, not every frame.
  TrialLine_.clear();
  if (Form_.TimeTrial && car.Available) {
    TrialLine_ = "TIME TRIAL - " +
                 TrialRecordText(Form_.Catalogue.SelectedTrack, Form_.Catalogue.SelectedCar);
  }
}

void TTrackCarScreens::StepCar(int32_t step) {
  Form_.PlaySound("check1");
  TGameCatalogue& catalogue = Form_.Catalogue;
  catalogue.SelectedCar += step;
  if (catalogue.SelectedCar > catalogue.LastCarIndex) catalogue.SelectedCar = 0;
  if (catalogue.SelectedCar < 0) catalogue.SelectedCar = catalogue.LastCarIndex;
  ShowCar(55);
}

void TTrackCarScreens::CarFrame() {
  const TCarInfo& car = Form_.Catalogue.CarInfo[static_cast<size_t>(Form_.Catalogue.SelectedCar)];
  if (CarouselKeys(14, car.Available, &TTrackCarScreens::StartRace, &TTrackCarScreens::StepCar)) {
    return;
  }
  if (Form_.ScreenTick >= 0 && Form_.ScreenTick <= kSlideFrames) {
    SlideCarousel(413);
    ++Form_.ScreenTick;
  }
  BeginCarouselScene();
  if (Form_.ScreenTick > kSlideFrames) DrawCarLock();
  if (Form_.ScreenTick > kSlideFrames) DrawTrialRecord();
  DrawInfoLine();
  Form_.VexelGUI1.Draw();
  DrawCursor();
  EndFrame();
}

void TTrackCarScreens::StartRace() {
  Form_.StartRace();
}

void TTrackCarScreens::DrawTrialRecord() {
  if (!TrialLine_.empty()) DrawCentred(Form_.VexelFont2, kTrialLineX, kTrialLineY, TrialLine_);
}

std::string TTrackCarScreens::TrialRecordText(int32_t track, int32_t car) const {
  const std::string path =
      TGhostRun::PathFor(Form_.Paths.ConfigDir(), Form_.Profiles.CurrentProfile, track, car);
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return "no record yet";
  try {
    const TGhostRun record = TGhostRun::Load(path);
    return "record " + TTimeTrialRun::TimeOfFrames(record.TimeFrames).Text();
  } catch (const TReplayError&) {
    return "no record";
  }
}

}  // namespace game
