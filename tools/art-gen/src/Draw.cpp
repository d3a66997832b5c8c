#include "Draw.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace artgen {

SurfacePtr MakeSurface(int width, int height) {
  return SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
}

ContextPtr MakeContext(cairo_surface_t* surface) {
  ContextPtr cr(cairo_create(surface));
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  cairo_set_font_options(cr.get(), options);
  cairo_font_options_destroy(options);
  cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_GOOD);
  return cr;
}

namespace draw {

void SetColour(cairo_t* cr, const TColour& c) {
  cairo_set_source_rgba(cr, c.R, c.G, c.B, c.A);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  const double pi = std::numbers::pi;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

void ChamferRect(cairo_t* cr, double x, double y, double w, double h, double c) {
  c = std::min({c, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_move_to(cr, x + c, y);
  cairo_line_to(cr, x + w - c, y);
  cairo_line_to(cr, x + w, y + c);
  cairo_line_to(cr, x + w, y + h - c);
  cairo_line_to(cr, x + w - c, y + h);
  cairo_line_to(cr, x + c, y + h);
  cairo_line_to(cr, x, y + h - c);
  cairo_line_to(cr, x, y + c);
  cairo_close_path(cr);
}

void VerticalGradient(cairo_t* cr, double y0, double y1, const TColour& top,
                      const TColour& bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.R, top.G, top.B, top.A);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.R, bottom.G, bottom.B, bottom.A);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void FillRadial(cairo_t* cr, double fx, double fy, double r0, double cx, double cy, double r1,
                const TColour& inner, const TColour& outer) {
  cairo_pattern_t* p = cairo_pattern_create_radial(fx, fy, r0, cx, cy, r1);
  cairo_pattern_add_color_stop_rgb(p, 0, inner.R, inner.G, inner.B);
  cairo_pattern_add_color_stop_rgb(p, 1, outer.R, outer.G, outer.B);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void GlowStroke(cairo_t* cr, const TColour& colour, double coreWidth, double spread) {
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  constexpr int kLayers = 6;
  for (int i = kLayers; i >= 1; --i) {
    const double t = static_cast<double>(i) / kLayers;
    cairo_append_path(cr, path);
    SetColour(cr, WithAlpha(colour, colour.A * 0.16 * (1.2 - t)));
    cairo_set_line_width(cr, coreWidth + spread * t * 2);
    cairo_stroke(cr);
  }
  cairo_append_path(cr, path);
  SetColour(cr, colour);
  cairo_set_line_width(cr, coreWidth);
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_path_destroy(path);
}

void RadialGlow(cairo_t* cr, double cx, double cy, double r, const TColour& colour) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  cairo_pattern_add_color_stop_rgba(p, 0, colour.R, colour.G, colour.B, colour.A);
  cairo_pattern_add_color_stop_rgba(p, 0.35, colour.R, colour.G, colour.B, colour.A * 0.45);
  cairo_pattern_add_color_stop_rgba(p, 1, colour.R, colour.G, colour.B, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, cx, cy, r, 0, 2 * std::numbers::pi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void SelectFont(cairo_t* cr, const TFont& font) {
  std::string family = font.Family;
  cairo_font_weight_t weight = CAIRO_FONT_WEIGHT_NORMAL;
  const auto colon = family.find(":bold");
  if (colon != std::string::npos) {
    family = family.substr(0, colon);
    weight = CAIRO_FONT_WEIGHT_BOLD;
  }
  cairo_select_font_face(cr, family.c_str(), CAIRO_FONT_SLANT_NORMAL, weight);
  cairo_set_font_size(cr, font.Size);
}

namespace {

// The text cut into UTF-8 characters.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = 1;
    while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) {
      ++len;
    }
    out.push_back(text.substr(i, len));
    i += len;
  }
  return out;
}

double Advance(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  return e.x_advance;
}

}  // namespace

double TextWidth(cairo_t* cr, const TFont& font, const std::string& text) {
  SelectFont(cr, font);
  if (font.Spacing == 0.0) return Advance(cr, text);
  const auto chars = Characters(text);
  double w = 0;
  for (const auto& c : chars) w += Advance(cr, c) + font.Spacing;
  return chars.empty() ? 0 : w - font.Spacing;
}

double CapHeight(cairo_t* cr, const TFont& font) {
  SelectFont(cr, font);
  cairo_text_extents_t e;
  cairo_text_extents(cr, "H", &e);
  return -e.y_bearing;
}

TFont FitFont(cairo_t* cr, TFont font, const std::string& text, double maxWidth) {
  while (font.Size > 6 && TextWidth(cr, font, text) > maxWidth) font.Size -= 0.5;
  return font;
}

void TextPath(cairo_t* cr, const TFont& font, const std::string& text, double x, double y,
              Align align) {
  const double w = TextWidth(cr, font, text);
  if (align == Align::Centre) x -= w / 2;
  if (align == Align::Right) x -= w;
  if (font.Spacing == 0.0) {
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
    return;
  }
  for (const auto& c : Characters(text)) {
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, c.c_str());
    x += Advance(cr, c) + font.Spacing;
  }
}

void Text(cairo_t* cr, const TFont& font, const std::string& text, double x, double y, Align align,
          const TColour& colour) {
  TextPath(cr, font, text, x, y, align);
  SetColour(cr, colour);
  cairo_fill(cr);
}

void TextMiddle(cairo_t* cr, const TFont& font, const std::string& text, double x, double cy,
                Align align, const TColour& colour) {
  draw::Text(cr, font, text, x, cy + CapHeight(cr, font) / 2, align, colour);
}

void GlowText(cairo_t* cr, const TFont& font, const std::string& text, double x, double cy,
              Align align, const TColour& fill, const TColour& glow, double spread) {
  const double baseline = cy + CapHeight(cr, font) / 2;
  TextPath(cr, font, text, x, baseline, align);
  GlowStroke(cr, WithAlpha(glow, glow.A * 0.5), 0.8, spread);
  draw::Text(cr, font, text, x, baseline, align, fill);
}

}  // namespace draw
}  // namespace artgen
