#pragma once

// Shared pieces of the canvas tests: scratch folders and settings, a spy main
// window controller that records what the canvas asks of it, documents built
// from hand-made root records, and a red rectangle layer whose place is known.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "canvas/CMCanvasWindowService.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "document_test_support.h"
#include "platform/core/value.h"
#include "shape_layer_support.h"

namespace canvas_testing {

class SpyWindowController final : public CMCanvasWindowService {
 public:
  platform::View* mainView() override { return mainViewToFocus; }
  using CMCanvasWindowService::selectLayer;
  void selectLayer(const platform::DictRef& record, const void* sender) override {
    selections.push_back({record, sender});
  }
  void updateProperties() override { ++propertyUpdates; }
  void didSelectAll() override { ++selectAllRelays; }
  bool isAltPressed() override { return altPressed; }
  void zoomIn(platform::Point point) override { zoomIns.push_back(point); }
  void zoomOut(platform::Point point) override { zoomOuts.push_back(point); }
  void showArrangeMenu(platform::Point point, platform::View&) override { arrangeMenus.push_back(point); }
  void selectTool(int tag, const platform::DictRef&) override { toolsSelected.push_back(tag); }
  void setScrollPosition(platform::Point relative) override { scrollPositions.push_back(relative); }

  struct Selection {
    platform::DictRef record;
    const void* sender;
  };
  platform::View* mainViewToFocus = nullptr;
  bool altPressed = false;
  std::vector<Selection> selections;
  int propertyUpdates = 0;
  int selectAllRelays = 0;
  std::vector<platform::Point> zoomIns;
  std::vector<platform::Point> zoomOuts;
  std::vector<platform::Point> arrangeMenus;
  std::vector<int> toolsSelected;
  std::vector<platform::Point> scrollPositions;
};

// Scratch folders, the model's fake main window and the spy controller, for one test.
class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() : previous_(CMCanvasWindowService::install(controller_)) {}
  ~CanvasTest() override { CMCanvasWindowService::install(previous_); }

  SpyWindowController& controller() { return *controller_; }
  platform::UserDefaults& settings() { return CMProject::shareProject().settings(); }

  document_testing::ScratchFolders folders_;
  document_testing::ObservedModel model_;

 private:
  std::shared_ptr<SpyWindowController> controller_ = std::make_shared<SpyWindowController>();
  std::shared_ptr<CMCanvasWindowService> previous_;
};

inline platform::DictRef colourRecord(int r, int g, int b, int a) {
  return platform::Dictionary::make({{"r", r}, {"g", g}, {"b", b}, {"a", a}});
}

// A w × h page at `zoom` with the given page colour and layers.
inline std::shared_ptr<CMDocument> documentWith(double width, double height, float zoom,
                                                platform::DictRef pageColour,
                                                std::vector<platform::DictRef> layers = {}) {
  platform::ArrayRef list = platform::Array::make();
  for (auto& record : layers) list->add(record);
  auto document = std::make_shared<CMDocument>();
  document->setData(platform::Dictionary::make(
      {{"layers", list},
       {"width", width},
       {"height", height},
       {"zoom", platform::Value(zoom)},
       {"background", platform::Dictionary::make({{"bg_color", std::move(pageColour)}})}}));
  return document;
}

inline std::shared_ptr<CMDocument> plainDocument(std::vector<platform::DictRef> layers = {}) {
  return documentWith(400, 300, 1.0f, colourRecord(255, 255, 255, 255), std::move(layers));
}

// A rectangle layer filled with one colour, its frame at (x, y, w, h) in document units.
inline platform::DictRef filledRectangle(std::int64_t id, const platform::Rect& frame, int r, int g, int b) {
  platform::DictRef shape = document_testing::frameShape({0, 0, frame.size.width, frame.size.height});
  shape->set("fill", platform::Dictionary::make({{"use", true}, {"type", 1}, {"alpha", 1.0},
                                                  {"color", colourRecord(r, g, b, 255)}}));
  platform::DictRef record = document_testing::shapeLayerRecord(0, shape, frame.origin.x, frame.origin.y);
  record->set("id", id);
  record->set("alpha", 1.0);
  record->set("position", id);
  record->set("width", frame.size.width);
  record->set("height", frame.size.height);
  return record;
}

}  // namespace canvas_testing
