#pragma once

// The document view of the main window's canvas scroll view: holds the canvas
// (CMEditorView) centred inside a margin, owns the zoom (a factor and an index
// into the zoom steps), sizes the canvas for it, drives the scroll view's two
// rulers and deselects everything on a click in the margin.
//
// Use: make one, put it into a platform::ScrollView as its document view, call
// awakeFromNib() once (installs the rulers), then setDocument(). The work area
// sizes the frame view with getCanvasSize() (or stretches it to the viewport);
// every change of its size centres the canvas again. To show or hide the rulers,
// write "show_ruler" into the project settings, call updateRules() and lay the
// work area out again (the canvas size depends on it).
//
// The frame view is flipped, as the canvas is: its y grows downwards from the top.

#include <memory>

#include "canvas/CMEditorViewDelegate.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"
#include "platform/ui/view.h"

class CMDocument;
class CMEditorView;
class VDRulerView;

namespace platform {
class ScrollView;
}

// Posted, with no object, whenever the zoom changed the canvas size.
inline constexpr const char* kCMViewFrameDidChangeNotification = "NSViewFrameDidChangeNotification";

class CMFrameEditorView : public platform::View, public CMEditorViewDelegate {
 public:
  static constexpr double kMargin = 20;
  static constexpr double kRulerBand = 60;

  explicit CMFrameEditorView(platform::Rect frame = {});
  // Tests and subclasses may give their own canvas (a spy).
  CMFrameEditorView(platform::Rect frame, std::shared_ptr<CMEditorView> editor);
  ~CMFrameEditorView() override;

  bool isFlipped() const override { return true; }

  // Installs the two rulers into the enclosing scroll view (frame view → clip view → scroll view).
  void awakeFromNib();

  // Shows a document at its own saved zoom.
  void setDocument(std::shared_ptr<CMDocument> document);
  const std::shared_ptr<CMDocument>& document() const { return document_; }
  // Gives the canvas the document again and resizes it.
  void update();
  // The road by which the main window refreshes the canvas after model edits.
  void updateEditor();

  // Passed on to the canvas.
  void updateSelectedLayer();
  void updateSelectedShape();
  void updateSelectedLayerSize();
  void selectTool(int tag, const platform::DictRef& data);

  // (page width·zoom + 20 + r, page height·zoom + 20 + r), r = 60 while the rulers show.
  platform::Size getCanvasSize() const;
  // The project setting "show_ruler".
  bool isShowRules() const;
  void updateEditorSize();

  // Rulers. updateRules: visibility and unit from the settings (the main view calls it at each layout);
  // updateRulers: zoom and origins after a frame change.
  void updateRules();
  void updateRulers();
  void updateRules(const platform::Event& event) override;
  VDRulerView* horizontalRuler() const { return horizontalRuler_.get(); }
  VDRulerView* verticalRuler() const { return verticalRuler_.get(); }
  platform::Point rulePoint() const { return rulePoint_; }

  // Zoom. The points are focus points in frame-view coordinates (the zoom tool's click, else the visible centre).
  void zoomIn(platform::Point focus);
  void zoomOut(platform::Point focus);
  void zoomIn();
  void zoomOut();
  void zoom100();
  // The largest step up to 800 % at which the page fits into `available` (the main view's size).
  void zoomFit(platform::Size available);
  void setZoomIndex(int index);
  // Takes the index of the current zoom; an off-table zoom keeps the index it had.
  void findZoomIndex();
  platform::Point zoomCenterPoint() const;
  // Asks the work area to scroll to the point's relative position at its next layout.
  void setPoint(platform::Point point);
  float zoom() const { return zoom_; }
  // Stores only.
  void setZoom(float zoom) { zoom_ = zoom; }
  int zoomIndex() const { return zoomIndex_; }
  // False while the zoom is off the step table (zoom in and out then do nothing).
  bool isZoomOnStep() const;

  CMEditorView& editor() const { return *editor_; }
  const std::shared_ptr<CMEditorView>& editorView() const { return editor_; }

  void mouseDown(const platform::Event& event) override;
  void mouseMoved(const platform::Event& event) override;

 protected:
  // setFrame: centres the canvas again and moves the rulers with it.
  void resizeSubviewsWithOldSize(platform::Size oldSize) override;

 private:
  void applyZoomIndex(int index, platform::Point focus);
  void centreEditor();
  platform::Point centredOrigin(platform::Size canvas) const;
  platform::ScrollView* enclosingScrollView() const;
  platform::Size pageSize() const;

  std::shared_ptr<CMEditorView> editor_;
  std::shared_ptr<CMDocument> document_;
  std::shared_ptr<VDRulerView> horizontalRuler_;
  std::shared_ptr<VDRulerView> verticalRuler_;
  platform::Point rulePoint_;
  float zoom_ = 1;
  int zoomIndex_ = 0;
};
