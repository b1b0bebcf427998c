#include "platform/ui/drag_source.h"

#include <gdkmm/device.h>
#include <gdkmm/display.h>
#include <gdkmm/seat.h>
#include <gtk/gtk.h>
#include <gtkmm/widget.h>

#include <cstddef>
#include <limits>
#include <utility>

#include "platform/ui/view.h"

namespace platform {

DragSource::DragSource(View& view, DragOperation operationMask, Handlers handlers)
    : view_(view), mask_(operationMask), handlers_(std::move(handlers)) {
  Gtk::Widget& widget = view_.widget();
  connections_.push_back(widget.signal_drag_data_get().connect(sigc::mem_fun(*this, &DragSource::onGtkDataGet)));
  connections_.push_back(widget.signal_drag_end().connect([this](const Glib::RefPtr<Gdk::DragContext>& context) {
    // A failed drag was told already; its end carries no operation.
    const DragOperation done =
        failed_ ? drag_operation::None : operationsFromGdkActions(context->get_selected_action());
    context_.reset();
    dragEnded(pointerOnScreen(), done);
  }));
  connections_.push_back(
      widget.signal_drag_failed().connect([this](const Glib::RefPtr<Gdk::DragContext>&, Gtk::DragResult) {
        failed_ = true;
        return dragFailed(pointerOnScreen());
      }));
}

DragSource::~DragSource() {
  for (auto& connection : connections_) connection.disconnect();
}

bool DragSource::beginDrag(Pasteboard pasteboard, Glib::RefPtr<Gdk::Pixbuf> image) {
  if (dragging_ || pasteboard.types().empty()) return false;
  std::vector<Gtk::TargetEntry> targets;
  for (const auto& type : pasteboard.types()) targets.emplace_back(gtkTargetForType(type), targetFlagsForType(type));
  pasteboard_ = std::move(pasteboard);
  failed_ = false;
  GdkEvent* trigger = gtk_get_current_event();  // the press or drag that starts it; null outside a handler
  const Glib::RefPtr<Gtk::TargetList> list = Gtk::TargetList::create(targets);
  const Glib::RefPtr<Gdk::DragContext> context =
      view_.widget().drag_begin(list, gdkActionsFromOperations(mask_), 1, trigger, -1, -1);
  if (trigger) gdk_event_free(trigger);
  if (!context) return false;
  context_ = context;
  dragging_ = true;
  // The image hangs under the pointer by its centre, as a dragged thumbnail does.
  if (image) context->set_icon(image, image->get_width() / 2, image->get_height() / 2);
  return true;
}

void DragSource::cancelDrag() {
  if (context_) gtk_drag_cancel(context_->gobj());
}

std::optional<Pasteboard::Bytes> DragSource::dataForGtkTarget(const std::string& target) const {
  return pasteboard_.dataForType(typeForGtkTarget(target));
}

void DragSource::dragEnded(Point screenPoint, DragOperation operation) {
  dragging_ = false;
  if (handlers_.draggingEnded) handlers_.draggingEnded(screenPoint, operation & mask_);
}

bool DragSource::dragFailed(Point screenPoint) {
  return handlers_.draggingFailed && handlers_.draggingFailed(screenPoint);
}

void DragSource::onGtkDataGet(const Glib::RefPtr<Gdk::DragContext>&, Gtk::SelectionData& selection, guint, guint) {
  const auto data = dataForGtkTarget(selection.get_target());
  if (!data || data->size() > std::size_t(std::numeric_limits<int>::max())) return;
  selection.set(selection.get_target(), 8, data->data(), static_cast<int>(data->size()));
}

Point DragSource::pointerOnScreen() {
  const auto display = Gdk::Display::get_default();
  if (!display || !display->get_default_seat()) return {};
  int x = 0;
  int y = 0;
  display->get_default_seat()->get_pointer()->get_position(x, y);
  return {double(x), double(y)};
}

}  // namespace platform
