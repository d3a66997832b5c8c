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

struct TRoadLook {
  double Width, Kerb, Stripe, EdgeOffset, DashOn, DashPeriod;
  TColour KerbA, KerbB, Edge, Centre;
};

TRoadLook RoadLook(const TRecipe& r) {
  return {r.Number("road_width"),  r.Number("kerb_width"),  r.Number("kerb_stripe"),
          r.Number("edge_offset"), r.Number("dash_length"), r.Number("dash_period"),
          r.Colour("kerb_a"),      r.Colour("kerb_b"),      r.Colour("edge_line"),
          r.Colour("centre_line")};
}

SurfacePtr RoadSurface(const TRecipe& r, int w, int h, double period) {
  const TTileNoise noise(HashText("road-surface"));
  const TColour dark = r.Colour("asphalt_dark");
  const TColour light = r.Colour("asphalt_light");
  const TColour seam = r.Colour("plate_seam");
  const double plate = r.Number("plate");
  return PixelSurface(w, h, [&](double x, double y) {
    const double u = std::fmod(x, period) / period;
    const double v = std::fmod(y, period) / period;
    const double n = noise.Fractal(u, v, 4, 3) * 0.7 + noise.At(u, v, 64) * 0.3;
    TColour c = Mix(dark, light, n);
    const double px = std::fmod(x, plate);
    const double py = std::fmod(y, plate);
    if (px < 1 || py < 1) c = Over(seam, c);
    if (px < 2 || py < 2) c = Lighten(c, 0.03);
    return c;
  });
}

// Markings of a straight running along x over [0, length], across y over [0, width].
void StraightMarks(cairo_t* cr, const TRoadLook& k, double length) {
  for (double x = 0; x < length; x += k.Stripe) {
    const bool a = static_cast<int>(std::lround(x / k.Stripe)) % 2 == 0;
    draw::SetColour(cr, a ? k.KerbA : k.KerbB);
    cairo_rectangle(cr, x, 0, k.Stripe, k.Kerb);
    cairo_rectangle(cr, x, k.Width - k.Kerb, k.Stripe, k.Kerb);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 0, k.Kerb, length, 1);
  cairo_rectangle(cr, 0, k.Width - k.Kerb - 1, length, 1);
  draw::SetColour(cr, {0, 0, 0, 0.45});
  cairo_fill(cr);
  for (const double y : {k.EdgeOffset, k.Width - k.EdgeOffset}) {
    cairo_move_to(cr, 0, y);
    cairo_line_to(cr, length, y);
    draw::GlowStroke(cr, k.Edge, 1.6, 1.5);
  }
  for (double x = 0; x < length; x += k.DashPeriod) {
    const double start = x + (k.DashPeriod - k.DashOn) / 2;
    cairo_move_to(cr, start, k.Width / 2);
    cairo_line_to(cr, start + k.DashOn, k.Width / 2);
    draw::GlowStroke(cr, k.Centre, 2.2, 1.5);
  }
}

struct TCornerJoin {
  double Cx, Cy, From, To;
  bool FromFar, ToFar;
};

// A corner joins two sides; the road is the quarter disc of radius "width" about the cell
// corner between them. from/to are the arc's end angles (Cairo's, clockwise from +x);
// *Far tells whether that end meets a piece to the right or below (kerb colour B).
TCornerJoin CornerJoin(const TRecipe& r, const std::string& joins, double w) {
  const double pi = std::numbers::pi;
  if (joins == "rb") return {w, w, pi, 1.5 * pi, true, true};
  if (joins == "lb") return {0, w, 1.5 * pi, 2 * pi, false, true};
  if (joins == "lt") return {0, 0, 0, 0.5 * pi, false, false};
  if (joins == "rt") return {w, 0, 0.5 * pi, pi, true, false};
  r.Fail("corner joins must be rb, lb, lt or rt");
}

void CornerKerb(cairo_t* cr, const TRoadLook& k, const TCornerJoin& j, bool startB, bool endB) {
  const double r0 = k.Width - k.Kerb;
  const double arc = (j.To - j.From) * (r0 + k.Kerb / 2);
  int n = std::max(1, static_cast<int>(std::lround(arc / k.Stripe)));
  if ((n % 2 == 1) != (startB == endB)) ++n;
  const double step = (j.To - j.From) / n;
  for (int i = 0; i < n; ++i) {
    const bool b = (i % 2 == 0) == startB;
    const double a0 = j.From + i * step;
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.Cx, j.Cy, k.Width, a0, a0 + step);
    cairo_arc_negative(cr, j.Cx, j.Cy, r0, a0 + step, a0);
    cairo_close_path(cr);
    draw::SetColour(cr, b ? k.KerbB : k.KerbA);
    cairo_fill(cr);
  }
  cairo_move_to(cr, j.Cx, j.Cy);
  cairo_arc(cr, j.Cx, j.Cy, k.Kerb, j.From, j.To);
  cairo_close_path(cr);
  draw::SetColour(cr, startB && endB ? k.KerbB : k.KerbA);
  cairo_fill(cr);
}

void CornerMarks(cairo_t* cr, const TRoadLook& k, const TCornerJoin& j, bool startB, bool endB) {
  CornerKerb(cr, k, j, startB, endB);
  for (const double rr : {k.Kerb, k.Width - k.Kerb}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.Cx, j.Cy, rr + (rr < k.Width / 2 ? 0.5 : -0.5), j.From, j.To);
    draw::SetColour(cr, {0, 0, 0, 0.45});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  for (const double rr : {k.EdgeOffset, k.Width - k.EdgeOffset}) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.Cx, j.Cy, rr, j.From, j.To);
    draw::GlowStroke(cr, k.Edge, 1.6, 1.5);
  }
  const double mid = k.Width / 2;
  const double arc = (j.To - j.From) * mid;
  const int n = std::max(1, static_cast<int>(std::lround(arc / k.DashPeriod)));
  const double period = (j.To - j.From) / n;
  const double on = period * k.DashOn / k.DashPeriod;
  for (int i = 0; i < n; ++i) {
    const double a0 = j.From + i * period + (period - on) / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, j.Cx, j.Cy, mid, a0, a0 + on);
    draw::GlowStroke(cr, k.Centre, 2.2, 1.5);
  }
}

}  // namespace

void RoadStraight(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TRoadLook k = RoadLook(r);
  const SurfacePtr surface =
      RoadSurface(r, static_cast<int>(cell.Width), static_cast<int>(cell.Height), k.Width);
  PaintSurface(cr, surface.get(), 0, 0);
  const std::string axis = r.Text("axis");
  if (axis == "y") {
    cairo_matrix_t transpose;
    cairo_matrix_init(&transpose, 0, 1, 1, 0, 0, 0);
    cairo_transform(cr, &transpose);
    StraightMarks(cr, k, cell.Height);
  } else if (axis == "x") {
    StraightMarks(cr, k, cell.Width);
  } else {
    r.Fail("axis must be x or y");
  }
}

void RoadCorner(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TRoadLook k = RoadLook(r);
  const auto joins = SplitWords(r.Text("joins"));
  if (static_cast<int>(joins.size()) != cell.Count) r.Fail("joins needs one side pair per cell");
  const std::string& side = joins[static_cast<std::size_t>(cell.Index)];
  const TCornerJoin j = CornerJoin(r, side, k.Width);
  cairo_save(cr);
  cairo_move_to(cr, j.Cx, j.Cy);
  cairo_arc(cr, j.Cx, j.Cy, k.Width, j.From, j.To);
  cairo_close_path(cr);
  cairo_clip(cr);
  const SurfacePtr surface =
      RoadSurface(r, static_cast<int>(cell.Width), static_cast<int>(cell.Height), k.Width);
  PaintSurface(cr, surface.get(), 0, 0);
  CornerMarks(cr, k, j, j.FromFar, j.ToFar);
  cairo_restore(cr);
}

void StartLine(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double sq = r.Number("square");
  const TColour a = r.Colour("colour_a");
  const TColour b = r.Colour("colour_b");
  for (double y = 0; y < cell.Height; y += sq) {
    for (double x = 0; x < cell.Width; x += sq) {
      const bool odd = (static_cast<int>(x / sq) + static_cast<int>(y / sq)) % 2 == 1;
      draw::SetColour(cr, odd ? b : a);
      cairo_rectangle(cr, x, y, sq, sq);
      cairo_fill(cr);
    }
  }
  for (const double x : {0.75, cell.Width - 0.75}) {
    cairo_move_to(cr, x, 0);
    cairo_line_to(cr, x, cell.Height);
  }
  draw::SetColour(cr, r.Colour("edge"));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
}

void RoadDecal(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const TColour c = r.Colour("colour");
  const int count = static_cast<int>(r.Number("chevrons"));
  const double w = cell.Width;
  const double h = cell.Height;
  const double step = w * 0.7 / count;
  for (int i = 0; i < count; ++i) {
    const double x = w * 0.2 + i * step;
    cairo_move_to(cr, x, h * 0.18);
    cairo_line_to(cr, x + step * 0.85, h / 2);
    cairo_line_to(cr, x, h * 0.82);
    cairo_line_to(cr, x + step * 0.45, h / 2);
    cairo_close_path(cr);
    draw::SetColour(cr, WithAlpha(c, c.A * (0.55 + 0.45 * (i + 1) / count)));
    cairo_fill(cr);
  }
}

namespace {

// One of five mark patterns in a w x h box running along x; the path is left to fill, or
// stroked already for the zig-zag (returns false then).
bool MarkPattern(cairo_t* cr, int pattern, double w, double h) {
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

void PaintMarks(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const auto colours = SplitWords(r.Text("colours"));
  if (static_cast<int>(colours.size()) != cell.Count) r.Fail("colours needs one colour per cell");
  const TColour c = r.ResolveColour(colours[static_cast<std::size_t>(cell.Index)]);
  double w = cell.Width;
  double h = cell.Height;
  if (r.Text("axis") == "y") {
    cairo_matrix_t transpose;
    cairo_matrix_init(&transpose, 0, 1, 1, 0, 0, 0);
    cairo_transform(cr, &transpose);
    std::swap(w, h);
  }
  draw::SetColour(cr, c);
  if (MarkPattern(cr, cell.Index % 5, w, h)) cairo_fill(cr);
}

}  // namespace artgen::paint
