#include "CarShape.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "Draw.h"
#include "PaintKit.h"

namespace artgen {

namespace {

struct TPt {
  double X, Y;
};

// Parameters given as shares: x of the half width, y of the half length (-1 rear, +1 nose).
struct TCarFrame {
  double Hw, Hl;
  TPt At(double x, double y) const { return {x * Hw, y * Hl}; }
};

std::vector<TPt> Outline(const TRecipe& r) {
  const auto v = r.Numbers("outline");
  if (v.size() < 6 || v.size() % 2 != 0) r.Fail("outline needs at least three x,y points");
  std::vector<TPt> pts;
  for (std::size_t i = 0; i < v.size(); i += 2) pts.push_back({v[i], v[i + 1]});
  return pts;
}

std::vector<double> FixedNumbers(const TRecipe& r, const std::string& name, std::size_t count) {
  const auto v = r.Numbers(name);
  if (v.size() != count) r.Fail(name + " needs " + std::to_string(count) + " numbers");
  return v;
}

// A closed, smoothed path through the right-half points and their mirror images.
void BodyPath(cairo_t* cr, const std::vector<TPt>& half, const TCarFrame& f) {
  std::vector<TPt> loop;
  for (const TPt& p : half) loop.push_back(f.At(p.X, p.Y));
  for (auto it = half.rbegin(); it != half.rend(); ++it) loop.push_back(f.At(-it->X, it->Y));
  const std::size_t n = loop.size();
  const auto at = [&](std::size_t i) { return loop[i % n]; };
  cairo_move_to(cr, (at(0).X + at(n - 1).X) / 2, (at(0).Y + at(n - 1).Y) / 2);
  for (std::size_t i = 0; i < n; ++i) {
    const TPt c = at(i);
    const TPt next = at(i + 1);
    cairo_curve_to(cr, c.X, c.Y, c.X, c.Y, (c.X + next.X) / 2, (c.Y + next.Y) / 2);
  }
  cairo_close_path(cr);
}

void Wheel(cairo_t* cr, TPt centre, double w, double h, double angle, const TColour& rim) {
  cairo_save(cr);
  cairo_translate(cr, centre.X, centre.Y);
  cairo_rotate(cr, angle);
  draw::RoundedRect(cr, -w / 2, -h / 2, w, h, w * 0.3);
  draw::VerticalGradient(cr, -h / 2, h / 2, {0.16, 0.17, 0.22, 1}, {0.03, 0.03, 0.06, 1});
  cairo_fill(cr);
  for (double y = -h / 2 + 1.5; y < h / 2 - 1; y += 2.2) cairo_rectangle(cr, -w / 2, y, w, 0.7);
  draw::SetColour(cr, {0, 0, 0, 0.55});
  cairo_fill(cr);
  cairo_rectangle(cr, -w * 0.18, -h * 0.32, w * 0.36, h * 0.64);
  draw::SetColour(cr, rim);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Wheels(cairo_t* cr, const TRecipe& r, const TCarFrame& f, double lean) {
  const auto v = FixedNumbers(r, "wheels", 5);
  const double w = v[0] * f.Hw;
  const double h = v[1] * f.Hl;
  const double x = v[2];
  const double steer = -lean * Radians(28);
  const TColour rim = r.Colour("trim");
  for (const double y : {v[3], v[4]}) {
    const TPt a = f.At(-x, y);
    cairo_rectangle(cr, a.X, a.Y - f.Hl * 0.035, 2 * x * f.Hw, f.Hl * 0.07);
  }
  draw::SetColour(cr, Darken(r.Colour("body_dark"), 0.4));
  cairo_fill(cr);
  for (const double side : {-1.0, 1.0}) {
    Wheel(cr, f.At(side * x, v[3]), w, h, 0, rim);
    Wheel(cr, f.At(side * x, v[4]), w, h, steer, rim);
  }
}

// The two colours a body is shaded with: its own, or the greys of the paint layer.
struct TBodyPaint {
  TColour Body, Dark;
};

TBodyPaint OwnPaint(const TRecipe& r) {
  return {r.Colour("body"), r.Colour("body_dark")};
}

// Light greys, so that a tint multiplied in when drawing gives the body that colour.
constexpr TBodyPaint kTintablePaint{{0.84, 0.84, 0.84, 1}, {0.34, 0.34, 0.36, 1}};

void ShadeBody(cairo_t* cr, const TBodyPaint& paint, const TCarFrame& f, double lean) {
  const TColour body = paint.Body;
  const TColour dark = paint.Dark;
  const TColour hi = Lighten(body, 0.45);
  const double s = lean * 0.06;
  cairo_pattern_t* p = cairo_pattern_create_linear(-f.Hw, 0, f.Hw, 0);
  cairo_pattern_add_color_stop_rgb(p, 0, dark.R, dark.G, dark.B);
  cairo_pattern_add_color_stop_rgb(p, 0.22 + s, body.R, body.G, body.B);
  cairo_pattern_add_color_stop_rgb(p, 0.42 + s, hi.R, hi.G, hi.B);
  cairo_pattern_add_color_stop_rgb(p, 0.62 + s, body.R, body.G, body.B);
  cairo_pattern_add_color_stop_rgb(p, 1, dark.R, dark.G, dark.B);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  draw::SetColour(cr, Darken(dark, 0.6));
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

void Pods(cairo_t* cr, const TRecipe& r, const TBodyPaint& paint, const TCarFrame& f) {
  if (!r.Has("pods")) return;
  const auto v = FixedNumbers(r, "pods", 4);
  for (const double side : {-1.0, 1.0}) {
    const TPt c = f.At(side * v[0], v[1]);
    draw::RoundedRect(cr, c.X - v[2] * f.Hw / 2, c.Y - v[3] * f.Hl / 2, v[2] * f.Hw, v[3] * f.Hl,
                      v[2] * f.Hw * 0.45);
  }
  ShadeBody(cr, paint, f, 0);
}

void Wing(cairo_t* cr, const TRecipe& r, const TCarFrame& f, const std::string& name,
          const TColour& colour) {
  const auto v = FixedNumbers(r, name, 3);
  const TPt a = f.At(-v[2], v[0] - v[1] / 2);
  const double w = 2 * v[2] * f.Hw;
  const double h = v[1] * f.Hl;
  draw::RoundedRect(cr, a.X, a.Y, w, h, h * 0.4);
  draw::VerticalGradient(cr, a.Y, a.Y + h, Lighten(colour, 0.25), Darken(colour, 0.35));
  cairo_fill_preserve(cr);
  draw::SetColour(cr, Darken(r.Colour("body_dark"), 0.6));
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_rectangle(cr, a.X + 1, a.Y + h * 0.45, w - 2, std::max(0.8, h * 0.14));
  draw::SetColour(cr, r.Colour("trim"));
  cairo_fill(cr);
}

void Stripes(cairo_t* cr, const TRecipe& r, const TCarFrame& f) {
  const std::string style = r.Text("stripes");
  const double hw = f.Hw;
  const double hl = f.Hl;
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
    r.Fail("stripes must be centre, twin, chevron or side");
  }
  draw::SetColour(cr, r.Colour("accent"));
  cairo_fill(cr);
}

void Vents(cairo_t* cr, const TRecipe& r, const TCarFrame& f) {
  if (!r.Has("vents")) return;
  const auto v = FixedNumbers(r, "vents", 4);
  for (int i = 0; i < static_cast<int>(v[2]); ++i) {
    const TPt a = f.At(-v[3], v[0] + i * v[1]);
    cairo_rectangle(cr, a.X, a.Y, 2 * v[3] * f.Hw, std::max(0.8, f.Hl * 0.035));
  }
  draw::SetColour(cr, WithAlpha(Darken(r.Colour("body_dark"), 0.5), 0.85));
  cairo_fill(cr);
}

void Canopy(cairo_t* cr, const TRecipe& r, const TCarFrame& f) {
  const TColour glass = r.Colour("canopy");
  const TPt c = f.At(0, r.Number("canopy_at"));
  const double cw = f.Hw * r.Number("canopy_width");
  const double ch = f.Hl * r.Number("canopy_length");
  cairo_save(cr);
  cairo_translate(cr, c.X, c.Y);
  cairo_move_to(cr, 0, ch * 0.55);
  cairo_curve_to(cr, cw * 0.85, ch * 0.45, cw, -ch * 0.15, cw * 0.75, -ch * 0.42);
  cairo_curve_to(cr, cw * 0.4, -ch * 0.55, -cw * 0.4, -ch * 0.55, -cw * 0.75, -ch * 0.42);
  cairo_curve_to(cr, -cw, -ch * 0.15, -cw * 0.85, ch * 0.45, 0, ch * 0.55);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, -ch * 0.5, 0, ch * 0.55);
  cairo_pattern_add_color_stop_rgb(p, 0, glass.R * 0.25, glass.G * 0.25, glass.B * 0.35);
  cairo_pattern_add_color_stop_rgb(p, 1, glass.R, glass.G, glass.B);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  draw::SetColour(cr, {0.02, 0.02, 0.05, 1});
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
  cairo_move_to(cr, -cw * 0.5, -ch * 0.2);
  cairo_curve_to(cr, -cw * 0.4, ch * 0.15, -cw * 0.15, ch * 0.32, cw * 0.15, ch * 0.38);
  draw::SetColour(cr, {1, 1, 1, 0.6});
  cairo_set_line_width(cr, std::max(0.9, cw * 0.14));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Engines(cairo_t* cr, const TRecipe& r, const TCarFrame& f) {
  const TColour glow = r.Colour("engine");
  const double spread = r.Number("engine_spread");
  for (const double side : {-1.0, 1.0}) {
    const TPt e = f.At(side * spread, -0.96);
    draw::RadialGlow(cr, e.X, e.Y, f.Hw * 0.36, glow);
    draw::RadialGlow(cr, e.X, e.Y + 0.5, f.Hw * 0.13, Lighten(glow, 0.8));
  }
}

void Headlights(cairo_t* cr, const TRecipe& r, const TCarFrame& f) {
  const auto v = FixedNumbers(r, "headlights", 2);
  for (const double side : {-1.0, 1.0}) {
    const TPt p = f.At(side * v[0], v[1]);
    draw::RadialGlow(cr, p.X, p.Y, f.Hw * 0.22, r.Colour("headlight"));
  }
}

// The body and its details, leaning with the steering; the paint layer draws the body in
// greys and cuts the details out of it, so that it covers exactly the painted body.
void LeaningBody(cairo_t* cr, const TRecipe& r, const TCarFrame& f, double lean, CarLayer layer) {
  const auto half = Outline(r);
  const TBodyPaint paint = layer == CarLayer::Paint ? kTintablePaint : OwnPaint(r);
  cairo_save(cr);
  const TPt pivot = f.At(0, -0.55);
  cairo_translate(cr, pivot.X, pivot.Y);
  cairo_rotate(cr, -lean * Radians(5));
  cairo_translate(cr, -pivot.X, -pivot.Y);
  if (layer == CarLayer::Whole) Wing(cr, r, f, "rear_wing", r.Colour("body_dark"));
  Pods(cr, r, paint, f);
  BodyPath(cr, half, f);
  ShadeBody(cr, paint, f, lean);
  if (layer == CarLayer::Paint) cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  cairo_save(cr);
  BodyPath(cr, half, f);
  cairo_clip(cr);
  Stripes(cr, r, f);
  cairo_restore(cr);
  Vents(cr, r, f);
  if (r.Has("front_wing")) Wing(cr, r, f, "front_wing", r.Colour("accent"));
  Canopy(cr, r, f);
  Headlights(cr, r, f);
  cairo_restore(cr);
}

}  // namespace

void DrawCar(cairo_t* cr, const TRecipe& r, double width, double length, double lean,
             CarLayer layer) {
  const TCarFrame f{width / 2, length / 2};
  if (layer == CarLayer::Whole) {
    Engines(cr, r, f);
    Wheels(cr, r, f, lean);
  }
  LeaningBody(cr, r, f, lean, layer);
}

}  // namespace artgen
