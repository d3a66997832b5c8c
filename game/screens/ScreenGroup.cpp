#include "ScreenGroup.h"

#include <utility>

#include "game/Unit_pr.h"
#include "platform/VirtualKeys.h"

namespace game {

void TScreenGroup::NewWidgetList() {
  FreeWidgets();
  Form_.ScreenList = &Form_.VexelGUI1.AddList("GUI2");
}

void TScreenGroup::FreeWidgets() {
  if (Form_.ScreenList) Form_.VexelGUI1.FreeList(*Form_.ScreenList);
  Form_.ScreenList = nullptr;
  Form_.ScreenButtons.fill(nullptr);
  Form_.ScreenEdit = nullptr;
  Form_.MenuFocus.Hide();
}

void TScreenGroup::MoveFocusByKeys() {
  for (const auto& [key, step] :
       {std::pair{platform::VK_DOWN, 1}, std::pair{platform::VK_UP, -1}}) {
    if (Form_.TakeReleased(key) && Form_.MenuFocus.Move(Form_.ScreenList, step)) {
      Form_.PlaySound("check2");
    }
  }
}

bool TScreenGroup::FocusShown() {
  return Form_.MenuFocus.Focused(Form_.ScreenList) != nullptr;
}

bool TScreenGroup::PressFocused() {
  return Form_.MenuFocus.Press(Form_.ScreenList);
}

bool TScreenGroup::PressFocusByEnter() {
  // Taken even without a focus: an enter left standing would press the first button focused.
  return Form_.TakeReleased(platform::VK_RETURN) && PressFocused();
}

vexel::TVexelButton* TScreenGroup::AddButton(const std::string& key, int32_t left, int32_t top,
                                             std::function<void()> action,
                                             vexel::TVexelImageList* images) {
  if (!Form_.ScreenList) NewWidgetList();
  vexel::TVexelImageList& list = images ? *images : Form_.VexelImageList1;
  auto* button = &Form_.ScreenList->Add<vexel::TVexelButton>();
  button->Name = key;
  button->Caption.clear();
  if (vexel::TImageListItem* item = list.ImageList.Find(key)) {
    button->Width = static_cast<uint32_t>(item->TileWidth);
    button->Height = static_cast<uint32_t>(item->TileHeight);
    button->SetImage(0, item);
    button->SetPatternIndex(0, 0);
    button->SetImage(1, item);
    button->SetPatternIndex(1, 1);
  }
  button->Left = left;
  button->Top = top;
  button->OnClick = [action = std::move(action)](vexel::TVexelGUIComponent&) { action(); };
  for (auto& slot : Form_.ScreenButtons) {
    if (!slot) {
      slot = button;
      break;
    }
  }
  return button;
}

vexel::TVexelEdit& TScreenGroup::AddNameBox(const std::string& key, int32_t left, int32_t top,
                                            int32_t size, int32_t shade) {
  Form_.VexelBitmapFont1.GenerateFont("MathSoftText", "", 0, size);
  Form_.VexelBitmapFont1.SetRed(shade);
  Form_.VexelBitmapFont1.SetGreen(shade);
  Form_.VexelBitmapFont1.SetBlue(shade);
  if (!Form_.ScreenList) NewWidgetList();
  vexel::TVexelEdit& edit = Form_.ScreenList->Add<vexel::TVexelEdit>();
  edit.Name = key;
  if (auto* item = Form_.VexelImageList1.ImageList.Find(key)) {
    edit.SetImage(0, item);
    edit.Width = static_cast<uint32_t>(item->TileWidth);
    edit.Height = static_cast<uint32_t>(item->TileHeight);
  }
  edit.Left = left;
  edit.Top = top;
  edit.MaxLength = 12;
  edit.TextMargin = 3;
  edit.Caret.assign(1, '.');
  Form_.ScreenEdit = &edit;
  return edit;
}

void TScreenGroup::ShowSwitch(vexel::TVexelButton& button, const std::string& key) {
  vexel::TImageListItem* item = Form_.VexelImageList1.ImageList.Find(key);
  if (!item) return;
  button.SetImage(0, item);
  button.SetPatternIndex(0, 1);
  button.SetImage(1, nullptr);
  button.Width = static_cast<uint32_t>(item->TileWidth);
  button.Height = static_cast<uint32_t>(item->TileHeight);
}

TMenuScreen* TScreenGroup::MakePanel(const std::string& name, const std::string& key, float x,
                                     float y, int32_t z, int32_t alpha) {
  Form_.MenuScreen = Form_.VexelSprite1.Create<TMenuScreen>(Form_.VexelImageList1, true, alpha,
                                                            name, key, z, y, x);
  return Form_.MenuScreen;
}

void TScreenGroup::KillPanel() {
  if (!Form_.MenuScreen) return;
  // A panel picture is shown by one screen at a time: its texture is made again when shown.
  if (vexel::TImageListItem* picture = Form_.MenuScreen->Image()) picture->ReleaseTexture();
  Form_.MenuScreen->Kill();
  Form_.MenuScreen = nullptr;
}

void TScreenGroup::BeginFrame(vexel::TVexelImageList* images) {
  Form_.VexelScreen1->Clear(0, 0, 0, 0);
  Form_.VexelScreen1->BeginScene();
  (images ? *images : Form_.VexelImageList1).BeginBatch();
}

void TScreenGroup::DrawBackground(int32_t cell) {
  if (auto* back = Form_.VexelImageList1.ImageList.Find("mainback")) {
    back->DrawAlpha(0, 0, 0, 0, 0, 1, 1, false, 255, 255, 255, 255, cell, 0);
  }
}

void TScreenGroup::EndFrame(vexel::TVexelImageList* images) {
  (images ? *images : Form_.VexelImageList1).EndBatch();
  Form_.VexelScreen1->EndScene();
}

void TScreenGroup::TableScreenFrame(uint8_t backState, const std::function<void()>& drawTable) {
  if (Form_.TakeReleased(platform::VK_ESCAPE)) {
    Form_.PlaySound("check2");
    Form_.ChangeState(backState);
    return;
  }
  MoveFocusByKeys();
  if (PressFocusByEnter()) return;
  BeginFrame();
  DrawBackground(1);
  Form_.VexelSprite1.Draw();
  if (Form_.Cursor) Form_.Cursor->DoMove(0);
  Form_.VexelGUI1.Draw();
  drawTable();
  DrawCursor(false);
  EndFrame();
}

void TScreenGroup::DrawCursor(bool move) {
  if (!Form_.Cursor) return;
  if (move) Form_.Cursor->DoMove(0);
  Form_.Cursor->DoDraw();
}

void TScreenGroup::DrawInfoLine() {
  if (Form_.Scenery.Ticker) Form_.VexelFont2.TextOut(70, 8, Form_.Scenery.Ticker->ShownText);
}

void TScreenGroup::DrawLightsAgain() {
  for (TLight* light : Form_.Scenery.Lights) {
    if (light) light->DoDraw();
  }
}

void TScreenGroup::DrawDisabled(const std::string& key, int32_t x, int32_t y) {
  if (auto* item = Form_.VexelImageList1.ImageList.Find(key)) item->Draw(x, y, 2);
}

void TScreenGroup::BlinkCaret(vexel::TVexelEdit& edit) {
  if (Form_.CaretTick % 31 == 0) {
    edit.Caret.clear();
  } else if (Form_.CaretTick % 63 == 0) {
    edit.Caret.assign(1, '_');
    Form_.CaretTick = 0;
  }
  ++Form_.CaretTick;
}

int32_t TScreenGroup::SlideTowards(int32_t value, int32_t target, int32_t step) {
  if (value > target) return value - step < target ? target : value - step;
  if (value < target) return value + step > target ? target : value + step;
  return value;
}

}  // namespace game
