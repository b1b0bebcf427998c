#pragma once

// Help: the program's own pages ("Discover/index.html" among the resources)
// in the desktop's web browser, else in whatever handles HTML files; when
// nothing can show them, the alert says so in plain words and names the
// file. The opener is replaceable, for tests.

#include <functional>
#include <string>

#include "platform/core/error.h"

namespace Gtk {
class Window;
}

class CMHelpWindowController {
 public:
  // Opens a URI for the user; the error says why it could not.
  using Opener = std::function<platform::Status(const std::string& uri)>;

  static CMHelpWindowController& sharedHelp();
  void showWindow();
  void setOpener(Opener opener) { opener_ = std::move(opener); }
  // The file URI of the help's index page; empty when the resources lack it.
  static std::string indexURI();
  // Opens an address in the default web browser, else in GIO's handler for it.
  static platform::Status openURI(const std::string& uri);

 private:
  Opener opener_ = openURI;
};
