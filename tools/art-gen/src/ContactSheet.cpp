#include "ContactSheet.h"

#include <algorithm>
#include <cmath>

#include "Draw.h"
#include "EntryRenderer.h"

namespace artgen {

namespace {

constexpr double kSheetWidth = 1800;
constexpr double kPad = 14;
constexpr double kGap = 6;
constexpr double kLabel = 18;
constexpr double kNumber = 12;
constexpr double kMaxW = 1100;
constexpr double kMaxH = 420;

struct Placed {
  const SheetItem* item;
  double x, y, scale, w, h;
};

double itemScale(const SheetItem& it) {
  const double w = it.layout.width * it.layout.columns;
  const double h = it.layout.height * it.layout.rows;
  return std::min({1.0, kMaxW / w, kMaxH / h});
}

double boxWidth(const SheetItem& it, double s) {
  return std::max(it.layout.columns * (it.layout.width * s + kGap), 170.0);
}

double boxHeight(const SheetItem& it, double s) {
  return kLabel + it.layout.rows * (it.layout.height * s + kGap + kNumber);
}

std::vector<Placed> layOut(const std::vector<SheetItem>& items, double& height) {
  std::vector<Placed> placed;
  double x = kPad;
  double y = 40;
  double rowH = 0;
  for (const SheetItem& it : items) {
    const double s = itemScale(it);
    const double w = boxWidth(it, s);
    const double h = boxHeight(it, s);
    if (x + w > kSheetWidth - kPad && x > kPad) {
      x = kPad;
      y += rowH + kPad;
      rowH = 0;
    }
    placed.push_back({&it, x, y, s, w, h});
    x += w + kPad;
    rowH = std::max(rowH, h);
  }
  height = y + rowH + kPad;
  return placed;
}

void checker(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  draw::setColour(cr, {0.16, 0.16, 0.19, 1});
  cairo_paint(cr);
  draw::setColour(cr, {0.22, 0.22, 0.26, 1});
  for (double cy = y; cy < y + h; cy += 8) {
    for (double cx = x + (std::fmod((cy - y) / 8, 2) < 1 ? 0 : 8); cx < x + w; cx += 16) {
      cairo_rectangle(cr, cx, cy, 8, 8);
    }
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

void drawItem(cairo_t* cr, const Placed& p) {
  const SheetItem& it = *p.item;
  const CellLayout& l = it.layout;
  const Font label{std::string(kContactSheetFont) + ":bold", 12};
  const Font small{kContactSheetFont, 9};
  const std::string info = "  " + std::to_string(l.columns) + "x" + std::to_string(l.rows) +
                           " of " + std::to_string(l.width) + "x" + std::to_string(l.height);
  draw::text(cr, label, it.key, p.x, p.y + 13, Align::Left, {1, 0.85, 0.4, 1});
  draw::text(cr, small, info, p.x + draw::textWidth(cr, label, it.key), p.y + 13, Align::Left,
             {0.7, 0.75, 0.8, 1});
  const double cw = l.width * p.scale;
  const double ch = l.height * p.scale;
  for (int i = 0; i < l.count(); ++i) {
    const double cx = p.x + (i % l.columns) * (cw + kGap);
    const double cy = p.y + kLabel + (i / l.columns) * (ch + kGap + kNumber) + kNumber;
    if (l.count() > 1) {
      draw::text(cr, small, std::to_string(i), cx, cy - 2, Align::Left, {0.6, 0.8, 1, 1});
    }
    checker(cr, cx, cy, cw, ch);
    cairo_save(cr);
    cairo_rectangle(cr, cx, cy, cw, ch);
    cairo_clip(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, p.scale, p.scale);
    cairo_set_source_surface(cr, it.picture, -(i % l.columns) * l.width,
                             -(i / l.columns) * l.height);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
  }
}

}  // namespace

void writeContactSheet(const std::vector<SheetItem>& items, const std::string& title,
                       const std::filesystem::path& out) {
  double height = 0;
  const auto placed = layOut(items, height);
  SurfacePtr surface = makeSurface(static_cast<int>(kSheetWidth), static_cast<int>(height));
  ContextPtr cr = makeContext(surface.get());
  draw::setColour(cr.get(), {0.09, 0.09, 0.11, 1});
  cairo_paint(cr.get());
  draw::text(cr.get(), {std::string(kContactSheetFont) + ":bold", 18}, title, kPad, 26, Align::Left,
             {1, 1, 1, 1});
  for (const Placed& p : placed) drawItem(cr.get(), p);
  writePng(surface.get(), out);
}

}  // namespace artgen
