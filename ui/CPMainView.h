#pragma once

// The main window's content view: five panes (document tabs at the top edge,
// the top toolbar under them, the tool palette at the left, the status bar at
// the bottom, the split view with the canvas and the right panel filling the
// rest), laid out again at every change of its frame. It sizes the canvas's
// frame view for the zoom and shows the tabs only while two documents or more
// are open.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/ui/view.h"

class CMDocument;
class CMDocumentSelectorView;
class CMFrameEditorView;
class CMRightPanelView;
class CMSplitView;
class CMStatusBarView;
class CMToolsView;
class CMTopToolbarView;

namespace platform {
class ScrollView;
}

class CPMainView : public platform::View {
 public:
  // Without a frame view the work area stays empty (headless tools, layout tests).
  CPMainView(platform::Rect frame, std::shared_ptr<CMFrameEditorView> frameEditor);

  CMTopToolbarView& topToolbar() const { return *topToolbar_; }
  CMToolsView& toolsBar() const { return *toolsBar_; }
  CMStatusBarView& statusBar() const { return *statusBar_; }
  CMSplitView& splitView() const { return *splitView_; }
  CMDocumentSelectorView& documentSelector() const { return *documentSelector_; }
  CMFrameEditorView* frameEditor() const { return frameEditor_.get(); }
  platform::ScrollView& scrollView() const { return *scrollView_; }

  // Passed on to the frame view and its canvas.
  void updateEditor();
  void selectLayer(const platform::DictRef& record);
  void selectLayers(const std::vector<platform::DictRef>& records);
  void updateSelectedShape();
  void updateSelectedLayer();
  void updateSelectedLayerSize();
  void setDocument(const std::shared_ptr<CMDocument>& document);

  // Tabs, then the panes and the work size.
  void update();
  void layout() { frameDidChange(); }
  // Lays the panes out, sizes the work area, then tells the window (its sectioned panels follow).
  void frameDidChange();
  void setFrameDidChange(std::function<void()> callback) { didChangeFrame_ = std::move(callback); }
  void updateWorkSize();
  void updateDocumentSelector();
  void toggleRightPanel();
  // Relative position (0…1 on each axis) the work area scrolls to at its next sizing.
  void setScrollPosition(platform::Point relative);

  // How many documents are open (the tabs show from two on); the shared document controller's count by default.
  void setDocumentCount(std::function<std::size_t()> count) { documentCount_ = std::move(count); }
  // Keys the canvas takes (nudges, delete) before anything else sees them.
  void setCanvasKeyHandler(std::function<bool(const platform::Event&)> handler) { canvasKeys_ = std::move(handler); }

  bool acceptsFirstResponder() const override { return true; }
  void keyDown(const platform::Event& event) override;

 protected:
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  std::shared_ptr<CMTopToolbarView> topToolbar_;
  std::shared_ptr<CMToolsView> toolsBar_;
  std::shared_ptr<CMStatusBarView> statusBar_;
  std::shared_ptr<CMDocumentSelectorView> documentSelector_;
  std::shared_ptr<platform::ScrollView> scrollView_;
  std::shared_ptr<CMRightPanelView> rightPanel_;
  std::shared_ptr<CMSplitView> splitView_;
  std::shared_ptr<CMFrameEditorView> frameEditor_;
  std::function<std::size_t()> documentCount_;
  std::function<bool(const platform::Event&)> canvasKeys_;
  std::function<void()> didChangeFrame_;
  platform::Point scrollPosition_;
  bool isChangeScrollPosition_ = false;
};
