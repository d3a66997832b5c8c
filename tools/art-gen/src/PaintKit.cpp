#include "PaintKit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>

namespace artgen {

WidgetState CellWidgetState(const TCell& cell) {
  if (cell.Recipe.Has("state")) {
    const std::string s = cell.Recipe.Text("state");
    if (s == "normal") return WidgetState::Normal;
    if (s == "hover") return WidgetState::Hover;
    if (s == "disabled") return WidgetState::Disabled;
    cell.Recipe.Fail("state must be normal, hover or disabled");
  }
  if (cell.Index == 0) return WidgetState::Normal;
  return cell.Index == 1 ? WidgetState::Hover : WidgetState::Disabled;
}

TFont RecipeFont(const TRecipe& recipe, const std::string& prefix) {
  return TFont{recipe.Text(prefix + "_font"), recipe.Number(prefix + "_size"),
               recipe.Number(prefix + "_spacing", 0.0)};
}

SurfacePtr PixelSurface(int width, int height,
                        const std::function<TColour(double, double)>& shade) {
  SurfacePtr surface = MakeSurface(width, height);
  cairo_surface_flush(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const auto byte = [](double v) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
  };
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    for (int x = 0; x < width; ++x) {
      const TColour c = shade(x + 0.5, y + 0.5);
      const double a = std::clamp(c.A, 0.0, 1.0);
      row[x] = byte(a) << 24 | byte(c.R * a) << 16 | byte(c.G * a) << 8 | byte(c.B * a);
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

void PaintSurface(cairo_t* cr, cairo_surface_t* surface, double x, double y) {
  cairo_set_source_surface(cr, surface, x, y);
  cairo_paint(cr);
}

double SmoothStep(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

std::vector<double> LeadingNumbers(const TRecipe& recipe, const std::vector<std::string>& words,
                                   std::size_t count, const std::string& what) {
  if (words.size() < count) {
    recipe.Fail(what + " needs at least " + std::to_string(count) + " fields");
  }
  std::vector<double> v;
  try {
    for (std::size_t i = 0; i < count; ++i) v.push_back(ParseNumber(words[i], what));
  } catch (const std::runtime_error& e) {
    recipe.Fail(e.what());
  }
  return v;
}

std::string JoinWords(const std::vector<std::string>& words, std::size_t from) {
  std::string s;
  for (std::size_t i = from; i < words.size(); ++i) s += (s.empty() ? "" : " ") + words[i];
  return s;
}

namespace {

Align ParseAlign(const TRecipe& r, const std::string& a) {
  if (a == "l") return Align::Left;
  if (a == "c") return Align::Centre;
  if (a == "r") return Align::Right;
  r.Fail("text alignment must be l, c or r");
}

void PaintText(cairo_t* cr, const TRecipe& r, const std::string& recipeLine) {
  const auto words = SplitWords(recipeLine);
  if (words.size() < 7) r.Fail("text needs: x y align size colour font words...");
  const auto v = LeadingNumbers(r, words, 2, "text");
  const Align align = ParseAlign(r, words[2]);
  double size = 0;
  try {
    size = ParseNumber(words[3], "text size");
  } catch (const std::runtime_error& e) {
    r.Fail(e.what());
  }
  const TColour colour = r.ResolveColour(words[4]);
  const TFont font{r.Text(words[5] + "_font"), size, r.Number(words[5] + "_spacing", 0.0)};
  const std::string line = JoinWords(words, 6);
  if (r.Has(words[5] + "_glow")) {
    draw::GlowText(cr, font, line, v[0], v[1], align, colour, r.Colour(words[5] + "_glow"), 2.5);
  } else {
    draw::TextMiddle(cr, font, line, v[0], v[1], align, colour);
  }
}

}  // namespace

void PaintTexts(cairo_t* cr, const TRecipe& recipe) {
  for (const auto& recipeLine : recipe.All("text")) PaintText(cr, recipe, recipeLine);
}

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

}  // namespace artgen
