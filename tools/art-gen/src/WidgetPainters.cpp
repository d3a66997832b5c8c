// Painters of menu widgets: buttons, switches, edit boxes, bars and small labels.

#include <cmath>
#include <numbers>

#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

struct ButtonLook {
  Colour fillTop, fillBottom, edge, ink, glow;
  double glowSpread;
};

ButtonLook buttonLook(const Cell& cell, WidgetState state) {
  const Recipe& r = cell.recipe;
  const Colour accent = r.colour("accent");
  const Colour hover = r.colour("hover_accent");
  const Colour top = r.colour("fill_top");
  const Colour bottom = r.colour("fill_bottom");
  const Colour ink = r.colour("ink");
  const double spread = r.number("glow");
  switch (state) {
    case WidgetState::Hover:
      return {mix(top, lighten(hover, 0.15), 0.55),
              mix(bottom, hover, 0.45),
              lighten(hover, 0.35),
              {1, 1, 1, 1},
              hover,
              spread * 1.6};
    case WidgetState::Disabled:
      return {greyed(top),
              greyed(bottom),
              withAlpha(greyed(accent), 0.7),
              withAlpha(greyed(ink), 0.75),
              {0, 0, 0, 0},
              0.0};
    case WidgetState::Normal:
      break;
  }
  return {top, bottom, accent, ink, accent, spread};
}

void chevron(cairo_t* cr, double cx, double cy, double size, double angle, const Colour& c,
             double width) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, -size * 0.35, -size * 0.6);
  cairo_line_to(cr, size * 0.35, 0);
  cairo_line_to(cr, -size * 0.35, size * 0.6);
  cairo_restore(cr);
  draw::glowStroke(cr, c, width, width);
}

double iconAngle(const Recipe& r, const std::string& icon) {
  if (icon == "right") return 0;
  if (icon == "down") return std::numbers::pi / 2;
  if (icon == "left") return std::numbers::pi;
  if (icon == "up") return -std::numbers::pi / 2;
  r.fail("icon must be left, right, up or down");
}

void buttonBody(cairo_t* cr, const Cell& cell, const ButtonLook& look, double x, double y, double w,
                double h) {
  const double cut = cell.recipe.number("chamfer");
  draw::chamferRect(cr, x, y, w, h, cut);
  draw::verticalGradient(cr, y, y + h, look.fillTop, look.fillBottom);
  cairo_fill(cr);
  draw::chamferRect(cr, x + 2, y + 2, w - 4, h * 0.45, cut * 0.7);
  draw::verticalGradient(cr, y, y + h * 0.5, {1, 1, 1, 0.16}, {1, 1, 1, 0.02});
  cairo_fill(cr);
  draw::chamferRect(cr, x, y, w, h, cut);
  draw::glowStroke(cr, look.edge, 1.5, look.glowSpread);
  cairo_rectangle(cr, x + 4, y + h * 0.3, 2.5, h * 0.4);
  cairo_rectangle(cr, x + w - 6.5, y + h * 0.3, 2.5, h * 0.4);
  draw::setColour(cr, withAlpha(look.edge, 0.9));
  cairo_fill(cr);
}

}  // namespace

void button(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const WidgetState state = widgetState(cell);
  const ButtonLook look = buttonLook(cell, state);
  const double inset = r.number("glow") + 1;
  const double x = inset;
  const double y = inset;
  const double w = cell.width - 2 * inset;
  const double h = cell.height - 2 * inset;
  buttonBody(cr, cell, look, x, y, w, h);
  const std::string label = r.text("label", "");
  const std::string icon = r.text("icon", "");
  const double iconSize = h * 0.42;
  double textRoom = w - 18;
  if (!icon.empty() && !label.empty()) textRoom -= iconSize + 4;
  double cx = x + w / 2;
  double labelY = y + h / 2;
  if (r.has("sublabel")) {
    const std::string sub = r.text("sublabel");
    const Font subFont = draw::fitFont(cr, recipeFont(r, "sub"), sub, textRoom);
    labelY = y + h * 0.4;
    draw::textMiddle(cr, subFont, sub, cx, y + h * 0.74, Align::Centre, withAlpha(look.ink, 0.8));
  }
  if (!label.empty()) {
    const Font font = draw::fitFont(cr, recipeFont(r, "label"), label, textRoom);
    const double tw = draw::textWidth(cr, font, label);
    if (!icon.empty()) cx -= (iconSize + 4) / 2;
    if (state == WidgetState::Disabled) {
      draw::textMiddle(cr, font, label, cx, labelY, Align::Centre, look.ink);
    } else {
      draw::glowText(cr, font, label, cx, labelY, Align::Centre, look.ink, look.glow,
                     state == WidgetState::Hover ? 3.5 : 2.0);
    }
    cx += tw / 2 + 4 + iconSize / 2;
  }
  if (!icon.empty()) {
    chevron(cr, cx, labelY, iconSize, iconAngle(r, icon), look.ink,
            state == WidgetState::Hover ? 3.0 : 2.5);
  }
}

void toggleSwitch(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const bool on = r.number("on") != 0;
  const Colour accent = r.colour("accent");
  const Colour dark = r.colour("fill_bottom");
  const double inset = 3;
  const double w = cell.width - 2 * inset;
  const double h = cell.height - 2 * inset;
  draw::roundedRect(cr, inset, inset, w, h, h / 2);
  draw::verticalGradient(cr, inset, inset + h, on ? mix(dark, accent, 0.45) : dark,
                         on ? mix(dark, accent, 0.2) : darken(dark, 0.3));
  cairo_fill(cr);
  draw::roundedRect(cr, inset, inset, w, h, h / 2);
  draw::glowStroke(cr, accent, 1.5, on ? 3.0 : 1.0);
  const double knobR = h / 2 - 3;
  const double knobX = on ? inset + w - h / 2 : inset + h / 2;
  cairo_arc(cr, knobX, inset + h / 2, knobR, 0, 2 * std::numbers::pi);
  const Colour knob = on ? lighten(accent, 0.5) : Colour{0.65, 0.68, 0.75, 1};
  draw::fillRadial(cr, knobX - knobR * 0.3, inset + h / 2 - knobR * 0.4, 1, knobX, inset + h / 2,
                   knobR, Colour{1, 1, 1, 1}, knob);
  const std::string label = r.text("label");
  const Font font = recipeFont(r, "label");
  const double textX = on ? inset + (w - h) / 2 + 4 : inset + h + (w - h) / 2 - 4;
  draw::glowText(cr, font, label, textX, inset + h / 2, Align::Centre, r.colour("ink"), accent,
                 on ? 2.5 : 0.5);
}

void editBox(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const Colour accent = r.colour("accent");
  const double w = cell.width;
  const double h = cell.height;
  draw::roundedRect(cr, 1, 1, w - 2, h - 2, 3);
  draw::verticalGradient(cr, 0, h, r.colour("fill_top"), r.colour("fill_bottom"));
  cairo_fill(cr);
  draw::roundedRect(cr, 1.5, 1.5, w - 3, h - 3, 3);
  draw::setColour(cr, withAlpha(accent, 0.8));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  const double tick = std::min(10.0, h / 3);
  cairo_move_to(cr, w - 2 - tick, 2);
  cairo_line_to(cr, w - 2, 2);
  cairo_line_to(cr, w - 2, 2 + tick);
  cairo_move_to(cr, w - 2 - tick, h - 2);
  cairo_line_to(cr, w - 2, h - 2);
  cairo_line_to(cr, w - 2, h - 2 - tick);
  draw::glowStroke(cr, lighten(accent, 0.3), 2, 1.5);
  cairo_rectangle(cr, 3, h - 5, w - 6, 1);
  draw::setColour(cr, withAlpha(accent, 0.25));
  cairo_fill(cr);
}

void statBar(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  const Colour a = r.colour("from");
  const Colour b = r.colour("to");
  cairo_pattern_add_color_stop_rgba(p, 0, a.r, a.g, a.b, a.a);
  cairo_pattern_add_color_stop_rgba(p, 1, b.r, b.g, b.b, b.a);
  draw::roundedRect(cr, 0.5, 1.5, w - 1, h - 3, 2);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  const double step = r.number("segment");
  for (double x = step; x < w - 2; x += step) cairo_rectangle(cr, x - 1, 0, 2, h);
  draw::setColour(cr, r.colour("gap"));
  cairo_fill(cr);
  draw::verticalGradient(cr, 1.5, h / 2, {1, 1, 1, 0.45}, {1, 1, 1, 0.0});
  cairo_rectangle(cr, 0.5, 1.5, w - 1, h / 2 - 1.5);
  cairo_fill(cr);
}

void chooseBar(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const Colour c = r.colour("colour");
  const double w = cell.width;
  const double h = cell.height;
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.2, c.r, c.g, c.b, c.a * 0.55);
  cairo_pattern_add_color_stop_rgba(p, 0.5, c.r, c.g, c.b, c.a * 0.7);
  cairo_pattern_add_color_stop_rgba(p, 0.8, c.r, c.g, c.b, c.a * 0.55);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 1, w, h - 2);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 0, w, 1);
  cairo_rectangle(cr, 0, h - 1, w, 1);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  const Colour edge = lighten(c, 0.6);
  for (const double x : {8.0, w - 8.0}) {
    const double dir = x < w / 2 ? 1 : -1;
    cairo_move_to(cr, x, 3);
    cairo_line_to(cr, x + dir * 5, h / 2);
    cairo_line_to(cr, x, h - 3);
  }
  draw::setColour(cr, edge);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

void badge(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  const Colour a = r.colour("fill_top");
  const Colour b = r.colour("fill_bottom");
  draw::chamferRect(cr, 2, 2, w - 4, h - 4, h / 3);
  draw::verticalGradient(cr, 2, h - 2, a, b);
  cairo_fill(cr);
  draw::chamferRect(cr, 2, 2, w - 4, h - 4, h / 3);
  draw::glowStroke(cr, r.colour("edge"), 1.2, 1.5);
  const Font font = draw::fitFont(cr, recipeFont(r, "label"), r.text("label"), w - 14);
  draw::textMiddle(cr, font, r.text("label"), w / 2, h / 2, Align::Centre, r.colour("ink"));
}

void strip(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  const Colour fill = r.colour("fill");
  const Colour edge = r.colour("edge");
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, fill.r, fill.g, fill.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.12, fill.r, fill.g, fill.b, fill.a);
  cairo_pattern_add_color_stop_rgba(p, 0.88, fill.r, fill.g, fill.b, fill.a);
  cairo_pattern_add_color_stop_rgba(p, 1, fill.r, fill.g, fill.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 2, w, h - 4);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  p = cairo_pattern_create_linear(0, 0, w, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, edge.r, edge.g, edge.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, edge.r, edge.g, edge.b, edge.a);
  cairo_pattern_add_color_stop_rgba(p, 1, edge.r, edge.g, edge.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 1, w, 1.5);
  cairo_rectangle(cr, 0, h - 2.5, w, 1.5);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace artgen::paint
