#include "TrackRender.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>

namespace tracktool {

namespace {

/// An RGBA colour with components 0..1.
struct TColour {
  double R, G, B, A;
};

constexpr TColour PanelTop{0.06, 0.09, 0.15, 1.0};
constexpr TColour PanelBottom{0.11, 0.15, 0.23, 1.0};
constexpr TColour PanelRim{0.33, 0.45, 0.62, 0.55};
constexpr TColour RoadEdge{0.70, 0.80, 0.90, 1.0};
constexpr TColour Asphalt{0.24, 0.27, 0.32, 1.0};
constexpr TColour LaneMark{0.85, 0.88, 0.92, 0.35};
constexpr TColour CheckCyan{0.22, 0.84, 1.0, 1.0};
constexpr TColour ObstacleOrange{1.0, 0.55, 0.24, 1.0};
constexpr TColour DecorViolet{0.83, 0.42, 1.0, 0.9};
constexpr TColour DecalAmber{1.0, 0.72, 0.25, 0.9};
constexpr TColour OpponentGold{1.0, 0.82, 0.40, 1.0};
constexpr TColour PlayerGreen{0.30, 1.0, 0.56, 1.0};
constexpr TColour PathPink{1.0, 0.35, 0.55, 0.8};
constexpr TColour White{1, 1, 1, 1};
constexpr TColour Black{0, 0, 0, 1};

constexpr double MarginFraction = 0.07;
constexpr int DetailWidth = 400;

using CairoPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;
using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

/// World extent of everything drawn.
TRect Bounds(const TTrackModel& m) {
  TRect b{1e9, 1e9, -1e9, -1e9};
  const auto grow = [&b](TVec2 p) {
    b = {std::min(b.Left, p.X), std::min(b.Top, p.Y), std::max(b.Right, p.X),
         std::max(b.Bottom, p.Y)};
  };
  for (const TRoadArea& a : m.Road) {
    grow({a.Area.Left, a.Area.Top});
    grow({a.Area.Right, a.Area.Bottom});
  }
  for (const TObstacleShape& o : m.Obstacles) {
    grow(o.Centre - TVec2{o.Reach, o.Reach});
    grow(o.Centre + TVec2{o.Reach, o.Reach});
  }
  if (b.Left > b.Right) b = {0, 0, 1, 1};
  return b;
}

/// Draws one overview onto a Cairo context set up in world coordinates.
class TOverviewPainter {
 public:
  TOverviewPainter(cairo_t* cr, const TTrackModel& model, const TRaceSizes& sizes,
                   const TRenderOptions& options)
      : Cr_(cr), Model_(model), Sizes_(sizes), Options_(options) {}

  void Paint() {
    if (!Options_.Transparent) PaintPanel();
    SetWorldTransform();
    PaintRoad();
    if (Details()) {
      PaintDecorations();
      PaintPath();
    }
    PaintCheckLines();
    PaintObstacles();
    if (Details()) PaintGrid();
    PaintFinish();
  }

 private:
  bool Details() const { return Options_.Details || Options_.Width >= DetailWidth; }
  /// World length of one device pixel.
  double Pixel() const { return 1.0 / Scale_; }

  void Set(TColour c) { cairo_set_source_rgba(Cr_, c.R, c.G, c.B, c.A); }

  void PaintPanel() {
    const double w = Options_.Width;
    const double h = Options_.Height;
    const double r = std::min(w, h) * 0.08;
    cairo_new_sub_path(Cr_);
    cairo_arc(Cr_, w - r, r, r, -std::numbers::pi / 2, 0);
    cairo_arc(Cr_, w - r, h - r, r, 0, std::numbers::pi / 2);
    cairo_arc(Cr_, r, h - r, r, std::numbers::pi / 2, std::numbers::pi);
    cairo_arc(Cr_, r, r, r, std::numbers::pi, 3 * std::numbers::pi / 2);
    cairo_close_path(Cr_);
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgba(gradient, 0, PanelTop.R, PanelTop.G, PanelTop.B, PanelTop.A);
    cairo_pattern_add_color_stop_rgba(gradient, 1, PanelBottom.R, PanelBottom.G, PanelBottom.B,
                                      PanelBottom.A);
    cairo_set_source(Cr_, gradient);
    cairo_fill_preserve(Cr_);
    cairo_pattern_destroy(gradient);
    Set(PanelRim);
    cairo_set_line_width(Cr_, std::max(1.0, w / 200));
    cairo_stroke(Cr_);
  }

  void SetWorldTransform() {
    const TRect b = Bounds(Model_);
    const double margin = std::min(Options_.Width, Options_.Height) * MarginFraction;
    const double sx = (Options_.Width - 2 * margin) / (b.Right - b.Left);
    const double sy = (Options_.Height - 2 * margin) / (b.Bottom - b.Top);
    Scale_ = std::min(sx, sy);
    const TVec2 c = b.Centre();
    cairo_translate(Cr_, Options_.Width / 2.0, Options_.Height / 2.0);
    cairo_scale(Cr_, Scale_, Scale_);
    cairo_translate(Cr_, -c.X, -c.Y);
  }

  /// Adds the outline of a road piece: a rectangle, or a quarter disc for a corner.
  void RoadShape(const TRoadArea& a) {
    if (a.Kind < Kind::RoadCornerFirst || a.Kind > Kind::RoadCornerLast) {
      cairo_rectangle(Cr_, a.Area.Left, a.Area.Top, a.Area.Right - a.Area.Left,
                      a.Area.Bottom - a.Area.Top);
      return;
    }
    const auto sides = Sizes_.CornerSides(a.Kind);
    const TVec2 c = a.Area.Centre();
    const double half = (a.Area.Right - a.Area.Left) / 2;
    const TVec2 pivot = c + TVec2{static_cast<double>(DirDx(sides[0]) + DirDx(sides[1])),
                                  static_cast<double>(DirDy(sides[0]) + DirDy(sides[1]))} *
                                half;
    const double start = Degrees(c - pivot) * std::numbers::pi / 180 - std::numbers::pi / 4;
    cairo_move_to(Cr_, pivot.X, pivot.Y);
    cairo_arc(Cr_, pivot.X, pivot.Y, 2 * half, start, start + std::numbers::pi / 2);
    cairo_close_path(Cr_);
  }

  bool IsRoadPiece(const TRoadArea& a) const {
    return a.Kind >= Kind::RoadHorizontal && a.Kind <= Kind::RoadCornerLast;
  }

  /// Adds the outlines of all road pieces to the current path, so they fill without seams.
  void RoadOutline() {
    for (const TRoadArea& a : Model_.Road) {
      if (IsRoadPiece(a)) RoadShape(a);
    }
  }

  void PaintRoad() {
    const double edge = std::max(2.0, Options_.Width / 100.0) * Pixel();
    cairo_set_line_join(Cr_, CAIRO_LINE_JOIN_ROUND);
    RoadOutline();
    Set(RoadEdge);
    cairo_set_line_width(Cr_, 2 * edge);
    cairo_stroke(Cr_);
    RoadOutline();
    Set(Asphalt);
    cairo_fill(Cr_);
    PaintLaneMarks();
  }

  void PaintLaneMarks() {
    if (Model_.Path.size() < 2) return;
    Set(LaneMark);
    const double dash[] = {6 * Pixel(), 6 * Pixel()};
    cairo_set_dash(Cr_, dash, 2, 0);
    cairo_set_line_width(Cr_, std::max(1.0, Options_.Width / 300.0) * Pixel());
    TracePath();
    cairo_stroke(Cr_);
    cairo_set_dash(Cr_, nullptr, 0, 0);
  }

  void TracePath() {
    cairo_move_to(Cr_, Model_.Path.front().P.X, Model_.Path.front().P.Y);
    for (const TPathPoint& p : Model_.Path) cairo_line_to(Cr_, p.P.X, p.P.Y);
    cairo_close_path(Cr_);
  }

  void PaintDecorations() {
    for (const TRoadArea& a : Model_.Road) {
      if (IsRoadPiece(a) || a.Kind == Kind::PaintStartLine) continue;
      const TVec2 c = a.Area.Centre();
      const double size = (a.Area.Right - a.Area.Left) / 2;
      if (a.Kind == Kind::PaintDecal) {
        const TVec2 along = FromDegrees(a.Angle) * (size / 2);
        const TVec2 across{-along.Y, along.X};
        Set(DecalAmber);
        cairo_move_to(Cr_, c.X - along.X - across.X, c.Y - along.Y - across.Y);
        cairo_line_to(Cr_, c.X + along.X, c.Y + along.Y);
        cairo_line_to(Cr_, c.X - along.X + across.X, c.Y - along.Y + across.Y);
        cairo_set_line_width(Cr_, 2 * Pixel());
        cairo_stroke(Cr_);
        continue;
      }
      Set(DecorViolet);
      cairo_arc(Cr_, c.X, c.Y, size / 2, 0, 2 * std::numbers::pi);
      cairo_fill(Cr_);
    }
  }

  void PaintPath() {
    Set(PathPink);
    cairo_set_line_width(Cr_, 1.5 * Pixel());
    TracePath();
    cairo_stroke(Cr_);
    for (const TPathPoint& p : Model_.Path) {
      cairo_arc(Cr_, p.P.X, p.P.Y, (p.Tag > 0 ? 5 : 3) * Pixel(), 0, 2 * std::numbers::pi);
      cairo_fill(Cr_);
      if (p.Tag == 0) continue;
      char tag[16];
      std::snprintf(tag, sizeof tag, "t%d", p.Tag);
      Label(p.P + TVec2{8 * Pixel(), -8 * Pixel()}, tag, 11);
    }
  }

  void PaintCheckLines() {
    for (const TCheckLineShape& c : Model_.CheckLines) {
      const TRect& a = c.Area;
      Set({CheckCyan.R, CheckCyan.G, CheckCyan.B, 0.22});
      cairo_rectangle(Cr_, a.Left, a.Top, a.Right - a.Left, a.Bottom - a.Top);
      cairo_fill_preserve(Cr_);
      Set(CheckCyan);
      cairo_set_line_width(Cr_, std::max(1.0, Options_.Width / 250.0) * Pixel());
      cairo_stroke(Cr_);
      if (Details()) Label(a.Centre(), std::to_string(c.Number), 16);
    }
  }

  void PaintObstacles() {
    for (const TObstacleShape& o : Model_.Obstacles) {
      Set(ObstacleOrange);
      if (o.RandomRotation) {
        cairo_arc(Cr_, o.Centre.X, o.Centre.Y, o.Reach * 0.8, 0, 2 * std::numbers::pi);
      } else {
        cairo_move_to(Cr_, o.Shape[0].X, o.Shape[0].Y);
        for (const TVec2& p : o.Shape) cairo_line_to(Cr_, p.X, p.Y);
        cairo_close_path(Cr_);
      }
      cairo_fill(Cr_);
    }
  }

  void PaintGrid() {
    int player = 0;
    for (const TGridSlotShape& s : Model_.Slots) player = std::max(player, s.Number);
    for (const TGridSlotShape& s : Model_.Slots) {
      Set(s.Number == player ? PlayerGreen : OpponentGold);
      cairo_move_to(Cr_, s.Car[0].X, s.Car[0].Y);
      for (const TVec2& p : s.Car) cairo_line_to(Cr_, p.X, p.Y);
      cairo_close_path(Cr_);
      cairo_fill(Cr_);
    }
  }

  void PaintFinish() {
    for (const TFinishLineShape& f : Model_.FinishLines) {
      const TCellSize size = Sizes_.Cell("fline");
      const double thick = std::max(static_cast<double>(size.Width), 5 * Pixel());
      const int squares = 8;
      cairo_save(Cr_);
      cairo_translate(Cr_, f.Centre.X, f.Centre.Y);
      cairo_rotate(Cr_, f.Angle * std::numbers::pi / 180);
      const double cell = size.Height / static_cast<double>(squares);
      for (int row = 0; row < squares; ++row) {
        for (int col = 0; col < 2; ++col) {
          Set((row + col) % 2 == 0 ? White : Black);
          cairo_rectangle(Cr_, -thick / 2 + col * thick / 2, -size.Height / 2.0 + row * cell,
                          thick / 2, cell);
          cairo_fill(Cr_);
        }
      }
      cairo_restore(Cr_);
      PaintArrow(f, thick);
    }
  }

  /// Arrow just past the finish line pointing the way the cars drive (towards path point 1).
  void PaintArrow(const TFinishLineShape& f, double thick) {
    if (Model_.Path.empty()) return;
    const TVec2 d = Normalized(Model_.Path.front().P - f.Centre);
    const TVec2 side{-d.Y, d.X};
    const double len = std::max(48.0, 8 * Pixel());
    const TVec2 base = f.Centre + d * (thick + len * 0.3);
    const TVec2 tip = base + d * len;
    Set(White);
    cairo_move_to(Cr_, tip.X, tip.Y);
    const TVec2 l = base + side * (len / 2);
    const TVec2 r = base - side * (len / 2);
    cairo_line_to(Cr_, l.X, l.Y);
    cairo_line_to(Cr_, r.X, r.Y);
    cairo_close_path(Cr_);
    cairo_fill(Cr_);
  }

  void Label(TVec2 at, const std::string& text, double size) {
    cairo_select_font_face(Cr_, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(Cr_, size * Pixel());
    cairo_text_extents_t extents;
    cairo_text_extents(Cr_, text.c_str(), &extents);
    Set(White);
    cairo_move_to(Cr_, at.X - extents.width / 2 - extents.x_bearing,
                  at.Y - extents.height / 2 - extents.y_bearing);
    cairo_show_text(Cr_, text.c_str());
  }

  cairo_t* Cr_;
  const TTrackModel& Model_;
  const TRaceSizes& Sizes_;
  const TRenderOptions& Options_;
  double Scale_ = 1;
};

}  // namespace

bool RenderOverview(const TTrackModel& model, const TRaceSizes& sizes,
                    const TRenderOptions& options, const std::string& file, std::string& error) {
  if (options.Width <= 0 || options.Height <= 0) {
    error = "picture size must be positive";
    return false;
  }
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, options.Width, options.Height),
                     &cairo_surface_destroy);
  CairoPtr cr(cairo_create(surface.get()), &cairo_destroy);
  TOverviewPainter(cr.get(), model, sizes, options).Paint();
  cairo_surface_flush(surface.get());
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(cairo_status(cr.get()));
    return false;
  }
  const cairo_status_t written = cairo_surface_write_to_png(surface.get(), file.c_str());
  if (written != CAIRO_STATUS_SUCCESS) {
    error = "cannot write " + file + ": " + cairo_status_to_string(written);
    return false;
  }
  return true;
}

void ReleaseFontCaches() {
  cairo_debug_reset_static_data();
  FcFini();
}

}  // namespace tracktool
