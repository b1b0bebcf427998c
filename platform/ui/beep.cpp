#include "platform/ui/beep.h"

#include <gdk/gdk.h>

namespace platform {

void beep() {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_beep(display);
}

}  // namespace platform
