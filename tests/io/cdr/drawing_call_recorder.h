#pragma once

// A drawing interface that keeps every call made to it, with its property list, as one line of text: what libcdr
// hands a drawing generator, for reading and for counting calls.

#include <librevenge/librevenge.h>

#include <string>
#include <string_view>
#include <vector>

class DrawingCallRecorder final : public librevenge::RVNGDrawingInterface {
 public:
  const std::vector<std::string>& calls() const { return calls_; }
  // How many calls the named operation received.
  long count(std::string_view operation) const;
  // Every property key met, each once, with the operations that carried it: "drawPath: svg:d".
  std::vector<std::string> keys() const;

  void startDocument(const librevenge::RVNGPropertyList& p) override { record("startDocument", p); }
  void endDocument() override { record("endDocument"); }
  void setDocumentMetaData(const librevenge::RVNGPropertyList& p) override { record("setDocumentMetaData", p); }
  void defineEmbeddedFont(const librevenge::RVNGPropertyList& p) override { record("defineEmbeddedFont", p); }
  void startPage(const librevenge::RVNGPropertyList& p) override { record("startPage", p); }
  void endPage() override { record("endPage"); }
  void startMasterPage(const librevenge::RVNGPropertyList& p) override { record("startMasterPage", p); }
  void endMasterPage() override { record("endMasterPage"); }
  void setStyle(const librevenge::RVNGPropertyList& p) override { record("setStyle", p); }
  void startLayer(const librevenge::RVNGPropertyList& p) override { record("startLayer", p); }
  void endLayer() override { record("endLayer"); }
  void startEmbeddedGraphics(const librevenge::RVNGPropertyList& p) override { record("startEmbeddedGraphics", p); }
  void endEmbeddedGraphics() override { record("endEmbeddedGraphics"); }
  void openGroup(const librevenge::RVNGPropertyList& p) override { record("openGroup", p); }
  void closeGroup() override { record("closeGroup"); }
  void drawRectangle(const librevenge::RVNGPropertyList& p) override { record("drawRectangle", p); }
  void drawEllipse(const librevenge::RVNGPropertyList& p) override { record("drawEllipse", p); }
  void drawPolygon(const librevenge::RVNGPropertyList& p) override { record("drawPolygon", p); }
  void drawPolyline(const librevenge::RVNGPropertyList& p) override { record("drawPolyline", p); }
  void drawPath(const librevenge::RVNGPropertyList& p) override { record("drawPath", p); }
  void drawGraphicObject(const librevenge::RVNGPropertyList& p) override { record("drawGraphicObject", p); }
  void drawConnector(const librevenge::RVNGPropertyList& p) override { record("drawConnector", p); }
  void startTextObject(const librevenge::RVNGPropertyList& p) override { record("startTextObject", p); }
  void endTextObject() override { record("endTextObject"); }
  void startTableObject(const librevenge::RVNGPropertyList& p) override { record("startTableObject", p); }
  void openTableRow(const librevenge::RVNGPropertyList& p) override { record("openTableRow", p); }
  void closeTableRow() override { record("closeTableRow"); }
  void openTableCell(const librevenge::RVNGPropertyList& p) override { record("openTableCell", p); }
  void closeTableCell() override { record("closeTableCell"); }
  void insertCoveredTableCell(const librevenge::RVNGPropertyList& p) override { record("insertCoveredTableCell", p); }
  void endTableObject() override { record("endTableObject"); }
  void insertTab() override { record("insertTab"); }
  void insertSpace() override { record("insertSpace"); }
  void insertText(const librevenge::RVNGString& text) override;
  void insertLineBreak() override { record("insertLineBreak"); }
  void insertField(const librevenge::RVNGPropertyList& p) override { record("insertField", p); }
  void openOrderedListLevel(const librevenge::RVNGPropertyList& p) override { record("openOrderedListLevel", p); }
  void openUnorderedListLevel(const librevenge::RVNGPropertyList& p) override { record("openUnorderedListLevel", p); }
  void closeOrderedListLevel() override { record("closeOrderedListLevel"); }
  void closeUnorderedListLevel() override { record("closeUnorderedListLevel"); }
  void openListElement(const librevenge::RVNGPropertyList& p) override { record("openListElement", p); }
  void closeListElement() override { record("closeListElement"); }
  void defineParagraphStyle(const librevenge::RVNGPropertyList& p) override { record("defineParagraphStyle", p); }
  void openParagraph(const librevenge::RVNGPropertyList& p) override { record("openParagraph", p); }
  void closeParagraph() override { record("closeParagraph"); }
  void defineCharacterStyle(const librevenge::RVNGPropertyList& p) override { record("defineCharacterStyle", p); }
  void openSpan(const librevenge::RVNGPropertyList& p) override { record("openSpan", p); }
  void closeSpan() override { record("closeSpan"); }
  void openLink(const librevenge::RVNGPropertyList& p) override { record("openLink", p); }
  void closeLink() override { record("closeLink"); }

 private:
  void record(std::string_view operation, const librevenge::RVNGPropertyList& properties = {});

  std::vector<std::string> calls_;
};
