// Painter of the screen panels: a framed glass plate with a title and, from the recipe,
// wells (dark or light areas under text the game writes), bar troughs, rules, key caps
// and painted texts. Positions are in panel pixels.

#include <string>
#include <vector>

#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

void Plate(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double g = r.Number("glow");
  const double cut = r.Number("chamfer");
  const double w = cell.Width - 2 * g;
  const double h = cell.Height - 2 * g;
  draw::ChamferRect(cr, g, g, w, h, cut);
  draw::VerticalGradient(cr, g, g + h, r.Colour("fill_top"), r.Colour("fill_bottom"));
  cairo_fill(cr);
  cairo_save(cr);
  draw::ChamferRect(cr, g, g, w, h, cut);
  cairo_clip(cr);
  for (double y = g; y < g + h; y += 3) cairo_rectangle(cr, g, y, w, 1);
  draw::SetColour(cr, r.Colour("scanline"));
  cairo_fill(cr);
  const double header = r.Number("header");
  if (header > 0) {
    draw::VerticalGradient(cr, g, g + header, r.Colour("header_top"), r.Colour("header_bottom"));
    cairo_rectangle(cr, g, g, w, header);
    cairo_fill(cr);
    cairo_move_to(cr, g + cut, g + header);
    cairo_line_to(cr, g + w - cut, g + header);
    draw::GlowStroke(cr, r.Colour("edge2"), 1.2, 2);
  }
  cairo_restore(cr);
  draw::ChamferRect(cr, g, g, w, h, cut);
  draw::GlowStroke(cr, r.Colour("edge"), 1.8, g);
  const double arm = cut + 18;
  const TColour corner = Lighten(r.Colour("edge2"), 0.2);
  cairo_move_to(cr, g + 3, g + arm);
  cairo_line_to(cr, g + 3, g + cut + 2);
  cairo_line_to(cr, g + cut + 2, g + 3);
  cairo_line_to(cr, g + arm, g + 3);
  cairo_move_to(cr, g + w - 3, g + h - arm);
  cairo_line_to(cr, g + w - 3, g + h - cut - 2);
  cairo_line_to(cr, g + w - cut - 2, g + h - 3);
  cairo_line_to(cr, g + w - arm, g + h - 3);
  draw::GlowStroke(cr, corner, 2.5, 2.5);
}

void Well(cairo_t* cr, const TRecipe& r, const std::string& recipeLine) {
  const auto words = SplitWords(recipeLine);
  const auto v = LeadingNumbers(r, words, 4, "well");
  const std::string style = words.size() > 4 ? words[4] : "dark";
  const double x = v[0], y = v[1], w = v[2], h = v[3];
  if (style == "dark") {
    draw::RoundedRect(cr, x, y, w, h, 4);
    draw::VerticalGradient(cr, y, y + h, r.Colour("well_top"), r.Colour("well_bottom"));
    cairo_fill(cr);
    draw::RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 4);
    draw::SetColour(cr, r.Colour("well_edge"));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  } else if (style == "light") {
    draw::RoundedRect(cr, x, y, w, h, 5);
    draw::VerticalGradient(cr, y, y + h, r.Colour("light_top"), r.Colour("light_bottom"));
    cairo_fill(cr);
    draw::RoundedRect(cr, x, y, w, h, 5);
    draw::GlowStroke(cr, r.Colour("edge"), 1.5, 2);
  } else if (style == "frame") {
    draw::RoundedRect(cr, x, y, w, h, 3);
    draw::SetColour(cr, r.Colour("well_bottom"));
    cairo_fill(cr);
    draw::RoundedRect(cr, x, y, w, h, 3);
    draw::GlowStroke(cr, r.Colour("edge2"), 1.5, 3);
  } else {
    r.Fail("well style must be dark, light or frame");
  }
}

void Trough(cairo_t* cr, const TRecipe& r, const std::string& recipeLine) {
  const auto v = LeadingNumbers(r, SplitWords(recipeLine), 4, "trough");
  draw::RoundedRect(cr, v[0], v[1], v[2], v[3], 3);
  draw::SetColour(cr, r.Colour("well_bottom"));
  cairo_fill_preserve(cr);
  draw::SetColour(cr, r.Colour("well_edge"));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (double x = v[0] + v[2] / 10; x < v[0] + v[2] - 1; x += v[2] / 10) {
    cairo_rectangle(cr, x - 0.5, v[1] + v[3] - 4, 1, 3);
  }
  draw::SetColour(cr, r.Colour("well_edge"));
  cairo_fill(cr);
}

void Rule(cairo_t* cr, const TRecipe& r, const std::string& recipeLine) {
  const auto words = SplitWords(recipeLine);
  const auto v = LeadingNumbers(r, words, 3, "rule");
  const TColour c = words.size() > 3 ? r.ResolveColour(words[3]) : r.Colour("edge2");
  cairo_pattern_t* p = cairo_pattern_create_linear(v[0], 0, v[0] + v[2], 0);
  cairo_pattern_add_color_stop_rgba(p, 0, c.R, c.G, c.B, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.R, c.G, c.B, c.A);
  cairo_pattern_add_color_stop_rgba(p, 1, c.R, c.G, c.B, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, v[0], v[1] - 0.75, v[2], 1.5);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void KeyCap(cairo_t* cr, const TRecipe& r, const std::string& recipeLine) {
  const auto words = SplitWords(recipeLine);
  const auto v = LeadingNumbers(r, words, 4, "key");
  const std::string label = JoinWords(words, 4);
  const double x = v[0], y = v[1], w = v[2], h = v[3];
  draw::RoundedRect(cr, x, y + 2, w, h - 2, 4);
  draw::SetColour(cr, r.Colour("key_side"));
  cairo_fill(cr);
  draw::RoundedRect(cr, x, y, w, h - 3, 4);
  draw::VerticalGradient(cr, y, y + h, r.Colour("key_top"), r.Colour("key_bottom"));
  cairo_fill(cr);
  draw::RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 4, 4);
  draw::SetColour(cr, r.Colour("edge"));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const TFont font = draw::FitFont(cr, RecipeFont(r, "key"), label, w - 6);
  draw::TextMiddle(cr, font, label, x + w / 2, y + (h - 3) / 2, Align::Centre, r.Colour("key_ink"));
}

}  // namespace

void Panel(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  Plate(cr, cell);
  for (const auto& recipeLine : r.All("well")) Well(cr, r, recipeLine);
  for (const auto& recipeLine : r.All("trough")) Trough(cr, r, recipeLine);
  for (const auto& recipeLine : r.All("rule")) Rule(cr, r, recipeLine);
  for (const auto& recipeLine : r.All("key")) KeyCap(cr, r, recipeLine);
  if (r.Has("title")) {
    const double g = r.Number("glow");
    const TFont font = RecipeFont(r, "title");
    draw::GlowText(cr, font, r.Text("title"), cell.Width / 2, g + r.Number("header") / 2,
                   Align::Centre, r.Colour("title_ink"), r.Colour("title_glow"), 4);
  }
  PaintTexts(cr, r);
}

}  // namespace artgen::paint
