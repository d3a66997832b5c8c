#include "RaceOverScreen.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <utility>

#include "RaceScreens.h"
#include "game/Unit_pr.h"
#include "game/race/EnemyCar.h"
#include "game/race/Player.h"
#include "game/race/RaceReplay.h"

namespace game {
namespace {

// The standings' column, right of the results panel.
constexpr int32_t kStandingsLeft = 630;
constexpr int32_t kStandingsTop = 170;
constexpr int32_t kStandingsLine = 18;
// The height of the standings panel's title bar.
constexpr int32_t kStandingsHeader = 44;

// Buttons of the results, in creation order.
constexpr size_t kNext = 0;
constexpr size_t kNo = 1;
constexpr size_t kYes = 2;
constexpr size_t kReplay = 3;

// Stages of the ladder that open a car; the others open tracks.
bool OpensCar(int32_t stage) {
  return stage == 1 || stage == 3 || stage == 5;
}

}  // namespace

TUnlock TRaceOverScreen::UnlockDue(int32_t unlockStage, int32_t targetScore, int32_t startScore,
                                   int32_t gain) {
  if (unlockStage >= UnlockComplete) return TUnlock::None;
  // The race's points must take the score strictly past the target. A score that had landed
  // exactly on the target (or was stored above it) still opens the stage with the next race
  // that gains points; refusing every start at or above the target would stop the ladder there
  // for good.
  if (gain <= 0 || startScore + gain <= targetScore) return TUnlock::None;
  return OpensCar(unlockStage) ? TUnlock::Car : TUnlock::Track;
}

std::vector<TStanding> TRaceOverScreen::Standings(const TRaceWorld& race) {
  std::vector<TStanding> standings;
  std::vector<bool> finished(static_cast<size_t>(race.EnemyCount) + 1, false);
  // The finished record of each car: opponents by index, the player in the last slot.
  const auto slotOf = [&race](int32_t who) {
    return static_cast<size_t>(who == PlayerWho ? race.EnemyCount : who);
  };
  for (int32_t place = 1; place < race.FinishCount && place <= MaxPlaces; ++place) {
    const TRaceResult& result = race.RaceResults[static_cast<size_t>(place)];
    if (result.Who != PlayerWho && (result.Who < 0 || result.Who >= race.EnemyCount)) continue;
    finished[slotOf(result.Who)] = true;
    standings.push_back({place, result.Who, true, result.Time});
  }
  std::vector<std::pair<int32_t, int32_t>> racing;  // running position, who
  for (int32_t i = 0; i < race.EnemyCount; ++i) {
    if (!finished[slotOf(i)]) racing.emplace_back(race.Enemy(i).RacePosition, i);
  }
  if (race.Player && !finished[slotOf(PlayerWho)]) {
    racing.emplace_back(race.Player->RacePosition, PlayerWho);
  }
  std::stable_sort(racing.begin(), racing.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [position, who] : racing) {
    standings.push_back({static_cast<int32_t>(standings.size()) + 1, who, false, {}});
  }
  return standings;
}

void TRaceOverScreen::Enter(uint8_t) {
  BeginResults();
  ResultLines = 0;
  AddButton(
      "bro_next", 354, 372, [this] { SaveRaceResult(); }, &Form_.GameImageList);
  AddButton(
      "b_no1", 418, 347, [this] { ReturnFromRace(false); }, &Form_.GameImageList);
  AddButton(
      "b_yes1", 307, 347, [this] { ReturnFromRace(true); }, &Form_.GameImageList);
  Form_.ButtonCount = 3;
  for (size_t i = 0; i < 3; ++i) Form_.ScreenButtons[i]->Visible = false;
  AddReplayButton([this] { SaveReplay(); });
  ShowPanel("raceover", "scr_raceover");
  const int32_t place = Form_.Race && Form_.Race->Player ? Form_.Race->Player->FinishPosition : 0;
  const TTrackInfo& track =
      Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
  RaceBonus = place >= 1 && place <= 3 ? track.PlaceReward[static_cast<size_t>(place - 1)] : 0;
  RaceGain = RaceBonus;
  Form_.ScreenTick = 0;
  Form_.WaitTicks = 2000;
  if (Form_.Cursor) Form_.Cursor->Visible = true;
  TrackUnlockShown = CarUnlockShown = false;
  RaceStartScore = Form_.Score;
  // The race goes on behind the results; the player's car no longer takes the arrows, which
  // now move the highlight over the buttons.
  if (Form_.Race && Form_.Race->Player) Form_.Race->Player->ControlsEnabled = false;
}

void TRaceOverScreen::CountPoints() {
  if (Form_.ScreenTick <= 350 || Form_.WaitTicks <= 1000) return;
  if (RaceBonus > 0) {
    ++Form_.Score;
    --RaceBonus;
  } else {
    Form_.WaitTicks = 0;
  }
}

void TRaceOverScreen::TestUnlock() {
  if (Form_.WaitTicks >= 0 && Form_.WaitTicks <= 100) {
    ++Form_.WaitTicks;
    return;
  }
  if (Form_.WaitTicks != 101) return;
  if (auto* next = Form_.ScreenButtons[kNext]) next->Visible = true;
  TGameCatalogue& catalogue = Form_.Catalogue;
  const TUnlock unlock =
      UnlockDue(catalogue.UnlockStage, catalogue.TargetScore, RaceStartScore, RaceGain);
  if (unlock == TUnlock::None) return;
  if (unlock == TUnlock::Track) TrackUnlockShown = true;
  if (unlock == TUnlock::Car) CarUnlockShown = true;
  catalogue.AdvanceUnlockStage();
}

void TRaceOverScreen::DrawAnnouncement() {
  auto* banner = Form_.GameImageList.ImageList.Find("scr_av");
  const auto announce = [&](int32_t bannerY, const std::string& text) {
    if (banner) banner->Draw(196, bannerY, 0);
    Form_.VexelFont1.TextOut(400 - Form_.VexelFont1.TextWidth(text) / 2, 451, text);
  };
  if (TrackUnlockShown) {
    announce(446, "New tracks are available!");
  } else if (CarUnlockShown) {
    announce(448, "New car is available!");
  }
}

void TRaceOverScreen::DrawStandings() {
  if (!Form_.Race || ResultLines < 1) return;
  vexel::TVexelFont& font = Form_.VexelFont2;
  font.SetFont("Arial Black", 9, {});
  if (auto* shade = Form_.GameImageList.ImageList.Find("scr_standings")) {
    shade->Draw(kStandingsLeft - 12, kStandingsTop, 0);
  }
  int32_t y = kStandingsTop + kStandingsHeader;
  for (const TStanding& standing : Standings(*Form_.Race)) {
    const bool player = standing.Who == PlayerWho;
    font.SetColor(player ? vexel::ARGBColor(255, 190, 60, 255)
                         : vexel::ARGBColor(250, 250, 250, 255));
    const std::string who = player ? "You" : "Rival " + std::to_string(standing.Who + 1);
    font.TextOut(kStandingsLeft, y, std::to_string(standing.Place) + ".");
    font.TextOut(kStandingsLeft + 22, y, who);
    font.TextOut(kStandingsLeft + 100, y, standing.Finished ? standing.Time.Text() : "racing");
    y += kStandingsLine;
  }
}

void TRaceOverScreen::Frame(uint8_t) {
  if (!BeginResultsFrame()) return;
  const int32_t t = Form_.ScreenTick;
  if (t == 70 || t == 140 || t == 210 || t == 280) ResultLines = t / 70;
  CountPoints();
  TestUnlock();
  ++Form_.ScreenTick;
  Hud_.DrawRaceResults(ResultLines, RaceBonus);
  DrawStandings();
  DrawAnnouncement();
  EndResultsFrame();
}

void TRaceOverScreen::SaveRaceResult() {
  Form_.PlaySound("check1");
  if (Form_.Race && Form_.Race->Player) {
    const int32_t place = Form_.Race->Player->FinishPosition;
    TTrackInfo& track =
        Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
    if (place >= 1 && place <= MaxPlaces) {
      const TRaceTime& time = Form_.Race->RaceResults[static_cast<size_t>(place)].Time;
      if (!BestTimeStands(time, track.BestTime)) track.BestTime = time;
    }
  }
  DropReplayButton();
  Form_.StoreProfileProgress();
  Form_.HighScores.Enter(Form_.PlayerName, Form_.Score);
  Form_.SaveConfig();
  ResultLines = 0;
  if (Panel_) Panel_->ShowImage("scr_send");
  if (auto* no = Form_.ScreenButtons[kNo]) no->Visible = true;
  if (auto* yes = Form_.ScreenButtons[kYes]) yes->Visible = true;
  // The button goes for good: hidden, it would be shown again by the next frame's unlock test
  // and drawn over the send question's buttons.
  if (auto* next = Form_.ScreenButtons[kNext]) {
    Form_.ScreenList->FreeWidget(*next);
    Form_.ScreenButtons[kNext] = nullptr;
  }
}

void TRaceOverScreen::SaveReplay() {
  Form_.PlaySound("check1");
  if (!Form_.LastReplay || !Form_.Race || !Form_.Race->Player) return;
  const int32_t place = Form_.Race->Player->FinishPosition;
  const TRaceTime time = place >= 1 && place <= MaxPlaces
                             ? Form_.Race->RaceResults[static_cast<size_t>(place)].Time
                             : Form_.Race->Player->RaceTime;
  const TTrackInfo& track =
      Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
  KeepReplay(Form_, track.Title, time);
  DropReplayButton();
}

void TRaceOverScreen::KeepReplay(TForm1& form, const std::string& title, const TRaceTime& time) {
  if (!form.LastReplay) return;
  const std::string folder = form.Paths.ConfigFile("replays");
  try {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string name = TRaceReplay::ReadableName(title, time, std::time(nullptr));
    form.LastReplay->Save((std::filesystem::path(folder) / name).string());
    std::fprintf(stderr, "Replay saved as %s\n", name.c_str());
  } catch (const TReplayError& error) {
    std::fprintf(stderr, "%s\n", error.what());
  }
}

void TRaceOverScreen::DropReplayButton() {
  // Saved once; and the send question's buttons take its place on the panel.
  if (auto* button = Form_.ScreenButtons[kReplay]) {
    Form_.ScreenList->FreeWidget(*button);
    Form_.ScreenButtons[kReplay] = nullptr;
  }
}

void TRaceOverScreen::ReturnFromRace(bool send) {
  Form_.SwitchMusic("losemusic", "menumusic");
  Form_.PlaySound("check1");
  Form_.ChangeState(14, TStateChange::ReplaceWithRace);
  if (send) {
    Form_.Score = Form_.Profiles.Current().Score;
    Form_.PlayerName = Form_.Profiles.Current().Name;
  }
  Form_.CreateMenuScenery();
  if (send) Form_.SubmitScore();
}

}  // namespace game
