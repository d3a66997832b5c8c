// Painters of the race HUD: the speedometer console and its glass, the needle, the
// checkpoint pointer, the start marker ring and the start lights.
//
// Needle angles: the game turns the upright needle clockwise by Rotation degrees, with
// Rotation = zero_angle - share * sweep for a speed share 0..1. A dial mark for a share
// is therefore drawn in the direction (sin a, -cos a) from the pivot, a = that rotation.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

struct Point {
  double x, y;
};

Point pointPair(const Recipe& r, const std::string& name) {
  const auto v = r.numbers(name);
  if (v.size() != 2) r.fail(name + " needs two numbers");
  return {v[0], v[1]};
}

std::string perCell(const Cell& cell, const std::string& name) {
  const auto words = splitWords(cell.recipe.text(name));
  if (static_cast<int>(words.size()) != cell.count) {
    cell.recipe.fail(name + " needs one value per cell");
  }
  return words[static_cast<std::size_t>(cell.index)];
}

double perCellNumber(const Cell& cell, const std::string& name) {
  try {
    return parseNumber(perCell(cell, name), name);
  } catch (const std::runtime_error& e) {
    cell.recipe.fail(e.what());
  }
}

Point dialDirection(double rotationDegrees) {
  const double a = radians(rotationDegrees);
  return {std::sin(a), -std::cos(a)};
}

std::string formatNumber(double v) {
  std::ostringstream s;
  s << v;
  return s.str();
}

void console(cairo_t* cr, const Cell& cell, Point dial, Point radar) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  const double top = r.number("console_top");
  const double dialR = r.number("dial_radius") + 6;
  const double radarR = r.number("radar_radius") + 5;
  const auto screen = r.numbers("text_screen");
  if (screen.size() != 4) r.fail("text_screen needs x y w h");
  cairo_new_path(cr);
  cairo_arc(cr, dial.x, dial.y, dialR, 0, kTau);
  cairo_new_sub_path(cr);
  cairo_arc(cr, radar.x, radar.y, radarR, 0, kTau);
  draw::chamferRect(cr, 0, top, w, h - top + 20, 14);
  draw::chamferRect(cr, screen[0] - 8, screen[1] - 8, screen[2] + 16, screen[3] + 30, 12);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_path_t* shape = cairo_copy_path(cr);
  draw::verticalGradient(cr, 0, h, r.colour("console_top_colour"), r.colour("console_bottom"));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_append_path(cr, shape);
  cairo_clip(cr);
  for (double x = 0; x < w; x += 4) cairo_rectangle(cr, x, 0, 1, h);
  draw::setColour(cr, {1, 1, 1, 0.025});
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_append_path(cr, shape);
  draw::glowStroke(cr, r.colour("edge"), 1.5, 2.5);
  cairo_path_destroy(shape);
  draw::roundedRect(cr, screen[0], screen[1], screen[2], screen[3], 6);
  draw::verticalGradient(cr, screen[1], screen[1] + screen[3], r.colour("screen_top"),
                         r.colour("screen_bottom"));
  cairo_fill(cr);
  draw::roundedRect(cr, screen[0], screen[1], screen[2], screen[3], 6);
  draw::glowStroke(cr, r.colour("edge"), 1.2, 1.5);
}

void deck(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const auto v = r.numbers("deck");
  if (v.size() != 4) r.fail("deck needs x y w h");
  const Colour accent = r.colour("deck_accent");
  draw::chamferRect(cr, v[0], v[1], v[2], v[3], 8);
  draw::setColour(cr, r.colour("deck_fill"));
  cairo_fill(cr);
  draw::chamferRect(cr, v[0], v[1], v[2], v[3], 8);
  draw::setColour(cr, withAlpha(accent, 0.5));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const int bars = 24;
  for (int i = 0; i < bars; ++i) {
    const double bx = v[0] + 12 + i * (v[2] - 24) / bars;
    const double bh = (v[3] - 16) * (0.25 + 0.75 * std::pow(std::sin(i * 0.37 + 0.4), 2));
    cairo_rectangle(cr, bx, v[1] + v[3] - 8 - bh, (v[2] - 24) / bars - 3, bh);
  }
  draw::setColour(cr, withAlpha(accent, 0.35));
  cairo_fill(cr);
  paintTexts(cr, r);
}

void dialDisc(cairo_t* cr, const Recipe& r, Point c, double radius) {
  cairo_arc(cr, c.x, c.y, radius, 0, kTau);
  const Colour a = r.colour("dial_centre");
  const Colour b = r.colour("dial_edge");
  draw::fillRadial(cr, c.x, c.y - radius * 0.3, 2, c.x, c.y, radius, a, b);
}

// The needle's rotation for a speed share 0..1.
double shareRotation(const Recipe& r, double share) {
  return r.number("zero_angle") - r.number("sweep") * share;
}

void scaleBand(cairo_t* cr, const Recipe& r, Point c, double from, double to, const Colour& col,
               double rad, double width) {
  const int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    const Point d = dialDirection(shareRotation(r, from + (to - from) * i / steps));
    if (i == 0) {
      cairo_move_to(cr, c.x + d.x * rad, c.y + d.y * rad);
    } else {
      cairo_line_to(cr, c.x + d.x * rad, c.y + d.y * rad);
    }
  }
  draw::glowStroke(cr, col, width, 2);
}

void scaleMarks(cairo_t* cr, const Cell& cell, Point c, double radius, const Colour& scale) {
  const Recipe& r = cell.recipe;
  const int majors = static_cast<int>(perCellNumber(cell, "majors"));
  const int every = static_cast<int>(perCellNumber(cell, "label_every"));
  const double step = perCellNumber(cell, "label_step");
  const Font font = recipeFont(r, "dial");
  for (int i = 0; i <= majors * 5; ++i) {
    const Point d = dialDirection(shareRotation(r, static_cast<double>(i) / (majors * 5)));
    const bool major = i % 5 == 0;
    const double inner = radius - (major ? 14 : 9);
    cairo_move_to(cr, c.x + d.x * inner, c.y + d.y * inner);
    cairo_line_to(cr, c.x + d.x * (radius - 5), c.y + d.y * (radius - 5));
    draw::setColour(cr, major ? lighten(scale, 0.5) : withAlpha(scale, 0.7));
    cairo_set_line_width(cr, major ? 2 : 1);
    cairo_stroke(cr);
    if (major && (i / 5) % every == 0) {
      const double lr = radius - 23;
      draw::textMiddle(cr, font, formatNumber(i / 5 * step), c.x + d.x * lr, c.y + d.y * lr,
                       Align::Centre, r.colour("dial_ink"));
    }
  }
}

void dialFace(cairo_t* cr, const Cell& cell, Point c) {
  const Recipe& r = cell.recipe;
  const double radius = r.number("dial_radius");
  const Colour scale = r.resolveColour(perCell(cell, "scale_colour"));
  const double red = r.number("redline");
  dialDisc(cr, r, c, radius);
  scaleBand(cr, r, c, 0, red, withAlpha(scale, 0.7), radius - 4, 2);
  scaleBand(cr, r, c, red, 1, r.colour("redline_colour"), radius - 4, 3);
  scaleMarks(cr, cell, c, radius, scale);
  const Font caption = recipeFont(r, "caption");
  const Point cd = dialDirection(r.number("caption_angle"));
  draw::glowText(cr, caption, perCell(cell, "caption"), c.x + cd.x * radius * 0.42,
                 c.y + cd.y * radius * 0.42, Align::Centre, lighten(scale, 0.4), scale, 2);
}

void radarFace(cairo_t* cr, const Recipe& r, Point c) {
  const double radius = r.number("radar_radius");
  const Colour col = r.colour("radar_colour");
  cairo_arc(cr, c.x, c.y, radius, 0, kTau);
  const Colour a = r.colour("radar_centre");
  const Colour b = r.colour("dial_edge");
  draw::fillRadial(cr, c.x, c.y, 1, c.x, c.y, radius, a, b);
  for (const double k : {0.35, 0.7}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, c.x, c.y, radius * k, 0, kTau);
  }
  cairo_move_to(cr, c.x - radius, c.y);
  cairo_line_to(cr, c.x + radius, c.y);
  cairo_move_to(cr, c.x, c.y - radius);
  cairo_line_to(cr, c.x, c.y + radius);
  draw::setColour(cr, withAlpha(col, 0.35));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, c.x, c.y);
  cairo_arc(cr, c.x, c.y, radius, -std::numbers::pi / 2, -std::numbers::pi / 2 + 0.7);
  cairo_close_path(cr);
  draw::setColour(cr, withAlpha(col, 0.18));
  cairo_fill(cr);
}

void bezel(cairo_t* cr, const Recipe& r, Point c, double radius) {
  cairo_arc(cr, c.x, c.y, radius + 2.5, 0, kTau);
  cairo_pattern_t* p =
      cairo_pattern_create_linear(c.x - radius, c.y - radius, c.x + radius, c.y + radius);
  const Colour a = r.colour("bezel_light");
  const Colour b = r.colour("bezel_dark");
  cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
  cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
  cairo_set_source(cr, p);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
  cairo_new_sub_path(cr);
  cairo_arc(cr, c.x, c.y, radius + 5.5, 0, kTau);
  draw::glowStroke(cr, r.colour("edge"), 1, 1.5);
  cairo_new_sub_path(cr);
  cairo_arc(cr, c.x, c.y, radius - 3, radians(195), radians(265));
  draw::setColour(cr, {1, 1, 1, 0.22});
  cairo_set_line_width(cr, radius * 0.12);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

}  // namespace

void speedo(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const Point dial = pointPair(r, "pivot");
  const Point radar = pointPair(r, "radar");
  console(cr, cell, dial, radar);
  deck(cr, cell);
  dialFace(cr, cell, dial);
  radarFace(cr, r, radar);
}

void speedoGlass(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const Point dial = pointPair(r, "pivot");
  const Point radar = pointPair(r, "radar");
  bezel(cr, r, dial, r.number("dial_radius"));
  bezel(cr, r, radar, r.number("radar_radius"));
  const double hub = r.number("hub_radius");
  cairo_arc(cr, dial.x, dial.y, hub, 0, kTau);
  const Colour a = r.colour("bezel_light");
  const Colour b = r.colour("bezel_dark");
  draw::fillRadial(cr, dial.x - hub * 0.3, dial.y - hub * 0.4, 0.5, dial.x, dial.y, hub, a, b);
  cairo_arc(cr, dial.x, dial.y, hub * 0.35, 0, kTau);
  draw::setColour(cr, r.colour("edge"));
  cairo_fill(cr);
  cairo_arc(cr, radar.x, radar.y, 3, 0, kTau);
  draw::setColour(cr, r.colour("edge"));
  cairo_fill(cr);
}

void needle(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double px = cell.width / 2;
  const double py = cell.height;
  const double length = r.number("length");
  const double base = r.number("base_width");
  cairo_move_to(cr, px - base / 2, py);
  cairo_line_to(cr, px - 1, py - length);
  cairo_line_to(cr, px + 1, py - length);
  cairo_line_to(cr, px + base / 2, py);
  cairo_close_path(cr);
  cairo_path_t* shape = cairo_copy_path(cr);
  draw::glowStroke(cr, r.colour("glow"), 1, 3);
  cairo_append_path(cr, shape);
  draw::verticalGradient(cr, py - length, py, r.colour("tip"), r.colour("colour"));
  cairo_fill(cr);
  cairo_path_destroy(shape);
  cairo_move_to(cr, px, py - 4);
  cairo_line_to(cr, px, py - length + 4);
  draw::setColour(cr, {1, 1, 1, 0.8});
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void radarArrow(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  const double g = r.number("glow");
  cairo_move_to(cr, w / 2, g);
  cairo_line_to(cr, w - g, h * 0.62);
  cairo_line_to(cr, w / 2, h * 0.48);
  cairo_line_to(cr, g, h * 0.62);
  cairo_close_path(cr);
  cairo_move_to(cr, w / 2 - w * 0.12, h * 0.55);
  cairo_line_to(cr, w / 2 + w * 0.12, h * 0.55);
  cairo_line_to(cr, w / 2 + w * 0.12, h - g);
  cairo_line_to(cr, w / 2 - w * 0.12, h - g);
  cairo_close_path(cr);
  cairo_path_t* shape = cairo_copy_path(cr);
  draw::glowStroke(cr, r.colour("glow_colour"), 1.2, g);
  cairo_append_path(cr, shape);
  draw::verticalGradient(cr, 0, h, r.colour("tip"), r.colour("colour"));
  cairo_fill(cr);
  cairo_path_destroy(shape);
}

void startRing(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double cx = cell.width / 2;
  const double cy = cell.height / 2;
  const double radius = r.number("radius");
  const int arrows = static_cast<int>(r.number("arrows"));
  const auto colours = splitWords(r.text("colours"));
  if (colours.empty()) r.fail("colours needs at least one colour");
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, kTau);
  draw::glowStroke(cr, withAlpha(r.resolveColour(colours[0]), 0.35), 1, 2);
  for (int i = 0; i < arrows; ++i) {
    const Colour c = r.resolveColour(colours[static_cast<std::size_t>(i) % colours.size()]);
    const double a0 = kTau * i / arrows + 0.25;
    const double a1 = a0 + kTau / arrows * 0.62;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, a0, a1);
    draw::glowStroke(cr, c, 4, 3);
    const double hx = cx + std::cos(a1) * radius;
    const double hy = cy + std::sin(a1) * radius;
    const double tx = -std::sin(a1);
    const double ty = std::cos(a1);
    const double nx = std::cos(a1);
    const double ny = std::sin(a1);
    cairo_move_to(cr, hx + tx * 12, hy + ty * 12);
    cairo_line_to(cr, hx + nx * 9, hy + ny * 9);
    cairo_line_to(cr, hx - nx * 9, hy - ny * 9);
    cairo_close_path(cr);
    draw::setColour(cr, lighten(c, 0.3));
    cairo_fill(cr);
  }
}

void playerMark(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double cx = cell.width / 2;
  const double cy = cell.height / 2;
  const double radius = r.number("radius");
  const int arcs = static_cast<int>(r.number("arcs"));
  if (arcs < 1) r.fail("arcs must be at least 1");
  const Colour colour = r.colour("colour");
  cairo_arc(cr, cx, cy, radius, 0, kTau);
  cairo_pattern_t* disc = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(disc, 0, colour.r, colour.g, colour.b, 0);
  cairo_pattern_add_color_stop_rgba(disc, 1, colour.r, colour.g, colour.b, r.number("fill_alpha"));
  cairo_set_source(cr, disc);
  cairo_fill(cr);
  cairo_pattern_destroy(disc);
  // The arcs leave a gap at the nose (angle a quarter turn, +y) for the chevron.
  const double gap = radians(r.number("gap"));
  for (int i = 0; i < arcs; ++i) {
    const double a0 = kTau / 4 + gap / 2 + i * kTau / arcs;
    const double a1 = kTau / 4 - gap / 2 + (i + 1) * kTau / arcs;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, a0, a1);
    draw::glowStroke(cr, colour, r.number("width"), 3);
  }
  const double size = r.number("chevron");
  const double tip = cy + radius + size * 0.55;
  cairo_move_to(cr, cx, tip);
  cairo_line_to(cr, cx + size, tip - size);
  cairo_line_to(cr, cx, tip - size * 0.55);
  cairo_line_to(cr, cx - size, tip - size);
  cairo_close_path(cr);
  cairo_path_t* shape = cairo_copy_path(cr);
  draw::glowStroke(cr, colour, 1, 2);
  cairo_append_path(cr, shape);
  draw::setColour(cr, lighten(colour, 0.5));
  cairo_fill(cr);
  cairo_path_destroy(shape);
}

void mapMarks(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double cx = cell.width / 2;
  const double cy = cell.height / 2;
  const double radius = std::min(cx, cy) - 0.5;
  const Colour white{1, 1, 1, 1};
  if (cell.index == 0) {
    cairo_arc(cr, cx, cy, radius, 0, kTau);
    draw::setColour(cr, r.colour("rim"));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, radius - r.number("rim_width"), 0, kTau);
    draw::setColour(cr, white);
    cairo_fill(cr);
  } else {
    const double width = r.number("ring_width");
    cairo_arc(cr, cx, cy, radius - width / 2, 0, kTau);
    cairo_set_line_width(cr, width + 2);
    draw::setColour(cr, r.colour("rim"));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    draw::setColour(cr, white);
    cairo_stroke(cr);
  }
}

void lightHousing(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const Point housing = pointPair(r, "housing_at");
  const Point lamp = pointPair(r, "lamp_at");
  const double step = r.number("lamp_step");
  const double size = r.number("lamp_size");
  const double socket = r.number("socket_radius");
  const auto labels = r.all("label");
  const double w = cell.width;
  const double h = cell.height;
  draw::chamferRect(cr, 2, 2, w - 4, h - 4, 12);
  draw::verticalGradient(cr, 0, h, r.colour("body_top"), r.colour("body_bottom"));
  cairo_fill(cr);
  draw::chamferRect(cr, 2, 2, w - 4, h - 4, 12);
  draw::glowStroke(cr, r.colour("edge"), 1.5, 1.5);
  const Font font = recipeFont(r, "label");
  for (std::size_t k = 0; k < 3; ++k) {
    const double x = lamp.x + size / 2 + step * static_cast<double>(k) - housing.x;
    const double y = lamp.y + size / 2 - housing.y;
    cairo_arc(cr, x, y, socket + 3, 0, kTau);
    draw::setColour(cr, r.colour("socket_rim"));
    cairo_fill(cr);
    cairo_arc(cr, x, y, socket, 0, kTau);
    const Colour lens = r.resolveColour(splitWords(r.text("lenses")).at(k));
    draw::fillRadial(cr, x, y - socket * 0.3, 1, x, y, socket,
                     Colour{lens.r * 0.5, lens.g * 0.5, lens.b * 0.5, 1},
                     Colour{lens.r * 0.15, lens.g * 0.15, lens.b * 0.15, 1});
    if (k < labels.size()) {
      draw::textMiddle(cr, font, labels[k], x, y + socket + 12, Align::Centre, r.colour("ink"));
    }
  }
}

void lamp(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double cx = cell.width / 2;
  const double cy = cell.height / 2;
  const Colour c = r.colour("colour");
  const double lens = r.number("lens_radius");
  draw::radialGlow(cr, cx, cy, std::min(cx, cy), withAlpha(c, 0.75));
  cairo_arc(cr, cx, cy, lens, 0, kTau);
  const Colour hot = lighten(c, 0.75);
  draw::fillRadial(cr, cx - lens * 0.25, cy - lens * 0.3, 1, cx, cy, lens, hot, c);
  cairo_arc(cr, cx - lens * 0.3, cy - lens * 0.35, lens * 0.22, 0, kTau);
  draw::setColour(cr, {1, 1, 1, 0.7});
  cairo_fill(cr);
}

}  // namespace artgen::paint
