#include "ClosingScreen.h"

#include "game/Unit_pr.h"
#include "online/ShareScreen.h"

namespace game {

void TClosingScreen::Enter(uint8_t) {
  Form_.VexelScreen1->ShowMouseCursor = true;
  if (Form_.VexelScreen1->System()) Form_.VexelScreen1->System()->ShowCursor(true);
  Form_.VexelGUI1.Finalize();
  if (!Form_.ShareScreen || !Form_.ShareScreen->Begin()) Form_.Close();
}

void TClosingScreen::Frame(uint8_t) {
  BeginFrame(&Form_.ShareList);
  if (Form_.ShareScreen) Form_.ShareScreen->Frame(Form_.MouseX, Form_.MouseY);
  DrawCursor();
  EndFrame(&Form_.ShareList);
}

}  // namespace game
