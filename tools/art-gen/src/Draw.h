#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "Colour.h"

namespace artgen {

/// Frees a Cairo surface.
struct SurfaceDeleter {
  /// Releases the surface reference.
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
/// Frees a Cairo drawing context.
struct ContextDeleter {
  /// Releases the context reference.
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
/// An owned Cairo image surface.
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
/// An owned Cairo drawing context.
using ContextPtr = std::unique_ptr<cairo_t, ContextDeleter>;

/// A transparent ARGB surface of the given size.
SurfacePtr makeSurface(int width, int height);
/// A context on the surface with fixed, machine-independent text rendering options.
ContextPtr makeContext(cairo_surface_t* surface);

/// A font for Cairo's text API: a fontconfig family, optionally ending in ":bold", its size
/// and extra space between letters.
struct Font {
  std::string family;
  double size = 12.0;
  double spacing = 0.0;
};

/// Horizontal anchoring of text.
enum class Align { Left, Centre, Right };

namespace draw {

/// Makes c the current source.
void setColour(cairo_t* cr, const Colour& c);
/// Adds a rectangle with rounded corners of radius r to the path.
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
/// Adds a rectangle whose corners are cut at 45 degrees by c to the path.
void chamferRect(cairo_t* cr, double x, double y, double w, double h, double c);
/// Sets a vertical linear gradient from top (at y0) to bottom (at y1) as the source.
void verticalGradient(cairo_t* cr, double y0, double y1, const Colour& top, const Colour& bottom);
/// Strokes the current path as a neon line: a soft halo of the given spread, then the core.
/// The path is consumed.
void glowStroke(cairo_t* cr, const Colour& colour, double coreWidth, double spread);
/// Fills the current path (and consumes it) with an opaque radial gradient: the inner colour
/// on the circle (fx, fy, r0), the outer colour on the circle (cx, cy, r1).
void fillRadial(cairo_t* cr, double fx, double fy, double r0, double cx, double cy, double r1,
                const Colour& inner, const Colour& outer);
/// Paints a radial glow of radius r, colour at the centre fading to transparent.
void radialGlow(cairo_t* cr, double cx, double cy, double r, const Colour& colour);
/// Selects the font on the context.
void selectFont(cairo_t* cr, const Font& font);
/// Advance width of text in font.
double textWidth(cairo_t* cr, const Font& font, const std::string& text);
/// Height of a capital letter of font (for vertical centring).
double capHeight(cairo_t* cr, const Font& font);
/// Font with its size reduced until text fits into maxWidth.
Font fitFont(cairo_t* cr, Font font, const std::string& text, double maxWidth);
/// Adds the outline of text to the path with its baseline at y.
void textPath(cairo_t* cr, const Font& font, const std::string& text, double x, double y,
              Align align);
/// Fills text with its baseline at y.
void text(cairo_t* cr, const Font& font, const std::string& text, double x, double y, Align align,
          const Colour& colour);
/// Fills text with its capitals centred vertically on cy.
void textMiddle(cairo_t* cr, const Font& font, const std::string& text, double x, double cy,
                Align align, const Colour& colour);
/// Text with a neon halo: glow colour spread around, then the fill on top.
void glowText(cairo_t* cr, const Font& font, const std::string& text, double x, double cy,
              Align align, const Colour& fill, const Colour& glow, double spread);

}  // namespace draw
}  // namespace artgen
