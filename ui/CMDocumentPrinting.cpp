#include "ui/CMDocumentPrinting.h"

#include <cairo.h>
#include <gtkmm/window.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "document/CMDocument.h"

namespace {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct PngReader {
  const platform::Bytes* bytes;
  std::size_t offset = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (reader->bytes->size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes->data() + reader->offset, length);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

// The page image's resolution, fine enough for lines to come out sharp on paper.
constexpr double kPrintPixelsPerInch = 300;

platform::Error printError(const std::string& reason) {
  return platform::Error::make(platform::Error::cocoaDomain, 0, "The document could not be printed. " + reason);
}

}  // namespace

platform::Status printDocument(CMDocument& document, Gtk::Window& parent, Gtk::PrintOperationAction action,
                               const std::string& exportFileName) {
  platform::Expected<platform::Bytes> png = document.printImage(kPrintPixelsPerInch / 72);
  if (!png) return printError(png.error().description);
  PngReader reader{&png.value()};
  Surface page(cairo_image_surface_create_from_png_stream(readPng, &reader));
  if (cairo_surface_status(page.get()) != CAIRO_STATUS_SUCCESS) return printError("Its page image is unreadable.");
  const int width = cairo_image_surface_get_width(page.get());
  const int height = cairo_image_surface_get_height(page.get());
  if (width <= 0 || height <= 0) return printError("Its page is empty.");

  Glib::RefPtr<Gtk::PrintOperation> operation = Gtk::PrintOperation::create();
  operation->set_n_pages(1);
  operation->set_job_name(document.displayName());
  if (!exportFileName.empty()) operation->set_export_filename(exportFileName);
  // The points of the page a pixel of its image covers: 72 / 300, unless the page is too large for so fine an image.
  const double pageWidth = document.data() ? document.data()->get("width").doubleValue() : 0;
  const double pointsPerPixel =
      pageWidth > 0 && std::isfinite(pageWidth) ? pageWidth / width : 72 / kPrintPixelsPerInch;
  operation->signal_draw_page().connect([&page, pointsPerPixel](const Glib::RefPtr<Gtk::PrintContext>& context, int) {
    cairo_t* cr = context->get_cairo_context()->cobj();
    // The page at its own size, an inch of it an inch of paper: the scale the print dialog shows (100 % unless the
    // user chose another in Page Setup) is the one GTK has already set on the context.
    cairo_save(cr);
    cairo_scale(cr, pointsPerPixel * context->get_dpi_x() / 72, pointsPerPixel * context->get_dpi_y() / 72);
    cairo_set_source_surface(cr, page.get(), 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
  });
  try {
    if (operation->run(action, parent) == Gtk::PRINT_OPERATION_RESULT_ERROR) return printError("");
  } catch (const Glib::Error& error) {
    return printError(error.what());
  }
  return platform::success();
}
