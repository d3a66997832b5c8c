#include "Colour.h"

#include <algorithm>
#include <stdexcept>

namespace artgen {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

double hexByte(const std::string& text, std::size_t at) {
  const int hi = hexDigit(text[at]);
  const int lo = hexDigit(text[at + 1]);
  if (hi < 0 || lo < 0) throw std::runtime_error("bad colour \"" + text + "\"");
  return (hi * 16 + lo) / 255.0;
}

}  // namespace

Colour parseHexColour(const std::string& text) {
  if (text.empty() || text[0] != '#' || (text.size() != 7 && text.size() != 9)) {
    throw std::runtime_error("bad colour \"" + text + "\" (expected #rrggbb or #rrggbbaa)");
  }
  Colour c{hexByte(text, 1), hexByte(text, 3), hexByte(text, 5), 1.0};
  if (text.size() == 9) c.a = hexByte(text, 7);
  return c;
}

Colour mix(const Colour& a, const Colour& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Colour lighten(const Colour& c, double t) {
  return withAlpha(mix(c, {1, 1, 1, 1}, t), c.a);
}

Colour darken(const Colour& c, double t) {
  return withAlpha(mix(c, {0, 0, 0, 1}, t), c.a);
}

Colour withAlpha(const Colour& c, double a) {
  return {c.r, c.g, c.b, std::clamp(a, 0.0, 1.0)};
}

Colour greyed(const Colour& c) {
  const double y = luminance(c) * 0.55 + 0.12;
  return {y, y, y * 1.05, c.a};
}

Colour over(const Colour& top, const Colour& base) {
  const double a = top.a + base.a * (1 - top.a);
  if (a <= 0) return {0, 0, 0, 0};
  const auto ch = [&](double t, double b) { return (t * top.a + b * base.a * (1 - top.a)) / a; };
  return {ch(top.r, base.r), ch(top.g, base.g), ch(top.b, base.b), a};
}

double luminance(const Colour& c) {
  return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

}  // namespace artgen
