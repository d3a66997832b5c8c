#include "ResultsScreen.h"

#include <utility>

#include "RaceScreens.h"
#include "game/Unit_pr.h"

namespace game {

void TResultsScreen::Leave(uint8_t) {
  if (Panel_) Panel_->Kill();
  Panel_ = nullptr;
  FreeWidgets();
  Form_.VexelSprite1.ClearDead();
}

void TResultsScreen::BeginResults() {
  Form_.SwitchMusic("gamemusic", "losemusic");
  Form_.ClearReleased();
  Form_.KeyDown.fill(false);
  Form_.VexelFont1.SetFont("Arial Black", 11, {});
  Form_.VexelFont1.SetColor(vexel::ARGBColor(250, 250, 250, 255));
  NewWidgetList();
}

void TResultsScreen::AddReplayButton(std::function<void()> save) {
  if (!Form_.LastReplay) return;
  AddButton("bro_replay", 202, 390, std::move(save), &Form_.GameImageList);
  ++Form_.ButtonCount;
}

void TResultsScreen::ShowPanel(const std::string& name, const std::string& key) {
  Form_.PlaySound("finish");
  Panel_ = Form_.VexelSprite1.Create<TGameMenuScreen>(Form_.GameImageList, true, 255, name, key,
                                                      2000, 153.0f, 187.0f);
}

bool TResultsScreen::BeginResultsFrame() {
  MoveFocusByKeys();
  if (PressFocusByEnter()) return false;
  Form_.VexelScreen1->Clear(0, 0, 0, 0);
  Form_.VexelScreen1->BeginScene();
  Form_.GameImageList.BeginBatch();
  Form_.VexelSprite1.Draw();
  Form_.VexelGUI1.Draw();
  if (!Race_.RaceOnBehindResults() && Form_.Cursor) Form_.Cursor->DoMove(0);
  return true;
}

void TResultsScreen::EndResultsFrame() {
  if (Form_.Cursor) Form_.Cursor->DoDraw();
  Form_.GameImageList.EndBatch();
  Form_.VexelScreen1->EndScene();
}

}  // namespace game
