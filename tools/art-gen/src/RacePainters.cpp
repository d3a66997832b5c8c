// Painters of the race field: the tiling ground, smoke puffs, the checkpoint marker, the
// finish gate and the road probe.

#include <cmath>
#include <numbers>
#include <vector>

#include "PaintKit.h"
#include "Painters.h"
#include "Rng.h"
#include "TileNoise.h"

namespace artgen::paint {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

struct Crater {
  double x, y, radius;
};

// Distance along one axis on a torus of the given size, so features wrap across edges.
double wrapDelta(double a, double b, double size) {
  double d = std::fmod(std::abs(a - b), size);
  return std::min(d, size - d);
}

}  // namespace

namespace {

struct GroundLook {
  Colour dark, mid, light, vein;
  TileNoise noise;
  std::vector<Crater> craters;
  double w, h;
};

Colour groundPixel(const GroundLook& g, double x, double y) {
  const double u = x / g.w;
  const double v = y / g.h;
  const double n = g.noise.fractal(u, v, 4, 5);
  Colour c = n < 0.5 ? mix(g.dark, g.mid, n * 2) : mix(g.mid, g.light, n * 2 - 1);
  const double ridge = 1 - std::abs(g.noise.fractal(u + 0.31, v + 0.17, 3, 4) * 2 - 1);
  c = over(withAlpha(g.vein, g.vein.a * std::pow(ridge, 14)), c);
  for (const Crater& k : g.craters) {
    const double d = std::hypot(wrapDelta(x, k.x, g.w), wrapDelta(y, k.y, g.h)) / k.radius;
    if (d > 1.25) continue;
    const double sx = (x - k.x) - std::round((x - k.x) / g.w) * g.w;
    const double sy = (y - k.y) - std::round((y - k.y) / g.h) * g.h;
    const double side = -(sx + sy) / (k.radius * 1.41);
    if (d < 1) {
      c = darken(c, 0.35 * (1 - d * d) - 0.15 * side * d);
    } else {
      c = lighten(c, 0.18 * (1.25 - d) * 4 * std::max(0.0, side));
    }
  }
  return c;
}

// Glowing shards, drawn with their wrapped copies so they tile too.
void shards(cairo_t* cr, const Recipe& r, Rng& rng, double w, double h) {
  const Colour crystal = r.colour("crystal");
  const int count = static_cast<int>(r.number("crystals"));
  for (int i = 0; i < count; ++i) {
    const double x = rng.range(0, w);
    const double y = rng.range(0, h);
    const double size = rng.range(1.2, 2.6);
    for (int ox = -1; ox <= 1; ++ox) {
      for (int oy = -1; oy <= 1; ++oy) {
        draw::radialGlow(cr, x + ox * w, y + oy * h, size * 2.5, withAlpha(crystal, 0.5));
        draw::radialGlow(cr, x + ox * w, y + oy * h, size, lighten(crystal, 0.5));
      }
    }
  }
}

}  // namespace

void ground(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  Rng rng(r.key(), 3);
  GroundLook g{r.colour("dark"),
               r.colour("mid"),
               r.colour("light"),
               r.colour("vein"),
               TileNoise(hashText(r.key())),
               {},
               cell.width,
               cell.height};
  const int count = static_cast<int>(r.number("craters"));
  for (int i = 0; i < count; ++i) {
    g.craters.push_back(
        {rng.range(0, g.w), rng.range(0, g.h), std::pow(rng.uniform(), 2) * 22 + 5});
  }
  const SurfacePtr img = pixelSurface(static_cast<int>(g.w), static_cast<int>(g.h),
                                      [&](double x, double y) { return groundPixel(g, x, y); });
  paintSurface(cr, img.get(), 0, 0);
  shards(cr, r, rng, g.w, g.h);
}

void smoke(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const Colour c = r.colour("colour");
  Rng rng(r.key(), 5);
  const double cx = cell.width / 2;
  const double cy = cell.height / 2;
  const double radius = std::min(cx, cy);
  for (int i = 0; i < 7; ++i) {
    const double a = rng.range(0, kTau);
    const double d = rng.range(0, radius * 0.35);
    draw::radialGlow(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, radius * rng.range(0.45, 0.65),
                     withAlpha(c, c.a * 0.5));
  }
  draw::radialGlow(cr, cx, cy, radius * 0.6, withAlpha(lighten(c, 0.3), c.a * 0.5));
}

void checkpoint(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  const Colour c = r.colour("colour");
  const double inset = r.number("inset");
  draw::roundedRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, 14);
  draw::setColour(cr, withAlpha(c, 0.12));
  cairo_fill(cr);
  draw::roundedRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, 14);
  draw::glowStroke(cr, c, 2.5, inset - 1);
  const double arm = w * 0.16;
  const double o = inset + 7;
  for (const auto& [sx, sy] :
       {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}, std::pair{1, 1}}) {
    const double x = sx == 0 ? o : w - o;
    const double y = sy == 0 ? o : h - o;
    const double dx = sx == 0 ? 1 : -1;
    const double dy = sy == 0 ? 1 : -1;
    cairo_move_to(cr, x + dx * arm, y);
    cairo_line_to(cr, x, y);
    cairo_line_to(cr, x, y + dy * arm);
  }
  draw::glowStroke(cr, lighten(c, 0.5), 3, 3);
  cairo_arc(cr, w / 2, h / 2, w * 0.16, 0, kTau);
  draw::glowStroke(cr, withAlpha(c, 0.8), 2, 3);
  for (int i = 0; i < 4; ++i) {
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_rotate(cr, i * kTau / 4);
    cairo_move_to(cr, w * 0.24, -w * 0.05);
    cairo_line_to(cr, w * 0.3, 0);
    cairo_line_to(cr, w * 0.24, w * 0.05);
    cairo_restore(cr);
    draw::glowStroke(cr, c, 2, 2);
  }
  draw::radialGlow(cr, w / 2, h / 2, w * 0.08, lighten(c, 0.6));
}

void finishGate(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double sq = cell.width / 3;
  for (double y = 0; y < cell.height; y += sq) {
    for (int x = 0; x < 3; ++x) {
      const bool odd = (x + static_cast<int>(y / sq)) % 2 == 1;
      draw::setColour(cr, odd ? r.colour("colour_b") : r.colour("colour_a"));
      cairo_rectangle(cr, x * sq, y, sq, sq);
      cairo_fill(cr);
    }
  }
}

void probe(cairo_t* cr, const Cell& cell) {
  cairo_arc(cr, cell.width / 2, cell.height / 2, std::min(cell.width, cell.height) / 2, 0, kTau);
  draw::setColour(cr, cell.recipe.colour("colour"));
  cairo_fill(cr);
}

}  // namespace artgen::paint
