#include "io/cdr/CMSVGDrawingGenerator.h"

#include <cmath>
#include <numbers>

#include "io/cdr/CMSVGAttributes.h"
#include "io/cdr/CMSVGPaint.h"
#include "io/cdr/TMPManager.h"
#include "platform/core/xml_text.h"

namespace {

constexpr const char* kSVGNamespace = "http://www.w3.org/2000/svg";
constexpr const char* kXLinkNamespace = "http://www.w3.org/1999/xlink";

// Written after each page's root element: fits the root to the bounding box of the wrapper group. Each line is
// padded with blanks to a fixed length.
constexpr const char* kFitScript =
    "<svg:script><![CDATA[                                  \n"
    "var svgElement = document.getElementById(\"svgRoot\"); \n"
    "var gElement = document.getElementById(\"rootGroup\"); \n"
    "var b = gElement.getBBox();                            \n"
    "svgElement.setAttribute(\"width\", b.width);           \n"
    "svgElement.setAttribute(\"height\", b.height);         \n"
    "svgElement.setAttribute(\"viewBox\", [b.x,b.y,b.width,b.height]); \n"
    "]]></svg:script>                                       \n";

double numberOf(const librevenge::RVNGPropertyList& list, const char* key, double absent = 0) {
  const librevenge::RVNGProperty* property = list[key];
  return property ? property->getDouble() : absent;
}

double pointsIn(const librevenge::RVNGPropertyList& list, const char* key) {
  return pointsOf(list[key]).value_or(0);
}

// The "d" text of a librevenge path ("svg:d": one property list per segment); `valid` falls when a number cannot
// be written. Segments missing a coordinate they need are left out.
std::string pathData(const librevenge::RVNGPropertyListVector& segments, CMSVGAttributes& attributes) {
  std::string data;
  for (unsigned long i = 0; i < segments.count(); ++i) {
    const librevenge::RVNGPropertyList& segment = segments[i];
    const librevenge::RVNGProperty* action = segment["librevenge:path-action"];
    if (!action) continue;
    const std::string letter = action->getStr().cstr();
    if (letter.size() != 1) continue;
    const auto needs = [&](std::initializer_list<const char*> keys) {
      for (const char* key : keys) {
        if (!segment[key]) return false;
      }
      return true;
    };
    std::string text = letter;
    const auto add = [&](double value) {
      attributes.check(value);
      text += ' ';
      appendNumber(text, value);
    };
    const auto addPoints = [&](std::initializer_list<const char*> keys) {
      for (const char* key : keys) add(pointsIn(segment, key));
    };
    switch (letter[0]) {
      case 'M': case 'L': case 'T':
        if (!needs({"svg:x", "svg:y"})) continue;
        addPoints({"svg:x", "svg:y"});
        break;
      case 'H':
        if (!needs({"svg:x"})) continue;
        addPoints({"svg:x"});
        break;
      case 'V':
        if (!needs({"svg:y"})) continue;
        addPoints({"svg:y"});
        break;
      case 'C':
        if (!needs({"svg:x1", "svg:y1", "svg:x2", "svg:y2", "svg:x", "svg:y"})) continue;
        addPoints({"svg:x1", "svg:y1", "svg:x2", "svg:y2", "svg:x", "svg:y"});
        break;
      case 'S':
        if (!needs({"svg:x2", "svg:y2", "svg:x", "svg:y"})) continue;
        addPoints({"svg:x2", "svg:y2", "svg:x", "svg:y"});
        break;
      case 'Q':
        if (!needs({"svg:x1", "svg:y1", "svg:x", "svg:y"})) continue;
        addPoints({"svg:x1", "svg:y1", "svg:x", "svg:y"});
        break;
      case 'A':
        if (!needs({"svg:rx", "svg:ry", "svg:x", "svg:y"})) continue;
        addPoints({"svg:rx", "svg:ry"});
        add(numberOf(segment, "librevenge:rotate"));
        add(segment["librevenge:large-arc"] && segment["librevenge:large-arc"]->getInt() ? 1 : 0);
        add(segment["librevenge:sweep"] && segment["librevenge:sweep"]->getInt() ? 1 : 0);
        addPoints({"svg:x", "svg:y"});
        break;
      case 'Z':
        break;
      default:
        continue;
    }
    if (!data.empty()) data += ' ';
    data += text;
  }
  return data;
}

}  // namespace

CMSVGDrawingGenerator::CMSVGDrawingGenerator(librevenge::RVNGStringVector& pages, std::string nmspace)
    : pages_(pages), prefix_(nmspace.empty() ? std::string() : nmspace + ":") {}

std::string CMSVGDrawingGenerator::open(const char* element) const { return "<" + prefix_ + element; }

void CMSVGDrawingGenerator::finishOpenPage() {
  if (masterPage_) {
    endMasterPage();
  } else if (pageOpen_) {
    endPage();
  }
}

void CMSVGDrawingGenerator::startPage(const librevenge::RVNGPropertyList& propList) {
  finishOpenPage();
  pageOpen_ = true;
  if (const librevenge::RVNGProperty* name = propList["librevenge:master-page-name"]) {
    const auto master = masterPages_.find(name->getStr().cstr());
    if (master != masterPages_.end()) {
      sink_ += master->second;
      return;
    }
  }
  startPageContent(propList);
}

void CMSVGDrawingGenerator::startPageContent(const librevenge::RVNGPropertyList& propList) {
  sink_ += open("svg id=\"svgRoot\" version=\"1.1\" xmlns");
  if (!prefix_.empty()) sink_ += ":" + prefix_.substr(0, prefix_.size() - 1);
  sink_ += "=\"" + std::string(kSVGNamespace) + "\" xmlns:xlink=\"" + kXLinkNamespace + "\" ";
  // A size that cannot be written is left to the script, which fits the page to its drawing anyway.
  if (const std::optional<double> width = pointsOf(propList["svg:width"]); width && isWritableNumber(*width)) {
    sink_ += "width=\"";
    appendNumber(sink_, *width);
    sink_ += "\" ";
  }
  if (const std::optional<double> height = pointsOf(propList["svg:height"]); height && isWritableNumber(*height)) {
    sink_ += "height=\"";
    appendNumber(sink_, *height);
    sink_ += "\"";
  }
  sink_ += " >\n<svg:g id=\"rootGroup\">\n";
}

void CMSVGDrawingGenerator::endPage() {
  if (!pageOpen_ || masterPage_) return;
  closeAll();
  sink_ += "</svg:g>\n</" + prefix_ + "svg>\n";
  sink_ += kFitScript;
  pages_.append(librevenge::RVNGString(sink_.c_str()));
  sink_.clear();
  pageOpen_ = false;
}

void CMSVGDrawingGenerator::startMasterPage(const librevenge::RVNGPropertyList& propList) {
  finishOpenPage();
  const librevenge::RVNGProperty* name = propList["librevenge:master-page-name"];
  masterPage_ = name ? name->getStr().cstr() : "";
  pageOpen_ = true;
  librevenge::RVNGPropertyList unnamed(propList);
  unnamed.remove("librevenge:master-page-name");
  startPageContent(unnamed);
}

void CMSVGDrawingGenerator::endMasterPage() {
  if (!masterPage_) return;
  // The recording is the page's start and content; a page naming it goes on from there and closes it.
  closeAll();
  masterPages_[*masterPage_] = std::move(sink_);
  sink_.clear();
  masterPage_.reset();
  pageOpen_ = false;
}

void CMSVGDrawingGenerator::startLayer(const librevenge::RVNGPropertyList&) {
  if (!pageOpen_) return;
  sink_ += open("g") + ">\n";
  openElements_.push_back(Closer::Group);
}

void CMSVGDrawingGenerator::openGroup(const librevenge::RVNGPropertyList&) {
  if (!pageOpen_) return;
  sink_ += open("g") + " id=\"Group" + std::to_string(groupCounter_++) + "\" >\n";
  openElements_.push_back(Closer::Group);
}

void CMSVGDrawingGenerator::close(Closer kind) {
  bool found = false;
  for (Closer open : openElements_) found = found || open == kind;
  while (found && !openElements_.empty()) {
    const Closer innermost = openElements_.back();
    openElements_.pop_back();
    switch (innermost) {
      case Closer::Group: sink_ += "</" + prefix_ + "g>\n"; break;
      case Closer::Text: sink_ += "</" + prefix_ + "text>\n"; break;
      case Closer::Span: sink_ += "</" + prefix_ + "tspan>"; break;
    }
    if (innermost == kind) return;
  }
}

void CMSVGDrawingGenerator::closeAll() {
  while (!openElements_.empty()) close(openElements_.back());
}

void CMSVGDrawingGenerator::writeShape(const char* element, std::string attributes) {
  CMSVGAttributes paint;
  std::string definitions;
  int gradientCounter = gradientCounter_;
  appendPaint(style_, prefix_, gradientCounter, paint, definitions);
  if (!paint.valid()) return;
  gradientCounter_ = gradientCounter;
  sink_ += definitions + open(element) + attributes + paint.str() + "/>\n";
}

void CMSVGDrawingGenerator::drawRectangle(const librevenge::RVNGPropertyList& propList) {
  if (!pageOpen_ || insideText()) return;
  CMSVGAttributes attributes;
  for (const char* key : {"svg:x", "svg:y", "svg:width", "svg:height", "svg:rx", "svg:ry"}) {
    attributes.length(key + 4, propList[key]);
  }
  if (attributes.valid()) writeShape("rect", attributes.str());
}

void CMSVGDrawingGenerator::drawEllipse(const librevenge::RVNGPropertyList& propList) {
  if (!pageOpen_ || insideText()) return;
  const double cx = pointsIn(propList, "svg:cx"), cy = pointsIn(propList, "svg:cy");
  const double rx = pointsIn(propList, "svg:rx"), ry = pointsIn(propList, "svg:ry");
  const double rotate = numberOf(propList, "librevenge:rotate");
  CMSVGAttributes attributes;
  if (rx == ry && rotate == 0) {
    attributes.number("cx", cx);
    attributes.number("cy", cy);
    attributes.number("r", rx);
    if (attributes.valid()) writeShape("circle", attributes.str());
    return;
  }
  // The reader draws no "ellipse": two half arcs from one end of the turned x axis to the other. The rotation
  // turns counter-clockwise on the page, which is clockwise in SVG's downward y.
  const double angle = rotate * std::numbers::pi / 180;
  const double dx = rx * std::cos(angle), dy = -rx * std::sin(angle);
  std::string data = "M ";
  const auto point = [&](double x, double y) {
    attributes.check(x);
    attributes.check(y);
    appendNumber(data, x);
    data += ' ';
    appendNumber(data, y);
  };
  point(cx + dx, cy + dy);
  for (const double side : {-1.0, 1.0}) {
    data += " A ";
    point(rx, ry);
    data += ' ';
    appendNumber(data, -rotate);
    attributes.check(rotate);
    data += " 0 1 ";
    point(cx + side * dx, cy + side * dy);
  }
  data += " Z";
  attributes.text("d", data);
  if (attributes.valid()) writeShape("path", attributes.str());
}

void CMSVGDrawingGenerator::drawPoints(const librevenge::RVNGPropertyList& propList, const char* element) {
  if (!pageOpen_ || insideText()) return;
  const librevenge::RVNGPropertyListVector* points = propList.child("svg:points");
  if (!points || points->count() == 0) return;
  CMSVGAttributes attributes;
  std::string text;
  for (unsigned long i = 0; i < points->count(); ++i) {
    const double x = pointsIn((*points)[i], "svg:x"), y = pointsIn((*points)[i], "svg:y");
    attributes.check(x);
    attributes.check(y);
    if (!text.empty()) text += ' ';
    appendNumber(text, x);
    text += ',';
    appendNumber(text, y);
  }
  attributes.text("points", text);
  if (attributes.valid()) writeShape(element, attributes.str());
}

void CMSVGDrawingGenerator::drawPath(const librevenge::RVNGPropertyList& propList) {
  if (!pageOpen_ || insideText()) return;
  const librevenge::RVNGPropertyListVector* segments = propList.child("svg:d");
  if (!segments) return;
  CMSVGAttributes attributes;
  const std::string data = pathData(*segments, attributes);
  if (data.empty()) return;
  attributes.text("d", data);
  if (attributes.valid()) writeShape("path", attributes.str());
}

void CMSVGDrawingGenerator::drawGraphicObject(const librevenge::RVNGPropertyList& propList) {
  if (!pageOpen_ || insideText()) return;
  const librevenge::RVNGProperty* mimeType = propList["librevenge:mime-type"];
  const librevenge::RVNGProperty* data = propList["office:binary-data"];
  if (!mimeType || mimeType->getStr().empty() || !data) return;
  CMSVGAttributes attributes;
  for (const char* key : {"svg:x", "svg:y", "svg:width", "svg:height"}) attributes.length(key + 4, propList[key]);
  const double x = pointsIn(propList, "svg:x"), y = pointsIn(propList, "svg:y");
  const double centerX = x + pointsIn(propList, "svg:width") / 2, centerY = y + pointsIn(propList, "svg:height") / 2;
  std::string transform;
  const auto appendTransform = [&](const char* name, std::initializer_list<double> values) {
    if (!transform.empty()) transform += ' ';
    transform += name;
    transform += '(';
    bool first = true;
    for (const double value : values) {
      attributes.check(value);
      if (!first) transform += ' ';
      appendNumber(transform, value);
      first = false;
    }
    transform += ')';
  };
  if (const double rotate = numberOf(propList, "librevenge:rotate"); rotate != 0) {
    appendTransform("rotate", {-rotate, centerX, centerY});
  }
  const auto flag = [&](const char* key) { return propList[key] && propList[key]->getInt() != 0; };
  if (flag("draw:mirror-horizontal")) appendTransform("matrix", {-1, 0, 0, 1, 2 * centerX, 0});
  if (flag("draw:mirror-vertical")) appendTransform("matrix", {1, 0, 0, -1, 0, 2 * centerY});
  if (!transform.empty()) attributes.text("transform", transform);
  if (!attributes.valid()) return;
  const std::optional<std::string> url = getFileURL(*data);
  if (!url) return;
  attributes.text("xlink:href", *url);
  sink_ += open("image") + attributes.str() + " />\n";
}

void CMSVGDrawingGenerator::startTextObject(const librevenge::RVNGPropertyList& propList) {
  if (!pageOpen_ || insideText()) return;
  CMSVGAttributes attributes;
  // libcdr's own SVG generator puts the text's baseline on the box's bottom edge and turns the text about the
  // box's centre, by the angle as given.
  const double x = pointsIn(propList, "svg:x"), y = pointsIn(propList, "svg:y");
  const double width = pointsIn(propList, "svg:width"), height = pointsIn(propList, "svg:height");
  attributes.length("x", propList["svg:x"]);
  attributes.number("y", y + height);
  if (const double rotate = numberOf(propList, "librevenge:rotate"); rotate != 0 && attributes.valid()) {
    std::string transform = "rotate";
    char separator = '(';
    for (const double value : {rotate, x + width / 2, y + height / 2}) {
      attributes.check(value);
      transform += separator;
      appendNumber(transform, value);
      separator = ' ';
    }
    transform += ')';
    attributes.text("transform", transform);
  }
  // A text whose place cannot be written still opens, at the origin, so that its spans have somewhere to go.
  sink_ += open("text") + (attributes.valid() ? attributes.str() : std::string()) + ">";
  openElements_.push_back(Closer::Text);
}

void CMSVGDrawingGenerator::openSpan(const librevenge::RVNGPropertyList& propList) {
  if (!insideText()) return;
  CMSVGAttributes attributes;
  if (const librevenge::RVNGProperty* font = propList["style:font-name"]) {
    attributes.text("font-family", font->getStr().cstr());
  }
  CMSVGAttributes size;
  size.length("font-size", propList["fo:font-size"]);
  if (size.valid()) attributes.append(size.str());
  for (const char* key : {"fo:font-weight", "fo:font-style"}) {
    if (const librevenge::RVNGProperty* value = propList[key]) attributes.text(key + 3, value->getStr().cstr());
  }
  if (const librevenge::RVNGProperty* color = propList["fo:color"]) attributes.text("fill", color->getStr().cstr());
  sink_ += open("tspan") + attributes.str() + ">";
  openElements_.push_back(Closer::Span);
}

bool CMSVGDrawingGenerator::insideText() const {
  for (Closer open : openElements_) {
    if (open == Closer::Text) return true;
  }
  return false;
}

void CMSVGDrawingGenerator::insertCharacters(const char* text) {
  if (insideText()) platform::appendXMLText(sink_, text);
}
