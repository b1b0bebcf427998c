#pragma once

// NSDragOperation: a bit mask with AppKit's values, and its GDK counterpart.

#include <gdkmm/dragcontext.h>

#include <cstdint>

namespace platform {

using DragOperation = std::uint32_t;

namespace drag_operation {
inline constexpr DragOperation None = 0;
inline constexpr DragOperation Copy = 1;
inline constexpr DragOperation Link = 2;
inline constexpr DragOperation Generic = 4;
inline constexpr DragOperation Private = 8;
inline constexpr DragOperation Move = 16;
inline constexpr DragOperation Delete = 32;
}  // namespace drag_operation

// Generic and Private have no GDK action of their own: they travel as Private (GDK's "ask nothing special").
Gdk::DragAction gdkActionsFromOperations(DragOperation operations);
DragOperation operationsFromGdkActions(Gdk::DragAction actions);
// The one action a destination answers with: of the operations it accepts, copy first, then move, link, private.
Gdk::DragAction preferredGdkAction(DragOperation operations);

}  // namespace platform
