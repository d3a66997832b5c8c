#pragma once

#include <string>

namespace artgen {

/// An RGBA colour with components in 0..1, the form Cairo takes.
struct TColour {
  double R = 0.0;
  double G = 0.0;
  double B = 0.0;
  double A = 1.0;
};

/// Parses "#rrggbb" or "#rrggbbaa"; throws std::runtime_error on anything else.
TColour ParseHexColour(const std::string& text);
/// Linear blend from a (t = 0) to b (t = 1), alpha included.
TColour Mix(const TColour& a, const TColour& b, double t);
/// The colour moved towards white by t (0..1), alpha kept.
TColour Lighten(const TColour& c, double t);
/// The colour moved towards black by t (0..1), alpha kept.
TColour Darken(const TColour& c, double t);
/// The colour with its alpha replaced by a.
TColour WithAlpha(const TColour& c, double a);
/// The desaturated, dimmed form used for disabled widgets.
TColour Greyed(const TColour& c);
/// top painted over base with top's alpha (Porter-Duff "over", straight alpha).
TColour Over(const TColour& top, const TColour& base);
/// Relative luminance 0..1 with Rec. 709 weights.
double Luminance(const TColour& c);

}  // namespace artgen
