#include "platform/ui/drag_operation.h"

namespace platform {

Gdk::DragAction gdkActionsFromOperations(DragOperation operations) {
  Gdk::DragAction actions = Gdk::DragAction(0);
  if (operations & drag_operation::Copy) actions |= Gdk::ACTION_COPY;
  if (operations & drag_operation::Move) actions |= Gdk::ACTION_MOVE;
  if (operations & drag_operation::Link) actions |= Gdk::ACTION_LINK;
  if (operations & (drag_operation::Generic | drag_operation::Private)) actions |= Gdk::ACTION_PRIVATE;
  return actions;
}

DragOperation operationsFromGdkActions(Gdk::DragAction actions) {
  DragOperation operations = drag_operation::None;
  if (actions & Gdk::ACTION_COPY) operations |= drag_operation::Copy;
  if (actions & Gdk::ACTION_MOVE) operations |= drag_operation::Move;
  if (actions & Gdk::ACTION_LINK) operations |= drag_operation::Link;
  if (actions & Gdk::ACTION_PRIVATE) operations |= drag_operation::Private;
  return operations;
}

Gdk::DragAction preferredGdkAction(DragOperation operations) {
  for (const DragOperation candidate : {drag_operation::Copy, drag_operation::Move, drag_operation::Link})
    if (operations & candidate) return gdkActionsFromOperations(candidate);
  if (operations & (drag_operation::Generic | drag_operation::Private)) return Gdk::ACTION_PRIVATE;
  return Gdk::DragAction(0);
}

}  // namespace platform
