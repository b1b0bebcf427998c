#pragma once

// NSBeep: the desktop's alert sound (the X bell).

namespace platform {

void beep();

}  // namespace platform
