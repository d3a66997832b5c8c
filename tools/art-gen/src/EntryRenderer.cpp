#include "EntryRenderer.h"

#include <stdexcept>

#include "Painters.h"

namespace artgen {

SurfacePtr renderEntry(const ArtEntry& entry, const std::filesystem::path& inputs) {
  const Painter painter = findPainter(entry.kind);
  if (painter == nullptr) entry.recipe.fail("unknown kind \"" + entry.kind + "\"");
  const CellLayout& l = entry.layout;
  SurfacePtr surface = makeSurface(l.pictureWidth(), l.pictureHeight());
  ContextPtr cr = makeContext(surface.get());
  const double m = entry.margin;
  for (int i = 0; i < l.count(); ++i) {
    cairo_save(cr.get());
    cairo_translate(cr.get(), (i % l.columns) * l.width + m, (i / l.columns) * l.height + m);
    cairo_rectangle(cr.get(), 0, 0, l.width - 2 * m, l.height - 2 * m);
    cairo_clip(cr.get());
    painter(cr.get(), Cell{entry.recipe, i, l.count(), l.width - 2 * m, l.height - 2 * m, inputs});
    cairo_restore(cr.get());
  }
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) {
    entry.recipe.fail(std::string("drawing failed: ") +
                      cairo_status_to_string(cairo_status(cr.get())));
  }
  const auto unused = entry.recipe.unusedOwnKeys();
  if (!unused.empty())
    entry.recipe.fail("parameter \"" + unused.front() + "\" is not used by kind \"" + entry.kind +
                      "\"");
  cairo_surface_flush(surface.get());
  return surface;
}

void writePng(cairo_surface_t* surface, const std::filesystem::path& path) {
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.string().c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot write " + path.string() + ": " +
                             cairo_status_to_string(status));
  }
}

}  // namespace artgen
