// Painter of the bitmap-font picture: cell k holds the k-th character of the "chars"
// parameter, every cell the same size, so the font is monospaced.

#include <string>
#include <vector>

#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

std::vector<std::string> splitUtf8(const Recipe& r, const std::string& text) {
  std::vector<std::string> chars;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t len = 1;
    if (lead >= 0xF0) {
      len = 4;
    } else if (lead >= 0xE0) {
      len = 3;
    } else if (lead >= 0xC0) {
      len = 2;
    } else if (lead >= 0x80) {
      r.fail("chars is not valid UTF-8");
    }
    if (i + len > text.size()) r.fail("chars ends inside a UTF-8 sequence");
    chars.push_back(text.substr(i, len));
    i += len;
  }
  return chars;
}

}  // namespace

void fontSheet(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const auto chars = splitUtf8(r, r.text("chars"));
  if (static_cast<int>(chars.size()) > cell.count) {
    r.fail("has " + std::to_string(chars.size()) + " chars but only " + std::to_string(cell.count) +
           " cells");
  }
  const Font font = recipeFont(r, "glyph");
  const double baseline = r.number("baseline");
  const Colour ink = r.colour("ink");
  const Colour outline = r.colour("outline");
  if (cell.index >= static_cast<int>(chars.size())) return;
  const std::string& glyph = chars[static_cast<std::size_t>(cell.index)];
  draw::textPath(cr, font, glyph, cell.width / 2, baseline, Align::Centre);
  draw::setColour(cr, outline);
  cairo_set_line_width(cr, 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  draw::text(cr, font, glyph, cell.width / 2, baseline, Align::Centre, ink);
}

}  // namespace artgen::paint
