#pragma once

// The real pointer, moved and pressed through the X server's test extension,
// kept apart from the tests because Xlib's macros (None, Bool, Status) clash
// with gtkmm and GoogleTest names.

namespace platform::test {

bool hasXTestExtension();
// Root-window pixels.
void fakePointerMotion(int rootX, int rootY);
void fakeButton(unsigned button, bool pressed);
// Waits until the X server has handled every request sent so far.
void syncWithXServer();

}  // namespace platform::test
