// Painters of full-screen pictures (menu background, loading and promotion screens), of
// the logos and of the desktop icon.

#include <array>
#include <cmath>
#include <numbers>
#include <string>

#include "PaintKit.h"
#include "Painters.h"
#include "Rng.h"
#include "TileNoise.h"

namespace artgen::paint {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

// The nebulae and stars are placed by a generator seeded with seedName.
void Nebulae(cairo_t* cr, const TCell& cell, const std::string& seedName) {
  const TRecipe& r = cell.Recipe;
  const auto layers = r.All("nebula");
  if (layers.empty()) return;
  std::vector<std::pair<TColour, std::array<double, 2>>> looks;
  for (const auto& recipeLine : layers) {
    const auto words = SplitWords(recipeLine);
    if (words.size() != 3) r.Fail("nebula needs: colour period threshold");
    const auto v = LeadingNumbers(r, {words[1], words[2]}, 2, "nebula");
    looks.push_back({r.ResolveColour(words[0]), {v[0], v[1]}});
  }
  const TTileNoise noise(HashText(seedName));
  const double w = cell.Width;
  const double h = cell.Height;
  const SurfacePtr img =
      PixelSurface(static_cast<int>(w), static_cast<int>(h), [&](double x, double y) {
        TColour acc{0, 0, 0, 0};
        int layer = 0;
        for (const auto& [colour, shape] : looks) {
          const double u = x / w + layer * 0.37;
          const double v = y / h * (h / w) + layer * 0.61;
          const double n = noise.Fractal(u, v, static_cast<int>(shape[0]), 5);
          const double a = SmoothStep(shape[1], shape[1] + 0.3, n) * colour.A;
          acc = {acc.R + colour.R * a, acc.G + colour.G * a, acc.B + colour.B * a, acc.A + a};
          ++layer;
        }
        if (acc.A <= 0) return TColour{0, 0, 0, 0};
        return TColour{acc.R / acc.A, acc.G / acc.A, acc.B / acc.A, std::min(1.0, acc.A)};
      });
  PaintSurface(cr, img.get(), 0, 0);
}

void Stars(cairo_t* cr, const TCell& cell, const std::string& seedName) {
  const TRecipe& r = cell.Recipe;
  TRng rng(seedName, 11);
  const int count = static_cast<int>(r.Number("stars"));
  const TColour tint = r.Colour("star_tint");
  for (int i = 0; i < count; ++i) {
    const double x = rng.Range(0, cell.Width);
    const double y = rng.Range(0, cell.Height);
    const double size = std::pow(rng.Uniform(), 6) * 2.2 + 0.5;
    const TColour c = Mix({1, 1, 1, 1}, tint, rng.Uniform());
    draw::RadialGlow(cr, x, y, size * 1.8, WithAlpha(c, rng.Range(0.35, 1.0)));
    if (size > 1.9) {
      cairo_move_to(cr, x - size * 4, y);
      cairo_line_to(cr, x + size * 4, y);
      cairo_move_to(cr, x, y - size * 4);
      cairo_line_to(cr, x, y + size * 4);
      draw::SetColour(cr, WithAlpha(c, 0.45));
      cairo_set_line_width(cr, 0.8);
      cairo_stroke(cr);
    }
  }
}

void Orbits(cairo_t* cr, const TRecipe& r) {
  const auto rings = r.All("orbit");
  if (rings.empty()) return;
  const auto centre = r.Numbers("orbit_centre");
  if (centre.size() != 2) r.Fail("orbit_centre needs x y");
  const TColour c = r.Colour("orbit_colour");
  for (const auto& recipeLine : rings) {
    const auto v = LeadingNumbers(r, SplitWords(recipeLine), 2, "orbit");
    cairo_save(cr);
    cairo_translate(cr, centre[0], centre[1]);
    cairo_scale(cr, v[0], v[1]);
    cairo_arc(cr, 0, 0, 1, 0, kTau);
    cairo_restore(cr);
    const double dash[] = {2, 5};
    cairo_set_dash(cr, dash, 2, 0);
    draw::SetColour(cr, c);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
}

void FloorGrid(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  if (!r.Has("floor")) return;
  const auto v = r.Numbers("floor");
  if (v.size() != 2) r.Fail("floor needs: horizon_y vanishing_x");
  const double horizon = v[0];
  const double vx = v[1];
  const TColour c = r.Colour("floor_colour");
  const double w = cell.Width;
  const double h = cell.Height;
  cairo_save(cr);
  cairo_rectangle(cr, 0, horizon, w, h - horizon);
  cairo_clip(cr);
  cairo_pattern_t* fade = cairo_pattern_create_linear(0, horizon, 0, h);
  cairo_pattern_add_color_stop_rgba(fade, 0, c.R, c.G, c.B, 0);
  cairo_pattern_add_color_stop_rgba(fade, 1, c.R, c.G, c.B, c.A);
  for (int i = -24; i <= 24; ++i) {
    cairo_move_to(cr, vx, horizon);
    cairo_line_to(cr, vx + i * 90.0, h + 200);
  }
  for (int i = 1; i < 14; ++i) {
    const double y = horizon + (h - horizon) * std::pow(i / 13.0, 2.2);
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, w, y);
  }
  cairo_set_source(cr, fade);
  cairo_set_line_width(cr, 1.1);
  cairo_stroke(cr);
  cairo_pattern_destroy(fade);
  cairo_restore(cr);
}

void TickerBar(cairo_t* cr, const TRecipe& r) {
  if (!r.Has("ticker")) return;
  const auto v = r.Numbers("ticker");
  if (v.size() != 4) r.Fail("ticker needs x y w h");
  draw::ChamferRect(cr, v[0], v[1], v[2], v[3], v[3] / 2);
  draw::SetColour(cr, r.Colour("ticker_fill"));
  cairo_fill(cr);
  draw::ChamferRect(cr, v[0], v[1], v[2], v[3], v[3] / 2);
  draw::GlowStroke(cr, r.Colour("ticker_edge"), 1.2, 2.5);
}

void Comet(cairo_t* cr, const TRecipe& r) {
  const auto v = r.Numbers("comet");
  if (v.size() != 5) r.Fail("comet needs: x y radius angle length");
  const double x = v[0], y = v[1], radius = v[2], length = v[4];
  const TColour head = r.Colour("comet_head");
  const TColour tail = r.Colour("comet_tail");
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, Radians(v[3]));
  for (int i = 0; i < 3; ++i) {
    const double spread = radius * (1.0 - i * 0.28);
    cairo_move_to(cr, 0, -spread);
    cairo_curve_to(cr, -length * 0.4, -spread * 0.9, -length * 0.8, -spread * 0.3, -length, 0);
    cairo_curve_to(cr, -length * 0.8, spread * 0.3, -length * 0.4, spread * 0.9, 0, spread);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, -length, 0);
    const TColour c = i == 2 ? Lighten(tail, 0.5) : tail;
    cairo_pattern_add_color_stop_rgba(p, 0, c.R, c.G, c.B, c.A * (0.35 + i * 0.25));
    cairo_pattern_add_color_stop_rgba(p, 1, c.R, c.G, c.B, 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  draw::RadialGlow(cr, 0, 0, radius * 2.6, WithAlpha(head, 0.6));
  cairo_arc(cr, 0, 0, radius, 0, kTau);
  draw::FillRadial(cr, -radius * 0.3, -radius * 0.3, 1, 0, 0, radius, TColour{1, 1, 1, 1}, head);
  cairo_restore(cr);
}

void Wordmarks(cairo_t* cr, const TRecipe& r) {
  for (const auto& recipeLine : r.All("wordmark")) {
    const auto words = SplitWords(recipeLine);
    const auto v = LeadingNumbers(r, words, 3, "wordmark");
    const std::string text = JoinWords(words, 3);
    const TFont font{r.Text("word_font"), v[2]};
    const double cap = draw::CapHeight(cr, font);
    const double baseline = v[1] + cap / 2;
    draw::TextPath(cr, font, text, v[0], baseline, Align::Centre);
    draw::GlowStroke(cr, r.Colour("word_glow"), 3, 9);
    draw::TextPath(cr, font, text, v[0], baseline, Align::Centre);
    draw::VerticalGradient(cr, baseline - cap, baseline, r.Colour("word_top"),
                           r.Colour("word_bottom"));
    cairo_fill(cr);
    draw::TextPath(cr, font, text, v[0], baseline, Align::Centre);
    draw::SetColour(cr, r.Colour("word_edge"));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_save(cr);
    draw::TextPath(cr, font, text, v[0], baseline, Align::Centre);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, baseline - cap * 0.55, 4000, cap * 0.06);
    draw::SetColour(cr, {1, 1, 1, 0.35});
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

}  // namespace

void SpaceScreen(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  draw::VerticalGradient(cr, 0, cell.Height, r.Colour("sky_top"), r.Colour("sky_bottom"));
  cairo_paint(cr);
  Nebulae(cr, cell, r.Key());
  FloorGrid(cr, cell);
  Stars(cr, cell, r.Key());
  Orbits(cr, r);
  TickerBar(cr, r);
  if (r.Has("comet")) Comet(cr, r);
  Wordmarks(cr, r);
  PaintTexts(cr, r);
}

void Logo(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  if (r.Has("comet")) Comet(cr, r);
  Wordmarks(cr, r);
  PaintTexts(cr, r);
}

void Icon(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double design = r.Number("design");
  if (design <= 0) r.Fail("design must be a positive size");
  const double inset = r.Number("plate_inset");
  const double radius = r.Number("plate_radius");
  const double side = design - 2 * inset;
  cairo_scale(cr, cell.Width / design, cell.Height / design);
  cairo_save(cr);
  draw::RoundedRect(cr, inset, inset, side, side, radius);
  cairo_clip(cr);
  draw::VerticalGradient(cr, inset, inset + side, r.Colour("sky_top"), r.Colour("sky_bottom"));
  cairo_paint(cr);
  const TCell plate{r, cell.Index, cell.Count, design, design, cell.Inputs};
  const std::string sky = r.Text("sky_seed");
  Nebulae(cr, plate, sky);
  Stars(cr, plate, sky);
  cairo_restore(cr);
  draw::RoundedRect(cr, inset, inset, side, side, radius);
  draw::GlowStroke(cr, r.Colour("plate_rim"), r.Number("plate_rim_width"), inset * 0.8);
  if (r.Has("comet")) Comet(cr, r);
  Wordmarks(cr, r);
}

}  // namespace artgen::paint
