#pragma once

// A view as a drag source (NSDraggingSource): the view starts a drag from its
// mouseDragged:, with a pasteboard it fills and an image that follows the
// pointer. GTK's drag-data-get, drag-end and drag-failed handlers call the
// public entry points below, which tests call directly too.
//
// Where a drag ends is told in screen pixels (GDK root coordinates, y down),
// as the pointer stands when the drag ends, whatever the destination did.

#include <gdkmm/pixbuf.h>
#include <gtkmm/selectiondata.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/ui/drag_operation.h"
#include "platform/ui/pasteboard.h"

namespace platform {

class View;

class DragSource {
 public:
  struct Handlers {
    // The operation the drag ended with (none when refused or cancelled).
    std::function<void(Point screenPoint, DragOperation operation)> draggingEnded;
    // A drag no destination took: true keeps the image from sliding back (the drop was handled another way).
    std::function<bool(Point screenPoint)> draggingFailed;
  };

  // The view must outlive this object.
  DragSource(View& view, DragOperation operationMask, Handlers handlers);
  ~DragSource();
  DragSource(const DragSource&) = delete;
  DragSource& operator=(const DragSource&) = delete;

  // Starts a drag of `pasteboard` (at least one type) from the current pointer event; `image` (may be null)
  // follows the pointer. False when nothing is declared or GTK refused to start.
  bool beginDrag(Pasteboard pasteboard, Glib::RefPtr<Gdk::Pixbuf> image = {});
  bool isDragging() const { return dragging_; }
  // Ends a running drag as refused (Escape): the failure and the end are told as for any failed drag.
  void cancelDrag();
  const Pasteboard& pasteboard() const { return pasteboard_; }
  DragOperation operationMask() const { return mask_; }

  // Entry points.
  // The bytes asked for under a GTK target; none for a type not on the pasteboard.
  std::optional<Pasteboard::Bytes> dataForGtkTarget(const std::string& target) const;
  void dragEnded(Point screenPoint, DragOperation operation);
  bool dragFailed(Point screenPoint);

 private:
  void onGtkDataGet(const Glib::RefPtr<Gdk::DragContext>& context, Gtk::SelectionData& selection, guint info,
                    guint time);
  static Point pointerOnScreen();

  View& view_;
  DragOperation mask_;
  Handlers handlers_;
  Pasteboard pasteboard_;
  std::vector<sigc::connection> connections_;
  Glib::RefPtr<Gdk::DragContext> context_;
  bool dragging_ = false;
  bool failed_ = false;
};

}  // namespace platform
