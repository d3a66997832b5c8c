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
void nebulae(cairo_t* cr, const Cell& cell, const std::string& seedName) {
  const Recipe& r = cell.recipe;
  const auto layers = r.all("nebula");
  if (layers.empty()) return;
  std::vector<std::pair<Colour, std::array<double, 2>>> looks;
  for (const auto& recipeLine : layers) {
    const auto words = splitWords(recipeLine);
    if (words.size() != 3) r.fail("nebula needs: colour period threshold");
    const auto v = leadingNumbers(r, {words[1], words[2]}, 2, "nebula");
    looks.push_back({r.resolveColour(words[0]), {v[0], v[1]}});
  }
  const TileNoise noise(hashText(seedName));
  const double w = cell.width;
  const double h = cell.height;
  const SurfacePtr img =
      pixelSurface(static_cast<int>(w), static_cast<int>(h), [&](double x, double y) {
        Colour acc{0, 0, 0, 0};
        int layer = 0;
        for (const auto& [colour, shape] : looks) {
          const double u = x / w + layer * 0.37;
          const double v = y / h * (h / w) + layer * 0.61;
          const double n = noise.fractal(u, v, static_cast<int>(shape[0]), 5);
          const double a = smoothStep(shape[1], shape[1] + 0.3, n) * colour.a;
          acc = {acc.r + colour.r * a, acc.g + colour.g * a, acc.b + colour.b * a, acc.a + a};
          ++layer;
        }
        if (acc.a <= 0) return Colour{0, 0, 0, 0};
        return Colour{acc.r / acc.a, acc.g / acc.a, acc.b / acc.a, std::min(1.0, acc.a)};
      });
  paintSurface(cr, img.get(), 0, 0);
}

void stars(cairo_t* cr, const Cell& cell, const std::string& seedName) {
  const Recipe& r = cell.recipe;
  Rng rng(seedName, 11);
  const int count = static_cast<int>(r.number("stars"));
  const Colour tint = r.colour("star_tint");
  for (int i = 0; i < count; ++i) {
    const double x = rng.range(0, cell.width);
    const double y = rng.range(0, cell.height);
    const double size = std::pow(rng.uniform(), 6) * 2.2 + 0.5;
    const Colour c = mix({1, 1, 1, 1}, tint, rng.uniform());
    draw::radialGlow(cr, x, y, size * 1.8, withAlpha(c, rng.range(0.35, 1.0)));
    if (size > 1.9) {
      cairo_move_to(cr, x - size * 4, y);
      cairo_line_to(cr, x + size * 4, y);
      cairo_move_to(cr, x, y - size * 4);
      cairo_line_to(cr, x, y + size * 4);
      draw::setColour(cr, withAlpha(c, 0.45));
      cairo_set_line_width(cr, 0.8);
      cairo_stroke(cr);
    }
  }
}

void orbits(cairo_t* cr, const Recipe& r) {
  const auto rings = r.all("orbit");
  if (rings.empty()) return;
  const auto centre = r.numbers("orbit_centre");
  if (centre.size() != 2) r.fail("orbit_centre needs x y");
  const Colour c = r.colour("orbit_colour");
  for (const auto& recipeLine : rings) {
    const auto v = leadingNumbers(r, splitWords(recipeLine), 2, "orbit");
    cairo_save(cr);
    cairo_translate(cr, centre[0], centre[1]);
    cairo_scale(cr, v[0], v[1]);
    cairo_arc(cr, 0, 0, 1, 0, kTau);
    cairo_restore(cr);
    const double dash[] = {2, 5};
    cairo_set_dash(cr, dash, 2, 0);
    draw::setColour(cr, c);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
  }
}

void floorGrid(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  if (!r.has("floor")) return;
  const auto v = r.numbers("floor");
  if (v.size() != 2) r.fail("floor needs: horizon_y vanishing_x");
  const double horizon = v[0];
  const double vx = v[1];
  const Colour c = r.colour("floor_colour");
  const double w = cell.width;
  const double h = cell.height;
  cairo_save(cr);
  cairo_rectangle(cr, 0, horizon, w, h - horizon);
  cairo_clip(cr);
  cairo_pattern_t* fade = cairo_pattern_create_linear(0, horizon, 0, h);
  cairo_pattern_add_color_stop_rgba(fade, 0, c.r, c.g, c.b, 0);
  cairo_pattern_add_color_stop_rgba(fade, 1, c.r, c.g, c.b, c.a);
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

void tickerBar(cairo_t* cr, const Recipe& r) {
  if (!r.has("ticker")) return;
  const auto v = r.numbers("ticker");
  if (v.size() != 4) r.fail("ticker needs x y w h");
  draw::chamferRect(cr, v[0], v[1], v[2], v[3], v[3] / 2);
  draw::setColour(cr, r.colour("ticker_fill"));
  cairo_fill(cr);
  draw::chamferRect(cr, v[0], v[1], v[2], v[3], v[3] / 2);
  draw::glowStroke(cr, r.colour("ticker_edge"), 1.2, 2.5);
}

void comet(cairo_t* cr, const Recipe& r) {
  const auto v = r.numbers("comet");
  if (v.size() != 5) r.fail("comet needs: x y radius angle length");
  const double x = v[0], y = v[1], radius = v[2], length = v[4];
  const Colour head = r.colour("comet_head");
  const Colour tail = r.colour("comet_tail");
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, radians(v[3]));
  for (int i = 0; i < 3; ++i) {
    const double spread = radius * (1.0 - i * 0.28);
    cairo_move_to(cr, 0, -spread);
    cairo_curve_to(cr, -length * 0.4, -spread * 0.9, -length * 0.8, -spread * 0.3, -length, 0);
    cairo_curve_to(cr, -length * 0.8, spread * 0.3, -length * 0.4, spread * 0.9, 0, spread);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, -length, 0);
    const Colour c = i == 2 ? lighten(tail, 0.5) : tail;
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, c.a * (0.35 + i * 0.25));
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  draw::radialGlow(cr, 0, 0, radius * 2.6, withAlpha(head, 0.6));
  cairo_arc(cr, 0, 0, radius, 0, kTau);
  draw::fillRadial(cr, -radius * 0.3, -radius * 0.3, 1, 0, 0, radius, Colour{1, 1, 1, 1}, head);
  cairo_restore(cr);
}

void wordmarks(cairo_t* cr, const Recipe& r) {
  for (const auto& recipeLine : r.all("wordmark")) {
    const auto words = splitWords(recipeLine);
    const auto v = leadingNumbers(r, words, 3, "wordmark");
    const std::string text = joinWords(words, 3);
    const Font font{r.text("word_font"), v[2]};
    const double cap = draw::capHeight(cr, font);
    const double baseline = v[1] + cap / 2;
    draw::textPath(cr, font, text, v[0], baseline, Align::Centre);
    draw::glowStroke(cr, r.colour("word_glow"), 3, 9);
    draw::textPath(cr, font, text, v[0], baseline, Align::Centre);
    draw::verticalGradient(cr, baseline - cap, baseline, r.colour("word_top"),
                           r.colour("word_bottom"));
    cairo_fill(cr);
    draw::textPath(cr, font, text, v[0], baseline, Align::Centre);
    draw::setColour(cr, r.colour("word_edge"));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_save(cr);
    draw::textPath(cr, font, text, v[0], baseline, Align::Centre);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, baseline - cap * 0.55, 4000, cap * 0.06);
    draw::setColour(cr, {1, 1, 1, 0.35});
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

}  // namespace

void spaceScreen(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  draw::verticalGradient(cr, 0, cell.height, r.colour("sky_top"), r.colour("sky_bottom"));
  cairo_paint(cr);
  nebulae(cr, cell, r.key());
  floorGrid(cr, cell);
  stars(cr, cell, r.key());
  orbits(cr, r);
  tickerBar(cr, r);
  if (r.has("comet")) comet(cr, r);
  wordmarks(cr, r);
  paintTexts(cr, r);
}

void logo(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  if (r.has("comet")) comet(cr, r);
  wordmarks(cr, r);
  paintTexts(cr, r);
}

void icon(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double design = r.number("design");
  if (design <= 0) r.fail("design must be a positive size");
  const double inset = r.number("plate_inset");
  const double radius = r.number("plate_radius");
  const double side = design - 2 * inset;
  cairo_scale(cr, cell.width / design, cell.height / design);
  cairo_save(cr);
  draw::roundedRect(cr, inset, inset, side, side, radius);
  cairo_clip(cr);
  draw::verticalGradient(cr, inset, inset + side, r.colour("sky_top"), r.colour("sky_bottom"));
  cairo_paint(cr);
  const Cell plate{r, cell.index, cell.count, design, design, cell.inputs};
  const std::string sky = r.text("sky_seed");
  nebulae(cr, plate, sky);
  stars(cr, plate, sky);
  cairo_restore(cr);
  draw::roundedRect(cr, inset, inset, side, side, radius);
  draw::glowStroke(cr, r.colour("plate_rim"), r.number("plate_rim_width"), inset * 0.8);
  if (r.has("comet")) comet(cr, r);
  wordmarks(cr, r);
}

}  // namespace artgen::paint
