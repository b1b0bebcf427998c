#pragma once

// The program's start: a Gtk::Application ("org.draftwork.Draftwork") that
// makes the project object (registering the "settings" defaults), the document
// types and the main window, then opens the files named on the command line,
// or with none one new document, and shows the main window. It quits once the
// last document has closed.

#include <glibmm/refptr.h>

namespace Gtk {
class Application;
}

// The application with its start-up, open and shutdown steps connected, not yet run.
Glib::RefPtr<Gtk::Application> makeDraftworkApplication();

// Makes the application and runs it on the command line.
int runDraftwork(int argc, char** argv);
