// Fuzz target of the promotion layout parser and the web-shortcut reader: any bytes parse
// without a fault of the program, and what comes out keeps the promises the screen and the
// desktop opener rely on.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "online/GoToLink.h"
#include "online/ShareLayout.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckLayout(std::string_view text) {
  const online::TShareLayout layout = online::TShareLayout::Parse(text);
  Require(layout.Valid == layout.Fault.empty());
  if (!layout.Valid) return;
  Require(layout.ButtonTotal >= 1);
  Require(layout.Buttons.size() == static_cast<size_t>(layout.ButtonTotal));
  Require(!layout.BackgroundFile.empty());
  for (const auto& button : layout.Buttons) {
    Require(!button.NormalFile.empty() && !button.HoverFile.empty() && !button.IdleFile.empty());
    Require(!button.Action.empty());
  }
  Require(layout.Buttons.back().IsExit() && !layout.Buttons.back().Active);
}

void CheckShortcut(std::string_view text) {
  const std::string url = online::InternetShortcutUrl(text);
  if (url.empty()) return;
  std::string scheme = url.substr(0, url.find("://"));
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  Require(scheme == "http" || scheme == "https");
  for (const char c : url) Require(static_cast<unsigned char>(c) > ' ' && c != 0x7F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckLayout(text);
  CheckShortcut(text);
  return 0;
}
