// Painter of the bitmap-font picture: cell k holds the k-th character of the "chars"
// parameter, every cell the same size, so the font is monospaced.

#include <string>
#include <vector>

#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

std::vector<std::string> SplitUtf8(const TRecipe& r, const std::string& text) {
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
      r.Fail("chars is not valid UTF-8");
    }
    if (i + len > text.size()) r.Fail("chars ends inside a UTF-8 sequence");
    chars.push_back(text.substr(i, len));
    i += len;
  }
  return chars;
}

}  // namespace

void FontSheet(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const auto chars = SplitUtf8(r, r.Text("chars"));
  if (static_cast<int>(chars.size()) > cell.Count) {
    r.Fail("has " + std::to_string(chars.size()) + " chars but only " + std::to_string(cell.Count) +
           " cells");
  }
  const TFont font = RecipeFont(r, "glyph");
  const double baseline = r.Number("baseline");
  const TColour ink = r.Colour("ink");
  const TColour outline = r.Colour("outline");
  if (cell.Index >= static_cast<int>(chars.size())) return;
  const std::string& glyph = chars[static_cast<std::size_t>(cell.Index)];
  draw::TextPath(cr, font, glyph, cell.Width / 2, baseline, Align::Centre);
  draw::SetColour(cr, outline);
  cairo_set_line_width(cr, 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  draw::Text(cr, font, glyph, cell.Width / 2, baseline, Align::Centre, ink);
}

}  // namespace artgen::paint
