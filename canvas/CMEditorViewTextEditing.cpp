// In-place text editing: a text view laid over the edited text layer (which is
// hidden meanwhile), the record's "text" following every change, and an
// application-wide monitor that ends the edit on a left press outside the text.
// Presses inside the text reach the text view, so the caret and the selection
// can be placed with the mouse.

#include <string>
#include <utility>

#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "document/CMDrawer.h"
#include "document/CMProject.h"
#include "document/CMTextLayer.h"
#include "document/CMUndoManager.h"
#include "platform/core/main_queue.h"
#include "platform/graphics/rect_functions.h"
#include "platform/ui/event_monitor.h"
#include "platform/ui/text_view.h"

namespace {

constexpr std::int32_t kEditModeText = 2;
// Room to type on the right of the text before the editor has to grow.
constexpr double kEditorExtraWidth = 50;

}  // namespace

// The installed outside-click monitor; removing it is tied to its lifetime, so a canvas that goes away while
// editing leaves no handler behind.
class CMOutsideClickMonitor {
 public:
  explicit CMOutsideClickMonitor(platform::LocalMonitorHandler handler)
      : identifier_(platform::addLocalEventMonitor(platform::eventMaskFromType(platform::EventType::LeftMouseDown),
                                                   std::move(handler))) {}
  ~CMOutsideClickMonitor() { platform::removeEventMonitor(identifier_); }
  CMOutsideClickMonitor(const CMOutsideClickMonitor&) = delete;
  CMOutsideClickMonitor& operator=(const CMOutsideClickMonitor&) = delete;

 private:
  int identifier_;
};

std::shared_ptr<CMLayer> CMEditorView::addText(const platform::Event& event) {
  if (!document_) return nullptr;
  // Document units at every zoom, as every other tool places its records.
  const platform::Point point = backZoomTransform().transformPoint(convertPointFromWindow(event.locationInWindow));
  const platform::DictRef record = document_->addObject("text", point);
  std::shared_ptr<CMLayer> layer = drawer_->addObject(record);
  if (!layer) return nullptr;
  layer->setVectorViewMode(viewMode_);
  layer->setZoom(zoom_);
  layer->setViewZoom(viewMode_ ? zoom_ : 1.0f);
  layer->updateLayerRect();  // measured again at the view zoom just set
  selectNewLayers({record});
  return layer;
}

void CMEditorView::startEditingText(const platform::Event& event) {
  // A new layer whatever lies under the click: existing text is edited by a double click only.
  const std::shared_ptr<CMLayer> layer = addText(event);
  if (!layer) return;
  startEditingText(event, layer);
  // Undoing the adding takes the typing with it.
  textBefore_.reset();
  // The new layer's placeholder text goes as soon as the user types.
  if (isEditingText()) textView_->selectAll();
}

void CMEditorView::textDBClick(const platform::Event& event, const std::shared_ptr<CMLayer>& layer) {
  startEditingText(event, layer);
}

bool CMEditorView::isEditingText() const { return outsideClicker_ != nullptr; }

void CMEditorView::startEditingText(const platform::Event& event, const std::shared_ptr<CMLayer>& layer) {
  if (!dynamic_cast<CMTextLayer*>(layer.get())) return;
  if (isEditingText()) endEditingText(event);
  editingLayer_ = layer;
  textBefore_ = layer->data()->get("text").string();
  layer->setHidden(true);  // only the editor shows the text meanwhile
  CMProject& project = CMProject::shareProject();
  oldEditMode_ = project.editMode();
  project.setEditMode(kEditModeText);
  setTextFieldParam();
  startEventOutsideClicker();
  textView_->setHidden(false);
  setNeedsDisplay();
  textView_->focus();
}

void CMEditorView::setTextFieldParam() {
  if (!textView_) {
    textView_ = std::make_shared<platform::TextView>(platform::Rect{});
    textView_->setHidden(true);
    addSubview(textView_);
    std::weak_ptr<platform::View> weak = weak_from_this();
    textView_->setTextDidChange([weak](platform::TextView&) {
      if (const auto view = weak.lock()) static_cast<CMEditorView&>(*view).textDidChange();
    });
    // Escape ends the edit and keeps the text, so the next key reaches the canvas and the tools again.
    textView_->setCancelOperation([weak](platform::TextView&) {
      const auto view = weak.lock();
      if (view && static_cast<CMEditorView&>(*view).isEditingText())
        static_cast<CMEditorView&>(*view).endEditingText(platform::Event{});
    });
  }
  const auto* layer = dynamic_cast<CMTextLayer*>(editingLayer_.get());
  if (!layer) return;
  textView_->setString(layer->data()->get("text").string());
  const platform::TextAttributes attributes = layer->textAttributes(false);
  const platform::Font font = attributes.font ? *attributes.font : platform::Font::systemFont(12);
  // The editor shows the text at the size the canvas draws it.
  textView_->setFont(font.withSize(font.pointSize() * documentZoom()));
  textView_->setTextColor(attributes.foregroundColor.value_or(platform::Color::blackColor()));
  textView_->setFrame(textEditorFrame());
}

platform::Rect CMEditorView::editedTextRect() const {
  if (!editingLayer_) return {};
  const platform::Rect rect = editingLayer_->layerRect();
  if (viewMode_) return rect;  // the layer already measures in canvas units
  const double zoom = documentZoom();
  return {rect.origin.x * zoom, rect.origin.y * zoom, rect.size.width * zoom, rect.size.height * zoom};
}

platform::Rect CMEditorView::textEditorFrame() const {
  platform::Rect frame = editedTextRect();
  frame.size.width += kEditorExtraWidth * documentZoom();
  return frame;
}

void CMEditorView::textDidChange() {
  auto* layer = dynamic_cast<CMTextLayer*>(editingLayer_.get());
  if (!layer || !textView_) return;
  // The style panel follows the size of the text as it is typed.
  layer->setText(textView_->string());
  const platform::Size text = editedTextRect().size;
  const platform::Size shown = textView_->frame().size;
  // The editor grows in place whenever the text outgrows it; it never shrinks while the edit lasts.
  if (text.width > shown.width || text.height > shown.height) textView_->setFrameSize(textEditorFrame().size);
  setNeedsDisplay();
}

bool CMEditorView::isOutsideEditedText(platform::Point locationInWindow) const {
  const platform::Point point = convertPointFromWindow(locationInWindow);
  if (textView_ && !textView_->isHidden() && platform::pointInRect(point, textView_->frame())) return false;
  return !editingLayer_ || !platform::pointInRect(point, editedTextRect());
}

void CMEditorView::startEventOutsideClicker() {
  std::weak_ptr<platform::View> weak = weak_from_this();
  outsideClicker_ = std::make_shared<CMOutsideClickMonitor>([weak](const platform::Event& event) {
    const auto view = weak.lock();
    if (!view || !static_cast<CMEditorView&>(*view).isOutsideEditedText(event.locationInWindow)) return true;
    // Ended after the handler has returned; the press itself reaches no view.
    platform::dispatchAsync([weak, event] {
      const auto canvas = weak.lock();
      if (canvas && static_cast<CMEditorView&>(*canvas).isEditingText())
        static_cast<CMEditorView&>(*canvas).endEditingText(event);
    });
    return false;
  });
}

void CMEditorView::endEditingText(const platform::Event&) {
  outsideClicker_.reset();
  CMProject::shareProject().setEditMode(oldEditMode_);
  const std::string text = textView_ ? textView_->string() : std::string();
  // Emptied text stays as the typing left it: an empty text layer, the document's flag untouched.
  if (editingLayer_ && !text.empty()) {
    editingLayer_->data()->set("text", text);
    if (document_) document_->setDirty(true);
  }
  if (editingLayer_ && document_) registerTextEdit(editingLayer_->data());
  if (textView_) textView_->setHidden(true);
  if (editingLayer_) {
    editingLayer_->updateLayerRect();
    editingLayer_->setDirty(true);
    editingLayer_->setHidden(false);
  }
  editingLayer_ = nullptr;
  setNeedsDisplay();
  // The keys go to the canvas again (select all, delete, the arrows), not to the hidden editor.
  takeKeys();
  releaseTool();  // the main window's tool selection also returns the edit mode to 0
}

void CMEditorView::registerTextEdit(const platform::DictRef& record) {
  const std::optional<std::string> before = std::exchange(textBefore_, std::nullopt);
  const std::string now = record->get("text").string();
  if (!before || *before == now) return;
  // The step holds the record as it is now but for its words, which were typed in place without a step each.
  record->set("text", *before);
  document_->undoManager().regUndoLayers(kCMUndoEditing, {record});
  record->set("text", now);
}
