// A view's drawing as PDF or EPS data, through Cairo's vector surfaces writing into memory.

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo.h>

#include <cmath>
#include <memory>

#include "platform/graphics/graphics_context.h"
#include "platform/ui/view.h"

namespace platform {

namespace {

enum class PageFormat { Pdf, Eps };

cairo_status_t appendToBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<Bytes*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

bool usablePage(const Rect& rect) {
  return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) &&
         std::isfinite(rect.size.height) && rect.size.width > 0 && rect.size.height > 0;
}

Expected<Bytes> drawIntoPage(View& view, const Rect& rect, PageFormat format) {
  if (!usablePage(rect)) return Error::make(Error::cocoaDomain, 0, "The page has no usable size.");
  Bytes bytes;
  const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      format == PageFormat::Pdf
          ? cairo_pdf_surface_create_for_stream(appendToBytes, &bytes, rect.size.width, rect.size.height)
          : cairo_ps_surface_create_for_stream(appendToBytes, &bytes, rect.size.width, rect.size.height),
      cairo_surface_destroy);
  if (format == PageFormat::Eps) cairo_ps_surface_set_eps(surface.get(), true);
  {
    GraphicsContext context(surface.get(), rect.size.height, view.isFlipped());
    context.translateCTM(-rect.origin.x, -rect.origin.y);
    CurrentContextScope current(context);
    view.drawRect(rect);
  }
  cairo_surface_finish(surface.get());
  if (const cairo_status_t status = cairo_surface_status(surface.get()); status != CAIRO_STATUS_SUCCESS) {
    return Error::make(Error::cocoaDomain, 0,
                       std::string("The page could not be written: ") + cairo_status_to_string(status));
  }
  return bytes;
}

}  // namespace

Expected<Bytes> View::dataWithPDFInsideRect(const Rect& rect) { return drawIntoPage(*this, rect, PageFormat::Pdf); }

Expected<Bytes> View::dataWithEPSInsideRect(const Rect& rect) { return drawIntoPage(*this, rect, PageFormat::Eps); }

}  // namespace platform
