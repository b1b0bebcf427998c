#pragma once

// The drawing canvas: draws the document's layers (through a CMDrawer) on the
// page background, dispatches mouse and key events by tool tag to the tool
// operations, selects and releases tools, shows the tool's cursor and rebuilds
// its layer objects after model changes, keeping the selection by record id.
//
// The canvas is flipped: canvas coordinates grow downwards, one unit per point
// at 100 %. Document coordinates are canvas coordinates divided by the root
// record's "zoom".
//
// The tool operations (selection, moving, shape creation, pen, text) are
// virtual hooks here: the selection and tool code overrides them. A creation
// tool's hook ends its gesture by queueing its completion on the main queue.
//
// Decisions kept here: after every rebuild the canvas finds its current,
// pen-curve and editing layers again by record "id" (null when gone), never
// keeping a dropped layer object; the active editor is cleared when that canvas
// goes away.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "canvas/CMEditorBaseView.h"
#include "platform/core/geometry.h"
#include "platform/core/notification_center.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"

class CMDocument;
class CMDrawer;
class CMEditorViewDelegate;
class CMLayer;

namespace platform {
class Cursor;
class GraphicsContext;
}  // namespace platform

// Tool tags of the palette, the library and the path-point command.
enum CMToolTag : std::int32_t {
  kCMToolSelect = 0,
  kCMToolPathPoints = 1,
  kCMToolGradient = 2,
  kCMToolRectangle = 3,
  kCMToolRoundRectangle = 4,
  kCMToolText = 5,
  kCMToolLibraryShape = 7,
  kCMToolOval = 8,
  kCMToolEraser = 10,
  kCMToolStar = 11,
  kCMToolLine = 12,
  kCMToolPolygon = 13,
  kCMToolPen = 14,
  kCMToolPencil = 15,
  kCMToolZoom = 16,
  kCMToolAddBezierPoint = 17,
};

class CMEditorView : public CMEditorBaseView {
 public:
  using Layers = std::vector<std::shared_ptr<CMLayer>>;
  using Completion = std::function<void()>;

  // The cursor table's types: 0–3 the pen sub-modes, then the zoom tool's two.
  enum CursorType : std::int32_t {
    kCursorPenAdd = 0,
    kCursorPen = 1,
    kCursorPenClose = 2,
    kCursorPenDelete = 3,
    kCursorZoomIn = 4,
    kCursorZoomOut = 5,
  };

  explicit CMEditorView(platform::Rect frame = {});
  ~CMEditorView() override;

  // The canvas that drew last, or null (also once that canvas is gone).
  static CMEditorView* activeEditor();

  bool isFlipped() const override { return true; }
  bool acceptsFirstResponder() const override { return true; }

  // Keeps the document, rebuilds the layer objects and redisplays.
  virtual void setDocument(std::shared_ptr<CMDocument> document);
  const std::shared_ptr<CMDocument>& document() const { return document_; }
  void setZoom(float zoom);
  float zoom() const { return zoom_; }
  void setViewMode(bool vectorViewMode);
  bool viewMode() const { return viewMode_; }
  CMEditorViewDelegate* delegate() const { return delegate_; }
  void setDelegate(CMEditorViewDelegate* delegate) { delegate_ = delegate; }
  CMDrawer& drawer() const { return *drawer_; }

  // Layer lists, in drawing order.
  const Layers& layers() const;
  Layers selectedLayers() const;
  Layers multySelectedLayers() const;
  Layers allSelectedLayers() const;
  const std::shared_ptr<CMLayer>& selectedLayer() const { return selectedLayer_; }
  const platform::DictRef& selectedPoint() const { return selectedPoint_; }
  const platform::DictRef& selectedLayerDict() const { return selectedLayerDict_; }
  // The selection state the selection code and the layers panel write.
  void setSelectedLayer(std::shared_ptr<CMLayer> layer) { selectedLayer_ = std::move(layer); }
  void setSelectedLayerDict(platform::DictRef record) { selectedLayerDict_ = std::move(record); }
  void setSelectedPoint(platform::DictRef point) { selectedPoint_ = std::move(point); }
  const std::shared_ptr<CMLayer>& curveAddedLayer() const { return curveAddedLayer_; }
  void setCurveAddedLayer(std::shared_ptr<CMLayer> layer) { curveAddedLayer_ = std::move(layer); }
  const std::shared_ptr<CMLayer>& editingLayer() const { return editingLayer_; }
  void setEditingLayer(std::shared_ptr<CMLayer> layer) { editingLayer_ = std::move(layer); }

  // Canvas ↔ document coordinates, by the root record's "zoom".
  platform::AffineTransform zoomTransform() const;
  platform::AffineTransform backZoomTransform() const;

  // Refresh after model changes.
  void update();
  void updateSelectedLayer();
  void updateSelectedShape();
  void updateSelectedLayerSize();
  void OnLayerDataChange() { setNeedsDisplay(); }

  // Drawing.
  void drawRect(const platform::Rect& dirtyRect) override;

  // Events.
  void mouseDown(const platform::Event& event) override;
  void mouseDragged(const platform::Event& event) override;
  void mouseMoved(const platform::Event& event) override;
  void mouseUp(const platform::Event& event) override;
  void rightMouseDown(const platform::Event& event) override;
  // The main view sends keys here first and handles them itself when this returns false.
  bool customKeyDown(const platform::Event& event);
  void keyDown(const platform::Event& event) override;
  // Deselects everything.
  void clickOutside();

  // Tools.
  void selectTool(int tag, platform::DictRef data);
  int currentTool() const { return selectTool_; }
  const platform::DictRef& toolsData() const { return toolsData_; }
  void releaseTool() { releaseTool(kCMToolSelect); }
  void releaseTool(int tag);
  void closeCurrentEditingOperations();
  void setBezierMode(int mode);
  int bezierMode() const { return bezierMode_; }

  // Cursors.
  std::shared_ptr<platform::Cursor> findCursor(int type) const;
  // The cursor the current tool shows; null for none.
  std::shared_ptr<platform::Cursor> toolCursor() const;
  void updateCursor();

  // Library drops: whether a screen point lies on the page, and the drop itself.
  bool canAddShape(platform::Point screenPoint) const;
  void addShape(platform::Point screenPoint, const platform::DictRef& shapeData);

  // ---- hooks of the selection code ----
  virtual bool selectItem(const platform::Event& event);
  virtual void dbClick(const platform::Event& event);
  virtual bool moveItem(const platform::Event& event);
  virtual void selectArea(const platform::Event& event);
  // The keyboard nudge: moves the current layer by an offset in document units, one undo step each.
  virtual void moveSelectedLayer(platform::Point offset);
  virtual void hideSel();
  virtual void drawSel(platform::GraphicsContext& context);
  virtual void drawHelperLines(platform::GraphicsContext& context);
  virtual void drawGrid(platform::GraphicsContext& context);
  virtual void startEditingText(const platform::Event& event);

  // ---- hooks of the shape tools: each queues `done` on the main queue when its gesture ends ----
  virtual void addRectangle(const platform::Event& event, Completion done);
  virtual void addRoundRectangle(const platform::Event& event, Completion done);
  virtual void addOval(const platform::Event& event, Completion done);
  virtual void addStar(const platform::Event& event, Completion done);
  virtual void addPolygon(const platform::Event& event, Completion done);
  virtual void addLine(const platform::Event& event, Completion done);
  virtual void addPencil(const platform::Event& event, Completion done);
  virtual void addBetheier(const platform::Event& event, Completion done);
  virtual void erase(const platform::Event& event, Completion done);
  virtual void addShare(const platform::Event& event, const platform::DictRef& data, Completion done);
  virtual void addShare(const platform::DictRef& data, platform::Point screenPoint, Completion done);
  virtual void addBetherPoint(const platform::Event& event, Completion done);
  // Finishes a pen curve in progress.
  virtual void saveCurve();
  virtual void mouseDraggedBezheir(const platform::Event& event);
  virtual void mouseMovedBezheir(const platform::Event& event);
  virtual void mouseUpBezheir(const platform::Event& event);

 protected:
  // The page background under the layers: the transparency pattern for a fully transparent page.
  virtual void drawDefaultBackground(platform::GraphicsContext& context);
  bool isPageTransparent() const;
  // A completion that runs `action` on this canvas if the canvas still exists then.
  Completion completion(std::function<void(CMEditorView&)> action);
  // After the drawer rebuilt its layer objects: the kept layers are found again by id.
  void relinkLayers();
  void rebuildLayers();
  void becomeActiveEditor();
  // The root record's "zoom"; anything but a positive finite number counts as 1.
  float documentZoom() const;

 private:
  void createCustomCursors();
  void dispatchSelectTool(const platform::Event& event);
  void deleteSelection();
  bool moveByKey(const platform::Event& event);

  std::shared_ptr<CMDocument> document_;
  platform::DictRef toolsData_;
  std::unique_ptr<CMDrawer> drawer_;
  CMEditorViewDelegate* delegate_ = nullptr;
  std::shared_ptr<CMLayer> editingLayer_;
  std::shared_ptr<CMLayer> curveAddedLayer_;
  std::shared_ptr<CMLayer> selectedLayer_;
  platform::DictRef selectedPoint_;
  platform::DictRef selectedLayerDict_;
  struct CustomCursor {
    int type;
    std::shared_ptr<platform::Cursor> cursor;
  };
  std::vector<CustomCursor> customCursors_;
  platform::ObserverToken layerChanged_;
  std::int32_t selectTool_ = kCMToolSelect;
  std::int32_t bezierMode_ = 0;
  float zoom_ = 1;
  bool viewMode_ = false;
};
