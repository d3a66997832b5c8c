// Painters of the choose-screen pictures: framed track previews, the locked-track card, the
// car showcase cards, and the race sprites of the cars with their steering cells.

#include <cmath>
#include <filesystem>
#include <numbers>

#include "CarShape.h"
#include "PaintKit.h"
#include "Painters.h"

namespace artgen::paint {

namespace {

void ScreenCard(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const double w = cell.Width;
  const double h = cell.Height;
  draw::RoundedRect(cr, 1, 1, w - 2, h - 2, 6);
  draw::VerticalGradient(cr, 0, h, r.Colour("screen_top"), r.Colour("screen_bottom"));
  cairo_fill(cr);
  cairo_save(cr);
  draw::RoundedRect(cr, 1, 1, w - 2, h - 2, 6);
  cairo_clip(cr);
  const TColour grid = r.Colour("grid_colour");
  for (double x = 8; x < w; x += 16) cairo_rectangle(cr, x, 0, 0.8, h);
  for (double y = 8; y < h; y += 16) cairo_rectangle(cr, 0, y, w, 0.8);
  draw::SetColour(cr, grid);
  cairo_fill(cr);
  cairo_restore(cr);
}

void CardFrame(cairo_t* cr, const TCell& cell) {
  draw::RoundedRect(cr, 1.5, 1.5, cell.Width - 3, cell.Height - 3, 6);
  draw::GlowStroke(cr, cell.Recipe.Colour("frame"), 1.6, 1.5);
}

void Padlock(cairo_t* cr, double cx, double cy, double s, const TColour& c) {
  cairo_arc(cr, cx, cy - s * 0.45, s * 0.42, std::numbers::pi, 2 * std::numbers::pi);
  cairo_line_to(cr, cx + s * 0.42, cy - s * 0.1);
  cairo_move_to(cr, cx - s * 0.42, cy - s * 0.1);
  cairo_line_to(cr, cx - s * 0.42, cy - s * 0.45);
  draw::GlowStroke(cr, c, s * 0.14, 3);
  draw::RoundedRect(cr, cx - s * 0.62, cy - s * 0.12, s * 1.24, s * 0.95, s * 0.12);
  draw::SetColour(cr, c);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy + s * 0.25, s * 0.12, 0, 2 * std::numbers::pi);
  cairo_rectangle(cr, cx - s * 0.05, cy + s * 0.25, s * 0.1, s * 0.3);
  draw::SetColour(cr, {0.05, 0.05, 0.1, 1});
  cairo_fill(cr);
}

}  // namespace

void TrackPreview(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  const std::filesystem::path source = cell.Inputs / r.Text("source");
  SurfacePtr picture(cairo_image_surface_create_from_png(source.string().c_str()));
  if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS) {
    r.Fail("cannot read track picture " + source.string());
  }
  ScreenCard(cr, cell);
  const double inset = r.Number("inset");
  const double pw = cairo_image_surface_get_width(picture.get());
  const double ph = cairo_image_surface_get_height(picture.get());
  const double s = std::min((cell.Width - 2 * inset) / pw, (cell.Height - 2 * inset) / ph);
  cairo_save(cr);
  cairo_translate(cr, (cell.Width - pw * s) / 2, (cell.Height - ph * s) / 2);
  cairo_scale(cr, s, s);
  cairo_set_source_surface(cr, picture.get(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
  cairo_paint(cr);
  cairo_restore(cr);
  CardFrame(cr, cell);
  PaintTexts(cr, r);
}

void LockedPreview(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  ScreenCard(cr, cell);
  cairo_save(cr);
  draw::RoundedRect(cr, 1, 1, cell.Width - 2, cell.Height - 2, 6);
  cairo_clip(cr);
  for (double x = -cell.Height; x < cell.Width; x += 22) {
    cairo_move_to(cr, x, cell.Height);
    cairo_line_to(cr, x + cell.Height, 0);
    cairo_line_to(cr, x + cell.Height + 9, 0);
    cairo_line_to(cr, x + 9, cell.Height);
    cairo_close_path(cr);
  }
  draw::SetColour(cr, r.Colour("hazard"));
  cairo_fill(cr);
  cairo_restore(cr);
  Padlock(cr, cell.Width / 2, cell.Height * 0.42, r.Number("lock_size"), r.Colour("lock"));
  CardFrame(cr, cell);
  PaintTexts(cr, r);
}

void LockBadge(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  Padlock(cr, cell.Width / 2, cell.Height * 0.45, r.Number("lock_size"), r.Colour("lock"));
}

void CarPreview(cairo_t* cr, const TCell& cell) {
  const TRecipe& r = cell.Recipe;
  ScreenCard(cr, cell);
  const double cx = cell.Width / 2;
  const double cy = cell.Height * r.Number("pad_at");
  const TColour pad = r.Colour("pad");
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 1, 0.42);
  draw::RadialGlow(cr, 0, 0, cell.Width * 0.46, WithAlpha(pad, 0.45));
  cairo_restore(cr);
  for (const double k : {0.42, 0.3}) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1, 0.42);
    cairo_arc(cr, 0, 0, cell.Width * k, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    draw::GlowStroke(cr, pad, 1.2, 2);
  }
  const double length = r.Number("car_length");
  cairo_save(cr);
  cairo_translate(cr, cx, cy - length * 0.08);
  cairo_rotate(cr, Radians(r.Number("car_angle")));
  DrawCar(cr, r, length * 40.0 / 64.0, length, 0);
  cairo_restore(cr);
  CardFrame(cr, cell);
  PaintTexts(cr, r);
}

void RaceCar(cairo_t* cr, const TCell& cell) {
  const double lean =
      cell.Count > 1 ? (cell.Index - (cell.Count - 1) / 2.0) / ((cell.Count - 1) / 2.0) : 0;
  const std::string layer = cell.Recipe.Text("layer", "whole");
  if (layer != "whole" && layer != "paint") cell.Recipe.Fail("layer must be whole or paint");
  cairo_save(cr);
  cairo_translate(cr, cell.Width / 2, cell.Height / 2);
  DrawCar(cr, cell.Recipe, cell.Width, cell.Height, lean,
          layer == "paint" ? CarLayer::Paint : CarLayer::Whole);
  cairo_restore(cr);
}

}  // namespace artgen::paint
