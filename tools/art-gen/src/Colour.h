#pragma once

#include <string>

namespace artgen {

/// An RGBA colour with components in 0..1, the form Cairo takes.
struct Colour {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
  double a = 1.0;
};

/// Parses "#rrggbb" or "#rrggbbaa"; throws std::runtime_error on anything else.
Colour parseHexColour(const std::string& text);
/// Linear blend from a (t = 0) to b (t = 1), alpha included.
Colour mix(const Colour& a, const Colour& b, double t);
/// The colour moved towards white by t (0..1), alpha kept.
Colour lighten(const Colour& c, double t);
/// The colour moved towards black by t (0..1), alpha kept.
Colour darken(const Colour& c, double t);
/// The colour with its alpha replaced by a.
Colour withAlpha(const Colour& c, double a);
/// The desaturated, dimmed form used for disabled widgets.
Colour greyed(const Colour& c);
/// top painted over base with top's alpha (Porter-Duff "over", straight alpha).
Colour over(const Colour& top, const Colour& base);
/// Relative luminance 0..1 with Rec. 709 weights.
double luminance(const Colour& c);

}  // namespace artgen
