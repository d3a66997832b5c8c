#include "PaintKit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>

namespace artgen {

WidgetState widgetState(const Cell& cell) {
  if (cell.recipe.has("state")) {
    const std::string s = cell.recipe.text("state");
    if (s == "normal") return WidgetState::Normal;
    if (s == "hover") return WidgetState::Hover;
    if (s == "disabled") return WidgetState::Disabled;
    cell.recipe.fail("state must be normal, hover or disabled");
  }
  if (cell.index == 0) return WidgetState::Normal;
  return cell.index == 1 ? WidgetState::Hover : WidgetState::Disabled;
}

Font recipeFont(const Recipe& recipe, const std::string& prefix) {
  return Font{recipe.text(prefix + "_font"), recipe.number(prefix + "_size"),
              recipe.number(prefix + "_spacing", 0.0)};
}

SurfacePtr pixelSurface(int width, int height, const std::function<Colour(double, double)>& shade) {
  SurfacePtr surface = makeSurface(width, height);
  cairo_surface_flush(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const auto byte = [](double v) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    for (int x = 0; x < width; ++x) {
      const Colour c = shade(x + 0.5, y + 0.5);
      const double a = std::clamp(c.a, 0.0, 1.0);
      row[x] = byte(a) << 24 | byte(c.r * a) << 16 | byte(c.g * a) << 8 | byte(c.b * a);
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

void paintSurface(cairo_t* cr, cairo_surface_t* surface, double x, double y) {
  cairo_set_source_surface(cr, surface, x, y);
  cairo_paint(cr);
}

double smoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

std::vector<double> leadingNumbers(const Recipe& recipe, const std::vector<std::string>& words,
                                   std::size_t count, const std::string& what) {
  if (words.size() < count) {
    recipe.fail(what + " needs at least " + std::to_string(count) + " fields");
  }
  std::vector<double> v;
  try {
    for (std::size_t i = 0; i < count; ++i) v.push_back(parseNumber(words[i], what));
  } catch (const std::runtime_error& e) {
    recipe.fail(e.what());
  }
  return v;
}

std::string joinWords(const std::vector<std::string>& words, std::size_t from) {
  std::string s;
  for (std::size_t i = from; i < words.size(); ++i) s += (s.empty() ? "" : " ") + words[i];
  return s;
}

namespace {

Align parseAlign(const Recipe& r, const std::string& a) {
  if (a == "l") return Align::Left;
  if (a == "c") return Align::Centre;
  if (a == "r") return Align::Right;
  r.fail("text alignment must be l, c or r");
}

void paintText(cairo_t* cr, const Recipe& r, const std::string& recipeLine) {
  const auto words = splitWords(recipeLine);
  if (words.size() < 7) r.fail("text needs: x y align size colour font words...");
  const auto v = leadingNumbers(r, words, 2, "text");
  const Align align = parseAlign(r, words[2]);
  double size = 0;
  try {
    size = parseNumber(words[3], "text size");
  } catch (const std::runtime_error& e) {
    r.fail(e.what());
  }
  const Colour colour = r.resolveColour(words[4]);
  const Font font{r.text(words[5] + "_font"), size, r.number(words[5] + "_spacing", 0.0)};
  const std::string line = joinWords(words, 6);
  if (r.has(words[5] + "_glow")) {
    draw::glowText(cr, font, line, v[0], v[1], align, colour, r.colour(words[5] + "_glow"), 2.5);
  } else {
    draw::textMiddle(cr, font, line, v[0], v[1], align, colour);
  }
}

}  // namespace

void paintTexts(cairo_t* cr, const Recipe& recipe) {
  for (const auto& recipeLine : recipe.all("text")) paintText(cr, recipe, recipeLine);
}

double radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

}  // namespace artgen
