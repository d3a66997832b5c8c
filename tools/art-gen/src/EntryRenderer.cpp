#include "EntryRenderer.h"

#include <stdexcept>

#include "Painters.h"

namespace artgen {

SurfacePtr RenderEntry(const TArtEntry& entry, const std::filesystem::path& inputs) {
  const Painter painter = FindPainter(entry.Kind);
  if (painter == nullptr) entry.Recipe.Fail("unknown kind \"" + entry.Kind + "\"");
  const TCellLayout& l = entry.Layout;
  SurfacePtr surface = MakeSurface(l.PictureWidth(), l.PictureHeight());
  ContextPtr cr = MakeContext(surface.get());
  const double m = entry.Margin;
  for (int i = 0; i < l.Count(); ++i) {
    cairo_save(cr.get());
    cairo_translate(cr.get(), (i % l.Columns) * l.Width + m, (i / l.Columns) * l.Height + m);
    cairo_rectangle(cr.get(), 0, 0, l.Width - 2 * m, l.Height - 2 * m);
    cairo_clip(cr.get());
    painter(cr.get(), TCell{entry.Recipe, i, l.Count(), l.Width - 2 * m, l.Height - 2 * m, inputs});
    cairo_restore(cr.get());
  }
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
    entry.Recipe.Fail(std::string("drawing failed: ") +
                      cairo_status_to_string(cairo_status(cr.get())));
  }
  const auto unused = entry.Recipe.UnusedOwnKeys();
  if (!unused.empty())
    entry.Recipe.Fail("parameter \"" + unused.front() + "\" is not used by kind \"" + entry.Kind +
                      "\"");
  cairo_surface_flush(surface.get());
  return surface;
}

void WritePng(cairo_surface_t* surface, const std::filesystem::path& path) {
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.string().c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot write " + path.string() + ": " +
                             cairo_status_to_string(status));
  }
}

}  // namespace artgen
