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

struct TCrater {
  double X, Y, Radius;
};

// Distance along one axis on a torus of the given size, so features wrap across edges.
double WrapDelta(double a, double b, double size) {
  double d = std::fmod(std::abs(a - b), size);
  return std::min(d, size - d);
}

}  // namespace

namespace {

struct TGroundLook {
  TColour Dark, Mid, Light, Vein;
  TTileNoise Noise;
  std::vector<TCrater> Craters;
  double W, H;
};

TColour GroundPixel(const TGroundLook& g, double x, double y) {
  const double u = x / g.W;
  const double v = y / g.H;
  const double n = g.Noise.Fractal(u, v, 4, 5);
  TColour c = n < 0.5 ? Mix(g.Dark, g.Mid, n * 2) : Mix(g.Mid, g.Light, n * 2 - 1);
  const double ridge = 1 - std::abs(g.Noise.Fractal(u + 0.31, v + 0.17, 3, 4) * 2 - 1);
  c = Over(WithAlpha(g.Vein, g.Vein.A * std::pow(ridge, 14)), c);
  for (const TCrater& k : g.Craters) {
    const double d = std::hypot(WrapDelta(x, k.X, g.W), WrapDelta(y, k.Y, g.H)) / k.Radius;
    if (d > 1.25) continue;
    const double sx = (x - k.X) - std::round((x - k.X) / g.W) * g.W;
    const double sy = (y - k.Y) - std::round((y - k.Y) / g.H) * g.H;
    const double side = -(sx + sy) / (k.Radius * 1.41);
    if (d < 1) {
      c = Darken(c, 0.35 * (1 - d * d) - 0.15 * side * d);
    } else {
      c = Lighten(c, 0.18 * (1.25 - d) * 4 * std::max(0.0, side));
    }
  }
  return c;
}

// Glowing shards, drawn with their wrapped copies so they tile too.
void Shards(cairo_t* cr, const TRecipe& r, TRng& rng, double w, double h) {
  const TColour crystal = r.Colour("crystal");
  const int count = static_cast<int>(r.Number("crystals"));
  for (int i = 0; i < count; ++i) {
    const double x = rng.Range(0, w);
    const double y = rng.Range(0, h);
    const double size = rng.Range(1.2, 2.6);
    for (int ox = -1; ox <= 1; ++ox) {
      for (int oy = -1; oy <= 1; ++oy) {
        draw::RadialGlow(cr, x + ox * w, y + oy * h, size * 2.5, WithAlpha(crystal, 0.5));
        draw::RadialGlow(cr, x + ox * w, y + oy * h, size, Lighten(crystal, 0.5));
      }
    }
  }
}

}  // namespace

void Ground(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  TRng rng(r.Key(), 3);
  TGroundLook g{r.Colour("dark"),
                r.Colour("mid"),
                r.Colour("light"),
                r.Colour("vein"),
                TTileNoise(HashText(r.Key())),
                {},
                cell.Width,
                cell.Height};
  const int count = static_cast<int>(r.Number("craters"));
  for (int i = 0; i < count; ++i) {
    g.Craters.push_back(
        {rng.Range(0, g.W), rng.Range(0, g.H), std::pow(rng.Uniform(), 2) * 22 + 5});
  }
  const SurfacePtr img = PixelSurface(static_cast<int>(g.W), static_cast<int>(g.H),
                                      [&](double x, double y) { return GroundPixel(g, x, y); });
  PaintSurface(cr, img.get(), 0, 0);
  Shards(cr, r, rng, g.W, g.H);
}

void Smoke(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TColour c = r.Colour("colour");
  TRng rng(r.Key(), 5);
  const double cx = cell.Width / 2;
  const double cy = cell.Height / 2;
  const double radius = std::min(cx, cy);
  for (int i = 0; i < 7; ++i) {
    const double a = rng.Range(0, kTau);
    const double d = rng.Range(0, radius * 0.35);
    draw::RadialGlow(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, radius * rng.Range(0.45, 0.65),
                     WithAlpha(c, c.A * 0.5));
  }
  draw::RadialGlow(cr, cx, cy, radius * 0.6, WithAlpha(Lighten(c, 0.3), c.A * 0.5));
}

void Checkpoint(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  const TColour c = r.Colour("colour");
  const double inset = r.Number("inset");
  draw::RoundedRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, 14);
  draw::SetColour(cr, WithAlpha(c, 0.12));
  cairo_fill(cr);
  draw::RoundedRect(cr, inset, inset, w - 2 * inset, h - 2 * inset, 14);
  draw::GlowStroke(cr, c, 2.5, inset - 1);
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
  draw::GlowStroke(cr, Lighten(c, 0.5), 3, 3);
  cairo_arc(cr, w / 2, h / 2, w * 0.16, 0, kTau);
  draw::GlowStroke(cr, WithAlpha(c, 0.8), 2, 3);
  for (int i = 0; i < 4; ++i) {
    cairo_save(cr);
    cairo_translate(cr, w / 2, h / 2);
    cairo_rotate(cr, i * kTau / 4);
    cairo_move_to(cr, w * 0.24, -w * 0.05);
    cairo_line_to(cr, w * 0.3, 0);
    cairo_line_to(cr, w * 0.24, w * 0.05);
    cairo_restore(cr);
    draw::GlowStroke(cr, c, 2, 2);
  }
  draw::RadialGlow(cr, w / 2, h / 2, w * 0.08, Lighten(c, 0.6));
}

void FinishGate(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double sq = cell.Width / 3;
  for (double y = 0; y < cell.Height; y += sq) {
    for (int x = 0; x < 3; ++x) {
      const bool odd = (x + static_cast<int>(y / sq)) % 2 == 1;
      draw::SetColour(cr, odd ? r.Colour("colour_b") : r.Colour("colour_a"));
      cairo_rectangle(cr, x * sq, y, sq, sq);
      cairo_fill(cr);
    }
  }
}

void Probe(cairo_t* cr, const TCell& cell) {
  cairo_arc(cr, cell.Width / 2, cell.Height / 2, std::min(cell.Width, cell.Height) / 2, 0, kTau);
  draw::SetColour(cr, cell.Recipe.Colour("colour"));
  cairo_fill(cr);
}

}  // namespace artgen::paint
