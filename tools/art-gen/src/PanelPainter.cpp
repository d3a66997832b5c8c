// Painter of the screen panels: a framed glass plate with a title and, from the recipe,
// wells (dark or light areas under text the game writes), bar troughs, rules, key caps
// and painted texts. Positions are in panel pixels.

#include <string>
#include <vector>

#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

void plate(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double g = r.number("glow");
  const double cut = r.number("chamfer");
  const double w = cell.width - 2 * g;
  const double h = cell.height - 2 * g;
  draw::chamferRect(cr, g, g, w, h, cut);
  draw::verticalGradient(cr, g, g + h, r.colour("fill_top"), r.colour("fill_bottom"));
  cairo_fill(cr);
  cairo_save(cr);
  draw::chamferRect(cr, g, g, w, h, cut);
  cairo_clip(cr);
  for (double y = g; y < g + h; y += 3) cairo_rectangle(cr, g, y, w, 1);
  draw::setColour(cr, r.colour("scanline"));
  cairo_fill(cr);
  const double header = r.number("header");
  if (header > 0) {
    draw::verticalGradient(cr, g, g + header, r.colour("header_top"), r.colour("header_bottom"));
    cairo_rectangle(cr, g, g, w, header);
    cairo_fill(cr);
    cairo_move_to(cr, g + cut, g + header);
    cairo_line_to(cr, g + w - cut, g + header);
    draw::glowStroke(cr, r.colour("edge2"), 1.2, 2);
  }
  cairo_restore(cr);
  draw::chamferRect(cr, g, g, w, h, cut);
  draw::glowStroke(cr, r.colour("edge"), 1.8, g);
  const double arm = cut + 18;
  const Colour corner = lighten(r.colour("edge2"), 0.2);
  cairo_move_to(cr, g + 3, g + arm);
  cairo_line_to(cr, g + 3, g + cut + 2);
  cairo_line_to(cr, g + cut + 2, g + 3);
  cairo_line_to(cr, g + arm, g + 3);
  cairo_move_to(cr, g + w - 3, g + h - arm);
  cairo_line_to(cr, g + w - 3, g + h - cut - 2);
  cairo_line_to(cr, g + w - cut - 2, g + h - 3);
  cairo_line_to(cr, g + w - arm, g + h - 3);
  draw::glowStroke(cr, corner, 2.5, 2.5);
}

void well(cairo_t* cr, const Recipe& r, const std::string& recipeLine) {
  const auto words = splitWords(recipeLine);
  const auto v = leadingNumbers(r, words, 4, "well");
  const std::string style = words.size() > 4 ? words[4] : "dark";
  const double x = v[0], y = v[1], w = v[2], h = v[3];
  if (style == "dark") {
    draw::roundedRect(cr, x, y, w, h, 4);
    draw::verticalGradient(cr, y, y + h, r.colour("well_top"), r.colour("well_bottom"));
    cairo_fill(cr);
    draw::roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 4);
    draw::setColour(cr, r.colour("well_edge"));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  } else if (style == "light") {
    draw::roundedRect(cr, x, y, w, h, 5);
    draw::verticalGradient(cr, y, y + h, r.colour("light_top"), r.colour("light_bottom"));
    cairo_fill(cr);
    draw::roundedRect(cr, x, y, w, h, 5);
    draw::glowStroke(cr, r.colour("edge"), 1.5, 2);
  } else if (style == "frame") {
    draw::roundedRect(cr, x, y, w, h, 3);
    draw::setColour(cr, r.colour("well_bottom"));
    cairo_fill(cr);
    draw::roundedRect(cr, x, y, w, h, 3);
    draw::glowStroke(cr, r.colour("edge2"), 1.5, 3);
  } else {
    r.fail("well style must be dark, light or frame");
  }
}

void trough(cairo_t* cr, const Recipe& r, const std::string& recipeLine) {
  const auto v = leadingNumbers(r, splitWords(recipeLine), 4, "trough");
  draw::roundedRect(cr, v[0], v[1], v[2], v[3], 3);
  draw::setColour(cr, r.colour("well_bottom"));
  cairo_fill_preserve(cr);
  draw::setColour(cr, r.colour("well_edge"));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (double x = v[0] + v[2] / 10; x < v[0] + v[2] - 1; x += v[2] / 10) {
    cairo_rectangle(cr, x - 0.5, v[1] + v[3] - 4, 1, 3);
  }
  draw::setColour(cr, r.colour("well_edge"));
  cairo_fill(cr);
}

void rule(cairo_t* cr, const Recipe& r, const std::string& recipeLine) {
  const auto words = splitWords(recipeLine);
  const auto v = leadingNumbers(r, words, 3, "rule");
  const Colour c = words.size() > 3 ? r.resolveColour(words[3]) : r.colour("edge2");
  cairo_pattern_t* p = cairo_pattern_create_linear(v[0], 0, v[0] + v[2], 0);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, c.a);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, v[0], v[1] - 0.75, v[2], 1.5);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void keyCap(cairo_t* cr, const Recipe& r, const std::string& recipeLine) {
  const auto words = splitWords(recipeLine);
  const auto v = leadingNumbers(r, words, 4, "key");
  const std::string label = joinWords(words, 4);
  const double x = v[0], y = v[1], w = v[2], h = v[3];
  draw::roundedRect(cr, x, y + 2, w, h - 2, 4);
  draw::setColour(cr, r.colour("key_side"));
  cairo_fill(cr);
  draw::roundedRect(cr, x, y, w, h - 3, 4);
  draw::verticalGradient(cr, y, y + h, r.colour("key_top"), r.colour("key_bottom"));
  cairo_fill(cr);
  draw::roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 4, 4);
  draw::setColour(cr, r.colour("edge"));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const Font font = draw::fitFont(cr, recipeFont(r, "key"), label, w - 6);
  draw::textMiddle(cr, font, label, x + w / 2, y + (h - 3) / 2, Align::Centre, r.colour("key_ink"));
}

}  // namespace

void panel(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  plate(cr, cell);
  for (const auto& recipeLine : r.all("well")) well(cr, r, recipeLine);
  for (const auto& recipeLine : r.all("trough")) trough(cr, r, recipeLine);
  for (const auto& recipeLine : r.all("rule")) rule(cr, r, recipeLine);
  for (const auto& recipeLine : r.all("key")) keyCap(cr, r, recipeLine);
  if (r.has("title")) {
    const double g = r.number("glow");
    const Font font = recipeFont(r, "title");
    draw::glowText(cr, font, r.text("title"), cell.width / 2, g + r.number("header") / 2,
                   Align::Centre, r.colour("title_ink"), r.colour("title_glow"), 4);
  }
  paintTexts(cr, r);
}

}  // namespace artgen::paint
