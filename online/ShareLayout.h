#pragma once
// The layout file of the promotion screen ("wdata\config.ini") read into values.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ShareButton.h"

namespace online {

/// The promotion screen as its layout file describes it. The file is read line by line,
/// leading blanks dropped: the number of buttons, the background picture, each button's lines
/// (the last one is the exit button with an idle line and picture), the countdown centre, the
/// countdown length in seconds, three colour numbers and an optional font size after "TRUE".
/// Any fault (early end, empty number line, a piece that is no integer, an empty file name,
/// no buttons) leaves the layout not Valid, with the first fault described in Fault.
struct TShareLayout {
  bool Valid = true;
  /// Line number and reason of the first fault; empty while Valid.
  std::string Fault;
  int32_t ButtonTotal = 0;
  /// In file order; the last one is the exit button.
  std::vector<TButton> Buttons;
  std::string BackgroundFile;
  int32_t CountdownX = 0;
  int32_t CountdownY = 0;
  /// The countdown length c in seconds as written.
  int32_t CountdownLength = 0;
  int32_t Color1 = 0;
  int32_t Color2 = 0;
  int32_t Color3 = 0;
  bool FontSizeGiven = false;
  int32_t FontSize = 0;

  /// Reads a layout from the file's text (checks only the text; files are checked by the
  /// screen that loads it).
  static TShareLayout Parse(std::string_view text);
};

}  // namespace online
