#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "Colour.h"

namespace artgen {

/// Frees a Cairo surface.
struct TSurfaceDeleter {
  /// Releases the surface reference.
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
/// Frees a Cairo drawing context.
struct TContextDeleter {
  /// Releases the context reference.
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
/// An owned Cairo image surface.
using SurfacePtr = std::unique_ptr<cairo_surface_t, TSurfaceDeleter>;
/// An owned Cairo drawing context.
using ContextPtr = std::unique_ptr<cairo_t, TContextDeleter>;

/// A transparent ARGB surface of the given size.
SurfacePtr MakeSurface(int width, int height);
/// A context on the surface with fixed, machine-independent text rendering options.
ContextPtr MakeContext(cairo_surface_t* surface);

/// A font for Cairo's text API: a fontconfig family, optionally ending in ":bold", its size
/// and extra space between letters.
struct TFont {
  std::string Family;
  double Size = 12.0;
  double Spacing = 0.0;
};

/// Horizontal anchoring of text.
enum class Align { Left, Centre, Right };

namespace draw {

/// Makes c the current source.
void SetColour(cairo_t* cr, const TColour& c);
/// Adds a rectangle with rounded corners of radius r to the path.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
/// Adds a rectangle whose corners are cut at 45 degrees by c to the path.
void ChamferRect(cairo_t* cr, double x, double y, double w, double h, double c);
/// Sets a vertical linear gradient from top (at y0) to bottom (at y1) as the source.
void VerticalGradient(cairo_t* cr, double y0, double y1, const TColour& top, const TColour& bottom);
/// Strokes the current path as a neon line: a soft halo of the given spread, then the core.
/// The path is consumed.
void GlowStroke(cairo_t* cr, const TColour& colour, double coreWidth, double spread);
/// Fills the current path (and consumes it) with an opaque radial gradient: the inner colour
/// on the circle (fx, fy, r0), the outer colour on the circle (cx, cy, r1).
void FillRadial(cairo_t* cr, double fx, double fy, double r0, double cx, double cy, double r1,
                const TColour& inner, const TColour& outer);
/// Paints a radial glow of radius r, colour at the centre fading to transparent.
void RadialGlow(cairo_t* cr, double cx, double cy, double r, const TColour& colour);
/// Selects the font on the context.
void SelectFont(cairo_t* cr, const TFont& font);
/// Advance width of text in font.
double TextWidth(cairo_t* cr, const TFont& font, const std::string& text);
/// Height of a capital letter of font (for vertical centring).
double CapHeight(cairo_t* cr, const TFont& font);
/// Font with its size reduced until text fits into maxWidth.
TFont FitFont(cairo_t* cr, TFont font, const std::string& text, double maxWidth);
/// Adds the outline of text to the path with its baseline at y.
void TextPath(cairo_t* cr, const TFont& font, const std::string& text, double x, double y,
              Align align);
/// Fills text with its baseline at y.
void Text(cairo_t* cr, const TFont& font, const std::string& text, double x, double y, Align align,
          const TColour& colour);
/// Fills text with its capitals centred vertically on cy.
void TextMiddle(cairo_t* cr, const TFont& font, const std::string& text, double x, double cy,
                Align align, const TColour& colour);
/// Text with a neon halo: glow colour spread around, then the fill on top.
void GlowText(cairo_t* cr, const TFont& font, const std::string& text, double x, double cy,
              Align align, const TColour& fill, const TColour& glow, double spread);

}  // namespace draw
}  // namespace artgen
