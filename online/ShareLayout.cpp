#include "ShareLayout.h"

#include <charconv>
#include <initializer_list>

namespace online {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kFontSizeFollows = "TRUE";

std::string_view DropLeadingBlanks(std::string_view line) {
  const auto first = line.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view{} : line.substr(first);
}

std::string_view DropTrailingBlanks(std::string_view line) {
  const auto last = line.find_last_not_of(" \t");
  return last == std::string_view::npos ? std::string_view{} : line.substr(0, last + 1);
}

// A whole piece as a 32-bit integer: an optional sign and decimal digits, nothing else.
bool ParseInteger(std::string_view piece, int32_t& value) {
  if (piece.starts_with('+')) {
    piece.remove_prefix(1);
    if (piece.starts_with('-')) return false;
  }
  const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
  return error == std::errc{} && end == piece.data() + piece.size();
}

// Reads the layout's lines in order. Once a fault is found every further read fails too, so
// the first fault is the one reported.
struct TLayoutReader {
  std::string_view Rest;
  int32_t LineNumber = 0;
  TShareLayout& Layout;

  void Fail(const std::string& reason) {
    if (!Layout.Valid) return;
    Layout.Valid = false;
    Layout.Fault = "line " + std::to_string(LineNumber) + ": " + reason;
  }

  // The next line without its leading blanks and its line end; false at the end of the text
  // or after a fault.
  bool NextLine(std::string_view& line, const std::string& what) {
    ++LineNumber;
    if (!Layout.Valid) return false;
    if (Rest.empty()) {
      Fail("the file ends before the " + what);
      return false;
    }
    const auto end = Rest.find('\n');
    line = Rest.substr(0, end);
    Rest = end == std::string_view::npos ? std::string_view{} : Rest.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = DropLeadingBlanks(line);
    return true;
  }

  // A number line: the targets are filled from the pieces between single blanks, left to
  // right; a piece that is no integer gives 0.
  void Numbers(std::initializer_list<int32_t*> targets, const std::string& what) {
    std::string_view line;
    if (!NextLine(line, what)) return;
    if (line.empty()) {
      Fail("empty line where the " + what + " should be");
      return;
    }
    for (int32_t* target : targets) {
      const auto blank = line.find(' ');
      const std::string_view piece = line.substr(0, blank);
      line = blank == std::string_view::npos ? std::string_view{} : line.substr(blank + 1);
      if (ParseInteger(piece, *target)) continue;
      *target = 0;
      Fail(std::string(1, '"')
               .append(piece)
               .append("\" is not an integer (")
               .append(what)
               .append(")"));
    }
  }

  // A text line as written (leading blanks dropped); empty at the end of the text.
  std::string Text(const std::string& what) {
    std::string_view line;
    return NextLine(line, what) ? std::string(line) : std::string{};
  }

  // A text line naming a file; an empty name is a fault. Trailing blanks are not part of it.
  std::string FileName(const std::string& what) {
    const std::string name(DropTrailingBlanks(Text(what)));
    if (name.empty()) Fail("no " + what);
    return name;
  }
};

void ReadBoxLines(TLayoutReader& reader, TButton& button, const std::string& name) {
  reader.Numbers({&button.HoverX, &button.HoverY, &button.HoverWidth, &button.HoverHeight},
                 name + " hover position");
  reader.Numbers({&button.NormalX, &button.NormalY, &button.ButtonWidth, &button.ButtonHeight},
                 name + " box");
}

TButton ReadLinkButton(TLayoutReader& reader, const std::string& name) {
  TButton button;
  ReadBoxLines(reader, button, name);
  button.IdleX = button.NormalX;
  button.IdleY = button.NormalY;
  button.NormalFile = reader.FileName(name + " picture");
  button.HoverFile = reader.FileName(name + " hover picture");
  button.IdleFile = button.NormalFile;
  button.Action = reader.FileName(name + " file to open");
  button.Active = !button.IsExit();
  return button;
}

TButton ReadExitButton(TLayoutReader& reader) {
  TButton button;
  ReadBoxLines(reader, button, "exit button");
  reader.Numbers({&button.IdleX, &button.IdleY, &button.IdleWidth, &button.IdleHeight},
                 "exit button idle position");
  button.NormalFile = reader.FileName("exit button picture");
  button.HoverFile = reader.FileName("exit button hover picture");
  button.IdleFile = reader.FileName("exit button idle picture");
  button.Action = kExitAction;
  button.Active = false;
  return button;
}

void ReadButtons(TLayoutReader& reader, TShareLayout& layout) {
  for (int32_t i = 1; i < layout.ButtonTotal && layout.Valid; ++i) {
    layout.Buttons.push_back(ReadLinkButton(reader, "button " + std::to_string(i)));
  }
  if (layout.Valid) layout.Buttons.push_back(ReadExitButton(reader));
}

void ReadCountdown(TLayoutReader& reader, TShareLayout& layout) {
  reader.Numbers({&layout.CountdownX, &layout.CountdownY}, "countdown centre");
  reader.Numbers({&layout.CountdownLength}, "countdown length");
  reader.Numbers({&layout.Color1, &layout.Color2, &layout.Color3}, "countdown colour");
  layout.FontSizeGiven = reader.Text("font size flag") == kFontSizeFollows;
  if (layout.FontSizeGiven) reader.Numbers({&layout.FontSize}, "countdown font size");
}

}  // namespace

TShareLayout TShareLayout::Parse(std::string_view text) {
  TShareLayout layout;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  TLayoutReader reader{text, 0, layout};
  reader.Numbers({&layout.ButtonTotal}, "number of buttons");
  // Without buttons there would be no exit button, and the game could never close.
  if (layout.ButtonTotal < 1) reader.Fail("no buttons: the last button is the exit button");
  layout.BackgroundFile = reader.FileName("background picture");
  ReadButtons(reader, layout);
  ReadCountdown(reader, layout);
  return layout;
}

}  // namespace online
