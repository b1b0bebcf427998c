#include "canvas/CMFrameEditorView.h"

#include <utility>

#include "canvas/CMEditorView.h"
#include "canvas/CMZoomSteps.h"
#include "canvas/VDRulerView.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "platform/ui/view_widget.h"

CMFrameEditorView::CMFrameEditorView(platform::Rect frame)
    : CMFrameEditorView(frame, std::make_shared<CMEditorView>()) {}

CMFrameEditorView::CMFrameEditorView(platform::Rect frame, std::shared_ptr<CMEditorView> editor)
    : platform::View(frame), editor_(std::move(editor)) {
  addSubview(editor_);
  findZoomIndex();
}

CMFrameEditorView::~CMFrameEditorView() {
  if (editor_->delegate() == this) editor_->setDelegate(nullptr);
}

void CMFrameEditorView::setDocument(std::shared_ptr<CMDocument> document) {
  document_ = std::move(document);
  const platform::DictRef root = document_ ? document_->data() : nullptr;
  zoom_ = CMUsableZoom(root ? root->get("zoom").floatValue() : 1.0f);
  findZoomIndex();
  editor_->setDocument(document_);
  editor_->setDelegate(this);
  editor_->setZoom(zoom_);
  updateEditorSize();
}

void CMFrameEditorView::update() {
  editor_->setDocument(document_);
  updateEditorSize();
  setNeedsDisplay();
}

void CMFrameEditorView::updateEditor() {
  editor_->update();
  setNeedsDisplay();
}

void CMFrameEditorView::updateSelectedLayer() { editor_->updateSelectedLayer(); }
void CMFrameEditorView::updateSelectedShape() { editor_->updateSelectedShape(); }
void CMFrameEditorView::updateSelectedLayerSize() { editor_->updateSelectedLayerSize(); }
void CMFrameEditorView::selectTool(int tag, const platform::DictRef& data) { editor_->selectTool(tag, data); }

platform::Size CMFrameEditorView::pageSize() const {
  const platform::DictRef root = document_ ? document_->data() : nullptr;
  if (!root) return {};
  return {CMUsablePageLength(root->get("width").floatValue()), CMUsablePageLength(root->get("height").floatValue())};
}

bool CMFrameEditorView::isShowRules() const { return CMProject::shareProject().settings().boolForKey("show_ruler"); }

platform::Size CMFrameEditorView::getCanvasSize() const {
  const platform::Size page = pageSize();
  const float rulers = isShowRules() ? static_cast<float>(kRulerBand) : 0.0f;
  const float margin = static_cast<float>(kMargin);
  return {static_cast<float>(page.width) * zoom_ + margin + rulers,
          static_cast<float>(page.height) * zoom_ + margin + rulers};
}

void CMFrameEditorView::updateEditorSize() {
  const platform::Size page = pageSize();
  const float width = static_cast<float>(page.width) * zoom_;
  const float height = static_cast<float>(page.height) * zoom_;
  editor_->setFrame({centredOrigin({width, height}), {width, height}});
  setNeedsDisplay();
  updateRulers();
}

void CMFrameEditorView::centreEditor() {
  editor_->setFrameOrigin(centredOrigin(editor_->frame().size));
}

platform::Point CMFrameEditorView::centredOrigin(platform::Size canvas) const {
  // On a whole pixel, where GTK puts the canvas: the pointer, the rulers and the drawing then count from one corner.
  const auto centred = [](double outer, double inner) {
    return platform::pixelsFromLength((static_cast<float>(outer) - static_cast<float>(inner)) / 2);
  };
  return {static_cast<double>(centred(frame().size.width, canvas.width)),
          static_cast<double>(centred(frame().size.height, canvas.height))};
}

void CMFrameEditorView::resizeSubviewsWithOldSize(platform::Size) {
  centreEditor();
  setNeedsDisplay();
  updateRulers();
}

void CMFrameEditorView::mouseDown(const platform::Event& event) {
  const platform::Point point = convertPointFromWindow(event.locationInWindow);
  const platform::Rect canvas = editor_->frame();
  const bool onCanvas = point.x >= canvas.origin.x && point.y >= canvas.origin.y &&
                        point.x < canvas.origin.x + canvas.size.width && point.y < canvas.origin.y + canvas.size.height;
  if (onCanvas) return;
  // The handles of the current layer reach into the margin: a press on one there is the canvas's.
  if (const auto hit = editor_->findLayer(event); hit && hit->editingPoint) {
    editor_->mouseDown(event);
    return;
  }
  editor_->clickOutside();
}

void CMFrameEditorView::mouseMoved(const platform::Event& event) { updateRules(event); }

void CMFrameEditorView::updateRules(const platform::Event& event) {
  const platform::Point point = convertPointFromWindow(event.locationInWindow);
  if (point == rulePoint_) return;
  rulePoint_ = point;
  for (VDRulerView* ruler : {horizontalRuler_.get(), verticalRuler_.get()})
    if (ruler) ruler->setRulePoint(point);
  setNeedsDisplay();
}
