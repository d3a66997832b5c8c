#include "Colour.h"

#include <algorithm>
#include <stdexcept>

namespace artgen {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

double HexByte(const std::string& text, std::size_t at) {
  const int hi = HexDigit(text[at]);
  const int lo = HexDigit(text[at + 1]);
  if (hi < 0 || lo < 0) throw std::runtime_error("bad colour \"" + text + "\"");
  return (hi * 16 + lo) / 255.0;
}

}  // namespace

TColour ParseHexColour(const std::string& text) {
  if (text.empty() || text[0] != '#' || (text.size() != 7 && text.size() != 9)) {
    throw std::runtime_error("bad colour \"" + text + "\" (expected #rrggbb or #rrggbbaa)");
  }
  TColour c{HexByte(text, 1), HexByte(text, 3), HexByte(text, 5), 1.0};
  if (text.size() == 9) c.A = HexByte(text, 7);
  return c;
}

TColour Mix(const TColour& a, const TColour& b, double t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t,
          a.A + (b.A - a.A) * t};
}

TColour Lighten(const TColour& c, double t) {
  return WithAlpha(Mix(c, {1, 1, 1, 1}, t), c.A);
}

TColour Darken(const TColour& c, double t) {
  return WithAlpha(Mix(c, {0, 0, 0, 1}, t), c.A);
}

TColour WithAlpha(const TColour& c, double a) {
  return {c.R, c.G, c.B, std::clamp(a, 0.0, 1.0)};
}

TColour Greyed(const TColour& c) {
  const double y = Luminance(c) * 0.55 + 0.12;
  return {y, y, y * 1.05, c.A};
}

TColour Over(const TColour& top, const TColour& base) {
  const double a = top.A + base.A * (1 - top.A);
  if (a <= 0) return {0, 0, 0, 0};
  const auto ch = [&](double t, double b) { return (t * top.A + b * base.A * (1 - top.A)) / a; };
  return {ch(top.R, base.R), ch(top.G, base.G), ch(top.B, base.B), a};
}

double Luminance(const TColour& c) {
  return 0.2126 * c.R + 0.7152 * c.G + 0.0722 * c.B;
}

}  // namespace artgen
