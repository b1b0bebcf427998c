// Which layers the commands act on, in the main window with real GDK events through GTK's dispatch: the layers
// panel shows the shown drawing's own selection after a switch of drawings; a layer just made is the whole
// selection on the canvas and in the panel; after a band selection the topmost layer takes the others.

#include <algorithm>
#include <cmath>
#include <functional>

#include "document/CMLayerTree.h"
#include "io/import/CMImportCommand.h"
#include "platform/core/geometry_strings.h"
#include "platform/core/resources.h"
#include "selection_fixture.h"
#include "ui/CMOptionsPanelView.h"

namespace ui_testing {
namespace {

TEST_F(SelectionAfterEdits, ThePanelShowsOnlyTheShownDrawingsSelectionAndItsDeleteActsOnNothingElse) {
  addRectangles({{40, 60, 80, 80}, {160, 60, 80, 80}, {280, 60, 80, 80}});
  const std::shared_ptr<CMDocument> first = document;
  clickRow(1);
  ASSERT_EQ(panelIds(), (Ids{2}));

  // A drawing opened after it, holding layers of the same ids.
  const std::shared_ptr<CMDocument> second = newDrawing();
  ASSERT_NE(second, nullptr);
  addRectangles({{40, 60, 80, 80}, {160, 60, 80, 80}, {280, 60, 80, 80}});
  EXPECT_TRUE(panelIds().empty()) << "the row of the same id in the other drawing";
  // Then the first again by its tab, with every layer of the second selected before.
  choose("Edit", "Select All");
  ASSERT_EQ(panelIds(), (Ids{1, 2, 3}));
  clickTab(100);
  ASSERT_EQ(window->drawing(), first);

  for (const auto& shown : {first, second}) {
    if (window->drawing() != shown) clickTab(300);
    ASSERT_EQ(window->drawing(), shown);
    EXPECT_TRUE(canvasIds().empty());
    EXPECT_TRUE(panelIds().empty()) << "no row of another drawing's selection";
    EXPECT_FALSE(panel().buttonWithTag(CMLayersPanelView::kDeleteTag)->isEnabled());
    clickPanelButton(CMLayersPanelView::kDeleteTag);
    EXPECT_EQ(shown->data()->array("layers")->size(), 3u) << "Delete deleted a layer nobody chose";
  }
}

// A way of making new layers with rectangles 1 (left) and 2 (right) chosen by a click and a Shift-click.
struct Making {
  const char* name;
  std::function<void(SelectionAfterEdits&)> make;
};

void PrintTo(const Making& making, std::ostream* os) { *os << making.name; }

class NewLayers : public SelectionAfterEdits, public testing::WithParamInterface<Making> {};

TEST_P(NewLayers, AreTheWholeSelectionOnTheCanvasAndInThePanelAndTheCommandsActOnThem) {
  addRectangles({{40, 60, 80, 80}, {200, 100, 80, 80}});
  clickCanvas({80, 100});
  clickCanvas({240, 140}, GDK_SHIFT_MASK);
  ASSERT_EQ(canvasIds(), (Ids{1, 2}));

  GetParam().make(*this);
  // The new top-level records, and the drawn layers under them.
  Ids made;
  Ids drawn;
  std::vector<DictRef> pending;
  for (const platform::Value& value : *records()) {
    const std::int32_t id = value.dictionary()->get("id").intValue();
    if (id == 1 || id == 2) continue;
    made.insert(id);
    pending.push_back(value.dictionary());
  }
  while (!pending.empty()) {
    const DictRef record = pending.back();
    pending.pop_back();
    if (const platform::ArrayRef items = record->array("items")) {
      for (const platform::Value& item : *items) pending.push_back(item.dictionary());
    } else {
      drawn.insert(record->get("id").intValue());
    }
  }
  ASSERT_FALSE(made.empty());
  EXPECT_EQ(canvasIds(), drawn);
  EXPECT_EQ(panelIds(), made) << "the new layers' rows are highlighted";
  for (const int tag : {CMLayersPanelView::kDuplicateTag, CMLayersPanelView::kDeleteTag})
    EXPECT_TRUE(panel().buttonWithTag(tag)->isEnabled());

  // The earlier choice is gone: aligning moves neither of its rectangles.
  const auto place = [&](std::int32_t id) {
    for (const auto& layer : window->editor().layers())
      if (layer->layerId() == id) return layer->data()->get("x").doubleValue();
    return -1.0;
  };
  const double x1 = place(1);
  const double x2 = place(2);
  choose("Arrange", "Align Left");
  EXPECT_EQ(place(1), x1);
  EXPECT_EQ(place(2), x2);
}

void drawWith(SelectionAfterEdits& test, int tool, DictRef data = nullptr) {
  if (data) {
    test.window->selectTool(tool, data);
  } else {
    test.choosePaletteTool(tool);
  }
  canvas_testing::RealPointer hand = test.hand();
  hand.drag({100, 300}, {180, 360});
  SelectionAfterEdits::settle();
}

INSTANTIATE_TEST_SUITE_P(
    Makings, NewLayers,
    testing::Values(Making{"Rectangle", [](SelectionAfterEdits& test) { drawWith(test, kCMToolRectangle); }},
                    Making{"Star", [](SelectionAfterEdits& test) { drawWith(test, kCMToolStar); }},
                    Making{"LibraryShape",
                           [](SelectionAfterEdits& test) {
                             drawWith(test, kCMToolLibraryShape, rectangle(0, {0, 0, 50, 40}));
                           }},
                    Making{"Duplicate", [](SelectionAfterEdits& test) { test.choose("Edit", "Duplicate"); }},
                    Making{"Paste",
                           [](SelectionAfterEdits& test) {
                             test.choose("Edit", "Copy");
                             test.choose("Edit", "Paste");
                           }},
                    Making{"Group", [](SelectionAfterEdits& test) { test.choose("Arrange", "Group"); }}),
    [](const testing::TestParamInfo<Making>& info) { return std::string(info.param.name); });

// A boolean command after a band over two overlapping 80-high rectangles, and the area of what is left: 1 spans
// x 40–140, 2 (topmost) x 100–200. Subtract is the exclusive or, Difference the topmost minus the other.
struct Combination {
  const char* command;
  double area;
};

// The area a record's straight point outline encloses: each subpath's signed shoelace sum, added up.
double enclosedArea(const DictRef& record) {
  double twice = 0;
  std::vector<Point> subpath;
  const auto close = [&] {
    for (std::size_t i = 0; i < subpath.size(); ++i) {
      const Point a = subpath[i];
      const Point b = subpath[(i + 1) % subpath.size()];
      twice += a.x * b.y - b.x * a.y;
    }
    subpath.clear();
  };
  for (const platform::Value& value : *record->dictionary("shape")->array("points")) {
    const DictRef point = value.dictionary();
    if (point->get("start").boolValue()) close();
    subpath.push_back(platform::pointFromString(point->get("point").string()));
  }
  close();
  return std::abs(twice) / 2;
}

void PrintTo(const Combination& combination, std::ostream* os) { *os << combination.command; }

class BandThenCombine : public SelectionAfterEdits, public testing::WithParamInterface<Combination> {};

TEST_P(BandThenCombine, TheTopmostLayerTakesTheOthers) {
  addRectangles({{40, 60, 100, 80}, {100, 60, 100, 80}});
  canvas_testing::RealPointer band = hand();
  band.press({20, 20});
  band.moveTo({150, 100});
  band.moveTo({300, 200});
  band.release({300, 200});
  settle();
  ASSERT_EQ(canvasIds(), (Ids{1, 2}));

  choose("Arrange", GetParam().command);
  ASSERT_EQ(records()->size(), 1u) << "the other layer went into the topmost one";
  EXPECT_EQ(records()->at(0).dictionary()->get("id").intValue(), 2);
  ASSERT_EQ(window->editor().layers().size(), 1u);
  EXPECT_NEAR(enclosedArea(records()->at(0).dictionary()), GetParam().area, 1);
}

INSTANTIATE_TEST_SUITE_P(Commands, BandThenCombine,
                         testing::Values(Combination{"Union", 160 * 80}, Combination{"Subtract", 120 * 80},
                                         Combination{"Intersect", 40 * 80}, Combination{"Difference", 60 * 80}),
                         [](const testing::TestParamInfo<Combination>& info) {
                           return std::string(info.param.command);
                         });

// However layers were chosen, every view shows them and the commands act on them. Rectangles 1 (x 40) and 2 (x 200),
// 1 clicked, then a way of choosing, with both panels made before or first shown after it: the canvas and the layers
// panel show the chosen layers, the style panel the current one; Align Left brings the others to it, Delete takes them.
struct Choice {
  const char* name;
  void (*steps)(SelectionAfterEdits& test);
  bool panelsBefore;
  Ids chosen;
  std::int32_t current;
};
void PrintTo(const Choice& choice, std::ostream* os) { *os << choice.name; }

class SelectionEverywhere : public SelectionAfterEdits, public testing::WithParamInterface<Choice> {
  void SetUp() override {
    MainWindowTest::SetUp();
    document = newDrawingOnScreen();
    if (GetParam().panelsBefore) showRightPanel(4), showRightPanel(3);
    addRectangles({{40, 60, 80, 80}, {200, 100, 80, 80}});
    clickCanvas({80, 100});
  }
};

TEST_P(SelectionEverywhere, IsShownInEveryViewAndIsWhatTheCommandsActOn) {
  const Choice& choice = GetParam();
  choice.steps(*this);
  EXPECT_EQ(canvasIds(), choice.chosen);
  ASSERT_TRUE(window->editor().selectedLayer() && window->editor().selectedLayer()->layerId() == choice.current);
  showRightPanel(3);
  EXPECT_EQ(panelIds(), choice.chosen);
  showRightPanel(4);
  EXPECT_EQ(CMLayerTree::layerId(window->stylePanel()->selectedLayer()), choice.current);
  const std::size_t count = records()->size();
  choose("Arrange", "Align Left");
  for (const std::int32_t id : choice.chosen)
    EXPECT_EQ(recordWithId(id)->get("x").doubleValue(), recordWithId(choice.current)->get("x").doubleValue()) << id;
  choose("Edit", "Delete");
  EXPECT_EQ(records()->size(), count - choice.chosen.size());
  for (const std::int32_t id : choice.chosen) EXPECT_EQ(recordWithId(id), nullptr) << id;
}

void band(SelectionAfterEdits& test) { test.hand().drag({20, 20}, {300, 200}); }

void undoGroup(SelectionAfterEdits& test) {
  test.choose("Edit", "Select All");
  test.choose("Arrange", "Group");
  test.choose("Edit", "Undo");
  test.item("Edit", "Redo")->validate();
  EXPECT_EQ(test.item("Edit", "Redo")->title(), "Redo - Group");
}

void importPicture(SelectionAfterEdits& test) {
  const CMImportServiceFactory::Factory kept = CMImportServiceFactory::install(CMImportCommand::makeService);
  test.choose("File", "Import");
  EXPECT_TRUE(test.answerOpenPanel(platform::pathForResource("eye", "png", "images")));
  test.settle();  // the panel's answer is queued
  CMImportServiceFactory::install(kept);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SelectionEverywhere,
    testing::Values(Choice{"Band", band, true, {1, 2}, 2},
                    Choice{"BandThenUnion", [](auto& t) { band(t), t.choose("Arrange", "Union"); }, true, {2}, 2},
                    Choice{"FirstShowingOfThePanels", [](auto&) {}, false, {1}, 1},
                    Choice{"UndoOfGroup", undoGroup, true, {1, 2}, 2},
                    Choice{"PictureImport", importPicture, true, {3}, 3}),
    [](const testing::TestParamInfo<Choice>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ui_testing
