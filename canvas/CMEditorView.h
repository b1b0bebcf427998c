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
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "canvas/CMEditorBaseView.h"
#include "canvas/CMSuspendMoving.h"
#include "platform/core/geometry.h"
#include "platform/core/notification_center.h"
#include "platform/core/value.h"
#include "platform/graphics/affine_transform.h"

class CMDocument;
class CMDrawer;
class CMEditorViewDelegate;
class CMLayer;
class CMOutsideClickMonitor;

namespace platform {
class BezierPath;
class Cursor;
class GraphicsContext;
class TextView;
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

  // Keeps the document, rebuilds the layer objects and redisplays. Another document than the one shown so far
  // starts with nothing selected, no pen curve and no text being edited; the same one keeps them as update does.
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
  // Another's change of a layer redraws the whole view; the canvas asks for the redraw of its own edits itself.
  void OnLayerDataChange() {
    if (!editingItself_) setNeedsDisplay();
  }
  // The part of the canvas a change of `layer` alters: where it was last drawn and where it draws now, in whole
  // pixels (its selection marks are not included), for a redraw of that part alone.
  platform::Rect layerDamage(CMLayer& layer) const;
  // Asks for a redraw of what a change of `changed` alters: where they were drawn and draw now, and where the
  // selection marks and helper lines were drawn and are now. The whole view when that cannot be told cheaply.
  void setLayersNeedDisplay(const Layers& changed);

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
  // The window's keys come to the canvas from now on.
  void takeKeys();

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

  // ---- shape creation tools: the rubber band, the guide line and the pen curve being built ----
  // The rubber band (normalised, whole-unit sides) and the guide line between two canvas points; hideSel hides both.
  void showSel(platform::Point first, platform::Point second);
  void showLine(platform::Point first, platform::Point second);
  bool showSelRect() const { return showSelRect_; }
  const platform::Rect& selRect() const { return selRect_; }
  bool showSelLine() const { return showSelLine_; }
  platform::Point showPoint1() const { return showPoint1_; }
  platform::Point showPoint2() const { return showPoint2_; }
  // The rubber band in the units the shape layer's setLayerRect expects.
  platform::Rect transformedRect() const;
  // The pen curve's marks, as the feedback drawing reads them.
  bool showCurvePoint() const { return showCurvePoint_; }
  bool showControlPoints() const { return showControlPoints_; }
  bool isDraggingCurve() const { return isDraggingCurve_; }
  bool closedPointMoved() const { return closedPointMoved_; }
  platform::Point curvePoint() const { return curvePoint_; }
  platform::Point curveControlPoint1() const { return curveControlPoint1_; }
  platform::Point curveControlPoint2() const { return curveControlPoint2_; }
  // The eraser's point records of a path into the record's shape "points".
  static void copyPoints(const platform::DictRef& record, const platform::BezierPath& path);
  // A dropped library shape: placed with its origin at `point` and flipped top-down unless already flipped.
  static void flipAndPositionForObject(const platform::DictRef& record, platform::Point point);

  // ---- selection, hit-testing and moving (CMEditorViewSelection*.cpp) ----
  // What a press hit: the layer, the handle of the current layer when one was hit, and the other members of the
  // multi-selection (selectedAsPartOfGroup but not selected), topmost first.
  struct HitRecord {
    std::shared_ptr<CMLayer> layer;
    platform::DictRef editingPoint;
    Layers group;
  };
  // Handles of the current layer (by edit mode) first, then the visible layers' bodies, topmost first.
  std::optional<HitRecord> findLayer(const platform::Event& event) const;
  std::optional<HitRecord> findLayerAt(platform::Point canvasPoint) const;
  // Whether a canvas point lies on a visible member of the selected group record.
  bool checkForGroup(platform::Point canvasPoint) const;
  // Programmatic selection by record (the layers panel's): redisplays when a layer's selection changed.
  void selectLayer(const platform::DictRef& record);
  void selectLayers(const std::vector<platform::DictRef>& records);
  bool selectLayer(const platform::DictRef& record, bool shiftPressed, bool isGroup);
  // Layers just made (drawn, dropped, pasted, duplicated) become the whole selection, the topmost of them the
  // current layer; the main window shows them in its panels.
  void selectNewLayers(const std::vector<platform::DictRef>& records) { selectNewLayers(records, std::nullopt); }
  // With `current` the layer of that id among them is the current one; without, or when it is not among them, the
  // topmost is.
  void selectNewLayers(const std::vector<platform::DictRef>& records, std::optional<std::int32_t> current);
  // Selects every layer; the first becomes the current one when there is none. Then the main window hears of it
  // once (didSelectAll), so the panels follow.
  void selectAll();
  // The selection as the panels show it: the current record first (a chosen group's own record, standing for its
  // marked members), then the records of the other marked layers, topmost first. Empty for none.
  std::vector<platform::DictRef> selectionRecords() const;
  // Path-point commands on the current layer, each one undo step.
  void deletePoint();
  void addPoint(platform::Point point);
  void changePointType(std::int32_t type);
  // The axis lock of a whole-layer drag: `bounds` is the frame in canvas units, `point` and `current` in document units.
  void saveMovingX(const platform::Rect& bounds, platform::Point point, platform::Point current, bool runtime);
  void saveMovingY(const platform::Rect& bounds, platform::Point point, platform::Point current, bool runtime);
  bool isXMovingLock(platform::Point* point) const;
  bool isYMovingLock(platform::Point* point) const;
  void finishMoving();
  void suspendMoving(bool lockHorizontal, bool lockVertical);
  bool showCenterMarkers() const { return showCenterMarkers_; }

  // ---- layer commands on the selection (CMEditorViewLayerCommands*.cpp) ----
  // Each works on the records of the selection flags, edits the tree in place as one undo step and asks the main
  // window to refresh; a command that finds nothing to do changes and registers nothing.
  using Records = std::vector<platform::DictRef>;
  // Records of the drawer's layers, topmost first: group-selected; group-selected but not primary; primary.
  Records groupSelectedRecords() const;
  Records layers2() const;
  Records layerSelected() const;
  // A fresh layer object at zoom 1 over the live record (not a copy); null for a group or an unknown type.
  static std::shared_ptr<CMLayer> layerFromDictionary(const platform::DictRef& record);

  // Group and ungroup the group-selected records; the record forms serve the layers panel too.
  void group();
  void ungroup();
  void group(const Records& records);
  void ungroup(const Records& records);
  // Whether the records lie at one nesting depth of the tree (true for none).
  bool canMakeGroupOperation(const Records& records) const;
  // Takes the first group with no members out of the list, registered for undo; later empty ones stay.
  void removeUnusedLayers(const platform::ArrayRef& list);

  // Mirror the primary layers inside their own bounds: images by "flip_h"/"flip_v", shapes by their points
  // (written as points first); text is only marked for redrawing.
  void flipH();
  void flipV();
  void flipHorizontalLayers(const Records& records, const platform::Rect& rect);
  void flipVerticalLayers(const Records& records, const platform::Rect& rect);
  // Maps the first record's points p to T(p + correction) − correction (a group: its first member, and so on).
  void flipLayers(const Records& records, platform::Point correction, const platform::AffineTransform& transform);

  // The primary layer's index in the list that holds it (`list` receives that list), or -1.
  std::int64_t layerSelectedIndex(platform::ArrayRef& list) const;
  static std::int64_t layerSelectedIndex(std::int32_t id, const platform::ArrayRef& layers, platform::ArrayRef& list);
  void bringToFront();
  void bringForward();
  void sendToBack();
  void sendTobackward();

  // Line the other group-selected layers up with the primary layer's edge.
  void aligntop();
  void alignbottom();
  void alignleft();
  void alignright();

  // Combine the other group-selected shapes into the primary shape, which stays; they go.
  void pathUnion();
  void pathSubtract();
  void pathIntersect();
  void pathDifference();

  // ---- grid and in-place text editing (CMEditorViewGrid.cpp, CMEditorViewTextEditing*.cpp) ----
  // A new text layer at the click (document units at any zoom), selected and reported; null when none is made.
  std::shared_ptr<CMLayer> addText(const platform::Event& event);
  // The double click of the selection tools on a text layer: edits that layer in place.
  void textDBClick(const platform::Event& event, const std::shared_ptr<CMLayer>& layer);
  // Shows the editor over `layer` (a text layer) and hides the layer until the edit ends.
  void startEditingText(const platform::Event& event, const std::shared_ptr<CMLayer>& layer);
  // Writes the text back, shows the layer again and returns to the select tool. The event is not read. An existing
  // text whose words changed is one undo step, as a rename is; a text just made is part of its adding.
  void endEditingText(const platform::Event& event);
  bool isEditingText() const;
  // The in-place editor, null until the first edit.
  platform::TextView* textEditor() const { return textView_.get(); }

 protected:
  // The page background under the layers: the transparency pattern for a fully transparent page.
  virtual void drawDefaultBackground(platform::GraphicsContext& context);
  bool isPageTransparent() const;
  // A completion that runs `action` on this canvas if the canvas still exists then.
  Completion completion(std::function<void(CMEditorView&)> action);
  // After the drawer rebuilt its layer objects: the kept layers are found again by id.
  void relinkLayers();
  void rebuildLayers();
  // Finishes what is under way in the document shown so far and forgets its layers.
  void leaveDocument();
  void becomeActiveEditor();
  // The root record's "zoom"; anything but a positive finite number counts as 1.
  float documentZoom() const;

 private:
  void createCustomCursors();
  // ---- shape creation tools (CMEditorViewCreation*.cpp) ----
  void addSimpleShape(const platform::Event& event, const char* key, Completion done);
  void addMultyPoints(const platform::Event& event, const char* key, Completion done);
  void addBetheier(const platform::Event& event, const char* key, Completion done);
  // The tools' tracking loop: every event goes to the delegate, drags to `onDrag`, the ending mouse up to `onUp`.
  void trackCreation(const platform::Event& start, std::function<void(const platform::Event&)> onDrag,
                     std::function<void(const platform::Event&)> onUp);
  void trackRubberBand(const platform::Event& start, std::function<void()> onUp);
  void trackGuideLine(const platform::Event& start, std::function<void()> onUp);
  platform::Point canvasPoint(const platform::Event& event) const;
  platform::Point documentPoint(platform::Point canvasPoint) const;
  void setUpCreatedLayer(CMLayer& layer) const;
  void reportCreatedLayer(const std::shared_ptr<CMLayer>& layer);
  // The layer object of a library copy: built, set up, selected, saved as Bezier points and reported.
  // `band`: the rectangle the new layer fills (the library tool's band, in canvas units); without one it keeps the
  // record's own size.
  void addLibraryShape(const platform::DictRef& record, std::optional<platform::Rect> band = std::nullopt);
  platform::Point canvasPointFromScreen(platform::Point screenPoint) const;
  void finishEraser(const Layers& erased, const platform::BezierPath& offset10,
                    const platform::BezierPath& offset20, platform::Point point1, platform::Point point2);
  // The pen: a click (in document units) on a curve being built, and the steps that finish a curve.
  void addPenPoint(platform::Point point, Completion done);
  void startPenCurve(const char* key, platform::Point point);
  static void finishPenCurve(CMLayer& layer);
  platform::ArrayRef penPoints() const;
  void dispatchSelectTool(const platform::Event& event);
  void deleteSelection();
  bool moveByKey(const platform::Event& event);
  // ---- layer commands ----
  Records selectedRecords(bool (*wanted)(const CMLayer& layer)) const;
  // Aligns each other group-selected layer by `place`, which gives the new rectangle from the primary's and its own.
  void alignLayers(platform::Rect (*place)(const platform::Rect& reference, const platform::Rect& own));
  void flipSelectedLayers(bool horizontal);
  // Moves the primary layer from index i of its list to the index `target` gives (nullopt: no move).
  void restackSelectedLayer(std::optional<std::int64_t> (*target)(std::int64_t index, std::size_t count));
  // The command's name names its undo step.
  void combineSelectedPaths(std::int32_t operation, const char* name);
  // ---- selection, hit-testing and moving ----
  struct HandleDrag;
  void dragStep(HandleDrag& drag, const platform::Event& event);
  void dragHandle(HandleDrag& drag, platform::Point pointer);
  void dragWhole(HandleDrag& drag, platform::Point pointer);
  void endDrag(HandleDrag& drag);
  static Layers dragged(const HandleDrag& drag);
  void bandStep(platform::Point start, const platform::Event& event);
  // Tells the main window the whole selection, once, so that every panel shows what the commands act on.
  void announceSelection();
  // Without a current choice, the topmost marked layer (a primary one before the others) becomes the current one.
  void adoptCurrentLayer();
  // After a rebuild: the current choice as the drawing holds it now, or another marked layer when it is gone.
  void settleSelection();
  // A press on the in-place text editor is the editor's: AppKit's text view would have kept it.
  bool pressIsOnTextEditor(const platform::Event& event) const;
  void saveMoving(CMSuspendMoving& axis, bool horizontal, const platform::Rect& bounds, platform::Point point,
                  platform::Point current, bool runtime);
  CMSuspendMoving horizontalSuspendMoving_{0};
  CMSuspendMoving verticalSuspendMoving_{1};
  bool showCenterMarkers_ = false;
  // ---- partial redraws (CMEditorViewDamage.cpp) ----
  // Where the selection marks and helper lines draw now; nullopt when too many layers are marked to measure.
  std::optional<std::vector<platform::Rect>> marksReach() const;
  // The layer objects over the selected records, which the style panels have just edited.
  Layers editedLayers() const;
  // That as of the last drawing: what a change must clear.
  std::optional<std::vector<platform::Rect>> marksDrawn_;
  // The damage each changed layer reported since the canvas last drew.
  mutable std::unordered_map<const CMLayer*, platform::Rect> damageSinceDrawn_;
  // While the canvas edits its own layers their change notices ask for no redraw: it asks for its own, smaller one.
  class OwnEdit {
   public:
    explicit OwnEdit(CMEditorView& view) : view_(view), outer_(!view.editingItself_) { view.editingItself_ = true; }
    ~OwnEdit() {
      if (outer_) view_.editingItself_ = false;
    }
    OwnEdit(const OwnEdit&) = delete;
    OwnEdit& operator=(const OwnEdit&) = delete;

   private:
    CMEditorView& view_;
    bool outer_;
  };
  bool editingItself_ = false;

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
  // ---- in-place text editing ----
  void setTextFieldParam();
  void startEventOutsideClicker();
  void textDidChange();
  // The edited layer's rectangle in canvas units, and the editor's frame over it (50 document units wider).
  platform::Rect editedTextRect() const;
  platform::Rect textEditorFrame() const;
  // Whether a left press located in the window ends the edit (it lies outside the editor and the layer).
  bool isOutsideEditedText(platform::Point locationInWindow) const;
  // The end of an edit of an existing text: one undo step when its words changed.
  void registerTextEdit(const platform::DictRef& record);
  std::shared_ptr<platform::TextView> textView_;
  std::shared_ptr<CMOutsideClickMonitor> outsideClicker_;
  std::int32_t oldEditMode_ = 0;
  // The edited layer's text when the edit began; none for a layer the edit made.
  std::optional<std::string> textBefore_;
  // ---- shape creation tools' state ----
  platform::Rect selRect_;
  platform::Point showPoint1_;
  platform::Point showPoint2_;
  platform::Point curvePoint_;
  platform::Point curveControlPoint1_;
  platform::Point curveControlPoint2_;
  bool showSelRect_ = false;
  bool showSelLine_ = false;
  bool showControlPoints_ = false;
  bool showCurvePoint_ = false;
  bool showLastCurvePoint_ = false;
  bool needToCreateNewLayer_ = false;
  bool firstPoint_ = false;
  bool isDraggingCurve_ = false;
  bool closedPointMoved_ = false;
};
