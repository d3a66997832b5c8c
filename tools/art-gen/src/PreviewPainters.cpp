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

void screenCard(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const double w = cell.width;
  const double h = cell.height;
  draw::roundedRect(cr, 1, 1, w - 2, h - 2, 6);
  draw::verticalGradient(cr, 0, h, r.colour("screen_top"), r.colour("screen_bottom"));
  cairo_fill(cr);
  cairo_save(cr);
  draw::roundedRect(cr, 1, 1, w - 2, h - 2, 6);
  cairo_clip(cr);
  const Colour grid = r.colour("grid_colour");
  for (double x = 8; x < w; x += 16) cairo_rectangle(cr, x, 0, 0.8, h);
  for (double y = 8; y < h; y += 16) cairo_rectangle(cr, 0, y, w, 0.8);
  draw::setColour(cr, grid);
  cairo_fill(cr);
  cairo_restore(cr);
}

void cardFrame(cairo_t* cr, const Cell& cell) {
  draw::roundedRect(cr, 1.5, 1.5, cell.width - 3, cell.height - 3, 6);
  draw::glowStroke(cr, cell.recipe.colour("frame"), 1.6, 1.5);
}

void padlock(cairo_t* cr, double cx, double cy, double s, const Colour& c) {
  cairo_arc(cr, cx, cy - s * 0.45, s * 0.42, std::numbers::pi, 2 * std::numbers::pi);
  cairo_line_to(cr, cx + s * 0.42, cy - s * 0.1);
  cairo_move_to(cr, cx - s * 0.42, cy - s * 0.1);
  cairo_line_to(cr, cx - s * 0.42, cy - s * 0.45);
  draw::glowStroke(cr, c, s * 0.14, 3);
  draw::roundedRect(cr, cx - s * 0.62, cy - s * 0.12, s * 1.24, s * 0.95, s * 0.12);
  draw::setColour(cr, c);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy + s * 0.25, s * 0.12, 0, 2 * std::numbers::pi);
  cairo_rectangle(cr, cx - s * 0.05, cy + s * 0.25, s * 0.1, s * 0.3);
  draw::setColour(cr, {0.05, 0.05, 0.1, 1});
  cairo_fill(cr);
}

}  // namespace

void trackPreview(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  const std::filesystem::path source = cell.inputs / r.text("source");
  SurfacePtr picture(cairo_image_surface_create_from_png(source.string().c_str()));
  if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS) {
    r.fail("cannot read track picture " + source.string());
  }
  screenCard(cr, cell);
  const double inset = r.number("inset");
  const double pw = cairo_image_surface_get_width(picture.get());
  const double ph = cairo_image_surface_get_height(picture.get());
  const double s = std::min((cell.width - 2 * inset) / pw, (cell.height - 2 * inset) / ph);
  cairo_save(cr);
  cairo_translate(cr, (cell.width - pw * s) / 2, (cell.height - ph * s) / 2);
  cairo_scale(cr, s, s);
  cairo_set_source_surface(cr, picture.get(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
  cairo_paint(cr);
  cairo_restore(cr);
  cardFrame(cr, cell);
  paintTexts(cr, r);
}

void lockedPreview(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  screenCard(cr, cell);
  cairo_save(cr);
  draw::roundedRect(cr, 1, 1, cell.width - 2, cell.height - 2, 6);
  cairo_clip(cr);
  for (double x = -cell.height; x < cell.width; x += 22) {
    cairo_move_to(cr, x, cell.height);
    cairo_line_to(cr, x + cell.height, 0);
    cairo_line_to(cr, x + cell.height + 9, 0);
    cairo_line_to(cr, x + 9, cell.height);
    cairo_close_path(cr);
  }
  draw::setColour(cr, r.colour("hazard"));
  cairo_fill(cr);
  cairo_restore(cr);
  padlock(cr, cell.width / 2, cell.height * 0.42, r.number("lock_size"), r.colour("lock"));
  cardFrame(cr, cell);
  paintTexts(cr, r);
}

void lockBadge(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  padlock(cr, cell.width / 2, cell.height * 0.45, r.number("lock_size"), r.colour("lock"));
}

void carPreview(cairo_t* cr, const Cell& cell) {
  const Recipe& r = cell.recipe;
  screenCard(cr, cell);
  const double cx = cell.width / 2;
  const double cy = cell.height * r.number("pad_at");
  const Colour pad = r.colour("pad");
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 1, 0.42);
  draw::radialGlow(cr, 0, 0, cell.width * 0.46, withAlpha(pad, 0.45));
  cairo_restore(cr);
  for (const double k : {0.42, 0.3}) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 1, 0.42);
    cairo_arc(cr, 0, 0, cell.width * k, 0, 2 * std::numbers::pi);
    cairo_restore(cr);
    draw::glowStroke(cr, pad, 1.2, 2);
  }
  const double length = r.number("car_length");
  cairo_save(cr);
  cairo_translate(cr, cx, cy - length * 0.08);
  cairo_rotate(cr, radians(r.number("car_angle")));
  drawCar(cr, r, length * 40.0 / 64.0, length, 0);
  cairo_restore(cr);
  cardFrame(cr, cell);
  paintTexts(cr, r);
}

void raceCar(cairo_t* cr, const Cell& cell) {
  const double lean =
      cell.count > 1 ? (cell.index - (cell.count - 1) / 2.0) / ((cell.count - 1) / 2.0) : 0;
  const std::string layer = cell.recipe.text("layer", "whole");
  if (layer != "whole" && layer != "paint") cell.recipe.fail("layer must be whole or paint");
  cairo_save(cr);
  cairo_translate(cr, cell.width / 2, cell.height / 2);
  drawCar(cr, cell.recipe, cell.width, cell.height, lean,
          layer == "paint" ? CarLayer::Paint : CarLayer::Whole);
  cairo_restore(cr);
}

}  // namespace artgen::paint
