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

// Parameters given as shares: x of the half width, y of the half length (-1 rear, +1 nose).
struct CarFrame {
  double hw, hl;
  Pt at(double x, double y) const { return {x * hw, y * hl}; }
};

std::vector<Pt> outline(const Recipe& r) {
  const auto v = r.numbers("outline");
  if (v.size() < 6 || v.size() % 2 != 0) r.fail("outline needs at least three x,y points");
  std::vector<Pt> pts;
  for (std::size_t i = 0; i < v.size(); i += 2) pts.push_back({v[i], v[i + 1]});
  return pts;
}

std::vector<double> fixedNumbers(const Recipe& r, const std::string& name, std::size_t count) {
  const auto v = r.numbers(name);
  if (v.size() != count) r.fail(name + " needs " + std::to_string(count) + " numbers");
  return v;
}

// A closed, smoothed path through the right-half points and their mirror images.
void bodyPath(cairo_t* cr, const std::vector<Pt>& half, const CarFrame& f) {
  std::vector<Pt> loop;
  for (const Pt& p : half) loop.push_back(f.at(p.x, p.y));
  for (auto it = half.rbegin(); it != half.rend(); ++it) loop.push_back(f.at(-it->x, it->y));
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

void wheel(cairo_t* cr, Pt centre, double w, double h, double angle, const Colour& rim) {
  cairo_save(cr);
  cairo_translate(cr, centre.x, centre.y);
  cairo_rotate(cr, angle);
  draw::roundedRect(cr, -w / 2, -h / 2, w, h, w * 0.3);
  draw::verticalGradient(cr, -h / 2, h / 2, {0.16, 0.17, 0.22, 1}, {0.03, 0.03, 0.06, 1});
  cairo_fill(cr);
  for (double y = -h / 2 + 1.5; y < h / 2 - 1; y += 2.2) cairo_rectangle(cr, -w / 2, y, w, 0.7);
  draw::setColour(cr, {0, 0, 0, 0.55});
  cairo_fill(cr);
  cairo_rectangle(cr, -w * 0.18, -h * 0.32, w * 0.36, h * 0.64);
  draw::setColour(cr, rim);
  cairo_fill(cr);
  cairo_restore(cr);
}

void wheels(cairo_t* cr, const Recipe& r, const CarFrame& f, double lean) {
  const auto v = fixedNumbers(r, "wheels", 5);
  const double w = v[0] * f.hw;
  const double h = v[1] * f.hl;
  const double x = v[2];
  const double steer = -lean * radians(28);
  const Colour rim = r.colour("trim");
  for (const double y : {v[3], v[4]}) {
    const Pt a = f.at(-x, y);
    cairo_rectangle(cr, a.x, a.y - f.hl * 0.035, 2 * x * f.hw, f.hl * 0.07);
  }
  draw::setColour(cr, darken(r.colour("body_dark"), 0.4));
  cairo_fill(cr);
  for (const double side : {-1.0, 1.0}) {
    wheel(cr, f.at(side * x, v[3]), w, h, 0, rim);
    wheel(cr, f.at(side * x, v[4]), w, h, steer, rim);
  }
}

// The two colours a body is shaded with: its own, or the greys of the paint layer.
struct BodyPaint {
  Colour body, dark;
};

BodyPaint ownPaint(const Recipe& r) {
  return {r.colour("body"), r.colour("body_dark")};
}

// Light greys, so that a tint multiplied in when drawing gives the body that colour.
constexpr BodyPaint kTintablePaint{{0.84, 0.84, 0.84, 1}, {0.34, 0.34, 0.36, 1}};

void shadeBody(cairo_t* cr, const BodyPaint& paint, const CarFrame& f, double lean) {
  const Colour body = paint.body;
  const Colour dark = paint.dark;
  const Colour hi = lighten(body, 0.45);
  const double s = lean * 0.06;
  cairo_pattern_t* p = cairo_pattern_create_linear(-f.hw, 0, f.hw, 0);
  cairo_pattern_add_color_stop_rgb(p, 0, dark.r, dark.g, dark.b);
  cairo_pattern_add_color_stop_rgb(p, 0.22 + s, body.r, body.g, body.b);
  cairo_pattern_add_color_stop_rgb(p, 0.42 + s, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(p, 0.62 + s, body.r, body.g, body.b);
  cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  draw::setColour(cr, darken(dark, 0.6));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

void pods(cairo_t* cr, const Recipe& r, const BodyPaint& paint, const CarFrame& f) {
  if (!r.has("pods")) return;
  const auto v = fixedNumbers(r, "pods", 4);
  for (const double side : {-1.0, 1.0}) {
    const Pt c = f.at(side * v[0], v[1]);
    draw::roundedRect(cr, c.x - v[2] * f.hw / 2, c.y - v[3] * f.hl / 2, v[2] * f.hw, v[3] * f.hl,
                      v[2] * f.hw * 0.45);
  }
  shadeBody(cr, paint, f, 0);
}

void wing(cairo_t* cr, const Recipe& r, const CarFrame& f, const std::string& name,
          const Colour& colour) {
  const auto v = fixedNumbers(r, name, 3);
  const Pt a = f.at(-v[2], v[0] - v[1] / 2);
  const double w = 2 * v[2] * f.hw;
  const double h = v[1] * f.hl;
  draw::roundedRect(cr, a.x, a.y, w, h, h * 0.4);
  draw::verticalGradient(cr, a.y, a.y + h, lighten(colour, 0.25), darken(colour, 0.35));
  cairo_fill_preserve(cr);
  draw::setColour(cr, darken(r.colour("body_dark"), 0.6));
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_rectangle(cr, a.x + 1, a.y + h * 0.45, w - 2, std::max(0.8, h * 0.14));
  draw::setColour(cr, r.colour("trim"));
  cairo_fill(cr);
}

void stripes(cairo_t* cr, const Recipe& r, const CarFrame& f) {
  const std::string style = r.text("stripes");
  const double hw = f.hw;
  const double hl = f.hl;
  if (style == "centre") {
    cairo_rectangle(cr, -hw * 0.1, -hl, hw * 0.2, hl * 2);
  } else if (style == "twin") {
    cairo_rectangle(cr, -hw * 0.32, -hl, hw * 0.1, hl * 2);
    cairo_rectangle(cr, hw * 0.22, -hl, hw * 0.1, hl * 2);
  } else if (style == "chevron") {
    for (int i = 0; i < 3; ++i) {
      const double y = hl * (0.3 + i * 0.18);
      cairo_move_to(cr, -hw * 0.7, y - hl * 0.14);
      cairo_line_to(cr, 0, y);
      cairo_line_to(cr, hw * 0.7, y - hl * 0.14);
      cairo_line_to(cr, hw * 0.7, y - hl * 0.06);
      cairo_line_to(cr, 0, y + hl * 0.08);
      cairo_line_to(cr, -hw * 0.7, y - hl * 0.06);
      cairo_close_path(cr);
    }
  } else if (style == "side") {
    cairo_rectangle(cr, -hw * 0.42, -hl * 0.7, hw * 0.1, hl * 1.5);
    cairo_rectangle(cr, hw * 0.32, -hl * 0.7, hw * 0.1, hl * 1.5);
  } else {
    r.fail("stripes must be centre, twin, chevron or side");
  }
  draw::setColour(cr, r.colour("accent"));
  cairo_fill(cr);
}

void vents(cairo_t* cr, const Recipe& r, const CarFrame& f) {
  if (!r.has("vents")) return;
  const auto v = fixedNumbers(r, "vents", 4);
  for (int i = 0; i < static_cast<int>(v[2]); ++i) {
    const Pt a = f.at(-v[3], v[0] + i * v[1]);
    cairo_rectangle(cr, a.x, a.y, 2 * v[3] * f.hw, std::max(0.8, f.hl * 0.035));
  }
  draw::setColour(cr, withAlpha(darken(r.colour("body_dark"), 0.5), 0.85));
  cairo_fill(cr);
}

void canopy(cairo_t* cr, const Recipe& r, const CarFrame& f) {
  const Colour glass = r.colour("canopy");
  const Pt c = f.at(0, r.number("canopy_at"));
  const double cw = f.hw * r.number("canopy_width");
  const double ch = f.hl * r.number("canopy_length");
  cairo_save(cr);
  cairo_translate(cr, c.x, c.y);
  cairo_move_to(cr, 0, ch * 0.55);
  cairo_curve_to(cr, cw * 0.85, ch * 0.45, cw, -ch * 0.15, cw * 0.75, -ch * 0.42);
  cairo_curve_to(cr, cw * 0.4, -ch * 0.55, -cw * 0.4, -ch * 0.55, -cw * 0.75, -ch * 0.42);
  cairo_curve_to(cr, -cw, -ch * 0.15, -cw * 0.85, ch * 0.45, 0, ch * 0.55);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, -ch * 0.5, 0, ch * 0.55);
  cairo_pattern_add_color_stop_rgb(p, 0, glass.r * 0.25, glass.g * 0.25, glass.b * 0.35);
  cairo_pattern_add_color_stop_rgb(p, 1, glass.r, glass.g, glass.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  draw::setColour(cr, {0.02, 0.02, 0.05, 1});
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, -cw * 0.5, -ch * 0.2);
  cairo_curve_to(cr, -cw * 0.4, ch * 0.15, -cw * 0.15, ch * 0.32, cw * 0.15, ch * 0.38);
  draw::setColour(cr, {1, 1, 1, 0.6});
  cairo_set_line_width(cr, std::max(0.9, cw * 0.14));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void engines(cairo_t* cr, const Recipe& r, const CarFrame& f) {
  const Colour glow = r.colour("engine");
  const double spread = r.number("engine_spread");
  for (const double side : {-1.0, 1.0}) {
    const Pt e = f.at(side * spread, -0.96);
    draw::radialGlow(cr, e.x, e.y, f.hw * 0.36, glow);
    draw::radialGlow(cr, e.x, e.y + 0.5, f.hw * 0.13, lighten(glow, 0.8));
  }
}

void headlights(cairo_t* cr, const Recipe& r, const CarFrame& f) {
  const auto v = fixedNumbers(r, "headlights", 2);
  for (const double side : {-1.0, 1.0}) {
    const Pt p = f.at(side * v[0], v[1]);
    draw::radialGlow(cr, p.x, p.y, f.hw * 0.22, r.colour("headlight"));
  }
}

// The body and its details, leaning with the steering; the paint layer draws the body in
// greys and cuts the details out of it, so that it covers exactly the painted body.
void leaningBody(cairo_t* cr, const Recipe& r, const CarFrame& f, double lean, CarLayer layer) {
  const auto half = outline(r);
  const BodyPaint paint = layer == CarLayer::Paint ? kTintablePaint : ownPaint(r);
  cairo_save(cr);
  const Pt pivot = f.at(0, -0.55);
  cairo_translate(cr, pivot.x, pivot.y);
  cairo_rotate(cr, -lean * radians(5));
  cairo_translate(cr, -pivot.x, -pivot.y);
  if (layer == CarLayer::Whole) wing(cr, r, f, "rear_wing", r.colour("body_dark"));
  pods(cr, r, paint, f);
  bodyPath(cr, half, f);
  shadeBody(cr, paint, f, lean);
  if (layer == CarLayer::Paint) cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  cairo_save(cr);
  bodyPath(cr, half, f);
  cairo_clip(cr);
  stripes(cr, r, f);
  cairo_restore(cr);
  vents(cr, r, f);
  if (r.has("front_wing")) wing(cr, r, f, "front_wing", r.colour("accent"));
  canopy(cr, r, f);
  headlights(cr, r, f);
  cairo_restore(cr);
}

}  // namespace

void drawCar(cairo_t* cr, const Recipe& r, double width, double length, double lean,
             CarLayer layer) {
  const CarFrame f{width / 2, length / 2};
  if (layer == CarLayer::Whole) {
    engines(cr, r, f);
    wheels(cr, r, f, lean);
  }
  leaningBody(cr, r, f, lean, layer);
}

}  // namespace artgen
