#include "drawing_session.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "canvas/CMSelectionGeometry.h"
#include "document/CMLayer.h"
#include "document/CMProject.h"
#include "document/CMShapeLayer.h"
#include "document/CMUndoActionType.h"
#include "platform/core/geometry_strings.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/rect_functions.h"

namespace {

using platform::DictRef;
using platform::Point;

constexpr int kSurfaceSide = 64;
constexpr int kMaxDragSteps = 3;

// A pointer offset in canvas units: mostly a few pixels, sometimes a long way. (Ordinary
// sizes stay small: a layer of thousands of pixels is rendered whole at zoom 4, which is
// slow enough under the sanitizers to pass for a hang.)
double offset(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0: return input.ConsumeIntegralInRange(-300, 300);
    case 1: return input.ConsumeFloatingPointInRange<double>(-600, 600);
    case 2: return input.ConsumeBool() ? 1e9 : -1e9;
    default: return 0.5;
  }
}

Point point(FuzzedDataProvider& input) { return {offset(input), offset(input)}; }

template <class T>
const T* choose(FuzzedDataProvider& input, const std::vector<T>& from) {
  if (from.empty()) return nullptr;
  return &from[input.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
}

void append(std::vector<DictRef>& to, const platform::ArrayRef& handles) {
  if (!handles) return;
  for (const platform::Value& handle : *handles)
    if (const DictRef record = handle.dictionary()) to.push_back(record);
}

// Group records too, so the document's own edits reach whole groups.
void collectRecords(const platform::ArrayRef& list, std::vector<DictRef>& records) {
  if (!list) return;
  for (const platform::Value& entry : *list) {
    const DictRef record = entry.dictionary();
    if (!record) continue;
    records.push_back(record);
    if (record->get("type").intValue() == 3) collectRecords(record->array("items"), records);
  }
}

bool rotates(std::int32_t kind) { return kind == kCMHandleRotateTop || kind == kCMHandleRotateBottom; }
bool resizes(std::int32_t kind) { return kind >= 1 && kind <= 9; }
bool editsPathPoints(std::int32_t kind) { return kind >= kCMHandlePathPoint && kind <= kCMHandleControlPoint2; }

}  // namespace

DrawingSession::DrawingSession(std::shared_ptr<CMDocument> document) : document_(std::move(document)) { rebuild(); }

void DrawingSession::rebuild() {
  drawer_.setViewMode(vectorViewMode_);
  drawer_.setZoom(zoom_);
  drawer_.setDocument(document_);
}

void DrawingSession::drawOnce(bool designMode) {
  const std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSurfaceSide, kSurfaceSide), cairo_surface_destroy);
  platform::GraphicsContext context(surface.get(), kSurfaceSide, designMode);
  drawer_.draw(context, {0, 0, kSurfaceSide, kSurfaceSide}, designMode);
}

void DrawingSession::measure() {
  for (const auto& layer : drawer_.layers()) {
    float margin = 0;
    layer->findDisplayRect(margin);
    layer->framePath(false).isEmpty();
    layer->framePath(true).isEmpty();
    layer->path().isEmpty();
    layer->layerRect();
    layer->editingPoints();
    layer->lineEditingPoints();
    layer->pathEditingPoints();
    layer->gradientEditingPoints();
  }
}

void DrawingSession::drawEveryWay(bool designMode) {
  const bool mode = vectorViewMode_;
  const float zoom = zoom_;
  for (const bool vector : {false, true}) {
    for (const float z : {1.0f, 4.0f}) {
      vectorViewMode_ = vector;
      zoom_ = z;
      rebuild();
      // Selected layers show their handles in design mode.
      for (std::size_t i = 0; i < drawer_.layers().size(); i += 2) drawer_.layers()[i]->setSelected(true);
      drawOnce(designMode);
      measure();
    }
  }
  vectorViewMode_ = mode;
  zoom_ = zoom;
  deselectAll();
  rebuild();
}

void DrawingSession::deselectAll() {
  for (const auto& layer : drawer_.layers()) layer->setSelected(false);
  CMProject::shareProject().setEditMode(kCMEditModeObject);
}

std::shared_ptr<CMLayer> DrawingSession::pickLayer(FuzzedDataProvider& input) {
  const auto* layer = choose(input, drawer_.layers());
  return layer ? *layer : nullptr;
}

std::vector<DictRef> DrawingSession::pickRecords(FuzzedDataProvider& input) {
  std::vector<DictRef> all;
  collectRecords(document_->data()->array("layers"), all);
  for (const auto& layer : drawer_.layers()) all.push_back(layer->data());  // masks as well
  std::vector<DictRef> chosen;
  for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i)
    if (const DictRef* record = choose(input, all)) chosen.push_back(*record);
  return chosen;
}

std::string DrawingSession::editOnce(FuzzedDataProvider& input) {
  rebuild();
  // The canvas has drawn the layers before the user reaches them: that sets their transforms.
  drawOnce(true);
  std::string name;
  switch (input.ConsumeIntegralInRange(0, 8)) {
    case 0: name = dragHandle(input); break;
    case 1: name = moveLayer(input, false); break;
    case 2: name = moveLayer(input, true); break;
    case 3: name = editPoints(input); break;
    case 4: name = addLayer(input); break;
    case 5: name = editLayerList(input); break;
    case 7: name = combinePaths(input); break;
    case 6:
      vectorViewMode_ = input.ConsumeBool();
      zoom_ = input.ConsumeFloatingPointInRange<float>(0.05f, 16.0f);
      name = "view mode and zoom";
      break;
    default:
      if (input.ConsumeBool()) {
        document_->undo();
        name = "undo";
      } else {
        document_->redo();
        name = "redo";
      }
      break;
  }
  deselectAll();
  rebuild();
  return name;
}

std::string DrawingSession::moveLayer(FuzzedDataProvider& input, bool byKey) {
  const std::shared_ptr<CMLayer> layer = pickLayer(input);
  if (!layer) return "move (no layer)";
  layer->setSelected(true);
  document_->undoManager().regUndoDictionary(kCMUndoEditing, layer->data());
  const Point origin = layer->originPoint();
  if (byKey) {
    static constexpr Point kArrows[] = {{0, 1}, {0, -1}, {-1, 0}, {1, 0}};
    const Point arrow = kArrows[input.ConsumeIntegralInRange(0, 3)];
    layer->setOriginPoint({origin.x + arrow.x, origin.y + arrow.y});
  } else {
    for (int step = input.ConsumeIntegralInRange(1, kMaxDragSteps); step > 0; --step) {
      const Point by = point(input);
      const float dx = static_cast<float>(by.x), dy = static_cast<float>(by.y);
      layer->setOriginPoint({origin.x + dx, origin.y + dy});
    }
  }
  document_->setDirty(true);
  return byKey ? "nudge" : "move";
}

// As the canvas drags a handle: the undo step first, the rotation centre locked for
// the drag and unlocked on release.
std::string DrawingSession::dragHandle(FuzzedDataProvider& input) {
  const std::shared_ptr<CMLayer> layer = pickLayer(input);
  if (!layer) return "handle (no layer)";
  static constexpr std::int32_t kModes[] = {kCMEditModeObject, kCMEditModePathPoints, kCMEditModeGradient};
  const std::int32_t mode = kModes[input.ConsumeIntegralInRange(0, 2)];
  CMProject::shareProject().setEditMode(mode);
  layer->setSelected(true);
  std::vector<DictRef> handles;
  if (mode == kCMEditModeObject) {
    append(handles, layer->editingPoints());
    append(handles, layer->lineEditingPoints());
  } else if (mode == kCMEditModePathPoints) {
    append(handles, layer->pathEditingPoints());
  } else {
    append(handles, layer->gradientEditingPoints());
  }
  const DictRef* chosen = choose(input, handles);
  if (!chosen) return "handle (none)";
  const DictRef handle = *chosen;
  const std::int32_t kind = handle->get("type").intValue();
  layer->setSelEditingPoint(handle);
  const platform::AffineTransform zoom = drawer_.zoomTransform();
  const platform::AffineTransform backZoom = drawer_.backZoomTransform();
  const Point press = zoom.transformPoint(platform::pointFromString(handle->get("point").string()));
  const Point start = backZoom.transformPoint(press);
  const Point origin = layer->originPoint();
  const platform::Size size = layer->originalSize();
  document_->undoManager().regUndoDictionary(kCMUndoEditing, layer->data());

  bool centerLocked = false;
  for (int step = input.ConsumeIntegralInRange(1, kMaxDragSteps); step > 0; --step) {
    const Point by = point(input);
    const Point pointer{press.x + by.x, press.y + by.y};
    const platform::BezierPath frame = layer->framePath();
    if (!centerLocked) {
      layer->lockCenter(&frame);
      centerLocked = true;
    }
    const Point pointerInDocument = backZoom.transformPoint(pointer);
    if (rotates(kind)) {
      const platform::Rect bounds = frame.bounds();
      const Point centre = backZoom.transformPoint({platform::midX(bounds), platform::midY(bounds)});
      float angle = selection_geometry::angleBetweenPoints(pointerInDocument, centre);
      if (kind == kCMHandleRotateTop) angle -= 180;
      layer->setRotation(angle);
      continue;
    }
    const platform::AffineTransform back =
        editsPathPoints(kind) ? layer->backRotateTransform(&frame, &backZoom) : layer->backRotateTransform(&frame);
    const Point q = back.transformPoint(pointerInDocument);
    const Point q0 = back.transformPoint(start);
    const bool zoomed = vectorViewMode_ && zoom_ > 0 && std::isfinite(zoom_);
    const float k = zoomed ? zoom_ : 1.0f;
    if (resizes(kind)) {
      const float dx = static_cast<float>((q.x - q0.x) * k);
      const float dy = static_cast<float>((q.y - q0.y) * k);
      const bool saveRatio = layer->data()->get("saveratio").boolValue();
      const selection_geometry::HandleResize resize =
          selection_geometry::resizeByHandle(kind, origin, size, dx, dy, k, saveRatio);
      layer->setOriginSize(resize.size);
      if (resize.movesOrigin) layer->setOriginPoint(resize.origin);
      continue;
    }
    const Point target{q.x * k, q.y * k};
    switch (kind) {
      case kCMHandlePathPoint: layer->setPathPoint(target, handle); break;
      case kCMHandleControlPoint1: layer->setPathControlPoint1(target, handle); break;
      case kCMHandleControlPoint2: layer->setPathControlPoint2(target, handle); break;
      case kCMHandleLineStart: layer->setLineStartPoint(target); break;
      case kCMHandleLineEnd: layer->setLineEndPoint(target); break;
      case kCMHandleGradientCentre: layer->setGradientCentralPoint(target); break;
      case kCMHandleGradientRadius: layer->setGradientPoint(target); break;
      default: break;
    }
  }
  if (centerLocked) layer->unlockCenter();
  document_->setDirty(true);
  return "drag handle " + std::to_string(kind);
}

// The point option strip's commands on the layer selected in path-point mode.
std::string DrawingSession::editPoints(FuzzedDataProvider& input) {
  const std::shared_ptr<CMLayer> layer = pickLayer(input);
  if (!layer) return "points (no layer)";
  CMProject::shareProject().setEditMode(kCMEditModePathPoints);
  layer->setSelected(true);
  std::vector<DictRef> handles;
  append(handles, layer->pathEditingPoints());
  const DictRef* chosen = choose(input, handles);
  const DictRef handle = chosen && input.ConsumeBool() ? *chosen : nullptr;
  switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
      if (!handle) return "delete point (none selected)";
      document_->undoManager().regUndoShape(layer->data());
      layer->removePoint(handle);
      return "delete point";
    case 1:
      document_->undoManager().regUndoShape(layer->data());
      layer->addPoint(drawer_.zoomTransform().transformPoint(point(input)));
      return "add point";
    default: {
      const std::int32_t type = input.ConsumeIntegralInRange(0, 1);
      document_->undoManager().regUndoShape(layer->data());
      layer->changePointType(type, handle);
      return "point type " + std::to_string(type);
    }
  }
}

// The creation tools: a record from the defaults, its layer object, then its frame.
std::string DrawingSession::addLayer(FuzzedDataProvider& input) {
  static const char* const kNames[] = {"rect",     "oval", "line",     "path",  "star",  "polygon", "roundrect",
                                       "betheier", "text", "freeline", "image", "group", "no such object"};
  const char* name = kNames[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
  const Point at = point(input);
  const DictRef record = document_->addObject(name, at);
  if (!record) return std::string("add ") + name + " (not made)";
  if (const DictRef shape = record->dictionary("shape")) shape->set("isFlipped", 1);
  if (const std::shared_ptr<CMLayer> layer = drawer_.addObject(record)) {
    layer->setSelected(true);
    layer->setZoom(zoom_);
    layer->setVectorViewMode(vectorViewMode_);
    layer->setViewZoom(vectorViewMode_ ? zoom_ : 1.0f);
    const Point size = point(input);
    layer->setLayerRect({at.x, at.y, std::fabs(size.x), std::fabs(size.y)});
  }
  return std::string("add ") + name;
}

// The main window's and the layers panel's commands on the selected records.
std::string DrawingSession::editLayerList(FuzzedDataProvider& input) {
  const std::vector<DictRef> records = pickRecords(input);
  switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0: document_->duplicate(records); return "duplicate";
    case 1:
      document_->copy(records);
      document_->paste();
      return "copy and paste";
    case 2: document_->cut(records); return "cut";
    case 3: document_->deleteLayers(records); return "delete";
    case 4:
    case 5: {
      const bool lock = input.ConsumeBool();
      platform::ArrayRef list = platform::Array::make();
      for (const DictRef& record : records) list->add(record);
      document_->undoManager().regUndoArray(kCMUndoEditing, list);
      lock ? document_->lock(records) : document_->unlock(records);
      return lock ? "lock" : "unlock";
    }
    case 6:
      if (records.empty()) return "hide (nothing)";
      document_->toggleHiddenLayer(records.front());
      return "hide";
    case 7: document_->moveLayers(records, input.ConsumeBool() ? 1 : -1); return "move one place";
    case 8: {
      const std::vector<DictRef> target = pickRecords(input);
      if (target.empty()) return "move after (nothing)";
      document_->moveLayersAfter(records, target.front());
      return "move after";
    }
    default: document_->moveLayersToFirst(records); return "move to first";
  }
}

// The boolean path commands: the other selected shapes combined into the primary one in one
// undo step, as the canvas runs them (its commands need a view; the model's half does not).
std::string DrawingSession::combinePaths(FuzzedDataProvider& input) {
  const auto shapeLayer = [this, &input]() -> CMShapeLayer* {
    const std::shared_ptr<CMLayer> layer = pickLayer(input);
    auto* shape = dynamic_cast<CMShapeLayer*>(layer.get());
    return shape && shape->shape() ? shape : nullptr;
  };
  CMShapeLayer* receiver = shapeLayer();
  if (!receiver) return "combine paths (no shape)";
  std::vector<CMShapeLayer*> operands;
  std::vector<DictRef> registered{receiver->data()};
  for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i) {
    CMShapeLayer* operand = shapeLayer();
    if (!operand || operand == receiver || std::find(operands.begin(), operands.end(), operand) != operands.end())
      continue;
    operands.push_back(operand);
    registered.push_back(operand->data());
  }
  const std::int32_t operation = input.ConsumeIntegralInRange(0, 3);
  CMUndoManager& undo = document_->undoManager();
  CMUndoManager::Transaction transaction(undo);
  undo.regUndoLayers(kCMUndoEditing, registered);
  const std::vector<bool> taken = receiver->combineWith(operands, operation);
  std::vector<DictRef> combined;
  for (std::size_t index = 0; index < operands.size(); ++index)
    if (taken[index]) combined.push_back(operands[index]->data());
  if (!operands.empty() && combined.empty()) {
    transaction.discard();
    return "combine paths (no result)";
  }
  receiver->data()->set("isDirty", 1);
  if (!combined.empty()) document_->remove(combined);
  return "combine paths " + std::to_string(operation);
}
