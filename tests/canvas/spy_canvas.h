#pragma once

// A canvas whose tool operations record their calls and otherwise behave as the plain hooks do.

#include <string>
#include <vector>

#include "canvas/CMEditorView.h"

namespace canvas_testing {

class SpyCanvas : public CMEditorView {
 public:
  using CMEditorView::CMEditorView;

  bool selectItem(const platform::Event&) override { return record("selectItem", selectItemAnswer); }
  void dbClick(const platform::Event&) override { calls.push_back("dbClick"); }
  bool moveItem(const platform::Event&) override { return record("moveItem", moveItemAnswer); }
  void selectArea(const platform::Event&) override { calls.push_back("selectArea"); }
  void startEditingText(const platform::Event&) override { calls.push_back("startEditingText"); }
  void hideSel() override { calls.push_back("hideSel"); }
  void saveCurve() override { calls.push_back("saveCurve"); }

  void addRectangle(const platform::Event& e, Completion done) override {
    note("addRectangle", [&] { CMEditorView::addRectangle(e, std::move(done)); });
  }
  void addRoundRectangle(const platform::Event& e, Completion done) override {
    note("addRoundRectangle", [&] { CMEditorView::addRoundRectangle(e, std::move(done)); });
  }
  void addOval(const platform::Event& e, Completion done) override {
    note("addOval", [&] { CMEditorView::addOval(e, std::move(done)); });
  }
  void addStar(const platform::Event& e, Completion done) override {
    note("addStar", [&] { CMEditorView::addStar(e, std::move(done)); });
  }
  void addPolygon(const platform::Event& e, Completion done) override {
    note("addPolygon", [&] { CMEditorView::addPolygon(e, std::move(done)); });
  }
  void addLine(const platform::Event& e, Completion done) override {
    note("addLine", [&] { CMEditorView::addLine(e, std::move(done)); });
  }
  void addPencil(const platform::Event& e, Completion done) override {
    note("addPencil", [&] { CMEditorView::addPencil(e, std::move(done)); });
  }
  void addBetheier(const platform::Event& e, Completion done) override {
    note("addBetheier", [&] { CMEditorView::addBetheier(e, std::move(done)); });
  }
  void erase(const platform::Event& e, Completion done) override {
    note("erase", [&] { CMEditorView::erase(e, std::move(done)); });
  }
  void addShare(const platform::Event& e, const platform::DictRef& data, Completion done) override {
    shapeData = data;
    note("addShare", [&] { CMEditorView::addShare(e, data, std::move(done)); });
  }
  void addBetherPoint(const platform::Event& e, Completion done) override {
    note("addBetherPoint", [&] { CMEditorView::addBetherPoint(e, std::move(done)); });
  }
  void mouseDraggedBezheir(const platform::Event&) override { calls.push_back("mouseDraggedBezheir"); }
  void mouseMovedBezheir(const platform::Event&) override { calls.push_back("mouseMovedBezheir"); }
  void mouseUpBezheir(const platform::Event&) override { calls.push_back("mouseUpBezheir"); }

  std::vector<std::string> calls;
  bool selectItemAnswer = false;
  bool moveItemAnswer = false;
  platform::DictRef shapeData;

 private:
  bool record(const char* name, bool answer) {
    calls.push_back(name);
    return answer;
  }
  template <typename Base>
  void note(const char* name, Base base) {
    calls.push_back(name);
    base();
  }
};

}  // namespace canvas_testing
