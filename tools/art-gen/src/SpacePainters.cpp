// Painters of the menu scenery: the animated mouse pointer, the turning planets and the
// soft menu lights.

#include <cmath>
#include <numbers>

#include "PaintKit.h"
#include "Painters.h"
#include "Rng.h"
#include "TileNoise.h"

namespace artgen::paint {

namespace {

constexpr double kTau = 2 * std::numbers::pi;

void ArrowPath(cairo_t* cr, double s) {
  const double pts[][2] = {{0, 0},    {0, 16},     {4, 12.5},   {7, 19},
                           {9.5, 18}, {6.5, 11.5}, {11.5, 11.5}};
  cairo_move_to(cr, pts[0][0] * s, pts[0][1] * s);
  for (const auto& p : pts) cairo_line_to(cr, p[0] * s, p[1] * s);
  cairo_close_path(cr);
}

struct TPlanetLook {
  std::string Style;
  TColour C1, C2, C3, Atmosphere;
  double Radius;
  TTileNoise Noise;
  double Phase;
  double Bands;
};

TColour Ramp(const TPlanetLook& p, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t < 0.5 ? Mix(p.C1, p.C2, t * 2) : Mix(p.C2, p.C3, t * 2 - 1);
}

TColour Surface(const TPlanetLook& p, double u, double v) {
  if (p.Style == "gas") {
    const double warp = p.Noise.Fractal(u, v, 4, 3) - 0.5;
    const double band = 0.5 + 0.5 * std::sin((v + warp * 0.12) * p.Bands * kTau);
    return Ramp(p, band * 0.8 + p.Noise.Fractal(u, v, 8, 2) * 0.2);
  }
  const double n = p.Noise.Fractal(u, v, 4, 4);
  if (p.Style == "ice") {
    const double fromPole = 0.5 - std::abs(v - 0.5);
    const double cap = SmoothStep(0.2, 0.1, fromPole);
    return Mix(Ramp(p, n), p.C3, cap);
  }
  return Ramp(p, SmoothStep(0.3, 0.75, n));
}

TColour SunPixel(const TPlanetLook& p, double dx, double dy) {
  const double d = std::hypot(dx, dy);
  const double angle = std::atan2(dy, dx) / kTau + 0.5;
  if (d < 1) {
    const double nz = std::sqrt(1 - d * d);
    const double grain = p.Noise.Fractal(angle + p.Phase * 0.25, d * 0.5 + p.Phase * 0.5, 6, 3);
    TColour c = Mix(p.C1, p.C2, std::min(1.0, nz * 1.6));
    c = Mix(c, p.C3, std::pow(nz, 2.2));
    c = Mix(c, p.C1, (1 - grain) * 0.3);
    const double edge = std::clamp((1 - d) * p.Radius, 0.0, 1.0);
    return Over(WithAlpha(c, edge), WithAlpha(p.Atmosphere, p.Atmosphere.A));
  }
  const double rays = p.Noise.Fractal(angle + p.Phase, 0.3, 8, 2);
  const double reach = 1.25 + 0.55 * rays;
  const double t = std::clamp(1 - (d - 1) / (reach - 1), 0.0, 1.0);
  return WithAlpha(p.Atmosphere, p.Atmosphere.A * t * t);
}

TColour PlanetPixel(const TPlanetLook& p, double dx, double dy) {
  const double d2 = dx * dx + dy * dy;
  if (d2 >= 1) {
    const double d = std::sqrt(d2);
    const double halo = std::clamp(1 - (d - 1) / 0.12, 0.0, 1.0);
    return WithAlpha(p.Atmosphere, p.Atmosphere.A * halo * halo * 0.8);
  }
  const double nz = std::sqrt(1 - d2);
  const double u = std::atan2(dx, nz) / kTau + p.Phase;
  const double v = std::asin(std::clamp(dy, -1.0, 1.0)) / std::numbers::pi + 0.5;
  const TColour base = Surface(p, u - std::floor(u), v);
  const double lx = -0.55, ly = -0.45, lz = 0.70;
  const double lambert = std::max(0.0, dx * lx + dy * ly + nz * lz);
  const double light = 0.12 + 1.0 * lambert;
  TColour c{base.R * light, base.G * light, base.B * light, 1};
  const double rim = std::pow(1 - nz, 2.5);
  c = Mix(c, WithAlpha(p.Atmosphere, 1), rim * 0.7 * p.Atmosphere.A);
  const double edge = std::clamp((1 - std::sqrt(d2)) * p.Radius * 1.5, 0.0, 1.0);
  return WithAlpha(c, edge);
}

struct TRing {
  TColour Colour;
  double Inner, Outer, Tilt;
};

TColour RingPixel(const TRing& ring, const TTileNoise& noise, double dx, double dy) {
  const double ry = dy / ring.Tilt;
  const double rr = std::hypot(dx, ry);
  if (rr < ring.Inner || rr > ring.Outer) return {0, 0, 0, 0};
  const double t = (rr - ring.Inner) / (ring.Outer - ring.Inner);
  const double bands = 0.55 + 0.45 * noise.At(t, 0.5, 16);
  const double fade = SmoothStep(0, 0.08, t) * SmoothStep(1, 0.9, t);
  const double lit = dx < 0 ? 1.0 : 0.75;
  const TColour c = Lighten(ring.Colour, 0.2 * bands);
  return {c.R * lit, c.G * lit, c.B * lit, ring.Colour.A * bands * fade};
}

}  // namespace

void Cursor(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double s = r.Number("size") / 19.0;
  const double phase = static_cast<double>(cell.Index) / cell.Count;
  const double pulse = 0.5 + 0.5 * std::cos(phase * kTau);
  cairo_save(cr);
  cairo_translate(cr, 1, 1);
  ArrowPath(cr, s);
  draw::GlowStroke(cr, WithAlpha(r.Colour("glow"), 0.35 + 0.5 * pulse), 1.0, 1.5 + 2.0 * pulse);
  ArrowPath(cr, s);
  draw::VerticalGradient(cr, 0, 19 * s, r.Colour("fill_top"), r.Colour("fill_bottom"));
  cairo_fill_preserve(cr);
  draw::SetColour(cr, r.Colour("outline"));
  cairo_set_line_width(cr, 1.2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
  const double sa = phase * kTau;
  const double sx = 3.2 * s + std::cos(sa) * 2.2 * s;
  const double sy = 9.5 * s + std::sin(sa) * 2.2 * s;
  draw::RadialGlow(cr, sx, sy, 3.5 * s, r.Colour("spark"));
  cairo_restore(cr);
}

void Planet(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double spin = r.Number("spin", 1);
  TPlanetLook look{r.Text("style"),
                   r.Colour("c1"),
                   r.Colour("c2"),
                   r.Colour("c3"),
                   r.Colour("atmosphere"),
                   0,
                   TTileNoise(HashText(r.Key()) + static_cast<std::uint64_t>(r.Number("seed", 0))),
                   spin * static_cast<double>(cell.Index) / cell.Count,
                   r.Number("bands", 5)};
  const double radius = r.Number("radius") * std::min(cell.Width, cell.Height) / 2;
  look.Radius = radius;
  const double cx = cell.Width / 2;
  const double cy = cell.Height / 2;
  const bool sun = look.Style == "sun";
  const bool ringed = r.Has("ring");
  const TRing ring = ringed ? TRing{r.Colour("ring"), r.Number("ring_inner"),
                                    r.Number("ring_outer"), r.Number("ring_tilt")}
                            : TRing{};
  const double tilt = r.Number("tilt", 0);
  const double ct = std::cos(Radians(tilt));
  const double st = std::sin(Radians(tilt));
  const SurfacePtr img = PixelSurface(static_cast<int>(cell.Width), static_cast<int>(cell.Height),
                                      [&](double x, double y) {
                                        const double rx = (x - cx) / radius;
                                        const double ry = (y - cy) / radius;
                                        const double dx = rx * ct + ry * st;
                                        const double dy = -rx * st + ry * ct;
                                        if (sun) return SunPixel(look, dx, dy);
                                        const TColour body = PlanetPixel(look, dx, dy);
                                        if (!ringed) return body;
                                        const TColour band = RingPixel(ring, look.Noise, dx, dy);
                                        const bool front = dy > 0 || dx * dx + dy * dy >= 1;
                                        return front ? Over(band, body) : Over(body, band);
                                      });
  PaintSurface(cr, img.get(), 0, 0);
}

void GlowLight(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  const double cx = w * r.Number("centre_x");
  const double cy = h / 2;
  const TColour halo = r.Colour("halo");
  const TColour core = r.Colour("core");
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 1, h / w);
  draw::RadialGlow(cr, 0, 0, w * 0.5, halo);
  cairo_restore(cr);
  const double streak = r.Number("streak");
  cairo_pattern_t* p = cairo_pattern_create_linear(cx - w * streak / 2, 0, cx + w * streak / 2, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, core.R, core.G, core.B, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, core.R, core.G, core.B, core.A * 0.8);
  cairo_pattern_add_color_stop_rgba(p, 1, core.R, core.G, core.B, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, cx - w * streak / 2, cy - 1.2, w * streak, 2.4);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  draw::RadialGlow(cr, cx, cy, std::min(w, h) * 0.18, core);
  draw::RadialGlow(cr, cx, cy, std::min(w, h) * 0.06, {1, 1, 1, 1});
  TRng rng(r.Key(), 7);
  const int sparkles = static_cast<int>(r.Number("sparkles"));
  for (int i = 0; i < sparkles; ++i) {
    const double a = rng.Range(0, kTau);
    const double d = rng.Range(0.15, 0.45) * std::min(w, h);
    draw::RadialGlow(cr, cx + std::cos(a) * d * w / h, cy + std::sin(a) * d, rng.Range(1.5, 3.5),
                     WithAlpha(core, rng.Range(0.4, 0.9)));
  }
}

}  // namespace artgen::paint
