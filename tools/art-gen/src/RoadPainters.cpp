// Painters of the road: straights and corner cells that join without seams, and the road
// paint (start line, decals, decorative marks).
//
// Pieces lie on a grid of the road width, so the surface texture is a function of the
// position modulo the road width and matches across every join. The cross-section (kerbs,
// edge lines, centre line) is symmetric, so a straight meets a corner the same way from
// either side. Kerb stripes follow the world grid: a straight starts with colour A at its
// left or top end and, being a whole number of stripe pairs long, ends with colour B; a
// corner therefore shows B where it meets a piece to its right or below and A where it
// meets a piece to its left or above.

#include <cmath>
#include <numbers>

#include "PaintKit.h"
#include "Painters.h"
#include "Rng.h"
#include "TileNoise.h"

namespace artgen::paint {

namespace {

struct RoadLook {
  double width, kerb, stripe, edgeOffset, dashOn, dashPeriod;
  Colour kerbA, kerbB, edge, centre;
};

RoadLook roadLook(const Recipe& r) {
  return {r.number("road_width"),  r.number("kerb_width"),  r.number("kerb_stripe"),
          r.number("edge_offset"), r.number("dash_length"), r.number("dash_period"),
          r.colour("kerb_a"),      r.colour("kerb_b"),      r.colour("edge_line"),
          r.colour("centre_line")};
}

SurfacePtr roadSurface(const Recipe& r, int w, int h, double period) {
  const TileNoise noise(hashText("road-surface"));
  const Colour dark = r.colour("asphalt_dark");
  const Colour light = r.colour("asphalt_light");
  const Colour seam = r.colour("plate_seam");
  const double plate = r.number("plate");
  return pixelSurface(w, h, [&](double x, double y) {
    const double u = std::fmod(x, period) / period;
    const double v = std::fmod(y, period) / period;
    const double n = noise.fractal(u, v, 4, 3) * 0.7 + noise.at(u, v, 64) * 0.3;
    Colour c = mix(dark, light, n);
    const double px = std::fmod(x, plate);
    const double py = std::fmod(y, plate);
    if (px < 1 || py < 1) c = over(seam, c);
    if (px < 2 || py < 2) c = lighten(c, 0.03);
    return c;
  });
}

// Markings of a straight running along x over [0, length], across y over [0, width].
void straightMarks(cairo_t* cr, const RoadLook& k, double length) {
  for (double x = 0; x < length; x += k.stripe) {
    const bool a = static_cast<int>(std::lround(x / k.stripe)) % 2 == 0;
    draw::setColour(cr, a ? k.kerbA : k.kerbB);
    cairo_rectangle(cr, x, 0, k.stripe, k.kerb);
    cairo_rectangle(cr, x, k.width - k.kerb, k.stripe, k.kerb);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 0, k.kerb, length, 1);
  cairo_rectangle(cr, 0, k.width - k.kerb - 1, length, 1);
  draw::setColour(cr, {0, 0, 0, 0.45});
  cairo_fill(cr);
  for (const double y : {k.edgeOffset, k.width - k.edgeOffset}) {
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, length, y);
    draw::glowStroke(cr, k.edge, 1.6, 1.5);
  }
  for (double x = 0; x < length; x += k.dashPeriod) {
    const double start = x + (k.dashPeriod - k.dashOn) / 2;
    cairo_move_to(cr, start, k.width / 2);
    cairo_line_to(cr, start + k.dashOn, k.width / 2);
    draw::glowStroke(cr, k.centre, 2.2, 1.5);
  }
}

struct CornerJoin {
  double cx, cy, from, to;
  bool fromFar, toFar;
};

// A corner joins two sides; the road is the quarter disc of radius "width" about the cell
// corner between them. from/to are the arc's end angles (Cairo's, clockwise from +x);
// *Far tells whether that end meets a piece to the right or below (kerb colour B).
CornerJoin cornerJoin(const Recipe& r, const std::string& joins, double w) {
  const double pi = std::numbers::pi;
  if (joins == "rb") return {w, w, pi, 1.5 * pi, true, true};
  if (joins == "lb") return {0, w, 1.5 * pi, 2 * pi, false, true};
  if (joins == "lt") return {0, 0, 0, 0.5 * pi, false, false};
  if (joins == "rt") return {w, 0, 0.5 * pi, pi, true, false};
  r.fail("corner joins must be rb, lb, lt or rt");
}

void cornerKerb(cairo_t* cr, const RoadLook& k, const CornerJoin& j, bool startB, bool endB) {
  const double r0 = k.width - k.kerb;
  const double arc = (j.to - j.from) * (r0 + k.kerb / 2);
  int n = std::max(1, static_cast<int>(std::lround(arc / k.stripe)));
  if ((n % 2 == 1) != (startB == endB)) ++n;
  const double step = (j.to - j.from) / n;
  for (int i = 0; i < n; ++i) {
    const bool b = (i % 2 == 0) == startB;
    const double a0 = j.from + i * step;
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.cx, j.cy, k.width, a0, a0 + step);
    cairo_arc_negative(cr, j.cx, j.cy, r0, a0 + step, a0);
    cairo_close_path(cr);
    draw::setColour(cr, b ? k.kerbB : k.kerbA);
    cairo_fill(cr);
  }
  cairo_move_to(cr, j.cx, j.cy);
  cairo_arc(cr, j.cx, j.cy, k.kerb, j.from, j.to);
  cairo_close_path(cr);
  draw::setColour(cr, startB && endB ? k.kerbB : k.kerbA);
  cairo_fill(cr);
}

void cornerMarks(cairo_t* cr, const RoadLook& k, const CornerJoin& j, bool startB, bool endB) {
  cornerKerb(cr, k, j, startB, endB);
  for (const double rr : {k.kerb, k.width - k.kerb}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.cx, j.cy, rr + (rr < k.width / 2 ? 0.5 : -0.5), j.from, j.to);
    draw::setColour(cr, {0, 0, 0, 0.45});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  for (const double rr : {k.edgeOffset, k.width - k.edgeOffset}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.cx, j.cy, rr, j.from, j.to);
    draw::glowStroke(cr, k.edge, 1.6, 1.5);
  }
  const double mid = k.width / 2;
  const double arc = (j.to - j.from) * mid;
  const int n = std::max(1, static_cast<int>(std::lround(arc / k.dashPeriod)));
  const double period = (j.to - j.from) / n;
  const double on = period * k.dashOn / k.dashPeriod;
  for (int i = 0; i < n; ++i) {
    const double a0 = j.from + i * period + (period - on) / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.cx, j.cy, mid, a0, a0 + on);
    draw::glowStroke(cr, k.centre, 2.2, 1.5);
  }
}

}  // namespace

void roadStraight(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const RoadLook k = roadLook(r);
  const SurfacePtr surface =
      roadSurface(r, static_cast<int>(cell.width), static_cast<int>(cell.height), k.width);
  paintSurface(cr, surface.get(), 0, 0);
  const std::string axis = r.text("axis");
  if (axis == "y") {
    cairo_matrix_t transpose;
    cairo_matrix_init(&transpose, 0, 1, 1, 0, 0, 0);
    cairo_transform(cr, &transpose);
    straightMarks(cr, k, cell.height);
  } else if (axis == "x") {
    straightMarks(cr, k, cell.width);
  } else {
    r.fail("axis must be x or y");
  }
}

void roadCorner(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const RoadLook k = roadLook(r);
  const auto joins = splitWords(r.text("joins"));
  if (static_cast<int>(joins.size()) != cell.count) r.fail("joins needs one side pair per cell");
  const std::string& side = joins[static_cast<std::size_t>(cell.index)];
  const CornerJoin j = cornerJoin(r, side, k.width);
  cairo_save(cr);
  cairo_move_to(cr, j.cx, j.cy);
  cairo_arc(cr, j.cx, j.cy, k.width, j.from, j.to);
  cairo_close_path(cr);
  cairo_clip(cr);
  const SurfacePtr surface =
      roadSurface(r, static_cast<int>(cell.width), static_cast<int>(cell.height), k.width);
  paintSurface(cr, surface.get(), 0, 0);
  cornerMarks(cr, k, j, j.fromFar, j.toFar);
  cairo_restore(cr);
}

void startLine(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double sq = r.number("square");
  const Colour a = r.colour("colour_a");
  const Colour b = r.colour("colour_b");
  for (double y = 0; y < cell.height; y += sq) {
    for (double x = 0; x < cell.width; x += sq) {
      const bool odd = (static_cast<int>(x / sq) + static_cast<int>(y / sq)) % 2 == 1;
      draw::setColour(cr, odd ? b : a);
      cairo_rectangle(cr, x, y, sq, sq);
      cairo_fill(cr);
    }
  }
  for (const double x : {0.75, cell.width - 0.75}) {
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x, cell.height);
  }
  draw::setColour(cr, r.colour("edge"));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void roadDecal(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const Colour c = r.colour("colour");
  const int count = static_cast<int>(r.number("chevrons"));
  const double w = cell.width;
  const double h = cell.height;
  const double step = w * 0.7 / count;
  for (int i = 0; i < count; ++i) {
    const double x = w * 0.2 + i * step;
    cairo_move_to(cr, x, h * 0.18);
    cairo_line_to(cr, x + step * 0.85, h / 2);
    cairo_line_to(cr, x, h * 0.82);
    cairo_line_to(cr, x + step * 0.45, h / 2);
    cairo_close_path(cr);
    draw::setColour(cr, withAlpha(c, c.a * (0.55 + 0.45 * (i + 1) / count)));
    cairo_fill(cr);
  }
}

namespace {

// One of five mark patterns in a w x h box running along x; the path is left to fill, or
// stroked already for the zig-zag (returns false then).
bool markPattern(cairo_t* cr, int pattern, double w, double h) {
  switch (pattern) {
    case 0:
      for (int i = 0; i < 3; ++i) {
        cairo_rectangle(cr, 4 + i * (w - 8) / 3, h * 0.35, (w - 8) / 3 - 6, h * 0.3);
      }
      return true;
    case 1:
      for (int i = 0; i < 4; ++i) {
        const double x = 4 + i * (w - 8) / 4;
        cairo_move_to(cr, x, h * 0.2);
        cairo_line_to(cr, x + 7, h / 2);
        cairo_line_to(cr, x, h * 0.8);
        cairo_line_to(cr, x + 4, h * 0.8);
        cairo_line_to(cr, x + 11, h / 2);
        cairo_line_to(cr, x + 4, h * 0.2);
        cairo_close_path(cr);
      }
      return true;
    case 2:
      for (int i = 0; i < 5; ++i) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 7 + i * (w - 14) / 4, h / 2, h * 0.16, 0, 2 * std::numbers::pi);
      }
      return true;
    case 3:
      cairo_rectangle(cr, 2, h * 0.2, w - 4, h * 0.6);
      cairo_clip(cr);
      for (double x = -h; x < w; x += 10) {
        cairo_move_to(cr, x, h);
        cairo_line_to(cr, x + h, 0);
        cairo_line_to(cr, x + h + 5, 0);
        cairo_line_to(cr, x + 5, h);
        cairo_close_path(cr);
      }
      return true;
    default:
      cairo_move_to(cr, 3, h / 2);
      for (int i = 0; i <= 8; ++i) {
        cairo_line_to(cr, 3 + i * (w - 6) / 8, i % 2 == 0 ? h * 0.3 : h * 0.7);
      }
      cairo_set_line_width(cr, 2.2);
      cairo_stroke(cr);
      return false;
  }
}

}  // namespace

void paintMarks(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const auto colours = splitWords(r.text("colours"));
  if (static_cast<int>(colours.size()) != cell.count) r.fail("colours needs one colour per cell");
  const Colour c = r.resolveColour(colours[static_cast<std::size_t>(cell.index)]);
  double w = cell.width;
  double h = cell.height;
  if (r.text("axis") == "y") {
    cairo_matrix_t transpose;
    cairo_matrix_init(&transpose, 0, 1, 1, 0, 0, 0);
    cairo_transform(cr, &transpose);
    std::swap(w, h);
  }
  draw::setColour(cr, c);
  if (markPattern(cr, cell.index % 5, w, h)) cairo_fill(cr);
}

}  // namespace artgen::paint
