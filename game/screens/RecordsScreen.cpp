#include "RecordsScreen.h"

#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>

#include "game/Unit_pr.h"
#include "game/race/GhostRun.h"
#include "game/race/ReplayError.h"

namespace game {
namespace {

// The panel's place and depth: above the menu scenery (its planets are at 55).
constexpr float kPanelLeft = 40;
constexpr float kPanelTop = 160;
constexpr int32_t kPanelDepth = 500;
// The first row's top and the rows' spacing on screen.
constexpr int32_t kFirstRowTop = 248;
constexpr int32_t kRowHeight = 20;
// Left edge of the track titles and the centres of the other columns, on screen.
constexpr int32_t kTrackLeft = 64;
constexpr int32_t kTimeCentre = 230;
constexpr int32_t kCarCentre = 340;
constexpr int32_t kDateCentre = 460;
constexpr int32_t kBestLapCentre = 580;
constexpr int32_t kRaceBestCentre = 685;

// The local date of a moment as YYYY-MM-DD.
std::string DateText(std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return "--";
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

// The fastest readable record of a profile on a track over the cars, if any.
std::optional<TGhostRun> BestRecord(const std::string& configDir, int32_t profileSlot,
                                    int32_t track) {
  std::optional<TGhostRun> best;
  for (int32_t car = 0; car < CarCount; ++car) {
    const std::string path = TGhostRun::PathFor(configDir, profileSlot, track, car);
    std::error_code failure;
    if (!std::filesystem::exists(path, failure)) continue;
    try {
      TGhostRun run = TGhostRun::Load(path);
      if (run.TrackSlot != track || run.Car != car) {
        throw TReplayError(path + ": the record is of another track or car than its name says");
      }
      if (!best || run.TimeFrames < best->TimeFrames) best = std::move(run);
    } catch (const TReplayError& error) {
      std::cerr << "Skipping a time-trial record: " << error.what() << "\n";
    }
  }
  return best;
}

}  // namespace

std::string TRecordsScreen::FramesText(int32_t frames) {
  const int32_t hundredths = TGhostRun::Hundredths(frames);
  return TRaceTime{hundredths / 6000, hundredths / 100 % 60, hundredths % 100}.Text();
}

std::vector<TRecordRow> TRecordsScreen::Rows(const std::string& configDir, int32_t profileSlot,
                                             const TGameCatalogue& catalogue) {
  std::vector<TRecordRow> rows;
  for (int32_t track = 0; track < TrackCount; ++track) {
    const TTrackInfo& info = catalogue.TrackInfo[static_cast<size_t>(track)];
    TRecordRow& row = rows.emplace_back();
    row.Track = info.Title;
    if (info.BestTime.Minutes < NoBestTimeMinutes) row.RaceBest = info.BestTime.Text();
    if (profileSlot < 0) continue;
    const std::optional<TGhostRun> record = BestRecord(configDir, profileSlot, track);
    if (!record) continue;
    row.Time = FramesText(record->TimeFrames);
    row.Car = catalogue.CarInfo[static_cast<size_t>(record->Car)].Title;
    row.Date = DateText(record->Date);
    row.BestLap = FramesText(record->BestLapFrames);
  }
  return rows;
}

void TRecordsScreen::Enter(uint8_t) {
  Form_.ClearReleased();
  NewWidgetList();
  AddButton("b_back", 346, 522, [this] { BackToHighScores(); });
  MakePanel("scrRecords", "scr_records", kPanelLeft, kPanelTop, kPanelDepth);
  Form_.VexelSprite1.Move(0);
  const TPlayerProfiles& profiles = Form_.Profiles;
  const bool hasProfile =
      profiles.CurrentProfile >= 0 && profiles.CurrentProfile < profiles.ProfileCount;
  Rows_ = Rows(Form_.Paths.ConfigDir(), hasProfile ? profiles.CurrentProfile : -1, Form_.Catalogue);
}

void TRecordsScreen::Leave(uint8_t) {
  KillPanel();
  Form_.VexelSprite1.ClearDead();
  FreeWidgets();
  Rows_.clear();
}

void TRecordsScreen::BackToHighScores() {
  Form_.ChangeState(8, TStateChange::Replace, [this] { Form_.PlaySound("check1"); });
}

void TRecordsScreen::Frame(uint8_t) {
  TableScreenFrame(8, [this] { DrawRows(); });
}

void TRecordsScreen::DrawRows() {
  vexel::TVexelFont& font = Form_.VexelFont1;
  font.SetFont("Staccato222 BT", 15, {});
  font.SetColor(vexel::ARGBColor(10, 10, 10, 255));
  const auto centred = [&font](int32_t centre, int32_t y, const std::string& text) {
    font.TextOut(centre - font.TextWidth(text) / 2, y, text);
  };
  for (size_t i = 0; i < Rows_.size(); ++i) {
    const TRecordRow& row = Rows_[i];
    const int32_t y = kFirstRowTop + kRowHeight * static_cast<int32_t>(i);
    font.TextOut(kTrackLeft, y, row.Track);
    centred(kTimeCentre, y, row.Time);
    centred(kCarCentre, y, row.Car);
    centred(kDateCentre, y, row.Date);
    centred(kBestLapCentre, y, row.BestLap);
    centred(kRaceBestCentre, y, row.RaceBest);
  }
}

}  // namespace game
