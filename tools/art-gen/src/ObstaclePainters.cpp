// Painters of the obstacles: blocks, rocks, arc barriers and walls. Each fills its cell,
// because the game collides with the whole cell rectangle.

#include <cmath>
#include <numbers>
#include <vector>

#include "PaintKit.h"
#include "Painters.h"
#include "Rng.h"

namespace artgen::paint {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

std::string PerCell(const TCell& cell, const std::string& name) {
  const auto words = SplitWords(cell.Recipe.Text(name));
  if (static_cast<int>(words.size()) != cell.Count) {
    cell.Recipe.Fail(name + " needs one value per cell");
  }
  return words[static_cast<std::size_t>(cell.Index)];
}

// Adds diagonal bands of the given width, one every pitch pixels, across a strip of height h
// from x = fromX to x = toX.
void DiagonalStripes(cairo_t* cr, double fromX, double toX, double h, double pitch, double band) {
  for (double x = fromX; x < toX; x += pitch) {
    cairo_move_to(cr, x, h);
    cairo_line_to(cr, x + h, 0);
    cairo_line_to(cr, x + h + band, 0);
    cairo_line_to(cr, x + band, h);
    cairo_close_path(cr);
  }
}

void BevelBox(cairo_t* cr, double w, double h, const TColour& c) {
  const double b = std::min(w, h) * 0.12;
  draw::RoundedRect(cr, 0, 0, w, h, 3);
  draw::SetColour(cr, Darken(c, 0.55));
  cairo_fill(cr);
  draw::RoundedRect(cr, b * 0.5, b * 0.3, w - b, h - b, 2.5);
  draw::VerticalGradient(cr, 0, h, Lighten(c, 0.25), Darken(c, 0.2));
  cairo_fill(cr);
  cairo_rectangle(cr, b * 0.5 + 2, b * 0.3 + 1, w - b - 4, 1.2);
  draw::SetColour(cr, {1, 1, 1, 0.4});
  cairo_fill(cr);
}

void CrateMarks(cairo_t* cr, double w, double h, const TColour& c) {
  const double m = w * 0.2;
  cairo_rectangle(cr, m, m, w - 2 * m, h - 2 * m);
  cairo_move_to(cr, m, m);
  cairo_line_to(cr, w - m, h - m);
  cairo_move_to(cr, w - m, m);
  cairo_line_to(cr, m, h - m);
  draw::SetColour(cr, Darken(c, 0.45));
  cairo_set_line_width(cr, 2.2);
  cairo_stroke(cr);
}

void HazardMarks(cairo_t* cr, double w, double h, const TColour& accent) {
  cairo_save(cr);
  cairo_rectangle(cr, w * 0.15, h * 0.3, w * 0.7, h * 0.4);
  cairo_clip(cr);
  draw::SetColour(cr, {0.08, 0.08, 0.1, 1});
  cairo_paint(cr);
  DiagonalStripes(cr, -h, w, h, 9, 4.5);
  draw::SetColour(cr, accent);
  cairo_fill(cr);
  cairo_restore(cr);
}

void CellMarks(cairo_t* cr, double w, double h, const TColour& accent) {
  cairo_arc(cr, w / 2, h / 2, w * 0.26, 0, kTau);
  draw::SetColour(cr, {0.04, 0.05, 0.1, 1});
  cairo_fill(cr);
  draw::RadialGlow(cr, w / 2, h / 2, w * 0.3, accent);
  draw::RadialGlow(cr, w / 2, h / 2, w * 0.1, {1, 1, 1, 0.9});
}

void ArmorMarks(cairo_t* cr, double w, double h, const TColour& c) {
  cairo_move_to(cr, w / 2, h * 0.14);
  cairo_line_to(cr, w / 2, h * 0.86);
  cairo_move_to(cr, w * 0.14, h / 2);
  cairo_line_to(cr, w * 0.86, h / 2);
  draw::SetColour(cr, Darken(c, 0.5));
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
  for (const double x : {0.22, 0.78}) {
    for (const double y : {0.22, 0.78}) {
      cairo_arc(cr, w * x, h * y, 2, 0, kTau);
      draw::SetColour(cr, Lighten(c, 0.5));
      cairo_fill(cr);
    }
  }
}

}  // namespace

void Block(cairo_t* cr, const TCell& cell) {
  const TColour c = cell.Recipe.ResolveColour(PerCell(cell, "colours"));
  const TColour accent = cell.Recipe.Colour("accent");
  const std::string style = PerCell(cell, "styles");
  BevelBox(cr, cell.Width, cell.Height, c);
  if (style == "crate") {
    CrateMarks(cr, cell.Width, cell.Height, c);
  } else if (style == "hazard") {
    HazardMarks(cr, cell.Width, cell.Height, accent);
  } else if (style == "cell") {
    CellMarks(cr, cell.Width, cell.Height, accent);
  } else if (style == "armor") {
    ArmorMarks(cr, cell.Width, cell.Height, c);
  } else {
    cell.Recipe.Fail("block styles are crate, hazard, cell and armor");
  }
}

namespace {

void RockOutline(cairo_t* cr, TRng& rng, double cx, double cy, double radius) {
  const int points = 11;
  std::vector<double> radii;
  for (int i = 0; i < points; ++i) radii.push_back(radius * rng.Range(0.82, 1.0));
  cairo_move_to(cr, cx + radii[0], cy);
  for (int i = 1; i <= points; ++i) {
    const double a = kTau * i / points;
    const double rr = radii[static_cast<std::size_t>(i % points)];
    const double am = kTau * (i - 0.5) / points;
    const double rm = (rr + radii[static_cast<std::size_t>(i - 1)]) / 2 * 1.02;
    cairo_curve_to(cr, cx + std::cos(am) * rm, cy + std::sin(am) * rm, cx + std::cos(am) * rm,
                   cy + std::sin(am) * rm, cx + std::cos(a) * rr, cy + std::sin(a) * rr);
  }
  cairo_close_path(cr);
}

void Craters(cairo_t* cr, TRng& rng, double cx, double cy, double radius, const TColour& light,
             const TColour& dark) {
  for (int i = 0; i < 4; ++i) {
    const double a = rng.Range(0, kTau);
    const double d = rng.Range(0, radius * 0.55);
    const double size = rng.Range(radius * 0.12, radius * 0.26);
    const double x = cx + std::cos(a) * d;
    const double y = cy + std::sin(a) * d;
    cairo_arc(cr, x, y, size, 0, kTau);
    draw::SetColour(cr, WithAlpha(Darken(dark, 0.3), 0.7));
    cairo_fill(cr);
    cairo_arc(cr, x, y, size, Radians(200), Radians(340));
    draw::SetColour(cr, WithAlpha(Darken(dark, 0.5), 0.8));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_arc(cr, x, y, size, Radians(20), Radians(160));
    draw::SetColour(cr, WithAlpha(light, 0.6));
    cairo_stroke(cr);
  }
}

}  // namespace

void Rock(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  TRng rng(r.Key(), static_cast<std::uint64_t>(cell.Index));
  const double cx = cell.Width / 2;
  const double cy = cell.Height / 2;
  const double radius = std::min(cx, cy);
  RockOutline(cr, rng, cx, cy, radius);
  cairo_path_t* outline = cairo_copy_path(cr);
  const TColour light = r.Colour("light");
  const TColour dark = r.Colour("dark");
  draw::FillRadial(cr, cx - radius * 0.35, cy - radius * 0.4, 1, cx, cy, radius * 1.1, light, dark);
  cairo_save(cr);
  cairo_append_path(cr, outline);
  cairo_clip(cr);
  Craters(cr, rng, cx, cy, radius, light, dark);
  cairo_move_to(cr, cx - radius * 0.6, cy + radius * rng.Range(-0.3, 0.3));
  cairo_line_to(cr, cx + rng.Range(-0.2, 0.2) * radius, cy + rng.Range(-0.2, 0.2) * radius);
  cairo_line_to(cr, cx + radius * 0.5, cy + radius * rng.Range(-0.5, 0.5));
  draw::GlowStroke(cr, r.Colour("vein"), 1.0, 1.5);
  cairo_restore(cr);
  cairo_append_path(cr, outline);
  draw::SetColour(cr, Darken(dark, 0.6));
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_path_destroy(outline);
}

void ArcBarrier(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TColour c = r.ResolveColour(PerCell(cell, "colours"));
  const double cx = cell.Width / 2;
  const double cy = cell.Height;
  const double outer = std::min(cell.Width / 2, cell.Height) - 0.5;
  const double inner = outer * r.Number("thickness");
  const double pi = std::numbers::pi;
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, outer, pi, 2 * pi);
  cairo_arc_negative(cr, cx, cy, inner, 2 * pi, pi);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, inner, cx, cy, outer);
  const TColour d = Darken(c, 0.5);
  const TColour l = Lighten(c, 0.2);
  cairo_pattern_add_color_stop_rgb(p, 0, d.R, d.G, d.B);
  cairo_pattern_add_color_stop_rgb(p, 0.5, l.R, l.G, l.B);
  cairo_pattern_add_color_stop_rgb(p, 1, d.R, d.G, d.B);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  const int segments = 6;
  for (int i = 1; i < segments; ++i) {
    const double a = pi + pi * i / segments;
    cairo_move_to(cr, cx + std::cos(a) * inner, cy + std::sin(a) * inner);
    cairo_line_to(cr, cx + std::cos(a) * outer, cy + std::sin(a) * outer);
  }
  draw::SetColour(cr, Darken(c, 0.7));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, (inner + outer) / 2, pi * 1.04, pi * 1.96);
  draw::GlowStroke(cr, r.Colour("glow"), 1.4, 2);
}

void Wall(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  double w = cell.Width;
  double h = cell.Height;
  if (h > w) {
    cairo_matrix_t transpose;
    cairo_matrix_init(&transpose, 0, 1, 1, 0, 0, 0);
    cairo_transform(cr, &transpose);
    std::swap(w, h);
  }
  const TColour body = r.Colour("body");
  draw::RoundedRect(cr, 0, 0, w, h, 3);
  draw::VerticalGradient(cr, 0, h, Lighten(body, 0.3), Darken(body, 0.45));
  cairo_fill(cr);
  draw::RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3);
  draw::SetColour(cr, Darken(body, 0.7));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, 8, h / 2);
  cairo_line_to(cr, w - 8, h / 2);
  draw::GlowStroke(cr, r.Colour("glow"), 2, 2.5);
  for (double x = 6; x < w; x += 24) {
    for (const double y : {3.5, h - 3.5}) {
      cairo_arc(cr, x, y, 1.4, 0, kTau);
      draw::SetColour(cr, Lighten(body, 0.55));
      cairo_fill(cr);
    }
  }
}

void StripedWall(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const std::string recipeLine = PerCell(cell, "pairs");
  const auto slash = recipeLine.find('/');
  if (slash == std::string::npos) r.Fail("pairs are written colourA/colourB");
  const TColour a = r.ResolveColour(recipeLine.substr(0, slash));
  const TColour b = r.ResolveColour(recipeLine.substr(slash + 1));
  double w = cell.Width;
  double h = cell.Height;
  if (h > w) {
    cairo_matrix_t transpose;
    cairo_matrix_init(&transpose, 0, 1, 1, 0, 0, 0);
    cairo_transform(cr, &transpose);
    std::swap(w, h);
  }
  cairo_save(cr);
  draw::RoundedRect(cr, 0, 0, w, h, 3);
  cairo_clip(cr);
  draw::SetColour(cr, b);
  cairo_paint(cr);
  DiagonalStripes(cr, -h, w + h, h, 20, 10);
  draw::SetColour(cr, a);
  cairo_fill(cr);
  draw::VerticalGradient(cr, 0, h, {1, 1, 1, 0.3}, {0, 0, 0, 0.45});
  cairo_paint(cr);
  cairo_restore(cr);
  draw::RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3);
  draw::SetColour(cr, {0.02, 0.02, 0.05, 0.9});
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

}  // namespace artgen::paint
