#include "TrialOverScreen.h"

#include "RaceOverScreen.h"
#include "RaceScreens.h"
#include "game/Unit_pr.h"
#include "game/race/Player.h"
#include "game/race/TimeTrialRun.h"

namespace game {
namespace {

// The SAVE REPLAY button, after NEXT.
constexpr size_t kReplay = 1;
// Where the values are centred, and the lines of the panel's labels.
constexpr int32_t kValueX = 497;
constexpr std::array<int32_t, 4> kValueY = {239, 272, 304, 334};
// The sentence under the values, centred on the panel.
constexpr int32_t kSentenceX = 400;
constexpr int32_t kSentenceY = 362;

}  // namespace

std::array<std::string, 5> TTrialOverScreen::ResultTexts(const TTimeTrialRun& trial) {
  const int32_t run = trial.RunFrames();
  const std::optional<TGhostRun>& record = trial.Record();
  std::array<std::string, 5> texts;
  texts[0] = TTimeTrialRun::TimeOfFrames(run).Text();
  texts[1] =
      trial.BestLapFrames() > 0 ? TTimeTrialRun::TimeOfFrames(trial.BestLapFrames()).Text() : "-";
  if (!record) {
    texts[2] = "none";
    texts[3] = "none";
    texts[4] = "First run with this car: no record to compare with.";
    return texts;
  }
  texts[2] = TTimeTrialRun::TimeOfFrames(record->TimeFrames).Text();
  texts[3] = TTimeTrialRun::DifferenceText(run, record->TimeFrames);
  texts[4] = trial.BeatsRecord() ? "A new record: the ghost drives this run from now on."
                                 : "The record stands.";
  return texts;
}

void TTrialOverScreen::Enter(uint8_t) {
  BeginResults();
  AddButton(
      "bro_next", 461, 390, [this] { ReturnToTrackChoice(); }, &Form_.GameImageList);
  Form_.ButtonCount = 1;
  AddReplayButton([this] { SaveReplay(); });
  ShowPanel("trialover", "scr_trialover");
  Form_.ScreenTick = 0;
  if (Form_.Cursor) Form_.Cursor->Visible = true;
  if (Form_.Race && Form_.Race->Player) Form_.Race->Player->ControlsEnabled = false;
}

void TTrialOverScreen::Frame(uint8_t) {
  if (!BeginResultsFrame()) return;
  DrawResults();
  ++Form_.ScreenTick;
  EndResultsFrame();
}

void TTrialOverScreen::DrawResults() {
  const TTimeTrialRun* trial = Race_.Trial();
  if (!trial) return;
  const std::array<std::string, 5> texts = ResultTexts(*trial);
  vexel::TVexelFont& font = Form_.VexelFont1;
  for (size_t i = 0; i < kValueY.size(); ++i) {
    font.TextOut(kValueX - font.TextWidth(texts[i]) / 2, kValueY[i], texts[i]);
  }
  font.TextOut(kSentenceX - font.TextWidth(texts[4]) / 2, kSentenceY, texts[4]);
}

void TTrialOverScreen::SaveReplay() {
  Form_.PlaySound("check1");
  const TTimeTrialRun* trial = Race_.Trial();
  if (!trial) return;
  const TTrackInfo& track =
      Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
  TRaceOverScreen::KeepReplay(Form_, track.Title + " time trial",
                              TTimeTrialRun::TimeOfFrames(trial->RunFrames()));
  // Saved once.
  if (auto* button = Form_.ScreenButtons[kReplay]) {
    Form_.ScreenList->FreeWidget(*button);
    Form_.ScreenButtons[kReplay] = nullptr;
  }
}

void TTrialOverScreen::ReturnToTrackChoice() {
  Form_.SwitchMusic("losemusic", "menumusic");
  Form_.PlaySound("check1");
  Form_.ChangeState(14, TStateChange::ReplaceWithRace);
  Form_.CreateMenuScenery();
}

}  // namespace game
