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

struct TPoint {
  double X, Y;
};

TPoint PointPair(const TRecipe& r, const std::string& name) {
  const auto v = r.Numbers(name);
  if (v.size() != 2) r.Fail(name + " needs two numbers");
  return {v[0], v[1]};
}

std::string PerCell(const TCell& cell, const std::string& name) {
  const auto words = SplitWords(cell.Recipe.Text(name));
  if (static_cast<int>(words.size()) != cell.Count) {
    cell.Recipe.Fail(name + " needs one value per cell");
  }
  return words[static_cast<std::size_t>(cell.Index)];
}

double PerCellNumber(const TCell& cell, const std::string& name) {
  try {
    return ParseNumber(PerCell(cell, name), name);
  } catch (const std::runtime_error& e) {
    cell.Recipe.Fail(e.what());
  }
}

TPoint DialDirection(double rotationDegrees) {
  const double a = Radians(rotationDegrees);
  return {std::sin(a), -std::cos(a)};
}

std::string FormatNumber(double v) {
  std::ostringstream s;
  s << v;
  return s.str();
}

void Console(cairo_t* cr, const TCell& cell, TPoint dial, TPoint radar) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  const double top = r.Number("console_top");
  const double dialR = r.Number("dial_radius") + 6;
  const double radarR = r.Number("radar_radius") + 5;
  const auto screen = r.Numbers("text_screen");
  if (screen.size() != 4) r.Fail("text_screen needs x y w h");
  cairo_new_path(cr);
  cairo_arc(cr, dial.X, dial.Y, dialR, 0, kTau);
  cairo_new_sub_path(cr);
  cairo_arc(cr, radar.X, radar.Y, radarR, 0, kTau);
  draw::ChamferRect(cr, 0, top, w, h - top + 20, 14);
  draw::ChamferRect(cr, screen[0] - 8, screen[1] - 8, screen[2] + 16, screen[3] + 30, 12);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_path_t* shape = cairo_copy_path(cr);
  draw::VerticalGradient(cr, 0, h, r.Colour("console_top_colour"), r.Colour("console_bottom"));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_append_path(cr, shape);
  cairo_clip(cr);
  for (double x = 0; x < w; x += 4) cairo_rectangle(cr, x, 0, 1, h);
  draw::SetColour(cr, {1, 1, 1, 0.025});
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_append_path(cr, shape);
  draw::GlowStroke(cr, r.Colour("edge"), 1.5, 2.5);
  cairo_path_destroy(shape);
  draw::RoundedRect(cr, screen[0], screen[1], screen[2], screen[3], 6);
  draw::VerticalGradient(cr, screen[1], screen[1] + screen[3], r.Colour("screen_top"),
                         r.Colour("screen_bottom"));
  cairo_fill(cr);
  draw::RoundedRect(cr, screen[0], screen[1], screen[2], screen[3], 6);
  draw::GlowStroke(cr, r.Colour("edge"), 1.2, 1.5);
}

void Deck(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const auto v = r.Numbers("deck");
  if (v.size() != 4) r.Fail("deck needs x y w h");
  const TColour accent = r.Colour("deck_accent");
  draw::ChamferRect(cr, v[0], v[1], v[2], v[3], 8);
  draw::SetColour(cr, r.Colour("deck_fill"));
  cairo_fill(cr);
  draw::ChamferRect(cr, v[0], v[1], v[2], v[3], 8);
  draw::SetColour(cr, WithAlpha(accent, 0.5));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const int bars = 24;
  for (int i = 0; i < bars; ++i) {
    const double bx = v[0] + 12 + i * (v[2] - 24) / bars;
    const double bh = (v[3] - 16) * (0.25 + 0.75 * std::pow(std::sin(i * 0.37 + 0.4), 2));
    cairo_rectangle(cr, bx, v[1] + v[3] - 8 - bh, (v[2] - 24) / bars - 3, bh);
  }
  draw::SetColour(cr, WithAlpha(accent, 0.35));
  cairo_fill(cr);
  PaintTexts(cr, r);
}

void DialDisc(cairo_t* cr, const TRecipe& r, TPoint c, double radius) {
  cairo_arc(cr, c.X, c.Y, radius, 0, kTau);
  const TColour a = r.Colour("dial_centre");
  const TColour b = r.Colour("dial_edge");
  draw::FillRadial(cr, c.X, c.Y - radius * 0.3, 2, c.X, c.Y, radius, a, b);
}

// The needle's rotation for a speed share 0..1.
double ShareRotation(const TRecipe& r, double share) {
  return r.Number("zero_angle") - r.Number("sweep") * share;
}

void ScaleBand(cairo_t* cr, const TRecipe& r, TPoint c, double from, double to, const TColour& col,
               double rad, double width) {
  const int steps = 48;
  for (int i = 0; i <= steps; ++i) {
    const TPoint d = DialDirection(ShareRotation(r, from + (to - from) * i / steps));
    if (i == 0) {
      cairo_move_to(cr, c.X + d.X * rad, c.Y + d.Y * rad);
    } else {
      cairo_line_to(cr, c.X + d.X * rad, c.Y + d.Y * rad);
    }
  }
  draw::GlowStroke(cr, col, width, 2);
}

void ScaleMarks(cairo_t* cr, const TCell& cell, TPoint c, double radius, const TColour& scale) {
  const TRecipe& r = cell.Recipe;
  const int majors = static_cast<int>(PerCellNumber(cell, "majors"));
  const int every = static_cast<int>(PerCellNumber(cell, "label_every"));
  const double step = PerCellNumber(cell, "label_step");
  const TFont font = RecipeFont(r, "dial");
  for (int i = 0; i <= majors * 5; ++i) {
    const TPoint d = DialDirection(ShareRotation(r, static_cast<double>(i) / (majors * 5)));
    const bool major = i % 5 == 0;
    const double inner = radius - (major ? 14 : 9);
    cairo_move_to(cr, c.X + d.X * inner, c.Y + d.Y * inner);
    cairo_line_to(cr, c.X + d.X * (radius - 5), c.Y + d.Y * (radius - 5));
    draw::SetColour(cr, major ? Lighten(scale, 0.5) : WithAlpha(scale, 0.7));
    cairo_set_line_width(cr, major ? 2 : 1);
    cairo_stroke(cr);
    if (major && (i / 5) % every == 0) {
      const double lr = radius - 23;
      draw::TextMiddle(cr, font, FormatNumber(i / 5 * step), c.X + d.X * lr, c.Y + d.Y * lr,
                       Align::Centre, r.Colour("dial_ink"));
    }
  }
}

void DialFace(cairo_t* cr, const TCell& cell, TPoint c) {
  const TRecipe& r = cell.Recipe;
  const double radius = r.Number("dial_radius");
  const TColour scale = r.ResolveColour(PerCell(cell, "scale_colour"));
  const double red = r.Number("redline");
  DialDisc(cr, r, c, radius);
  ScaleBand(cr, r, c, 0, red, WithAlpha(scale, 0.7), radius - 4, 2);
  ScaleBand(cr, r, c, red, 1, r.Colour("redline_colour"), radius - 4, 3);
  ScaleMarks(cr, cell, c, radius, scale);
  const TFont caption = RecipeFont(r, "caption");
  const TPoint cd = DialDirection(r.Number("caption_angle"));
  draw::GlowText(cr, caption, PerCell(cell, "caption"), c.X + cd.X * radius * 0.42,
                 c.Y + cd.Y * radius * 0.42, Align::Centre, Lighten(scale, 0.4), scale, 2);
}

void RadarFace(cairo_t* cr, const TRecipe& r, TPoint c) {
  const double radius = r.Number("radar_radius");
  const TColour col = r.Colour("radar_colour");
  cairo_arc(cr, c.X, c.Y, radius, 0, kTau);
  const TColour a = r.Colour("radar_centre");
  const TColour b = r.Colour("dial_edge");
  draw::FillRadial(cr, c.X, c.Y, 1, c.X, c.Y, radius, a, b);
  for (const double k : {0.35, 0.7}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, c.X, c.Y, radius * k, 0, kTau);
  }
  cairo_move_to(cr, c.X - radius, c.Y);
  cairo_line_to(cr, c.X + radius, c.Y);
  cairo_move_to(cr, c.X, c.Y - radius);
  cairo_line_to(cr, c.X, c.Y + radius);
  draw::SetColour(cr, WithAlpha(col, 0.35));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, c.X, c.Y);
  cairo_arc(cr, c.X, c.Y, radius, -std::numbers::pi / 2, -std::numbers::pi / 2 + 0.7);
  cairo_close_path(cr);
  draw::SetColour(cr, WithAlpha(col, 0.18));
  cairo_fill(cr);
}

void Bezel(cairo_t* cr, const TRecipe& r, TPoint c, double radius) {
  cairo_arc(cr, c.X, c.Y, radius + 2.5, 0, kTau);
  cairo_pattern_t* p =
      cairo_pattern_create_linear(c.X - radius, c.Y - radius, c.X + radius, c.Y + radius);
  const TColour a = r.Colour("bezel_light");
  const TColour b = r.Colour("bezel_dark");
  cairo_pattern_add_color_stop_rgb(p, 0, a.R, a.G, a.B);
  cairo_pattern_add_color_stop_rgb(p, 1, b.R, b.G, b.B);
  cairo_set_source(cr, p);
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
  cairo_new_sub_path(cr);
  cairo_arc(cr, c.X, c.Y, radius + 5.5, 0, kTau);
  draw::GlowStroke(cr, r.Colour("edge"), 1, 1.5);
  cairo_new_sub_path(cr);
  cairo_arc(cr, c.X, c.Y, radius - 3, Radians(195), Radians(265));
  draw::SetColour(cr, {1, 1, 1, 0.22});
  cairo_set_line_width(cr, radius * 0.12);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

}  // namespace

void Speedo(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TPoint dial = PointPair(r, "pivot");
  const TPoint radar = PointPair(r, "radar");
  Console(cr, cell, dial, radar);
  Deck(cr, cell);
  DialFace(cr, cell, dial);
  RadarFace(cr, r, radar);
}

void SpeedoGlass(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TPoint dial = PointPair(r, "pivot");
  const TPoint radar = PointPair(r, "radar");
  Bezel(cr, r, dial, r.Number("dial_radius"));
  Bezel(cr, r, radar, r.Number("radar_radius"));
  const double hub = r.Number("hub_radius");
  cairo_arc(cr, dial.X, dial.Y, hub, 0, kTau);
  const TColour a = r.Colour("bezel_light");
  const TColour b = r.Colour("bezel_dark");
  draw::FillRadial(cr, dial.X - hub * 0.3, dial.Y - hub * 0.4, 0.5, dial.X, dial.Y, hub, a, b);
  cairo_arc(cr, dial.X, dial.Y, hub * 0.35, 0, kTau);
  draw::SetColour(cr, r.Colour("edge"));
  cairo_fill(cr);
  cairo_arc(cr, radar.X, radar.Y, 3, 0, kTau);
  draw::SetColour(cr, r.Colour("edge"));
  cairo_fill(cr);
}

void Needle(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double px = cell.Width / 2;
  const double py = cell.Height;
  const double length = r.Number("length");
  const double base = r.Number("base_width");
  cairo_move_to(cr, px - base / 2, py);
  cairo_line_to(cr, px - 1, py - length);
  cairo_line_to(cr, px + 1, py - length);
  cairo_line_to(cr, px + base / 2, py);
  cairo_close_path(cr);
  cairo_path_t* shape = cairo_copy_path(cr);
  draw::GlowStroke(cr, r.Colour("glow"), 1, 3);
  cairo_append_path(cr, shape);
  draw::VerticalGradient(cr, py - length, py, r.Colour("tip"), r.Colour("colour"));
  cairo_fill(cr);
  cairo_path_destroy(shape);
  cairo_move_to(cr, px, py - 4);
  cairo_line_to(cr, px, py - length + 4);
  draw::SetColour(cr, {1, 1, 1, 0.8});
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void RadarArrow(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  const double g = r.Number("glow");
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
  draw::GlowStroke(cr, r.Colour("glow_colour"), 1.2, g);
  cairo_append_path(cr, shape);
  draw::VerticalGradient(cr, 0, h, r.Colour("tip"), r.Colour("colour"));
  cairo_fill(cr);
  cairo_path_destroy(shape);
}

void StartRing(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double cx = cell.Width / 2;
  const double cy = cell.Height / 2;
  const double radius = r.Number("radius");
  const int arrows = static_cast<int>(r.Number("arrows"));
  const auto colours = SplitWords(r.Text("colours"));
  if (colours.empty()) r.Fail("colours needs at least one colour");
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, kTau);
  draw::GlowStroke(cr, WithAlpha(r.ResolveColour(colours[0]), 0.35), 1, 2);
  for (int i = 0; i < arrows; ++i) {
    const TColour c = r.ResolveColour(colours[static_cast<std::size_t>(i) % colours.size()]);
    const double a0 = kTau * i / arrows + 0.25;
    const double a1 = a0 + kTau / arrows * 0.62;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, a0, a1);
    draw::GlowStroke(cr, c, 4, 3);
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
    draw::SetColour(cr, Lighten(c, 0.3));
    cairo_fill(cr);
  }
}

void PlayerMark(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double cx = cell.Width / 2;
  const double cy = cell.Height / 2;
  const double radius = r.Number("radius");
  const int arcs = static_cast<int>(r.Number("arcs"));
  if (arcs < 1) r.Fail("arcs must be at least 1");
  const TColour colour = r.Colour("colour");
  cairo_arc(cr, cx, cy, radius, 0, kTau);
  cairo_pattern_t* disc = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(disc, 0, colour.R, colour.G, colour.B, 0);
  cairo_pattern_add_color_stop_rgba(disc, 1, colour.R, colour.G, colour.B, r.Number("fill_alpha"));
  cairo_set_source(cr, disc);
  cairo_fill(cr);
  cairo_pattern_destroy(disc);
  // The arcs leave a gap at the nose (angle a quarter turn, +y) for the chevron.
  const double gap = Radians(r.Number("gap"));
  for (int i = 0; i < arcs; ++i) {
    const double a0 = kTau / 4 + gap / 2 + i * kTau / arcs;
    const double a1 = kTau / 4 - gap / 2 + (i + 1) * kTau / arcs;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, a0, a1);
    draw::GlowStroke(cr, colour, r.Number("width"), 3);
  }
  const double size = r.Number("chevron");
  const double tip = cy + radius + size * 0.55;
  cairo_move_to(cr, cx, tip);
  cairo_line_to(cr, cx + size, tip - size);
  cairo_line_to(cr, cx, tip - size * 0.55);
  cairo_line_to(cr, cx - size, tip - size);
  cairo_close_path(cr);
  cairo_path_t* shape = cairo_copy_path(cr);
  draw::GlowStroke(cr, colour, 1, 2);
  cairo_append_path(cr, shape);
  draw::SetColour(cr, Lighten(colour, 0.5));
  cairo_fill(cr);
  cairo_path_destroy(shape);
}

void MapMarks(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double cx = cell.Width / 2;
  const double cy = cell.Height / 2;
  const double radius = std::min(cx, cy) - 0.5;
  const TColour white{1, 1, 1, 1};
  if (cell.Index == 0) {
    cairo_arc(cr, cx, cy, radius, 0, kTau);
    draw::SetColour(cr, r.Colour("rim"));
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, radius - r.Number("rim_width"), 0, kTau);
    draw::SetColour(cr, white);
    cairo_fill(cr);
  } else {
    const double width = r.Number("ring_width");
    cairo_arc(cr, cx, cy, radius - width / 2, 0, kTau);
    cairo_set_line_width(cr, width + 2);
    draw::SetColour(cr, r.Colour("rim"));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    draw::SetColour(cr, white);
    cairo_stroke(cr);
  }
}

void LightHousing(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TPoint housing = PointPair(r, "housing_at");
  const TPoint lamp = PointPair(r, "lamp_at");
  const double step = r.Number("lamp_step");
  const double size = r.Number("lamp_size");
  const double socket = r.Number("socket_radius");
  const auto labels = r.All("label");
  const double w = cell.Width;
  const double h = cell.Height;
  draw::ChamferRect(cr, 2, 2, w - 4, h - 4, 12);
  draw::VerticalGradient(cr, 0, h, r.Colour("body_top"), r.Colour("body_bottom"));
  cairo_fill(cr);
  draw::ChamferRect(cr, 2, 2, w - 4, h - 4, 12);
  draw::GlowStroke(cr, r.Colour("edge"), 1.5, 1.5);
  const TFont font = RecipeFont(r, "label");
  for (std::size_t k = 0; k < 3; ++k) {
    const double x = lamp.X + size / 2 + step * static_cast<double>(k) - housing.X;
    const double y = lamp.Y + size / 2 - housing.Y;
    cairo_arc(cr, x, y, socket + 3, 0, kTau);
    draw::SetColour(cr, r.Colour("socket_rim"));
    cairo_fill(cr);
    cairo_arc(cr, x, y, socket, 0, kTau);
    const TColour lens = r.ResolveColour(SplitWords(r.Text("lenses")).at(k));
    draw::FillRadial(cr, x, y - socket * 0.3, 1, x, y, socket,
                     TColour{lens.R * 0.5, lens.G * 0.5, lens.B * 0.5, 1},
                     TColour{lens.R * 0.15, lens.G * 0.15, lens.B * 0.15, 1});
    if (k < labels.size()) {
      draw::TextMiddle(cr, font, labels[k], x, y + socket + 12, Align::Centre, r.Colour("ink"));
    }
  }
}

void Lamp(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double cx = cell.Width / 2;
  const double cy = cell.Height / 2;
  const TColour c = r.Colour("colour");
  const double lens = r.Number("lens_radius");
  draw::RadialGlow(cr, cx, cy, std::min(cx, cy), WithAlpha(c, 0.75));
  cairo_arc(cr, cx, cy, lens, 0, kTau);
  const TColour hot = Lighten(c, 0.75);
  draw::FillRadial(cr, cx - lens * 0.25, cy - lens * 0.3, 1, cx, cy, lens, hot, c);
  cairo_arc(cr, cx - lens * 0.3, cy - lens * 0.35, lens * 0.22, 0, kTau);
  draw::SetColour(cr, {1, 1, 1, 0.7});
  cairo_fill(cr);
}

}  // namespace artgen::paint
