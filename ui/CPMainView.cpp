#include "ui/CPMainView.h"

#include <utility>

#include "canvas/CMEditorView.h"
#include "canvas/CMFrameEditorView.h"
#include "platform/core/document_controller.h"
#include "platform/ui/scroll_view.h"
#include "ui/CMPlainPanes.h"
#include "ui/CMRightPanelView.h"
#include "ui/CMSplitView.h"
#include "ui/CMStatusBarView.h"

CPMainView::CPMainView(platform::Rect frame, std::shared_ptr<CMFrameEditorView> frameEditor)
    : View(frame),
      topToolbar_(std::make_shared<CMTopToolbarView>()),
      toolsBar_(std::make_shared<CMToolsView>()),
      statusBar_(std::make_shared<CMStatusBarView>()),
      documentSelector_(std::make_shared<CMDocumentSelectorView>()),
      scrollView_(std::make_shared<platform::ScrollView>(platform::Rect{0, 0, 400, 300})),
      rightPanel_(std::make_shared<CMRightPanelView>(platform::Rect{0, 0, CMSplitView::kReopenWidth, 300})),
      splitView_(std::make_shared<CMSplitView>(scrollView_, rightPanel_)),
      frameEditor_(std::move(frameEditor)),
      documentCount_([] { return platform::DocumentController::shared().documents().size(); }) {
  addSubview(splitView_);
  addSubview(statusBar_);
  addSubview(toolsBar_);
  addSubview(topToolbar_);
  addSubview(documentSelector_);
  documentSelector_->setHidden(true);
  splitView_->setDidResizeSubviews([this] { layout(); });
  if (frameEditor_) {
    scrollView_->setDocumentView(frameEditor_);
    frameEditor_->awakeFromNib();
  }
  frameDidChange();
}

void CPMainView::updateEditor() {
  if (frameEditor_) frameEditor_->updateEditor();
}

void CPMainView::selectLayer(const platform::DictRef& record) {
  if (frameEditor_) frameEditor_->editor().selectLayer(record);
}

void CPMainView::selectLayers(const std::vector<platform::DictRef>& records) {
  if (frameEditor_) frameEditor_->editor().selectLayers(records);
}

void CPMainView::updateSelectedShape() {
  if (frameEditor_) frameEditor_->updateSelectedShape();
}

void CPMainView::updateSelectedLayer() {
  if (frameEditor_) frameEditor_->updateSelectedLayer();
}

void CPMainView::updateSelectedLayerSize() {
  if (frameEditor_) frameEditor_->updateSelectedLayerSize();
}

void CPMainView::setDocument(const std::shared_ptr<CMDocument>& document) {
  if (frameEditor_) frameEditor_->setDocument(document);
  update();
}

void CPMainView::update() {
  updateDocumentSelector();
  frameDidChange();
}

void CPMainView::resizeSubviewsWithOldSize(platform::Size) { frameDidChange(); }

void CPMainView::frameDidChange() {
  for (const auto& subview : subviews()) {
    if (subview->isHidden()) continue;
    if (auto* pane = dynamic_cast<CMPanelBase*>(subview.get())) {
      pane->layoutPane();
    } else if (auto* split = dynamic_cast<CMSplitView*>(subview.get())) {
      split->layoutPane();
    }
  }
  updateWorkSize();
  if (didChangeFrame_) didChangeFrame_();
}

void CPMainView::updateDocumentSelector() {
  const bool hide = documentCount_() < 2;
  if (documentSelector_->isHidden() == hide) return;
  documentSelector_->setHidden(hide);
  documentSelector_->setNeedsDisplay();
  frameDidChange();
}

void CPMainView::toggleRightPanel() { splitView_->toggleRightPanel(); }

void CPMainView::setScrollPosition(platform::Point relative) {
  isChangeScrollPosition_ = true;
  scrollPosition_ = relative;
}

void CPMainView::updateWorkSize() {
  const bool scrollPending = std::exchange(isChangeScrollPosition_, false);
  if (!frameEditor_) return;
  frameEditor_->updateRules();
  // Kept in single precision, as the canvas computes it.
  const platform::Size canvas = frameEditor_->getCanvasSize();
  const float canvasWidth = static_cast<float>(canvas.width);
  const float canvasHeight = static_cast<float>(canvas.height);
  const platform::Size visible = scrollView_->frame().size;
  const bool wide = canvasWidth > visible.width;
  const bool tall = canvasHeight > visible.height;
  scrollView_->setHasHorizontalScroller(wide);
  scrollView_->setHasVerticalScroller(tall);
  scrollView_->tile();
  // A canvas smaller than the viewport is stretched to it, so the frame view centres it.
  const platform::Size clip = scrollView_->contentView().frame().size;
  frameEditor_->setFrame({0, 0, wide ? canvasWidth : clip.width, tall ? canvasHeight : clip.height});
  scrollView_->tile();
  if (scrollPending && (wide || tall)) {
    const platform::Size document = frameEditor_->frame().size;
    const platform::Size shown = scrollView_->contentView().frame().size;
    scrollView_->scrollToPoint({(document.width - shown.width) * scrollPosition_.x,
                                (document.height - shown.height) * scrollPosition_.y});
  }
}

void CPMainView::keyDown(const platform::Event& event) {
  if (canvasKeys_ && canvasKeys_(event)) return;
  View::keyDown(event);
}
