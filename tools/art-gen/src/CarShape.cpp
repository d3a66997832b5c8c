#include "CarShape.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "Draw.h"
#include "PaintKit.h"

namespace artgen {

namespace {

struct Pt {
  double x, y;
};

// Right half outlines, rear (y = -1) to nose (y = +1), x as a share of the half width.
std::vector<Pt> outline(const Recipe& r, const std::string& shape) {
  if (shape == "dart") {
    return {{0.55, -0.97}, {0.78, -0.88}, {0.8, -0.45}, {0.68, 0.2}, {0.44, 0.74}, {0.16, 0.99}};
  }
  if (shape == "wedge") {
    return {{0.74, -0.97}, {0.84, -0.72}, {0.84, 0.3}, {0.7, 0.8}, {0.42, 0.99}};
  }
  if (shape == "twin") {
    return {{0.5, -0.97}, {0.88, -0.78}, {0.9, -0.1}, {0.62, 0.22}, {0.56, 0.74}, {0.28, 0.99}};
  }
  if (shape == "needle") {
    return {{0.88, -0.97}, {0.9, -0.74}, {0.5, -0.55}, {0.46, 0.1}, {0.34, 0.7}, {0.1, 0.995}};
  }
  if (shape == "heavy") {
    return {{0.84, -0.98}, {0.93, -0.8}, {0.93, 0.55}, {0.8, 0.9}, {0.58, 0.995}};
  }
  r.fail("car shape must be dart, wedge, twin, needle or heavy");
}

void bodyPath(cairo_t* cr, const std::vector<Pt>& half, double hw, double hl) {
  std::vector<Pt> loop;
  for (const Pt& p : half) loop.push_back({p.x * hw, p.y * hl});
  for (auto it = half.rbegin(); it != half.rend(); ++it) loop.push_back({-it->x * hw, it->y * hl});
  const std::size_t n = loop.size();
  const auto at = [&](std::size_t i) { return loop[i % n]; };
  cairo_move_to(cr, (at(0).x + at(n - 1).x) / 2, (at(0).y + at(n - 1).y) / 2);
  for (std::size_t i = 0; i < n; ++i) {
    const Pt c = at(i);
    const Pt next = at(i + 1);
    cairo_curve_to(cr, c.x, c.y, c.x, c.y, (c.x + next.x) / 2, (c.y + next.y) / 2);
  }
  cairo_close_path(cr);
}

void wheel(cairo_t* cr, double x, double y, double w, double h, double angle, const Colour& rim) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  draw::roundedRect(cr, -w / 2, -h / 2, w, h, w * 0.35);
  draw::setColour(cr, {0.05, 0.05, 0.08, 1});
  cairo_fill(cr);
  cairo_rectangle(cr, -w / 2 + 0.6, -h * 0.3, w - 1.2, h * 0.6);
  draw::setColour(cr, withAlpha(rim, 0.85));
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void shadeBody(cairo_t* cr, const Recipe& r, double hw, double lean) {
  const Colour body = r.colour("body");
  const Colour dark = r.colour("body_dark");
  const double shift = lean * hw * 0.15;
  cairo_pattern_t* p = cairo_pattern_create_linear(-hw, 0, hw, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, dark.r, dark.g, dark.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.3 + shift / hw / 2, body.r, body.g, body.b, 1);
  const Colour hi = lighten(body, 0.35);
  cairo_pattern_add_color_stop_rgba(p, 0.45 + shift / hw / 2, hi.r, hi.g, hi.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 0.7 + shift / hw / 2, body.r, body.g, body.b, 1);
  cairo_pattern_add_color_stop_rgba(p, 1, dark.r, dark.g, dark.b, 1);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  draw::setColour(cr, darken(dark, 0.5));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

void stripes(cairo_t* cr, const Recipe& r, double hw, double hl) {
  const Colour accent = r.colour("accent");
  const std::string style = r.text("stripes");
  if (style == "centre") {
    cairo_rectangle(cr, -hw * 0.12, -hl * 0.95, hw * 0.24, hl * 1.9);
  } else if (style == "twin") {
    cairo_rectangle(cr, -hw * 0.34, -hl * 0.95, hw * 0.12, hl * 1.9);
    cairo_rectangle(cr, hw * 0.22, -hl * 0.95, hw * 0.12, hl * 1.9);
  } else if (style == "chevron") {
    for (int i = 0; i < 3; ++i) {
      const double y = hl * (0.25 + i * 0.17);
      cairo_move_to(cr, -hw * 0.6, y - hl * 0.12);
      cairo_line_to(cr, 0, y);
      cairo_line_to(cr, hw * 0.6, y - hl * 0.12);
      cairo_line_to(cr, hw * 0.6, y - hl * 0.05);
      cairo_line_to(cr, 0, y + hl * 0.07);
      cairo_line_to(cr, -hw * 0.6, y - hl * 0.05);
      cairo_close_path(cr);
    }
  } else if (style == "side") {
    cairo_rectangle(cr, -hw * 0.78, -hl * 0.6, hw * 0.14, hl * 1.1);
    cairo_rectangle(cr, hw * 0.64, -hl * 0.6, hw * 0.14, hl * 1.1);
  } else {
    r.fail("stripes must be centre, twin, chevron or side");
  }
  draw::setColour(cr, accent);
  cairo_fill(cr);
}

void canopy(cairo_t* cr, const Recipe& r, double hw, double hl) {
  const Colour glass = r.colour("canopy");
  const double cy = hl * r.number("canopy_at");
  const double cw = hw * r.number("canopy_width");
  const double ch = hl * 0.34;
  cairo_save(cr);
  cairo_translate(cr, 0, cy);
  cairo_move_to(cr, 0, ch * 0.6);
  cairo_curve_to(cr, cw * 0.9, ch * 0.45, cw, -ch * 0.2, cw * 0.7, -ch * 0.45);
  cairo_curve_to(cr, cw * 0.35, -ch * 0.6, -cw * 0.35, -ch * 0.6, -cw * 0.7, -ch * 0.45);
  cairo_curve_to(cr, -cw, -ch * 0.2, -cw * 0.9, ch * 0.45, 0, ch * 0.6);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, -ch * 0.5, 0, ch * 0.6);
  cairo_pattern_add_color_stop_rgb(p, 0, glass.r * 0.4, glass.g * 0.4, glass.b * 0.5);
  cairo_pattern_add_color_stop_rgb(p, 1, glass.r, glass.g, glass.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  draw::setColour(cr, {0.02, 0.02, 0.05, 1});
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_move_to(cr, -cw * 0.45, -ch * 0.15);
  cairo_curve_to(cr, -cw * 0.3, ch * 0.2, -cw * 0.1, ch * 0.35, cw * 0.1, ch * 0.4);
  draw::setColour(cr, {1, 1, 1, 0.55});
  cairo_set_line_width(cr, std::max(0.8, cw * 0.12));
  cairo_stroke(cr);
  cairo_restore(cr);
}

void engines(cairo_t* cr, const Recipe& r, double hw, double hl) {
  const Colour glow = r.colour("engine");
  const double spread = r.number("engine_spread");
  for (const double side : {-1.0, 1.0}) {
    const double x = side * hw * spread;
    draw::radialGlow(cr, x, -hl * 0.97, hw * 0.32, glow);
    draw::radialGlow(cr, x, -hl * 0.95, hw * 0.12, lighten(glow, 0.7));
  }
}

void lights(cairo_t* cr, double hw, double hl, const std::vector<Pt>& half, const Colour& c) {
  const Pt nose = half.back();
  const Pt shoulder = half[half.size() - 2];
  const double x = (nose.x * 0.4 + shoulder.x * 0.6) * hw * 0.8;
  const double y = (nose.y * 0.4 + shoulder.y * 0.6) * hl;
  for (const double side : {-1.0, 1.0}) draw::radialGlow(cr, side * x, y, hw * 0.2, c);
}

}  // namespace

void drawCar(cairo_t* cr, const Recipe& r, double width, double length, double lean) {
  const double hw = width / 2;
  const double hl = length / 2;
  const auto half = outline(r, r.text("shape"));
  const Colour trim = r.colour("trim");
  const double wheelW = hw * 0.34;
  const double wheelH = hl * 0.26;
  const double wheelX = hw - wheelW / 2;
  const double steer = -lean * radians(24);
  wheel(cr, -wheelX, -hl * 0.62, wheelW, wheelH, 0, trim);
  wheel(cr, wheelX, -hl * 0.62, wheelW, wheelH, 0, trim);
  wheel(cr, -wheelX, hl * 0.5, wheelW, wheelH, steer, trim);
  wheel(cr, wheelX, hl * 0.5, wheelW, wheelH, steer, trim);
  engines(cr, r, hw, hl);
  cairo_save(cr);
  cairo_translate(cr, 0, -hl * 0.6);
  cairo_rotate(cr, -lean * radians(3.5));
  cairo_translate(cr, 0, hl * 0.6);
  bodyPath(cr, half, hw * 0.86, hl);
  shadeBody(cr, r, hw, lean);
  cairo_save(cr);
  bodyPath(cr, half, hw * 0.86, hl);
  cairo_clip(cr);
  stripes(cr, r, hw, hl);
  cairo_restore(cr);
  cairo_rectangle(cr, -hw * 0.92, -hl * 0.96, hw * 1.84, hl * 0.09);
  draw::setColour(cr, r.colour("body_dark"));
  cairo_fill_preserve(cr);
  draw::setColour(cr, trim);
  cairo_set_line_width(cr, 0.7);
  cairo_stroke(cr);
  canopy(cr, r, hw, hl);
  lights(cr, hw * 0.86, hl, half, r.colour("headlight"));
  cairo_restore(cr);
}

}  // namespace artgen
