#pragma once

// The program's start: a Gtk::Application ("org.draftwork.Draftwork", one
// instance per session bus: a second launch hands its files to the first)
// that makes the project, the document types, the main window and the
// application delegate, which runs the launch sequence. It quits once none
// of its windows is visible.

#include <glibmm/refptr.h>
#include <sigc++/connection.h>

#include <functional>

namespace Gtk {
class Application;
}

// The application with its start-up, open and shutdown steps connected, not yet run.
Glib::RefPtr<Gtk::Application> makeDraftworkApplication();

// Calls `drawn` once, after the canvas has drawn its first frame and the frame has gone to the display.
sigc::connection whenFirstFrameDrawn(std::function<void()> drawn);

// Makes the application and runs it on the command line. With "--benchmark-first-frame" the program quits after
// its first frame and prints the milliseconds from its start to that frame.
int runDraftwork(int argc, char** argv);
