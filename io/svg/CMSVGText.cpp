#include "io/svg/CMSVGText.h"

#include <cmath>
#include <utility>

#include "document/CMBaseDocument.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "io/svg/CMSVGTextPlacement.h"
#include "io/svg/VDSVGInheritance.h"
#include "io/svg/VDSVGLength.h"
#include "io/svg/VDSVGRendering.h"

using platform::DictRef;
using platform::Value;

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The first of a list of coordinates ("10 20 30" places the first character at 10; the model holds one place).
std::optional<double> firstCoordinate(const DictRef& attributes, std::string_view key) {
  const Value* value = attributes->find(key);
  if (!value) return std::nullopt;
  const std::vector<double> list = SVGLengthList(value->string(), {});
  return list.empty() ? std::nullopt : std::optional<double>(list.front());
}

// The numbers the layer is drawn from, as the record holds them in single precision, are finite.
bool placedFinitely(const DictRef& record) {
  const DictRef style = record->dictionary("style");
  for (const double number : {record->get("x").doubleValue(), record->get("y").doubleValue(),
                              record->get("rotate").doubleValue(), style ? style->get("fontSize").doubleValue() : 0}) {
    if (!std::isfinite(static_cast<float>(number))) return false;
  }
  return true;
}

double anchorShare(const DictRef& attributes) {
  const std::string& anchor = attributes->get("text-anchor").string();
  return anchor == "end" ? 1 : anchor == "middle" ? 0.5 : 0;
}

}  // namespace

CMSVGText::CMSVGText(DictRef attributes, bool flowed) : flowed_(flowed) {
  spans_.push_back(std::move(attributes));
  if (!flowed_) {
    pending_ = {firstCoordinate(spans_.back(), "x"), firstCoordinate(spans_.back(), "y"),
                firstCoordinate(spans_.back(), "dx").value_or(0), firstCoordinate(spans_.back(), "dy").value_or(0)};
  }
  pendingChunk_ = true;
}

void CMSVGText::openSpan(const DictRef& own, bool startsLine) {
  const DictRef merged = spans_.back()->mutableCopy();
  for (const char* key : {"x", "y", "dx", "dy"}) merged->remove(key);
  for (const auto& [key, value] : *own) {
    // A span is neither transformed nor made translucent on its own; its place is its first character's.
    if (key == "transform" || key == "opacity" || key == "x" || key == "y" || key == "dx" || key == "dy") continue;
    setSVGAttribute(merged, key, value);
  }
  spans_.push_back(merged);
  if (flowed_) {
    if (startsLine) pendingChunk_ = true;
  } else {
    // What the span gives joins what is still to place the next character: an element's "y" stands when its
    // first span gives only an "x".
    const std::optional<double> x = firstCoordinate(own, "x"), y = firstCoordinate(own, "y");
    if (x) pending_.x = x;
    if (y) pending_.y = y;
    pending_.dx += firstCoordinate(own, "dx").value_or(0);
    pending_.dy += firstCoordinate(own, "dy").value_or(0);
    if (x || y) pendingChunk_ = true;
  }
  if (pendingChunk_) lastWasSpace_ = true;
}

void CMSVGText::closeSpan() {
  if (spans_.size() > 1) spans_.pop_back();
}

void CMSVGText::addCharacters(std::string_view characters) {
  received_ += characters.size();
  for (char c : characters) {
    if (isBlank(c)) {
      if (lastWasSpace_) continue;
      c = ' ';
      lastWasSpace_ = true;
    } else {
      lastWasSpace_ = false;
    }
    const bool placed = pendingChunk_ || pending_.given();
    if (runs_.empty() || placed || runs_.back().attributes != spans_.back()) {
      // A chunk ends without the blank before the next one.
      if (pendingChunk_ && !runs_.empty() && runs_.back().text.ends_with(' ')) runs_.back().text.pop_back();
      runs_.push_back({spans_.back(), {}, pending_, pendingChunk_, spans_.size() > 1});
      pending_ = {};
      pendingChunk_ = false;
    }
    runs_.back().text += c;
  }
}

std::vector<CMSVGText::Layer> CMSVGText::layersOf(CMBaseDocument& document, platform::Size viewport,
                                                  CMSVGGradients& gradients,
                                                  const platform::ArrayRef& styles, bool& finite) const {
  // The runs with their records, those of one style in one chunk joined.
  struct Part {
    DictRef record;
    const Run* run;
    bool visible;  // a hidden span takes its room on the line but draws nothing
  };
  std::vector<std::vector<Part>> chunks;
  for (const Run& run : runs_) {
    std::string text = run.text;
    if (&run == &runs_.back() && text.ends_with(' ')) text.pop_back();
    if (text.empty()) continue;
    const CMPathSVGLayerCreator creator(run.attributes, "text", document, viewport, gradients, styles);
    if (!creator.object()) continue;
    finite = finite && creator.isFinite();
    const DictRef record = creator.object();
    record->set("text", text);
    const bool visible = SVGVisible(run.attributes);
    if (run.startsChunk || chunks.empty()) {
      chunks.emplace_back();
    } else if (Part& last = chunks.back().back(); !run.place.given() && last.visible == visible &&
                                                   last.record->get("style").isEqual(record->get("style"))) {
      last.record->set("text", last.record->get("text").string() + text);
      continue;
    }
    chunks.back().push_back({record, &run, visible});
  }
  std::vector<Layer> layers;
  platform::Point pen{0, 0};
  for (const std::vector<Part>& chunk : chunks) {
    const Place& first = chunk.front().run->place;
    const platform::Point start{first.x.value_or(pen.x), first.y.value_or(pen.y)};
    platform::Point at = start;
    std::vector<platform::Point> baselines;
    for (const Part& part : chunk) {
      at.x += part.run->place.dx;
      at.y += part.run->place.dy;
      baselines.push_back(at);
      at.x += SVGTextAdvance(part.record);
    }
    // The anchor moves the whole chunk by its share of the chunk's advance.
    const double share = anchorShare(chunk.front().record);
    const double shift = share == 0 ? 0 : share * (at.x - start.x);
    for (std::size_t i = 0; i < chunk.size(); ++i) {
      const bool alone = chunk.size() == 1;
      if (!chunk[i].visible) continue;
      layers.push_back({chunk[i].record, {alone ? baselines[i].x : baselines[i].x - shift, baselines[i].y}, alone,
                        chunk[i].run->inSpan});
    }
    pen = {at.x - shift, at.y};
  }
  return layers;
}

CMSVGText::Made CMSVGText::make(CMBaseDocument& document, platform::Size viewport,
                                CMSVGGradients& gradients, const platform::ArrayRef& styles) const {
  if (flowed_) return flowedRecord(document, viewport, gradients, styles);
  Made made;
  std::vector<Layer> layers;
  for (const Layer& layer : layersOf(document, viewport, gradients, styles, made.finite)) {
    layer.record->set("x", static_cast<float>(layer.baseline.x));
    layer.record->set("y", static_cast<float>(layer.baseline.y));
    if (!layer.anchored) layer.record->remove("text-anchor");
    placeSVGText(layer.record);
    if (placedFinitely(layer.record)) {
      layers.push_back(layer);
    } else {
      made.leftOut.emplace_back(layer.inSpan ? "tspan" : "text");
    }
  }
  if (layers.size() == 1) {
    made.record = layers.front().record;
    return made;
  }
  if (layers.empty() || !(made.record = document.createGroup())) return made;
  const platform::ArrayRef items = made.record->array("items");
  for (const Layer& layer : layers) {
    // The text's opacity is the group's, laid once over all its layers.
    if (const Value* alpha = layer.record->find("alpha")) made.record->set("alpha", *alpha);
    layer.record->set("alpha", 1.0);
    items->add(layer.record);
  }
  return made;
}

CMSVGText::Made CMSVGText::flowedRecord(CMBaseDocument& document, platform::Size viewport,
                                        CMSVGGradients& gradients,
                                        const platform::ArrayRef& styles) const {
  Made made;
  std::string text;
  const Run* styled = nullptr;
  for (const Run& run : runs_) {
    if (run.startsChunk && !text.empty()) {
      if (text.ends_with(' ')) text.pop_back();
      text += '\n';
    }
    text += run.text;
    if (!styled) styled = &run;
  }
  if (text.ends_with(' ')) text.pop_back();
  if (!styled || text.empty()) return made;
  const CMPathSVGLayerCreator creator(styled->attributes, "text", document, viewport, gradients, styles);
  if (!(made.record = creator.object())) return made;
  const platform::Point region = region_.value_or(platform::Point{0, 0});
  made.finite = creator.isFinite() && std::isfinite(static_cast<float>(region.x)) &&
                std::isfinite(static_cast<float>(region.y));
  made.record->set("text", text);
  made.record->remove("text-anchor");
  made.record->set("x", static_cast<float>(region.x));
  made.record->set("y", static_cast<float>(region.y));
  placeSVGText(made.record, true);
  made.finite = made.finite && placedFinitely(made.record);
  return made;
}
