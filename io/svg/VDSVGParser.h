#pragma once

// The SVG reader: walks SVG text (or the XHTML page of SVG pages a CorelDRAW conversion makes) with libxml2's
// event-driven push parser and turns shape elements into layer records, "g" and "svg" elements into group records
// and gradient elements into the definitions that shapes refer to (a shape whose fill names one defined after it
// is made again at the end). An "svg" element's viewBox, preserveAspectRatio and, when nested, its place transform
// its contents like a group's transform; one of no size draws nothing. Members take their groups' presentation
// attributes ("inherit" keeps them), not their places, sizes or opacity.
//
// The XML is read safely: nothing is fetched from the network, no external entity or DTD is loaded, and libxml2's
// limits on nesting, text size and entity expansion stand. Groups nest at most 100 deep: a deeper "g" or "svg"
// opens no group of its own (its shapes join the deepest one, its attributes and transforms still apply), so an
// import always saves and reopens. A group's opacity is its group record's, not its members'. Everything inside
// "defs", "clipPath", "mask", "symbol", "marker" and "pattern", and inside a shape element, is left out but the
// gradients defined there; so are elements the reader does not draw, "image" among them, and shapes with numbers
// that are not finite; they are counted (skippedSummary). Rectangles and circles of no area draw nothing and are
// dropped without a count.
//
// A hostile file cannot take the program's memory: the text of a "text" element, entities expanded, is bounded per
// element and per file (past the bound the XML reads as broken there), and a file whose records would take more
// than the memory budget is refused whole (refusal): at once when its shape elements show it, else as the records
// are made. Nor its time: an element of more attributes, or namespace declarations (its own and those around it
// together), than kMostAttributes, and a DTD giving one element more defaults than that, are damage found before the
// XML reader checks them one against another, whatever the file's encoding (it is read as UTF-8, converted).

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "io/svg/CMSVGGradient.h"
#include "io/svg/CMSVGText.h"
#include "platform/core/geometry.h"
#include "platform/core/value.h"

class CMBaseDocument;

class VDSVGParser {
 public:
  // Where the XML broke: parsing stopped there.
  struct Failure {
    int line = 0;
    std::string message;
  };

  static constexpr int kDeepestGroup = 100;
  // The most text, in bytes, one "text" element and all of a file's texts may hold.
  static constexpr std::size_t kLongestText = std::size_t{1} << 16;
  static constexpr std::size_t kLongestTexts = std::size_t{1} << 24;
  // The most attributes an element, and stops a gradient, may have: more make the file damaged there.
  static constexpr std::size_t kMostAttributes = 1024;
  static constexpr std::size_t kMostStops = 1024;

  // `recordBudget`: the bytes the records of one run may take; by default half the memory available when the
  // reader is made, which leaves the rest to the layers the program makes of them.
  explicit VDSVGParser(std::uint64_t recordBudget = defaultRecordBudget());
  static std::uint64_t defaultRecordBudget();

  // The top-level records made from the data, as far as the XML could be read; none when the file is refused. One
  // reader serves one run.
  platform::ArrayRef parseSVG(const platform::Bytes& data, CMBaseDocument& document);
  const std::optional<Failure>& failure() const { return failure_; }
  // Why the whole file was refused; empty when it was not.
  const std::string& refusal() const { return refusal_; }
  // Whether the XML reader is to stop: the XML broke or the file was refused.
  bool stopped() const { return failure_ || !refusal_.empty(); }
  // "3 ellipse, 1 use": the elements left out, in the order first met; empty when none was.
  std::string skippedSummary() const;
  // The viewport of the innermost open "svg" element (its viewBox's size, else its own), 0 outside any.
  float width() const { return width_; }
  float height() const { return height_; }
  // The size of the first "svg" element (a CorelDRAW drawing's first page), when one was met.
  const std::optional<platform::Size>& firstSize() const { return firstSize_; }
  const platform::ArrayRef& gradients() const { return gradients_.definitions(); }

  // A new dictionary with every key and text value trimmed of blanks and line ends.
  static platform::DictRef prepareAttributes(const platform::DictRef& attributes);
  // The element's prepared attributes over those of its open groups; under "transform", an array of the open
  // groups' transforms composed in one text (when any group has one), then the element's own (when it has one).
  platform::DictRef findAttributes(const platform::DictRef& attributes) const;
  // Black for an element that names no fill.
  static void setDefaultAttributes(const platform::DictRef& attributes);
  // Takes the link to its enclosing group out of every group record of the result.
  void clearTempData();

  // The parser's events, in qualified names ("svg:rect", "xlink:href").
  void didStartElement(std::string_view name, const platform::DictRef& attributes);
  void didEndElement(std::string_view name);
  void foundCharacters(std::string_view characters);
  void didFail(int line, std::string message);
  // A DTD's declaration of an attribute of `element`, which every such element takes unless it has its own: past
  // kMostAttributes for one element the file is damaged there.
  void didDeclareAttribute(std::string_view element, int line);
  // The failure's message for an element of too many attributes, or in the scope of too many namespace declarations.
  static std::string crowdedElement(bool namespaces = false);

 private:
  // A group record for a "g" or "svg" element (up to kDeepestGroup), holding the element's opacity.
  void openGroup(const platform::DictRef& prepared);
  void addShape(std::string_view element, std::string_view shape, const platform::DictRef& attributes);
  void skip(std::string_view element);
  // The open text's layers added to the open group.
  void closeText();
  void addStop(const platform::DictRef& prepared);
  // The top-left corner of the shape that is a flowed text's region.
  void takeRegion(std::string_view name, const platform::DictRef& attributes);
  // Whether SVG renders the element: its conditions, its place in a "switch" and its "display".
  bool rendered(std::string_view name, const platform::DictRef& prepared);
  // Nothing inside the element starting now is drawn; `counted`: what it holds is reported as left out; `closes`:
  // its end closes what its start opened.
  void hide(bool counted, bool closes);
  // The page imported into, which the outermost "svg" lies on.
  platform::Size pageSize() const;
  void pushGroupAttributes(const platform::DictRef& prepared);
  // Refuses a file whose shape elements alone, each as large as the record it starts from, pass the budget.
  bool refusedAtOnce(std::string_view text);
  void countRecord(const platform::DictRef& record);
  void refuse();
  // The shapes whose fill named a gradient not yet defined, made again with every gradient of the file.
  void makeShapesAgain();

  CMBaseDocument* document_ = nullptr;
  platform::ArrayRef parsedGroups_ = platform::Array::make();
  platform::DictRef currentGroup_;
  int groupDepth_ = 0;
  // For each open "g": whether it opened a group.
  std::vector<bool> openedGroups_;
  struct OpenSVG {
    platform::Size outer;  // the viewport around it
  };
  std::vector<OpenSVG> openSVGs_;
  float width_ = 0;
  float height_ = 0;
  std::optional<platform::Size> firstSize_;
  // The elements open since one whose contents are not drawn, itself included; 0 outside any.
  int hiddenDepth_ = 0;
  bool hiddenCounted_ = false;
  bool hiddenCloses_ = false;
  // The elements open, the one starting included.
  int elementDepth_ = 0;
  struct OpenSwitch {
    int depth = 0;
    bool chosen = false;
  };
  std::vector<OpenSwitch> switches_;
  // Inside a flowed text's region, until its first rectangle.
  bool flowRegionOpen_ = false;
  CMSVGGradients gradients_;
  platform::DictRef currentGradient_;
  platform::ArrayRef styles_ = platform::Array::make();
  // For each open "g": its attributes over those of the groups around it, "transform" holding all of their
  // transforms composed, so that a shape deep in many groups takes a copy of one dictionary, not of each.
  std::vector<platform::DictRef> gAttributes_;
  std::optional<CMSVGText> text_;
  std::size_t allTextBytes_ = 0;
  std::uint64_t recordBudget_;
  std::uint64_t recordBytes_ = 0;
  // The arrays counted in recordBytes_ (a gradient's stops are held once by all the shapes that use it).
  std::unordered_set<const platform::Array*> countedArrays_;
  // The line the XML reader has come to.
  std::function<int()> currentLine_ = [] { return 0; };
  struct LaterShape {
    platform::ArrayRef items;  // the group's items, and the shape's place among them
    std::size_t index = 0;
    std::string element;
    std::string shape;
    platform::DictRef attributes;
    platform::Size size;
  };
  std::vector<LaterShape> madeAgain_;
  std::optional<Failure> failure_;
  std::string refusal_;
  std::vector<std::string> skippedOrder_;
  std::map<std::string, std::int64_t, std::less<>> skipped_;
  std::map<std::string, std::size_t, std::less<>> declaredAttributes_;
};
