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

struct TPlaced {
  const TSheetItem* Item;
  double X, Y, Scale, W, H;
};

double ItemScale(const TSheetItem& it) {
  const double w = it.Layout.Width * it.Layout.Columns;
  const double h = it.Layout.Height * it.Layout.Rows;
  return std::min({1.0, kMaxW / w, kMaxH / h});
}

double BoxWidth(const TSheetItem& it, double s) {
  return std::max(it.Layout.Columns * (it.Layout.Width * s + kGap), 170.0);
}

double BoxHeight(const TSheetItem& it, double s) {
  return kLabel + it.Layout.Rows * (it.Layout.Height * s + kGap + kNumber);
}

std::vector<TPlaced> LayOut(const std::vector<TSheetItem>& items, double& height) {
  std::vector<TPlaced> placed;
  double x = kPad;
  double y = 40;
  double rowH = 0;
  for (const TSheetItem& it : items) {
    const double s = ItemScale(it);
    const double w = BoxWidth(it, s);
    const double h = BoxHeight(it, s);
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

void Checker(cairo_t* cr, double x, double y, double w, double h) {
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  draw::SetColour(cr, {0.16, 0.16, 0.19, 1});
  cairo_paint(cr);
  draw::SetColour(cr, {0.22, 0.22, 0.26, 1});
  for (double cy = y; cy < y + h; cy += 8) {
    for (double cx = x + (std::fmod((cy - y) / 8, 2) < 1 ? 0 : 8); cx < x + w; cx += 16) {
      cairo_rectangle(cr, cx, cy, 8, 8);
    }
  }
  cairo_fill(cr);
  cairo_restore(cr);
}

void DrawItem(cairo_t* cr, const TPlaced& p) {
  const TSheetItem& it = *p.Item;
  const TCellLayout& l = it.Layout;
  const TFont label{std::string(kContactSheetFont) + ":bold", 12};
  const TFont small{kContactSheetFont, 9};
  const std::string info = "  " + std::to_string(l.Columns) + "x" + std::to_string(l.Rows) +
                           " of " + std::to_string(l.Width) + "x" + std::to_string(l.Height);
  draw::Text(cr, label, it.Key, p.X, p.Y + 13, Align::Left, {1, 0.85, 0.4, 1});
  draw::Text(cr, small, info, p.X + draw::TextWidth(cr, label, it.Key), p.Y + 13, Align::Left,
             {0.7, 0.75, 0.8, 1});
  const double cw = l.Width * p.Scale;
  const double ch = l.Height * p.Scale;
  for (int i = 0; i < l.Count(); ++i) {
    const double cx = p.X + (i % l.Columns) * (cw + kGap);
    const double cy = p.Y + kLabel + (i / l.Columns) * (ch + kGap + kNumber) + kNumber;
    if (l.Count() > 1) {
      draw::Text(cr, small, std::to_string(i), cx, cy - 2, Align::Left, {0.6, 0.8, 1, 1});
    }
    Checker(cr, cx, cy, cw, ch);
    cairo_save(cr);
    cairo_rectangle(cr, cx, cy, cw, ch);
    cairo_clip(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, p.Scale, p.Scale);
    cairo_set_source_surface(cr, it.Picture, -(i % l.Columns) * l.Width,
                             -(i / l.Columns) * l.Height);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
  }
}

}  // namespace

void WriteContactSheet(const std::vector<TSheetItem>& items, const std::string& title,
                       const std::filesystem::path& out) {
  double height = 0;
  const auto placed = LayOut(items, height);
  SurfacePtr surface = MakeSurface(static_cast<int>(kSheetWidth), static_cast<int>(height));
  ContextPtr cr = MakeContext(surface.get());
  draw::SetColour(cr.get(), {0.09, 0.09, 0.11, 1});
  cairo_paint(cr.get());
  draw::Text(cr.get(), {std::string(kContactSheetFont) + ":bold", 18}, title, kPad, 26, Align::Left,
             {1, 1, 1, 1});
  for (const TPlaced& p : placed) DrawItem(cr.get(), p);
  WritePng(surface.get(), out);
}

}  // namespace artgen
