// The SVG reader's handling of elements: groups, gradient definitions, shapes and text.

#include "io/svg/VDSVGParser.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <utility>

#include "document/CMBaseDocument.h"
#include "document/CMProject.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "io/svg/VDSVGColorValue.h"
#include "io/svg/VDSVGInheritance.h"
#include "io/svg/VDSVGNumberList.h"
#include "io/svg/VDSVGOpacity.h"
#include "io/svg/VDSVGRendering.h"
#include "io/svg/VDSVGTransformList.h"
#include "io/svg/VDSVGViewport.h"
#include "platform/core/memory.h"
#include "platform/core/string_conversions.h"
#include "platform/core/string_utilities.h"

using platform::DictRef;
using platform::Value;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The element name without an "svg:" prefix.
std::string_view withoutPrefix(std::string_view name) {
  return name.find("svg:") != std::string_view::npos ? name.substr(4) : name;
}

// Elements whose contents are never drawn where they stand.
bool hidesContents(std::string_view name) {
  return name == "defs" || name == "clipPath" || name == "mask" || name == "symbol" || name == "marker" ||
         name == "pattern" || name == "title" || name == "desc" || name == "metadata";
}

// Elements that say what a drawing is, with nothing in them ever meant to be drawn: what they hold is not left out.
bool describes(std::string_view name) { return name == "title" || name == "desc" || name == "metadata"; }

// Shape elements: what they hold (titles, animations, stray shapes) is not drawn either.
bool isShape(std::string_view name) {
  return name == "path" || name == "rect" || name == "circle" || name == "line" || name == "polyline" ||
         name == "polygon";
}

bool isDefinition(std::string_view name) {
  return name == "stop" || name == "radialGradient" || name == "linearGradient";
}

// The SVG elements a "switch" chooses among: those that draw or hold what draws.
bool isChoice(std::string_view name) {
  static constexpr std::string_view kDrawn[] = {"g",       "svg",  "switch",  "a",       "use",      "image",
                                                "foreignObject", "text", "path", "rect", "circle", "ellipse",
                                                "line",    "polyline", "polygon", "flowRoot"};
  return std::find(std::begin(kDrawn), std::end(kDrawn), name) != std::end(kDrawn);
}

// Spans of text, and of flowed text: a paragraph starts a line of its own.
bool isSpan(std::string_view name) {
  return name == "tspan" || name == "flowPara" || name == "flowSpan" || name == "flowDiv";
}

// Style pieces "name: value" set the attribute they name; a later piece wins over an earlier one and over the
// element's own attribute.
DictRef withStylePieces(const DictRef& attributes) {
  DictRef merged = attributes->mutableCopy();
  const Value* style = attributes->find("style");
  if (!style) return merged;
  const std::string text = style->string();
  merged->remove("style");
  for (const std::string& piece : platform::componentsSeparatedByString(text, ";")) {
    if (piece.empty()) continue;
    const std::vector<std::string> parts = platform::componentsSeparatedByString(piece, ":");
    if (parts.size() >= 2) merged->set(parts[0], parts[1]);
  }
  return merged;
}

// Two transform texts, the outer one first, as one "matrix(…)"; either alone as it is.
std::string composedTransforms(const Value* outer, const Value* inner) {
  if (!outer || !inner) return (outer ? outer : inner)->string();
  platform::AffineTransform t;
  bool found = false;
  applySVGTransformList(outer->string(), t, found);
  applySVGTransformList(inner->string(), t, found);
  std::string text = "matrix(";
  for (const double n : {t.m11, t.m12, t.m21, t.m22, t.tX, t.tY}) text += platform::formatDouble(n) + " ";
  text.back() = ')';
  return text;
}

// About the heap bytes a record takes: its containers and values, and the text of its strings (records made alike
// share their keys). An array in `counted` is held already (records share a gradient's stops): it takes nothing more.
std::uint64_t approximateBytes(const Value& value, std::unordered_set<const platform::Array*>* counted = nullptr) {
  constexpr std::uint64_t kShared = 16;  // a shared pointer's count block
  if (const DictRef dictionary = value.dictionary()) {
    std::uint64_t bytes = sizeof(platform::Dictionary) + kShared;
    for (const auto& [key, entry] : *dictionary) bytes += sizeof(Value) + approximateBytes(entry, counted);
    return bytes;
  }
  if (const platform::ArrayRef array = value.array()) {
    if (counted && !counted->insert(array.get()).second) return 0;
    std::uint64_t bytes = sizeof(platform::Array) + kShared;
    for (const Value& entry : *array) bytes += sizeof(Value) + approximateBytes(entry, counted);
    return bytes;
  }
  return value.isString() ? sizeof(std::string) + kShared + value.string().size() : 0;
}

// The bytes the file's shape elements take as records at least: each as large as the record it starts from.
std::uint64_t leastRecordBytes(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> kShapes[] = {
      {"rect", "rect"}, {"circle", "oval"},        {"path", "path"}, {"line", "line"},
      {"polygon", "path_polygon"}, {"polyline", "path_polygon"}, {"text", "text"}};
  std::uint64_t sizes[std::size(kShapes)] = {};
  for (std::size_t i = 0; i < std::size(kShapes); ++i) {
    if (const DictRef record = CMProject::defaultObject(kShapes[i].second)) sizes[i] = approximateBytes(record);
  }
  std::uint64_t bytes = 0;
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::string_view name = text.substr(at + 1, 16);
    if (name.starts_with("svg:")) name.remove_prefix(4);
    for (std::size_t i = 0; i < std::size(kShapes); ++i) {
      const std::string_view shape = kShapes[i].first;
      if (name.starts_with(shape) && name.size() > shape.size() &&
          (isBlank(name[shape.size()]) || name[shape.size()] == '/' || name[shape.size()] == '>')) {
        bytes += sizes[i];
      }
    }
  }
  return bytes;
}

}  // namespace

VDSVGParser::VDSVGParser(std::uint64_t recordBudget) : recordBudget_(recordBudget) {}

std::uint64_t VDSVGParser::defaultRecordBudget() { return platform::availableMemory() / 2; }

DictRef VDSVGParser::prepareAttributes(const DictRef& attributes) {
  DictRef prepared = platform::Dictionary::make();
  for (const auto& [key, value] : *attributes) {
    prepared->set(trimmed(key), value.isString() ? Value(trimmed(value.string())) : value);
  }
  return prepared;
}

DictRef VDSVGParser::findAttributes(const DictRef& attributes) const {
  const DictRef result = gAttributes_.empty() ? platform::Dictionary::make() : gAttributes_.back()->mutableCopy();
  const platform::ArrayRef transforms = platform::Array::make();
  if (const Value* inherited = result->find("transform")) transforms->add(*inherited);
  for (const auto& [key, value] : *attributes) {
    if (key == "transform") {
      transforms->add(value);
    } else {
      setSVGAttribute(result, key, value);
    }
  }
  result->set("transform", transforms->empty() ? Value() : Value(transforms));
  return result;
}

void VDSVGParser::pushGroupAttributes(const DictRef& prepared) {
  const DictRef outer = gAttributes_.empty() ? nullptr : gAttributes_.back();
  const DictRef inherited = SVGInheritedAttributes(outer, prepared);
  const Value* outerTransform = outer ? outer->find("transform") : nullptr;
  const Value* ownTransform = prepared->find("transform");
  if (outerTransform || ownTransform) inherited->set("transform", composedTransforms(outerTransform, ownTransform));
  gAttributes_.push_back(inherited);
}

void VDSVGParser::setDefaultAttributes(const DictRef& attributes) {
  if (!attributes->contains("fill")) attributes->set("fill", "0x000000");
}

void VDSVGParser::hide(bool counted, bool closes) {
  hiddenDepth_ = 1;
  hiddenCounted_ = counted;
  hiddenCloses_ = closes;
}

bool VDSVGParser::rendered(std::string_view name, const DictRef& prepared) {
  const bool holds = SVGConditionsHold(prepared);
  // A "switch" draws the first of its direct children whose conditions hold, and none of the others.
  if (!switches_.empty() && switches_.back().depth + 1 == elementDepth_ && isChoice(name)) {
    if (switches_.back().chosen || !holds) return false;
    switches_.back().chosen = true;
  } else if (!holds) {
    return false;
  }
  return SVGDisplayed(prepared);
}

void VDSVGParser::didStartElement(std::string_view qualifiedName, const DictRef& attributes) {
  const std::string_view name = withoutPrefix(qualifiedName);
  ++elementDepth_;
  if (hiddenDepth_ > 0) {
    ++hiddenDepth_;
    // A flowed text's region is no shape, but its corner is where the text starts.
    if (flowRegionOpen_ && isShape(name) && text_) takeRegion(name, attributes);
    // Gradients defined where nothing is drawn are still found by reference.
    if (!isDefinition(name)) {
      if (hiddenCounted_) skip(name);
      return;
    }
  }
  const DictRef prepared = prepareAttributes(withStylePieces(attributes));
  // What SVG does not render is not imported, and not reported as left out either.
  if (!isDefinition(name) && !rendered(name, prepared)) return hide(false, false);
  const bool groups = name == "g" || name == "svg" || name == "switch";
  if (groups) openGroup(prepared);
  if (hidesContents(name) || isShape(name)) hide(!describes(name), false);
  if (name == "svg") {
    if (!firstSize_) {
      firstSize_ = platform::Size{prepared->get("width").floatValue(), prepared->get("height").floatValue()};
    }
    // Its viewBox and place transform what it holds, as a group's transform does, until its end. The outermost
    // one lies on the page imported into.
    const platform::Size outer = openSVGs_.empty() ? pageSize() : platform::Size{width_, height_};
    const SVGViewport viewport = SVGViewportOf(prepared, !openSVGs_.empty(), outer);
    openSVGs_.push_back({{width_, height_}});
    // What it holds takes its presentation attributes, as a group's members do; its viewport is its transform.
    const DictRef own = prepared->mutableCopy();
    own->set("transform", viewport.transform ? Value(*viewport.transform) : Value());
    pushGroupAttributes(own);
    width_ = static_cast<float>(viewport.size.width);
    height_ = static_cast<float>(viewport.size.height);
    if (viewport.empty) hide(true, true);
  } else if (name == "stop") {
    addStop(prepared);
  } else if (name == "radialGradient" || name == "linearGradient") {
    currentGradient_ = platform::Dictionary::make(
        {{"name", name}, {"attributes", prepared}, {"points", platform::Array::make()}});
  } else if (name == "path") {
    addShape(name, "path", prepared);
  } else if (name == "text" || name == "flowRoot") {
    if (!text_) text_.emplace(findAttributes(prepared), name == "flowRoot");
  } else if (name == "circle") {
    addShape(name, "oval", prepared);
  } else if (name == "rect") {
    addShape(name, "rect", prepared);
  } else if (name == "line") {
    addShape(name, "line", prepared);
  } else if (name == "polygon" || name == "polyline") {
    addShape(name, "path_polygon", prepared);
  } else if (groups) {
    pushGroupAttributes(prepared);
    if (name == "switch") switches_.push_back({elementDepth_, false});
  } else if (isSpan(name) && text_ && text_->flowed() == (name != "tspan")) {
    text_->openSpan(prepared, name == "flowPara" || name == "flowDiv");
  } else if (name == "flowRegion" || name == "flowRegionExclude") {
    // The text starts at its first region.
    flowRegionOpen_ = name == "flowRegion" && text_ && text_->flowed() && !text_->hasRegion();
    hide(false, false);
  } else if (!hidesContents(name)) {
    skip(name);
    // Characters a text holds in an element the reader leaves out (a text on a path, a span of the other kind of
    // text) would stand in the wrong place: they go with it. A link only marks its characters.
    if (text_ && name != "a") hide(false, false);
  }
}

void VDSVGParser::takeRegion(std::string_view name, const DictRef& attributes) {
  flowRegionOpen_ = false;
  // In the text's own coordinates, where the region lies.
  const DictRef own = prepareAttributes(withStylePieces(attributes));
  own->remove("transform");
  static constexpr std::pair<std::string_view, std::string_view> kShapes[] = {
      {"rect", "rect"}, {"circle", "oval"}, {"path", "path"}, {"polygon", "path_polygon"}, {"polyline", "path_polygon"}};
  for (const auto& [element, shape] : kShapes) {
    if (element != name) continue;
    const CMPathSVGLayerCreator creator(own, shape, *document_, {width_, height_}, gradients_, styles_);
    const DictRef shapeRecord = creator.object() ? creator.object()->dictionary("shape") : nullptr;
    if (!shapeRecord || !shapeRecord->array("points")) return;
    const platform::Rect box = CMPathSVGLayerCreator::rectFromPoints(shapeRecord->array("points"));
    text_->setRegion({box.origin.x + creator.object()->get("x").doubleValue(),
                      box.origin.y + creator.object()->get("y").doubleValue()});
  }
}

void VDSVGParser::addStop(const DictRef& prepared) {
  if (!currentGradient_) return;
  const platform::ArrayRef stops = currentGradient_->array("points");
  if (stops->size() >= kMostStops) {
    return didFail(currentLine_(), platform::formatString("a gradient has more than %zu stops", kMostStops));
  }
  stops->add(prepared);
}

platform::Size VDSVGParser::pageSize() const {
  const DictRef page = document_->data();
  return {page->get("width").doubleValue(), page->get("height").doubleValue()};
}

void VDSVGParser::openGroup(const DictRef& prepared) {
  const bool opens = groupDepth_ < kDeepestGroup;
  if (opens) {
    const DictRef group = document_->createGroup();
    countRecord(group);
    if (const Value* opacity = prepared->find("opacity")) group->set("alpha", SVGOpacity(opacity->string()));
    if (currentGroup_) {
      group->set("parent", currentGroup_);
      currentGroup_->array("items")->add(group);
    } else {
      parsedGroups_->add(group);
    }
    currentGroup_ = group;
    ++groupDepth_;
  }
  openedGroups_.push_back(opens);
}

void VDSVGParser::addShape(std::string_view element, std::string_view shape, const DictRef& prepared) {
  const DictRef attributes = findAttributes(prepared);
  if (!SVGVisible(attributes)) return;
  setDefaultAttributes(attributes);
  CMPathSVGLayerCreator creator(attributes, shape, *document_, platform::Size{width_, height_}, gradients_, styles_,
                                element == "polygon");
  const DictRef& record = creator.object();
  if (creator.drawsNothing()) return;
  // A shape outside every group has no place to go.
  if (!record || !creator.isFinite() || !currentGroup_) return skip(element);
  const platform::ArrayRef items = currentGroup_->array("items");
  items->add(record);
  countRecord(record);
  if (const std::string id = SVGPaintReferenceOf(attributes->get("fill").string()).id;
      !id.empty() && !gradients_.find(id)) {
    // A gradient may be defined after the shapes that use it: the shape is made again once all are known.
    madeAgain_.push_back({items, items->size() - 1, std::string(element), std::string(shape), attributes,
                          {width_, height_}});
  }
}

void VDSVGParser::makeShapesAgain() {
  for (const LaterShape& later : madeAgain_) {
    if (!gradients_.find(SVGPaintReferenceOf(later.attributes->get("fill").string()).id)) continue;
    CMPathSVGLayerCreator creator(later.attributes, later.shape, *document_, later.size, gradients_, styles_,
                                  later.element == "polygon");
    if (creator.object() && creator.isFinite()) later.items->set(later.index, creator.object());
  }
  madeAgain_.clear();
}

void VDSVGParser::didEndElement(std::string_view qualifiedName) {
  const std::string_view name = withoutPrefix(qualifiedName);
  --elementDepth_;
  // Within a hidden element, or at its end, only gradient definitions are closed, and what the hidden element
  // itself opened (an "svg" of no size).
  if (hiddenDepth_ > 0) {
    --hiddenDepth_;
    if (hiddenDepth_ == 0) flowRegionOpen_ = false;
    if (!isDefinition(name) && !(hiddenDepth_ == 0 && hiddenCloses_)) return;
  }
  if (name == "radialGradient" || name == "linearGradient") {
    if (currentGradient_) gradients_.add(currentGradient_);
    currentGradient_ = nullptr;
  } else if (name == "g" || name == "switch" || name == "svg") {
    // What comes after the element is no longer inside its group.
    if (!openedGroups_.empty() && openedGroups_.back() && currentGroup_) {
      currentGroup_ = currentGroup_->dictionary("parent");
      --groupDepth_;
    }
    if (!openedGroups_.empty()) openedGroups_.pop_back();
    if (!gAttributes_.empty()) gAttributes_.pop_back();
    if (name == "switch" && !switches_.empty()) switches_.pop_back();
    if (name == "svg" && !openSVGs_.empty()) {
      width_ = static_cast<float>(openSVGs_.back().outer.width);
      height_ = static_cast<float>(openSVGs_.back().outer.height);
      openSVGs_.pop_back();
    }
  } else if (name == "text" || name == "flowRoot") {
    closeText();
  } else if (isSpan(name)) {
    if (text_) text_->closeSpan();
  }
}

bool VDSVGParser::refusedAtOnce(std::string_view text) {
  if (leastRecordBytes(text) > recordBudget_) refuse();
  return !refusal_.empty();
}

void VDSVGParser::countRecord(const DictRef& record) {
  // Elements the file's text does not show (from entities) count as they come.
  recordBytes_ += approximateBytes(record, &countedArrays_);
  if (recordBytes_ > recordBudget_ && refusal_.empty()) refuse();
}

void VDSVGParser::refuse() {
  refusal_ = platform::formatString(
      "The file is too large to import: its elements need more than the %llu MB of memory that can be spared.",
      static_cast<unsigned long long>(recordBudget_ >> 20));
}

void VDSVGParser::foundCharacters(std::string_view characters) {
  if (!text_ || hiddenDepth_ > 0 || stopped()) return;
  allTextBytes_ += characters.size();
  if (text_->size() + characters.size() > kLongestText) {
    return didFail(currentLine_(), platform::formatString("a text is longer than %zu bytes", kLongestText));
  }
  if (allTextBytes_ > kLongestTexts) {
    return didFail(currentLine_(), platform::formatString("the texts are longer than %zu bytes", kLongestTexts));
  }
  text_->addCharacters(characters);
}

void VDSVGParser::closeText() {
  if (!text_) return;
  const CMSVGText::Made made = text_->make(*document_, {width_, height_}, gradients_, styles_);
  text_.reset();
  for (const std::string& element : made.leftOut) skip(element);
  if (!made.record) return;
  // A text outside every group has no place to go.
  if (!made.finite || !currentGroup_) return skip("text");
  currentGroup_->array("items")->add(made.record);
  countRecord(made.record);
}

void VDSVGParser::didFail(int line, std::string message) {
  if (!failure_) failure_ = Failure{line, std::move(message)};
}

void VDSVGParser::skip(std::string_view element) {
  auto found = skipped_.find(element);
  if (found == skipped_.end()) {
    skippedOrder_.emplace_back(element);
    found = skipped_.emplace(std::string(element), 0).first;
  }
  ++found->second;
}

std::string VDSVGParser::skippedSummary() const {
  std::string summary;
  for (const std::string& element : skippedOrder_) {
    if (!summary.empty()) summary += ", ";
    summary += std::to_string(skipped_.find(element)->second) + " " + element;
  }
  return summary;
}

void VDSVGParser::clearTempData() {
  std::vector<DictRef> pending;
  for (const Value& entry : *parsedGroups_) pending.push_back(entry.dictionary());
  while (!pending.empty()) {
    const DictRef record = pending.back();
    pending.pop_back();
    if (!record) continue;
    record->remove("parent");
    if (const platform::ArrayRef items = record->array("items")) {
      for (const Value& item : *items) pending.push_back(item.dictionary());
    }
  }
}
