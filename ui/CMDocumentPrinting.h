#pragma once

// Printing a drawing: the page as the document renders it for print (its page
// image, at 300 ppi where the page is not too large for it), at its own size on
// paper times the scale the print dialog's Page Setup shows, from the printable
// area's corner, one sheet per document.

#include <gtkmm/printoperation.h>

#include <string>

#include "platform/core/error.h"

class CMDocument;

namespace Gtk {
class Window;
}

// With an export file name the page goes to that PDF file instead of a printer. Fails when the document cannot
// render its page or GTK reports an error.
platform::Status printDocument(CMDocument& document, Gtk::Window& parent, Gtk::PrintOperationAction action,
                               const std::string& exportFileName = {});
