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

void arrowPath(cairo_t* cr, double s) {
  const double pts[][2] = {{0, 0},    {0, 16},     {4, 12.5},   {7, 19},
                           {9.5, 18}, {6.5, 11.5}, {11.5, 11.5}};
  cairo_move_to(cr, pts[0][0] * s, pts[0][1] * s);
  for (const auto& p : pts) cairo_line_to(cr, p[0] * s, p[1] * s);
  cairo_close_path(cr);
}

struct PlanetLook {
  std::string style;
  Colour c1, c2, c3, atmosphere;
  double radius;
  TileNoise noise;
  double phase;
  double bands;
};

Colour ramp(const PlanetLook& p, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t < 0.5 ? mix(p.c1, p.c2, t * 2) : mix(p.c2, p.c3, t * 2 - 1);
}

Colour surface(const PlanetLook& p, double u, double v) {
  if (p.style == "gas") {
    const double warp = p.noise.fractal(u, v, 4, 3) - 0.5;
    const double band = 0.5 + 0.5 * std::sin((v + warp * 0.12) * p.bands * kTau);
    return ramp(p, band * 0.8 + p.noise.fractal(u, v, 8, 2) * 0.2);
  }
  const double n = p.noise.fractal(u, v, 4, 4);
  if (p.style == "ice") {
    const double fromPole = 0.5 - std::abs(v - 0.5);
    const double cap = smoothStep(0.2, 0.1, fromPole);
    return mix(ramp(p, n), p.c3, cap);
  }
  return ramp(p, smoothStep(0.3, 0.75, n));
}

Colour sunPixel(const PlanetLook& p, double dx, double dy) {
  const double d = std::hypot(dx, dy);
  const double angle = std::atan2(dy, dx) / kTau + 0.5;
  if (d < 1) {
    const double nz = std::sqrt(1 - d * d);
    const double grain = p.noise.fractal(angle + p.phase * 0.25, d * 0.5 + p.phase * 0.5, 6, 3);
    Colour c = mix(p.c1, p.c2, std::min(1.0, nz * 1.6));
    c = mix(c, p.c3, std::pow(nz, 2.2));
    c = mix(c, p.c1, (1 - grain) * 0.3);
    const double edge = std::clamp((1 - d) * p.radius, 0.0, 1.0);
    return over(withAlpha(c, edge), withAlpha(p.atmosphere, p.atmosphere.a));
  }
  const double rays = p.noise.fractal(angle + p.phase, 0.3, 8, 2);
  const double reach = 1.25 + 0.55 * rays;
  const double t = std::clamp(1 - (d - 1) / (reach - 1), 0.0, 1.0);
  return withAlpha(p.atmosphere, p.atmosphere.a * t * t);
}

Colour planetPixel(const PlanetLook& p, double dx, double dy) {
  const double d2 = dx * dx + dy * dy;
  if (d2 >= 1) {
    const double d = std::sqrt(d2);
    const double halo = std::clamp(1 - (d - 1) / 0.12, 0.0, 1.0);
    return withAlpha(p.atmosphere, p.atmosphere.a * halo * halo * 0.8);
  }
  const double nz = std::sqrt(1 - d2);
  const double u = std::atan2(dx, nz) / kTau + p.phase;
  const double v = std::asin(std::clamp(dy, -1.0, 1.0)) / std::numbers::pi + 0.5;
  const Colour base = surface(p, u - std::floor(u), v);
  const double lx = -0.55, ly = -0.45, lz = 0.70;
  const double lambert = std::max(0.0, dx * lx + dy * ly + nz * lz);
  const double light = 0.12 + 1.0 * lambert;
  Colour c{base.r * light, base.g * light, base.b * light, 1};
  const double rim = std::pow(1 - nz, 2.5);
  c = mix(c, withAlpha(p.atmosphere, 1), rim * 0.7 * p.atmosphere.a);
  const double edge = std::clamp((1 - std::sqrt(d2)) * p.radius * 1.5, 0.0, 1.0);
  return withAlpha(c, edge);
}

struct Ring {
  Colour colour;
  double inner, outer, tilt;
};

Colour ringPixel(const Ring& ring, const TileNoise& noise, double dx, double dy) {
  const double ry = dy / ring.tilt;
  const double rr = std::hypot(dx, ry);
  if (rr < ring.inner || rr > ring.outer) return {0, 0, 0, 0};
  const double t = (rr - ring.inner) / (ring.outer - ring.inner);
  const double bands = 0.55 + 0.45 * noise.at(t, 0.5, 16);
  const double fade = smoothStep(0, 0.08, t) * smoothStep(1, 0.9, t);
  const double lit = dx < 0 ? 1.0 : 0.75;
  const Colour c = lighten(ring.colour, 0.2 * bands);
  return {c.r * lit, c.g * lit, c.b * lit, ring.colour.a * bands * fade};
}

}  // namespace

void cursor(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double s = r.number("size") / 19.0;
  const double phase = static_cast<double>(cell.index) / cell.count;
  const double pulse = 0.5 + 0.5 * std::cos(phase * kTau);
  cairo_save(cr);
  cairo_translate(cr, 1, 1);
  arrowPath(cr, s);
  draw::glowStroke(cr, withAlpha(r.colour("glow"), 0.35 + 0.5 * pulse), 1.0, 1.5 + 2.0 * pulse);
  arrowPath(cr, s);
  draw::verticalGradient(cr, 0, 19 * s, r.colour("fill_top"), r.colour("fill_bottom"));
  cairo_fill_preserve(cr);
  draw::setColour(cr, r.colour("outline"));
  cairo_set_line_width(cr, 1.2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
  const double sa = phase * kTau;
  const double sx = 3.2 * s + std::cos(sa) * 2.2 * s;
  const double sy = 9.5 * s + std::sin(sa) * 2.2 * s;
  draw::radialGlow(cr, sx, sy, 3.5 * s, r.colour("spark"));
  cairo_restore(cr);
}

void planet(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double spin = r.number("spin", 1);
  PlanetLook look{r.text("style"),
                  r.colour("c1"),
                  r.colour("c2"),
                  r.colour("c3"),
                  r.colour("atmosphere"),
                  0,
                  TileNoise(hashText(r.key()) + static_cast<std::uint64_t>(r.number("seed", 0))),
                  spin * static_cast<double>(cell.index) / cell.count,
                  r.number("bands", 5)};
  const double radius = r.number("radius") * std::min(cell.width, cell.height) / 2;
  look.radius = radius;
  const double cx = cell.width / 2;
  const double cy = cell.height / 2;
  const bool sun = look.style == "sun";
  const bool ringed = r.has("ring");
  const Ring ring = ringed ? Ring{r.colour("ring"), r.number("ring_inner"), r.number("ring_outer"),
                                  r.number("ring_tilt")}
                           : Ring{};
  const double tilt = r.number("tilt", 0);
  const double ct = std::cos(radians(tilt));
  const double st = std::sin(radians(tilt));
  const SurfacePtr img = pixelSurface(static_cast<int>(cell.width), static_cast<int>(cell.height),
                                      [&](double x, double y) {
                                        const double rx = (x - cx) / radius;
                                        const double ry = (y - cy) / radius;
                                        const double dx = rx * ct + ry * st;
                                        const double dy = -rx * st + ry * ct;
                                        if (sun) return sunPixel(look, dx, dy);
                                        const Colour body = planetPixel(look, dx, dy);
                                        if (!ringed) return body;
                                        const Colour band = ringPixel(ring, look.noise, dx, dy);
                                        const bool front = dy > 0 || dx * dx + dy * dy >= 1;
                                        return front ? over(band, body) : over(body, band);
                                      });
  paintSurface(cr, img.get(), 0, 0);
}

void glowLight(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  const double cx = w * r.number("centre_x");
  const double cy = h / 2;
  const Colour halo = r.colour("halo");
  const Colour core = r.colour("core");
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 1, h / w);
  draw::radialGlow(cr, 0, 0, w * 0.5, halo);
  cairo_restore(cr);
  const double streak = r.number("streak");
  cairo_pattern_t* p = cairo_pattern_create_linear(cx - w * streak / 2, 0, cx + w * streak / 2, 0);
  cairo_pattern_add_color_stop_rgba(p, 0, core.r, core.g, core.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.5, core.r, core.g, core.b, core.a * 0.8);
  cairo_pattern_add_color_stop_rgba(p, 1, core.r, core.g, core.b, 0);
  cairo_set_source(cr, p);
  cairo_rectangle(cr, cx - w * streak / 2, cy - 1.2, w * streak, 2.4);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  draw::radialGlow(cr, cx, cy, std::min(w, h) * 0.18, core);
  draw::radialGlow(cr, cx, cy, std::min(w, h) * 0.06, {1, 1, 1, 1});
  Rng rng(r.key(), 7);
  const int sparkles = static_cast<int>(r.number("sparkles"));
  for (int i = 0; i < sparkles; ++i) {
    const double a = rng.range(0, kTau);
    const double d = rng.range(0.15, 0.45) * std::min(w, h);
    draw::radialGlow(cr, cx + std::cos(a) * d * w / h, cy + std::sin(a) * d, rng.range(1.5, 3.5),
                     withAlpha(core, rng.range(0.4, 0.9)));
  }
}

}  // namespace artgen::paint
