#include "app/CMHelpWindowController.h"

#include <giomm/file.h>
#include <gtk/gtk.h>

#include "app/CMDocumentOpening.h"
#include "platform/core/log.h"
#include "platform/core/resources.h"

CMHelpWindowController& CMHelpWindowController::sharedHelp() {
  static CMHelpWindowController controller;
  return controller;
}

std::string CMHelpWindowController::indexURI() {
  const std::filesystem::path index = platform::pathForResource("index", "html", "Discover");
  return index.empty() ? std::string() : Gio::File::create_for_path(index.string())->get_uri();
}

platform::Status CMHelpWindowController::openURI(const std::string& uri) {
  GError* error = nullptr;
  // The web browser first: the desktop's handler of HTML files may be a text editor, which shows no pages.
  if (GAppInfo* browser = g_app_info_get_default_for_uri_scheme("http")) {
    GList uris{const_cast<char*>(uri.c_str()), nullptr, nullptr};
    const bool launched = g_app_info_launch_uris(browser, &uris, nullptr, nullptr);
    g_object_unref(browser);
    if (launched) return platform::success();
  }
  if (gtk_show_uri_on_window(nullptr, uri.c_str(), GDK_CURRENT_TIME, &error)) return platform::success();
  platform::Error failure = platform::Error::make("GIO", error ? error->code : 0,
                                                  error ? error->message : "The page could not be shown.");
  if (error) g_error_free(error);
  return failure;
}

void CMHelpWindowController::showWindow() {
  const std::string uri = indexURI();
  if (uri.empty()) return presentErrorText("The help pages are missing.");
  // GIO's own reason ("Unable to find terminal required for application") tells a user nothing: it goes to the log.
  if (const platform::Status shown = opener_(uri); !shown) {
    platform::logWarning("the help pages were not shown: " + shown.error().description);
    presentErrorText("No web browser could show the help pages. They are in the file " +
                     Gio::File::create_for_uri(uri)->get_path() + ".");
  }
}
