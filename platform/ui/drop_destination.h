#pragma once

// A view as a drag destination (registerForDraggedTypes: with the
// NSDraggingDestination methods as callbacks). GTK's drag-motion, drag-leave,
// drag-drop and drag-data-received handlers call the public entry points below,
// which tests call directly too.
//
// A drag that offers none of the registered types is refused without asking.
// The operation a handler returns is limited to what the source allows.

#include <gtkmm/selectiondata.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/ui/drag_operation.h"
#include "platform/ui/pasteboard.h"

namespace platform {

class View;

struct DraggingInfo {
  // While the drag moves only the types are declared; at the drop the data of the type taken is there too.
  const Pasteboard& pasteboard;
  DragOperation sourceOperationMask;
  Point locationInView;
};

class DropDestination {
 public:
  struct Handlers {
    std::function<DragOperation(const DraggingInfo&)> draggingEntered;
    // Later moves; without it the answer of draggingEntered stands.
    std::function<DragOperation(const DraggingInfo&)> draggingUpdated;
    // Also told just before a drop, as GTK leaves the widget first: undo any highlighting here.
    std::function<void()> draggingExited;
    std::function<bool(const DraggingInfo&)> prepareForDragOperation;
    std::function<bool(const DraggingInfo&)> performDragOperation;
  };

  // Registers `view`'s widget for `types`, in order of preference. The view must outlive this object.
  DropDestination(View& view, std::vector<std::string> types, Handlers handlers);
  ~DropDestination();
  DropDestination(const DropDestination&) = delete;
  DropDestination& operator=(const DropDestination&) = delete;

  const std::vector<std::string>& registeredTypes() const { return types_; }

  // Entry points; points are in the view's widget pixels (y down from its top-left).
  DragOperation dragMotion(const std::vector<std::string>& offeredTypes, DragOperation sourceMask, Point gtkPoint);
  void dragLeave();
  // The drop, with the data of one type on `pasteboard`: prepare, then perform; true when both agreed.
  bool dragDrop(const Pasteboard& pasteboard, DragOperation sourceMask, Point gtkPoint);

 private:
  bool onGtkMotion(const Glib::RefPtr<Gdk::DragContext>& context, int x, int y, guint time);
  bool onGtkDrop(const Glib::RefPtr<Gdk::DragContext>& context, int x, int y, guint time);
  void onGtkDataReceived(const Glib::RefPtr<Gdk::DragContext>& context, int x, int y,
                         const Gtk::SelectionData& selection, guint info, guint time);
  std::vector<std::string> offeredTypes(const Glib::RefPtr<Gdk::DragContext>& context) const;

  View& view_;
  std::vector<std::string> types_;
  Handlers handlers_;
  std::vector<sigc::connection> connections_;
  DragOperation entered_ = drag_operation::None;
  bool inside_ = false;
};

}  // namespace platform
