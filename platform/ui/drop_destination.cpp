#include "platform/ui/drop_destination.h"

#include <gtkmm/widget.h>

#include <algorithm>
#include <utility>

#include "platform/ui/view.h"

namespace platform {

DropDestination::DropDestination(View& view, std::vector<std::string> types, Handlers handlers)
    : view_(view), types_(std::move(types)), handlers_(std::move(handlers)) {
  std::vector<Gtk::TargetEntry> targets;
  for (const auto& type : types_) targets.emplace_back(gtkTargetForType(type), targetFlagsForType(type));
  Gtk::Widget& widget = view_.widget();
  // No default behaviour: motion, highlighting and the drop are all decided by the handlers.
  widget.drag_dest_set(targets, Gtk::DestDefaults(0), Gdk::ACTION_COPY | Gdk::ACTION_MOVE | Gdk::ACTION_LINK);
  connections_.push_back(widget.signal_drag_motion().connect(sigc::mem_fun(*this, &DropDestination::onGtkMotion)));
  connections_.push_back(widget.signal_drag_leave().connect([this](const auto&, guint) { dragLeave(); }));
  connections_.push_back(widget.signal_drag_drop().connect(sigc::mem_fun(*this, &DropDestination::onGtkDrop)));
  connections_.push_back(
      widget.signal_drag_data_received().connect(sigc::mem_fun(*this, &DropDestination::onGtkDataReceived)));
}

DropDestination::~DropDestination() {
  for (auto& connection : connections_) connection.disconnect();
  view_.widget().drag_dest_unset();
}

DragOperation DropDestination::dragMotion(const std::vector<std::string>& offeredTypes, DragOperation sourceMask,
                                          Point gtkPoint) {
  Pasteboard offered;
  offered.declareTypes(offeredTypes);
  if (!offered.availableTypeFrom(types_)) return drag_operation::None;
  const DraggingInfo info{offered, sourceMask, view_.gtkToLocal(gtkPoint)};
  if (!inside_) {
    inside_ = true;
    entered_ = handlers_.draggingEntered ? handlers_.draggingEntered(info) : drag_operation::None;
    return entered_ & sourceMask;
  }
  if (handlers_.draggingUpdated) return handlers_.draggingUpdated(info) & sourceMask;
  return entered_ & sourceMask;
}

void DropDestination::dragLeave() {
  if (!inside_) return;
  inside_ = false;
  entered_ = drag_operation::None;
  if (handlers_.draggingExited) handlers_.draggingExited();
}

bool DropDestination::dragDrop(const Pasteboard& pasteboard, DragOperation sourceMask, Point gtkPoint) {
  inside_ = false;
  entered_ = drag_operation::None;
  if (!pasteboard.availableTypeFrom(types_)) return false;
  const DraggingInfo info{pasteboard, sourceMask, view_.gtkToLocal(gtkPoint)};
  if (handlers_.prepareForDragOperation && !handlers_.prepareForDragOperation(info)) return false;
  return handlers_.performDragOperation && handlers_.performDragOperation(info);
}

std::vector<std::string> DropDestination::offeredTypes(const Glib::RefPtr<Gdk::DragContext>& context) const {
  std::vector<std::string> offered;
  for (const auto& target : context->list_targets()) offered.push_back(typeForGtkTarget(target));
  return offered;
}

bool DropDestination::onGtkMotion(const Glib::RefPtr<Gdk::DragContext>& context, int x, int y, guint time) {
  const DragOperation source = operationsFromGdkActions(context->get_actions());
  const DragOperation answer = dragMotion(offeredTypes(context), source, {double(x), double(y)});
  context->drag_status(preferredGdkAction(answer), time);
  return true;
}

bool DropDestination::onGtkDrop(const Glib::RefPtr<Gdk::DragContext>& context, int, int, guint time) {
  Pasteboard offered;
  offered.declareTypes(offeredTypes(context));
  const auto type = offered.availableTypeFrom(types_);
  if (!type) {
    context->drag_finish(false, false, time);
    return true;
  }
  // The drop itself happens when the data arrives.
  view_.widget().drag_get_data(context, gtkTargetForType(*type), time);
  return true;
}

void DropDestination::onGtkDataReceived(const Glib::RefPtr<Gdk::DragContext>& context, int x, int y,
                                        const Gtk::SelectionData& selection, guint, guint time) {
  const std::string type = typeForGtkTarget(selection.get_target());
  Pasteboard pasteboard;
  pasteboard.declareTypes({type});
  const int length = std::max(selection.get_length(), 0);
  const guint8* bytes = selection.get_data();
  if (bytes) pasteboard.setData(Pasteboard::Bytes(bytes, bytes + length), type);
  const DragOperation source = operationsFromGdkActions(context->get_actions());
  const bool accepted = dragDrop(pasteboard, source, {double(x), double(y)});
  context->drag_finish(accepted, false, time);
}

}  // namespace platform
