#pragma once

// The drawing generator a CorelDRAW drawing is converted through: libcdr describes the drawing to it call by call,
// and it writes one SVG text per page that the SVG reader turns into layers. Every page has the root element
// "svgRoot" and the wrapper group "rootGroup", followed by a small script that fits the root to the wrapper's
// bounding box; groups are numbered across the whole conversion from Group1000; embedded pictures are saved as
// temporary files and referred to by file URL.
//
// Lengths are written in points, numbers in the C locale in their shortest form, text XML-escaped. An element with
// a number that is not finite (or not a single-precision one) is left out. Tables, lists, fields, metadata and
// fonts write nothing.

#include <librevenge/librevenge.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class CMSVGDrawingGenerator final : public librevenge::RVNGDrawingInterface {
 public:
  // Pages are appended to `pages`. With a non-empty namespace prefix, SVG elements are written as prefix:name.
  CMSVGDrawingGenerator(librevenge::RVNGStringVector& pages, std::string nmspace);

  void startDocument(const librevenge::RVNGPropertyList&) override {}
  void endDocument() override {}
  void setDocumentMetaData(const librevenge::RVNGPropertyList&) override {}
  void defineEmbeddedFont(const librevenge::RVNGPropertyList&) override {}
  void startPage(const librevenge::RVNGPropertyList& propList) override;
  void endPage() override;
  void startMasterPage(const librevenge::RVNGPropertyList& propList) override;
  void endMasterPage() override;
  void setStyle(const librevenge::RVNGPropertyList& propList) override { style_ = propList; }
  void startLayer(const librevenge::RVNGPropertyList& propList) override;
  void endLayer() override { close(Closer::Group); }
  void startEmbeddedGraphics(const librevenge::RVNGPropertyList&) override {}
  void endEmbeddedGraphics() override {}
  void openGroup(const librevenge::RVNGPropertyList& propList) override;
  void closeGroup() override { close(Closer::Group); }

  void drawRectangle(const librevenge::RVNGPropertyList& propList) override;
  void drawEllipse(const librevenge::RVNGPropertyList& propList) override;
  void drawPolygon(const librevenge::RVNGPropertyList& propList) override { drawPoints(propList, "polygon"); }
  void drawPolyline(const librevenge::RVNGPropertyList& propList) override { drawPoints(propList, "polyline"); }
  void drawPath(const librevenge::RVNGPropertyList& propList) override;
  void drawGraphicObject(const librevenge::RVNGPropertyList& propList) override;
  void drawConnector(const librevenge::RVNGPropertyList& propList) override { drawPath(propList); }

  void startTextObject(const librevenge::RVNGPropertyList& propList) override;
  void endTextObject() override { close(Closer::Text); }
  void startTableObject(const librevenge::RVNGPropertyList&) override {}
  void openTableRow(const librevenge::RVNGPropertyList&) override {}
  void closeTableRow() override {}
  void openTableCell(const librevenge::RVNGPropertyList&) override {}
  void closeTableCell() override {}
  void insertCoveredTableCell(const librevenge::RVNGPropertyList&) override {}
  void endTableObject() override {}
  void insertTab() override { insertCharacters("\t"); }
  void insertSpace() override { insertCharacters(" "); }
  void insertText(const librevenge::RVNGString& text) override { insertCharacters(text.cstr()); }
  void insertLineBreak() override { insertCharacters("\n"); }
  void insertField(const librevenge::RVNGPropertyList&) override {}
  void openOrderedListLevel(const librevenge::RVNGPropertyList&) override {}
  void openUnorderedListLevel(const librevenge::RVNGPropertyList&) override {}
  void closeOrderedListLevel() override {}
  void closeUnorderedListLevel() override {}
  void openListElement(const librevenge::RVNGPropertyList&) override {}
  void closeListElement() override {}
  void defineParagraphStyle(const librevenge::RVNGPropertyList&) override {}
  void openParagraph(const librevenge::RVNGPropertyList&) override {}
  void closeParagraph() override {}
  void defineCharacterStyle(const librevenge::RVNGPropertyList&) override {}
  void openSpan(const librevenge::RVNGPropertyList& propList) override;
  void closeSpan() override { close(Closer::Span); }
  void openLink(const librevenge::RVNGPropertyList&) override {}
  void closeLink() override {}

 private:
  // What an open element needs to be closed; a page's end closes all that are still open.
  enum class Closer { Group, Text, Span };

  // "<" followed by the namespace prefix and its colon.
  std::string open(const char* element) const;
  void startPageContent(const librevenge::RVNGPropertyList& propList);
  // A page or master page started before the last one ended ends that one first.
  void finishOpenPage();
  // Closes open elements, innermost first, down to and with the innermost of this kind; none of this kind: nothing.
  void close(Closer kind);
  void closeAll();
  void drawPoints(const librevenge::RVNGPropertyList& propList, const char* element);
  // A shape element: "<name" + attributes + the current style's paint + "/>", with the gradient it uses before it.
  void writeShape(const char* element, std::string attributes);
  void insertCharacters(const char* text);
  bool insideText() const;

  librevenge::RVNGStringVector& pages_;
  std::string prefix_;
  std::string sink_;
  librevenge::RVNGPropertyList style_;
  // Groups are numbered across the whole conversion, pages included.
  int groupCounter_ = 1000;
  int gradientCounter_ = 0;
  bool pageOpen_ = false;
  // The name of the master page being recorded, while one is.
  std::optional<std::string> masterPage_;
  std::map<std::string, std::string> masterPages_;
  std::vector<Closer> openElements_;
};
