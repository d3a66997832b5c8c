#include "ClosingScreen.h"

#include "game/Unit_pr.h"
#include "online/ShareScreen.h"

namespace game {

void TClosingScreen::Enter(uint8_t) {
  Form.VexelScreen1->ShowMouseCursor = true;
  if (Form.VexelScreen1->System()) Form.VexelScreen1->System()->ShowCursor(true);
  Form.VexelGUI1.Finalize();
  if (!Form.ShareScreen || !Form.ShareScreen->Begin()) Form.Close();
}

void TClosingScreen::Frame(uint8_t) {
  BeginFrame(&Form.ShareList);
  if (Form.ShareScreen) Form.ShareScreen->Frame(Form.MouseX, Form.MouseY);
  DrawCursor();
  EndFrame(&Form.ShareList);
}

}  // namespace game
