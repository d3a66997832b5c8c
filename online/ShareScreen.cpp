#include "ShareScreen.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <optional>

#include "ShareLayout.h"
#include "engine/ImageListPicture.h"
#include "engine/VexelFont.h"
#include "engine/VexelImageList.h"

namespace online {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCountdownFace = "Verdana";
// A layout file is a few dozen lines; a bigger file is not a layout.
constexpr std::uintmax_t kMaxLayoutBytes = 1 << 20;
// Picture files larger than this are not read.
constexpr std::uintmax_t kMaxPictureBytes = 64u << 20;
// Countdown font sizes in points are kept to what fits the back buffer.
constexpr int32_t kMaxFontPoints = 450;

bool ReadFile(const fs::path& file, std::uintmax_t limit, std::string& bytes) {
  std::error_code error;
  const auto size = fs::file_size(file, error);
  if (error || size > limit) return false;
  std::ifstream in(file, std::ios::binary);
  bytes.resize(static_cast<size_t>(size));
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  return static_cast<bool>(in);
}

// The picture a game path names, read and checked to decode; none when it is missing or
// is no readable PNG or BMP picture.
std::optional<vexel::TPicture> ReadPicture(const fs::path& dataDir, const std::string& gamePath) {
  const auto file = GameDataFile(dataDir, gamePath);
  std::string bytes;
  if (!file || !ReadFile(*file, kMaxPictureBytes, bytes)) return std::nullopt;
  vexel::TPicture picture;
  picture.Kind = vexel::PictureKindOfFileName(file->string());
  picture.Data.assign(bytes.begin(), bytes.end());
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
  std::string reason;
  if (!vexel::DecodePicture(picture, width, height, pixels, reason)) return std::nullopt;
  return picture;
}

bool IsFile(const fs::path& dataDir, const std::string& gamePath) {
  const auto file = GameDataFile(dataDir, gamePath);
  std::error_code error;
  return file && fs::is_regular_file(*file, error);
}

}  // namespace

TShareScreen::TShareScreen(vexel::TVexelImageList& shareList, vexel::TVexelFont& font,
                           const TGoToLink& links)
    : ShareList_(shareList), Font_(font), Links_(links) {}

bool TShareScreen::Load(const fs::path& dataDir) {
  Reset();
  const fs::path layoutFile = dataDir / "wdata" / "config.ini";
  std::string text;
  std::error_code error;
  if (!fs::is_regular_file(layoutFile, error)) {
    Invalidate("no layout file " + layoutFile.string());
    return false;
  }
  if (!ReadFile(layoutFile, kMaxLayoutBytes, text)) {
    Invalidate("the layout file " + layoutFile.string() + " cannot be read");
    return true;
  }
  TakeLayout(TShareLayout::Parse(text));
  if (Valid) CheckFiles(dataDir);
  if (Valid) LoadPictures(dataDir);
  if (Valid) SetCountdownFont();
  ActivateExitButtons();
  return true;
}

bool TShareScreen::Begin() {
  if (!Valid) Countdown = 0;
  return Valid;
}

void TShareScreen::Frame(int32_t mouseX, int32_t mouseY) {
  CountdownStep();
  UpdateHover(mouseX, mouseY);
  Draw();
}

void TShareScreen::CountdownStep() {
  if (Countdown > 0) --Countdown;
  ActivateExitButtons();
}

void TShareScreen::UpdateHover(int32_t x, int32_t y) {
  for (auto& button : Buttons) button.Hover = button.Contains(x, y);
}

void TShareScreen::Draw() {
  if (!Valid) return;
  ActivateExitButtons();
  DrawPicture(BackgroundIndex, 0, 0);
  for (const auto& button : Buttons) {
    if (!button.Shown) continue;
    if (!button.Active) {
      DrawPicture(button.IdleIndex, button.IdleX, button.IdleY);
    } else if (button.Hover) {
      DrawPicture(button.HoverIndex, button.HoverX, button.HoverY);
    } else {
      DrawPicture(button.NormalIndex, button.NormalX, button.NormalY);
    }
  }
  DrawCountdown();
}

void TShareScreen::MouseDown(int32_t x, int32_t y) {
  if (!Valid) return;
  UpdateHover(x, y);
  // A click may open a browser or close the form; the buttons are walked over a copy.
  const std::vector<TButton> buttons = Buttons;
  for (const auto& button : buttons) {
    if (button.Hover) button.Click(Links_, OnCloseRequest);
  }
}

int32_t TShareScreen::CountdownNumber() const {
  return Countdown > 0 ? (Countdown / 10 + 1) / 10 + 1 : 0;
}

int32_t TShareScreen::CountdownFrames(int32_t seconds) {
  const int64_t frames = static_cast<int64_t>(seconds) * 100 - 100;
  return static_cast<int32_t>(std::clamp<int64_t>(frames, 0, std::numeric_limits<int32_t>::max()));
}

void TShareScreen::Reset() {
  ShareList_.ImageList.Clear();
  Valid = true;
  Fault.clear();
  ButtonTotal = 0;
  Buttons.clear();
  BackgroundFile.clear();
  BackgroundIndex = -1;
  Countdown = 0;
  FontSizeGiven = false;
  FontSize = 0;
  CountdownX = CountdownY = 0;
  Color1 = Color2 = Color3 = 0;
}

void TShareScreen::Invalidate(const std::string& fault) {
  if (!Valid) return;
  Valid = false;
  Fault = fault;
}

void TShareScreen::TakeLayout(const TShareLayout& layout) {
  Valid = layout.Valid;
  Fault = layout.Fault;
  ButtonTotal = layout.ButtonTotal;
  Buttons = layout.Buttons;
  BackgroundFile = layout.BackgroundFile;
  Countdown = CountdownFrames(layout.CountdownLength);
  FontSizeGiven = layout.FontSizeGiven;
  FontSize = layout.FontSize;
  CountdownX = layout.CountdownX;
  CountdownY = layout.CountdownY;
  Color1 = layout.Color1;
  Color2 = layout.Color2;
  Color3 = layout.Color3;
}

void TShareScreen::CheckFiles(const fs::path& dataDir) {
  for (const auto& button : Buttons) {
    if (!button.IsExit() && !IsFile(dataDir, button.Action)) {
      Invalidate("missing file to open: " + button.Action);
    }
  }
}

int32_t TShareScreen::AddPicture(const fs::path& dataDir, const std::string& gamePath) {
  const auto picture = ReadPicture(dataDir, gamePath);
  if (!picture) {
    Invalidate("missing or unreadable picture: " + gamePath);
    return -1;
  }
  vexel::TImageListItem* item = ShareList_.ImageList.Add();
  item->Name = gamePath;
  item->SetPicture(*picture);
  return ShareList_.ImageList.Count() - 1;
}

void TShareScreen::LoadPictures(const fs::path& dataDir) {
  for (auto& button : Buttons) {
    button.HoverIndex = AddPicture(dataDir, button.HoverFile);
    button.NormalIndex = AddPicture(dataDir, button.NormalFile);
    button.IdleIndex = AddPicture(dataDir, button.IdleFile);
  }
  BackgroundIndex = AddPicture(dataDir, BackgroundFile);
  if (!Valid) {
    ShareList_.ImageList.Clear();
    return;
  }
  ShareList_.Prepare();
}

void TShareScreen::SetCountdownFont() {
  int32_t size = FontSize;
  if (!FontSizeGiven) {
    const auto exit = std::find_if(Buttons.rbegin(), Buttons.rend(),
                                   [](const TButton& button) { return button.IsExit(); });
    size = static_cast<int32_t>(std::nearbyint(0.6 * exit->ButtonHeight));
  }
  Font_.SetFont(kCountdownFace, std::clamp(size, 1, kMaxFontPoints), {});
  // The three colour numbers are red, green and blue, whether or not a size is given.
  Font_.Red = static_cast<uint8_t>(Color1 & 0xFF);
  Font_.Green = static_cast<uint8_t>(Color2 & 0xFF);
  Font_.Blue = static_cast<uint8_t>(Color3 & 0xFF);
  Font_.Alpha = 255;
}

void TShareScreen::ActivateExitButtons() {
  if (Countdown != 0) return;
  for (auto& button : Buttons) {
    if (button.IsExit()) button.Active = true;
  }
}

void TShareScreen::DrawPicture(int32_t index, int32_t x, int32_t y) const {
  if (vexel::TImageListItem* item = ShareList_.ImageList.Items(index)) item->Draw(x, y, -1);
}

void TShareScreen::DrawCountdown() {
  const int32_t number = CountdownNumber();
  if (number == 0) return;
  const std::string text = std::to_string(number);
  const double left = CountdownX - Font_.TextWidth(text) / 2.0;
  const double top = CountdownY - Font_.TextHeight(text) / 2.0;
  Font_.TextOut(static_cast<int32_t>(std::nearbyint(left)),
                static_cast<int32_t>(std::nearbyint(top)), text);
}

}  // namespace online
