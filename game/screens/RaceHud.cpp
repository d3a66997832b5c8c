#include "RaceHud.h"

#include <algorithm>

#include "game/Unit_pr.h"
#include "game/race/Player.h"

namespace game {

std::string TRaceHud::LapText(int32_t lap, int32_t raceLaps) {
  return std::to_string(std::max(lap, 1)) + "/" + std::to_string(raceLaps);
}

std::string TRaceHud::BestLapText(int32_t lap, const TRaceTime& bestLap) {
  if (lap < 2) return "Best Lap: -:--:--";
  return "Best Lap: " + bestLap.Text();
}

void TRaceHud::DrawRaceHud() {
  if (!Form_.Race || !Form_.Race->Player) return;
  const TPlayer& player = *Form_.Race->Player;
  vexel::TVexelFont& font = Form_.VexelFont1;
  font.TextOut(700, 517, "Lap:            ");
  font.TextOut(775, 517, LapText(player.Lap, Form_.Race->RaceLaps));
  font.TextOut(695, 535, "Position:   ");
  font.TextOut(
      775, 535,
      std::to_string(player.RacePosition) + "/" + std::to_string(Form_.Race->EnemyCount + 1));
  font.TextOut(692, 553, "Time:      " + player.RaceTime.Text());
  font.TextOut(690, 571, BestLapText(player.Lap, player.BestLap));
}

void TRaceHud::DrawRaceResults(int32_t resultLines, int32_t raceBonus) {
  if (!Form_.Race || !Form_.Race->Player || resultLines < 1) return;
  vexel::TVexelFont& font = Form_.VexelFont1;
  const auto centred = [&font](int32_t y, const std::string& text) {
    font.TextOut(487 - font.TextWidth(text) / 2, y, text);
  };
  const int32_t place = Form_.Race->Player->FinishPosition;
  centred(239, std::to_string(place));
  if (resultLines < 2) return;
  const TRaceTime time = place >= 1 && place <= MaxPlaces
                             ? Form_.Race->RaceResults[static_cast<size_t>(place)].Time
                             : Form_.Race->Player->RaceTime;
  centred(272, time.Text());
  const TTrackInfo& track =
      Form_.Catalogue.TrackInfo[static_cast<size_t>(Form_.Catalogue.SelectedTrack)];
  if (!BestTimeStands(time, track.BestTime)) {
    if (auto* record = Form_.GameImageList.ImageList.Find("newrecord")) record->Draw(337, 275, 1);
  }
  if (resultLines < 3) return;
  centred(304, std::to_string(raceBonus));
  if (resultLines < 4) return;
  centred(334, std::to_string(Form_.Score));
}

}  // namespace game
