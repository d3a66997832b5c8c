// Painters of menu widgets: buttons, switches, edit boxes, bars and small labels.

#include <cmath>
#include <numbers>

#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

struct TButtonLook {
  TColour FillTop, FillBottom, Edge, Ink, Glow;
  double GlowSpread;
};

TButtonLook ButtonLook(const TCell& cell, WidgetState state) {
  const TRecipe& r = cell.Recipe;
  const TColour accent = r.Colour("accent");
  const TColour hover = r.Colour("hover_accent");
  const TColour top = r.Colour("fill_top");
  const TColour bottom = r.Colour("fill_bottom");
  const TColour ink = r.Colour("ink");
  const double spread = r.Number("glow");
  switch (state) {
    case WidgetState::Hover:
      return {Mix(top, Lighten(hover, 0.15), 0.55),
              Mix(bottom, hover, 0.45),
              Lighten(hover, 0.35),
              {1, 1, 1, 1},
              hover,
              spread * 1.6};
    case WidgetState::Disabled:
      return {Greyed(top),
              Greyed(bottom),
              WithAlpha(Greyed(accent), 0.7),
              WithAlpha(Greyed(ink), 0.75),
              {0, 0, 0, 0},
              0.0};
    case WidgetState::Normal:
      break;
  }
  return {top, bottom, accent, ink, accent, spread};
}

void Chevron(cairo_t* cr, double cx, double cy, double size, double angle, const TColour& c,
             double width) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, -size * 0.35, -size * 0.6);
  cairo_line_to(cr, size * 0.35, 0);
  cairo_line_to(cr, -size * 0.35, size * 0.6);
  cairo_restore(cr);
  draw::GlowStroke(cr, c, width, width);
}

double IconAngle(const TRecipe& r, const std::string& icon) {
  if (icon == "right") return 0;
  if (icon == "down") return std::numbers::pi / 2;
  if (icon == "left") return std::numbers::pi;
  if (icon == "up") return -std::numbers::pi / 2;
  r.Fail("icon must be left, right, up or down");
}

void ButtonBody(cairo_t* cr, const TCell& cell, const TButtonLook& look, double x, double y,
                double w, double h) {
  const double cut = cell.Recipe.Number("chamfer");
  draw::ChamferRect(cr, x, y, w, h, cut);
  draw::VerticalGradient(cr, y, y + h, look.FillTop, look.FillBottom);
  cairo_fill(cr);
  draw::ChamferRect(cr, x + 2, y + 2, w - 4, h * 0.45, cut * 0.7);
  draw::VerticalGradient(cr, y, y + h * 0.5, {1, 1, 1, 0.16}, {1, 1, 1, 0.02});
  cairo_fill(cr);
  draw::ChamferRect(cr, x, y, w, h, cut);
  draw::GlowStroke(cr, look.Edge, 1.5, look.GlowSpread);
  cairo_rectangle(cr, x + 4, y + h * 0.3, 2.5, h * 0.4);
  cairo_rectangle(cr, x + w - 6.5, y + h * 0.3, 2.5, h * 0.4);
  draw::SetColour(cr, WithAlpha(look.Edge, 0.9));
  cairo_fill(cr);
}

}  // namespace

void Button(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const WidgetState state = CellWidgetState(cell);
  const TButtonLook look = ButtonLook(cell, state);
  const double inset = r.Number("glow") + 1;
  const double x = inset;
  const double y = inset;
  const double w = cell.Width - 2 * inset;
  const double h = cell.Height - 2 * inset;
  ButtonBody(cr, cell, look, x, y, w, h);
  const std::string label = r.Text("label", "");
  const std::string icon = r.Text("icon", "");
  const double iconSize = h * 0.42;
  double textRoom = w - 18;
  if (!icon.empty() && !label.empty()) textRoom -= iconSize + 4;
  double cx = x + w / 2;
  double labelY = y + h / 2;
  if (r.Has("sublabel")) {
    const std::string sub = r.Text("sublabel");
    const TFont subFont = draw::FitFont(cr, RecipeFont(r, "sub"), sub, textRoom);
    labelY = y + h * 0.4;
    draw::TextMiddle(cr, subFont, sub, cx, y + h * 0.74, Align::Centre, WithAlpha(look.Ink, 0.8));
  }
  if (!label.empty()) {
    const TFont font = draw::FitFont(cr, RecipeFont(r, "label"), label, textRoom);
    const double tw = draw::TextWidth(cr, font, label);
    if (!icon.empty()) cx -= (iconSize + 4) / 2;
    if (state == WidgetState::Disabled) {
      draw::TextMiddle(cr, font, label, cx, labelY, Align::Centre, look.Ink);
    } else {
      draw::GlowText(cr, font, label, cx, labelY, Align::Centre, look.Ink, look.Glow,
                     state == WidgetState::Hover ? 3.5 : 2.0);
    }
    cx += tw / 2 + 4 + iconSize / 2;
  }
  if (!icon.empty()) {
    Chevron(cr, cx, labelY, iconSize, IconAngle(r, icon), look.Ink,
            state == WidgetState::Hover ? 3.0 : 2.5);
  }
}

void ToggleSwitch(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const bool on = r.Number("on") != 0;
  const TColour accent = r.Colour("accent");
  const TColour dark = r.Colour("fill_bottom");
  const double inset = 3;
  const double w = cell.Width - 2 * inset;
  const double h = cell.Height - 2 * inset;
  draw::RoundedRect(cr, inset, inset, w, h, h / 2);
  draw::VerticalGradient(cr, inset, inset + h, on ? Mix(dark, accent, 0.45) : dark,
                         on ? Mix(dark, accent, 0.2) : Darken(dark, 0.3));
  cairo_fill(cr);
  draw::RoundedRect(cr, inset, inset, w, h, h / 2);
  draw::GlowStroke(cr, accent, 1.5, on ? 3.0 : 1.0);
  const double knobR = h / 2 - 3;
  const double knobX = on ? inset + w - h / 2 : inset + h / 2;
  cairo_arc(cr, knobX, inset + h / 2, knobR, 0, 2 * std::numbers::pi);
  const TColour knob = on ? Lighten(accent, 0.5) : TColour{0.65, 0.68, 0.75, 1};
  draw::FillRadial(cr, knobX - knobR * 0.3, inset + h / 2 - knobR * 0.4, 1, knobX, inset + h / 2,
                   knobR, TColour{1, 1, 1, 1}, knob);
  const std::string label = r.Text("label");
  const TFont font = RecipeFont(r, "label");
  const double textX = on ? inset + (w - h) / 2 + 4 : inset + h + (w - h) / 2 - 4;
  draw::GlowText(cr, font, label, textX, inset + h / 2, Align::Centre, r.Colour("ink"), accent,
                 on ? 2.5 : 0.5);
}

void EditBox(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TColour accent = r.Colour("accent");
  const double w = cell.Width;
  const double h = cell.Height;
  draw::RoundedRect(cr, 1, 1, w - 2, h - 2, 3);
  draw::VerticalGradient(cr, 0, h, r.Colour("fill_top"), r.Colour("fill_bottom"));
  cairo_fill(cr);
  draw::RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 3);
  draw::SetColour(cr, WithAlpha(accent, 0.8));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  const double tick = std::min(10.0, h / 3);
  cairo_move_to(cr, w - 2 - tick, 2);
  cairo_line_to(cr, w - 2, 2);
  cairo_line_to(cr, w - 2, 2 + tick);
  cairo_move_to(cr, w - 2 - tick, h - 2);
  cairo_line_to(cr, w - 2, h - 2);
  cairo_line_to(cr, w - 2, h - 2 - tick);
  draw::GlowStroke(cr, Lighten(accent, 0.3), 2, 1.5);
  cairo_rectangle(cr, 3, h - 5, w - 6, 1);
  draw::SetColour(cr, WithAlpha(accent, 0.25));
  cairo_fill(cr);
}

void StatBar(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  const TColour a = r.Colour("from");
  const TColour b = r.Colour("to");
  cairo_pattern_add_color_stop_rgba(p, 0, a.R, a.G, a.B, a.A);
  cairo_pattern_add_color_stop_rgba(p, 1, b.R, b.G, b.B, b.A);
  draw::RoundedRect(cr, 0.5, 1.5, w - 1, h - 3, 2);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  const double step = r.Number("segment");
  for (double x = step; x < w - 2; x += step) cairo_rectangle(cr, x - 1, 0, 2, h);
  draw::SetColour(cr, r.Colour("gap"));
  cairo_fill(cr);
  draw::VerticalGradient(cr, 1.5, h / 2, {1, 1, 1, 0.45}, {1, 1, 1, 0.0});
  cairo_rectangle(cr, 0.5, 1.5, w - 1, h / 2 - 1.5);
  cairo_fill(cr);
}

void ChooseBar(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TColour c = r.Colour("colour");
  const double w = cell.Width;
  const double h = cell.Height;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, c.R, c.G, c.B, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.2, c.R, c.G, c.B, c.A * 0.55);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.R, c.G, c.B, c.A * 0.7);
  cairo_pattern_add_color_stop_rgba(p, 0.8, c.R, c.G, c.B, c.A * 0.55);
  cairo_pattern_add_color_stop_rgba(p, 1, c.R, c.G, c.B, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 1, w, h - 2);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 0, w, 1);
  cairo_rectangle(cr, 0, h - 1, w, 1);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  const TColour edge = Lighten(c, 0.6);
  for (const double x : {8.0, w - 8.0}) {
    const double dir = x < w / 2 ? 1 : -1;
    cairo_move_to(cr, x, 3);
    cairo_line_to(cr, x + dir * 5, h / 2);
    cairo_line_to(cr, x, h - 3);
  }
  draw::SetColour(cr, edge);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void Badge(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  const TColour a = r.Colour("fill_top");
  const TColour b = r.Colour("fill_bottom");
  draw::ChamferRect(cr, 2, 2, w - 4, h - 4, h / 3);
  draw::VerticalGradient(cr, 2, h - 2, a, b);
  cairo_fill(cr);
  draw::ChamferRect(cr, 2, 2, w - 4, h - 4, h / 3);
  draw::GlowStroke(cr, r.Colour("edge"), 1.2, 1.5);
  const TFont font = draw::FitFont(cr, RecipeFont(r, "label"), r.Text("label"), w - 14);
  draw::TextMiddle(cr, font, r.Text("label"), w / 2, h / 2, Align::Centre, r.Colour("ink"));
}

void Strip(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  const TColour fill = r.Colour("fill");
  const TColour edge = r.Colour("edge");
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, fill.R, fill.G, fill.B, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.12, fill.R, fill.G, fill.B, fill.A);
  cairo_pattern_add_color_stop_rgba(p, 0.88, fill.R, fill.G, fill.B, fill.A);
  cairo_pattern_add_color_stop_rgba(p, 1, fill.R, fill.G, fill.B, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 2, w, h - 4);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, edge.R, edge.G, edge.B, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, edge.R, edge.G, edge.B, edge.A);
  cairo_pattern_add_color_stop_rgba(p, 1, edge.R, edge.G, edge.B, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 1, w, 1.5);
  cairo_rectangle(cr, 0, h - 2.5, w, 1.5);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace artgen::paint
