#pragma once

// X errors: by default GDK ends the program at the first error that no code expected (a request about a window
// another program has destroyed), losing every unsaved drawing. The program logs X errors and carries on; GDK still
// hands the errors its own code waits for to that code.

namespace platform {

// Makes every X error on GDK's X display non-fatal and logs it; does nothing on other displays. Once, after GDK is
// initialised.
void logUnexpectedXErrors();
// How many errors the handler has logged in this run.
int loggedXErrorCount();

}  // namespace platform
