// The layers panel in a window of its own: its rows, drawing and keys, the selection it makes and takes, its
// buttons, the eye, the rename sheet, locking and dropped rows, driven by real GDK events where the user acts.

#include <gtkmm/messagedialog.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/CMNotificationNames.h"
#include "platform/core/keyed_archive.h"
#include "platform/ui/alert.h"
#include "platform/ui/button.h"
#include "platform/ui/drop_destination.h"
#include "platform/ui/menu.h"
#include "platform/ui/system_colors.h"
#include "platform/ui/text_field.h"
#include "panel_test_support.h"
#include "ui/CMLayersPanelView.h"
#include "ui/CMTextEditWindow.h"
#include "ui/CMToolboxView.h"

namespace {

using document_testing::group;
using panel_testing::named;
using platform::DictRef;
using platform::IndexSet;
using platform::Point;

constexpr double kRow = CMLayersPanelView::kRowHeight;

class LayersPanel : public panel_testing::PanelTest {
 protected:
  // [1, G10{2 (with a mask of its own), G12{3, 4}}, 5 with masks [7]]: rows 1, 10, 2, 12, 3, 4, 5, 7.
  void SetUp() override {
    DictRef two = named(2, "");
    two->set("masks", platform::Array::make({named(20, "inner mask")}));
    DictRef five = named(5, "");
    DictRef seven = named(7, "");
    seven->set("ismask", true);
    five->set("masks", platform::Array::make({seven}));
    root = document_testing::rootWith(
        {named(1, ""), group(10, {two, group(12, {named(3, ""), named(4, "")})}), five});
    document = panel_testing::documentWith(root);
    panel = std::make_unique<CMLayersPanelView>();
    panel->setDocument(document);
    showInWindow(panel->view(), {260, 400});
  }

  CMLayerTableView& table() { return panel->tableView(); }
  Point rowCentre(std::size_t row, double x = 120) { return {x, kRow * static_cast<double>(row) + kRow / 2}; }
  void clickRow(std::size_t row, unsigned state = 0) { click(table(), rowCentre(row), state); }
  std::vector<std::int32_t> ids(const std::vector<DictRef>& records) {
    std::vector<std::int32_t> found;
    for (const DictRef& record : records) found.push_back(record->get("id").intValue());
    return found;
  }
  std::vector<std::int32_t> rowIds() {
    std::vector<std::int32_t> found;
    for (const CMLayerRow& row : panel->rows().rows()) found.push_back(row.id);
    return found;
  }
  platform::Button& button(int tag) { return *panel->buttonWithTag(tag); }
  platform::MenuItem& menuItem(const std::string& title) {
    for (const auto& item : panel->contextMenu().items())
      if (item->title() == title) return *item;
    throw std::runtime_error("no menu item " + title);
  }
  std::size_t undoCount() { return document->undoManager().undoCount(); }
  int posted(const char* name) {
    return static_cast<int>(std::count(model_.posted.begin(), model_.posted.end(), std::string(name)));
  }

  DictRef root;
  std::shared_ptr<CMDocument> document;
  std::unique_ptr<CMLayersPanelView> panel;
};

TEST_F(LayersPanel, RowsFollowTheTreeWithTheirLevelsAndNames) {
  EXPECT_EQ(rowIds(), (std::vector<std::int32_t>{1, 10, 2, 12, 3, 4, 5, 7}));
  std::vector<std::int64_t> levels;
  for (const CMLayerRow& row : panel->rows().rows()) levels.push_back(row.record->get("group_level").integerValue());
  EXPECT_EQ(levels, (std::vector<std::int64_t>{0, 0, 1, 1, 2, 2, 0, 1}));
  EXPECT_EQ(CMLayerRows::displayName(panel->rows()[7].record), "Layer7 (mask)");
  EXPECT_EQ(CMLayerRows::displayName(panel->rows()[3].record), "Group12");
  EXPECT_EQ(CMLayerRows::displayName(panel->rows()[0].record), "Layer1");
  EXPECT_EQ(table().numberOfRows(), 8u);
}

// The first column, from `from` on, whose pixel in the row's middle band is dark ink.
std::optional<int> firstInk(cairo_surface_t* surface, std::size_t row, int from) {
  for (int x = from; x < cairo_image_surface_get_width(surface); ++x) {
    for (int y = static_cast<int>(kRow * row) + 4; y < static_cast<int>(kRow * (row + 1)) - 4; ++y) {
      const platform::test::Pixel pixel = platform::test::pixelAt(surface, x, y);
      if (pixel.alpha > 128 && pixel.red < 100) return x;
    }
  }
  return std::nullopt;
}

TEST_F(LayersPanel, DeeperRowsAreDrawnTwentyPointsALevelFurtherRight) {
  const auto surface = panel_testing::renderSettled(table().widget());
  // Rows 0 ("Layer1", level 0) and 4 ("Layer3", level 2): the eye, then the name after it.
  const std::optional<int> eye0 = firstInk(surface.get(), 0, 0);
  const std::optional<int> eye2 = firstInk(surface.get(), 4, 0);
  ASSERT_TRUE(eye0 && eye2);
  EXPECT_EQ(*eye2 - *eye0, 40);
  EXPECT_GE(*eye0, 7);
  const std::optional<int> name0 = firstInk(surface.get(), 0, *eye0 + 18);
  const std::optional<int> name2 = firstInk(surface.get(), 4, *eye2 + 18);
  ASSERT_TRUE(name0 && name2);
  EXPECT_EQ(*name2 - *name0, 40);
  EXPECT_GE(*name0, 30);
}

TEST_F(LayersPanel, AClickedRowGoesFirstToTheWindowWithTheOthersInOrder) {
  table().selectRowIndexes(IndexSet{1, 2}, false);
  EXPECT_TRUE(spy().selections.empty()) << "selection by code tells nobody";
  clickRow(4, GDK_CONTROL_MASK);
  ASSERT_EQ(spy().selections.size(), 1u);
  EXPECT_EQ(ids(spy().selections[0].records), (std::vector<std::int32_t>{3, 10, 2}));
  EXPECT_EQ(spy().selections[0].sender, panel.get());
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{1, 2, 4}));

  clickRow(4, GDK_CONTROL_MASK);
  EXPECT_EQ(ids(spy().selections.back().records), (std::vector<std::int32_t>{10, 2})) << "a row turned off is not sent";
  clickRow(6);
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{6}));
  clickRow(3, GDK_SHIFT_MASK);
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{3, 4, 5, 6}));
  EXPECT_EQ(ids(spy().selections.back().records), (std::vector<std::int32_t>{12, 3, 4, 5}));
  click(table(), {120, kRow * 9.5});
  EXPECT_TRUE(table().selectedRowIndexes().empty()) << "a click below the rows deselects";
  EXPECT_TRUE(spy().selections.back().records.empty());
}

TEST_F(LayersPanel, SelectedRowsAreFilledAndOnlyTheyChange) {
  clickRow(2);
  const auto surface = panel_testing::renderSettled(table().widget());
  const platform::Color fill = platform::alternateSelectedControlColor();
  const platform::test::Pixel selected = platform::test::pixelAt(surface.get(), 200, static_cast<int>(kRow * 2.5));
  EXPECT_NEAR(selected.red, fill.red() * 255, 2);
  EXPECT_NEAR(selected.blue, fill.blue() * 255, 2);
  EXPECT_EQ(platform::test::pixelAt(surface.get(), 200, static_cast<int>(kRow * 1.5)).alpha, 0);
}

TEST_F(LayersPanel, TheCanvasChoiceSelectsItsRowWithoutTellingAnyone) {
  panel->selectLayer(panel->layerByID(3));
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{4}));
  spy().shift = true;
  panel->selectLayer(panel->layerByID(5));
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{4, 6})) << "Shift adds";
  spy().shift = false;
  panel->selectLayer(panel->layerByID(2));
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{2})) << "a plain choice replaces";
  panel->selectLayer(named(99, ""));
  EXPECT_TRUE(table().selectedRowIndexes().empty()) << "a layer without a row deselects";
  panel->selectAll();
  EXPECT_EQ(table().selectedRowIndexes().count(), 8u);
  EXPECT_TRUE(spy().selections.empty());
}

TEST_F(LayersPanel, ButtonsNeedASelectionAndMovedLayersStaySelected) {
  for (int tag = CMLayersPanelView::kDuplicateTag; tag <= CMLayersPanelView::kDownTag; ++tag)
    EXPECT_FALSE(button(tag).isEnabled()) << tag;
  EXPECT_FALSE(panel->validateMenuItem(CMLayersPanelView::kMenuUpTag));
  clickRow(0);
  for (int tag = CMLayersPanelView::kDuplicateTag; tag <= CMLayersPanelView::kDownTag; ++tag)
    EXPECT_TRUE(button(tag).isEnabled()) << tag;
  EXPECT_FALSE(panel->validateMenuItem(CMLayersPanelView::kMenuUpTag)) << "row 0 goes no higher";
  EXPECT_TRUE(panel->validateMenuItem(CMLayersPanelView::kMenuDownTag));

  // Down moves layer 1 one place on in the top-level list: after group 10.
  platform::test::clickButton(button(CMLayersPanelView::kDownTag).gtkButton());
  panel_testing::settle();
  EXPECT_EQ(rowIds(), (std::vector<std::int32_t>{10, 2, 12, 3, 4, 1, 5, 7}));
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{5})) << "the moved layer's row is still selected";
  EXPECT_EQ(button(CMLayersPanelView::kDownTag).state(), 0) << "the buttons are momentary";

  clickRow(7);
  EXPECT_FALSE(panel->validateMenuItem(CMLayersPanelView::kMenuDownTag)) << "the last row goes no lower";
  EXPECT_TRUE(panel->validateMenuItem(CMLayersPanelView::kMenuUpTag));
}

TEST_F(LayersPanel, DeleteKeysDeleteAndOtherKeysDoNothing) {
  clickRow(0);
  for (const unsigned key : {GDK_KEY_Down, GDK_KEY_Up, GDK_KEY_Left, GDK_KEY_a}) {
    platform::test::injectKey(table().widget(), GDK_KEY_PRESS, key);
    platform::test::injectKey(table().widget(), GDK_KEY_RELEASE, key);
    panel_testing::settle();
  }
  EXPECT_EQ(table().selectedRowIndexes(), (IndexSet{0}));
  EXPECT_EQ(rowIds().size(), 8u);
  platform::test::injectKey(table().widget(), GDK_KEY_PRESS, GDK_KEY_BackSpace);
  panel_testing::settle();
  EXPECT_EQ(rowIds(), (std::vector<std::int32_t>{10, 2, 12, 3, 4, 5, 7}));
  clickRow(5);
  platform::test::injectKey(table().widget(), GDK_KEY_PRESS, GDK_KEY_Delete);
  panel_testing::settle();
  EXPECT_EQ(rowIds(), (std::vector<std::int32_t>{10, 2, 12, 3, 4}));
}

TEST_F(LayersPanel, TheEyeHidesItsLayerRedrawingOnlyItsRow) {
  const DictRef one = panel->layerByID(1);
  model_.clear();
  click(table(), {CMLayersPanelView::eyeRect(0).origin.x + 8, kRow / 2});
  EXPECT_FALSE(one->get("visible").boolValue());
  EXPECT_TRUE(table().selectedRowIndexes().empty()) << "the eye does not select";
  ASSERT_EQ(undoCount(), 1u);
  EXPECT_EQ(document->undoManager().undoStack().back()->get("type").intValue(), kCMUndoVisibility);
  EXPECT_EQ(posted(kNotificationLayersChanged), 0) << "nothing rebuilds";
  const auto hidden = panel_testing::renderSettled(table().widget());
  EXPECT_FALSE(firstInk(hidden.get(), 0, 0) < std::optional<int>(CMLayersPanelView::kNameX - 2))
      << "no eye is drawn for a hidden layer";

  document->undo();
  panel_testing::settle();
  EXPECT_TRUE(panel->layerByID(1)->get("visible").boolValue());
  const auto shown = panel_testing::renderSettled(table().widget());
  EXPECT_LT(firstInk(shown.get(), 0, 0), std::optional<int>(CMLayersPanelView::kNameX - 2));
}

TEST_F(LayersPanel, RenameRefusesAnEmptyNameAndRegistersOneUndoRecord) {
  clickRow(2);
  platform::test::clickButton(button(CMLayersPanelView::kRenameTag).gtkButton());
  panel_testing::settle();
  ASSERT_NE(panel->renameSheet(), nullptr);
  panel->renameSheet()->textField().setStringValue("Dropped");
  platform::test::clickButton(panel->renameSheet()->cancelButton().gtkButton());
  panel_testing::settle();
  EXPECT_EQ(panel->renameSheet(), nullptr);
  EXPECT_FALSE(panel->layerByID(2)->contains("name")) << "Cancel renames nothing";

  platform::test::clickButton(button(CMLayersPanelView::kRenameTag).gtkButton());
  panel_testing::settle();
  CMTextEditWindow* sheet = panel->renameSheet();
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(sheet->window().isVisible());
  EXPECT_EQ(sheet->textField().stringValue(), "Layer2");

  sheet->textField().setStringValue("");
  platform::test::clickButton(sheet->okButton().gtkButton());
  panel_testing::settle();
  ASSERT_NE(sheet->emptyNameAlert(), nullptr);
  auto* alert = dynamic_cast<Gtk::MessageDialog*>(sheet->emptyNameAlert()->dialog());
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->property_text().get_value(), "Error");
  EXPECT_EQ(alert->property_secondary_text().get_value(), CMTextEditWindow::kEmptyNameMessage);
  EXPECT_TRUE(alert->get_visible());
  EXPECT_EQ(alert->get_transient_for(), &sheet->window().gtkWindow());
  EXPECT_TRUE(sheet->window().isVisible()) << "the sheet stays for another try";
  EXPECT_EQ(undoCount(), 0u);
  alert->response(Gtk::RESPONSE_OK);
  panel_testing::settle();

  sheet->textField().setStringValue("Sleeve <b>&amp;</b>");
  platform::test::clickButton(sheet->okButton().gtkButton());
  panel_testing::settle();
  EXPECT_EQ(panel->renameSheet(), nullptr);
  EXPECT_EQ(panel->layerByID(2)->get("name").string(), "Sleeve <b>&amp;</b>");
  EXPECT_EQ(CMLayerRows::displayName(panel->layerByID(2)), "Sleeve <b>&amp;</b>") << "shown literally";
  ASSERT_EQ(undoCount(), 1u);
  EXPECT_EQ(document->undoManager().undoStack().back()->get("type").intValue(), kCMUndoEditing);
  document->undo();
  panel_testing::settle();
  EXPECT_FALSE(panel->layerByID(2)->contains("name"));
}

TEST_F(LayersPanel, LockingRegistersOneRecordBeforeAnyWrite) {
  panel->layerByID(3)->set("lock", true);
  table().selectRowIndexes(IndexSet{0, 2, 4}, false);
  std::vector<bool> locksWhenRegistered;
  document->undoManager().setEditHandler([&] {
    for (const std::int32_t id : {1, 2, 3}) locksWhenRegistered.push_back(panel->layerByID(id)->get("lock").boolValue());
  });
  menuItem("Lock / Unlock").gtkItem().activate();
  panel_testing::settle();
  EXPECT_EQ(locksWhenRegistered, (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(panel->layerByID(1)->get("lock").boolValue());
  EXPECT_TRUE(panel->layerByID(2)->get("lock").boolValue());
  EXPECT_FALSE(panel->layerByID(3)->get("lock").boolValue());
  ASSERT_EQ(undoCount(), 1u);
  document->undo();
  panel_testing::settle();
  EXPECT_FALSE(panel->layerByID(1)->get("lock").boolValue());
  EXPECT_FALSE(panel->layerByID(2)->get("lock").boolValue());
  EXPECT_TRUE(panel->layerByID(3)->get("lock").boolValue());
}

TEST_F(LayersPanel, GroupAndUngroupGoToTheCanvasWithTheSelectedRecords) {
  table().selectRowIndexes(IndexSet{0, 6}, false);
  menuItem("Group").gtkItem().activate();
  menuItem("Ungroup").gtkItem().activate();
  ASSERT_EQ(spy().grouped.size(), 1u);
  EXPECT_EQ(ids(spy().grouped[0]), (std::vector<std::int32_t>{1, 5}));
  ASSERT_EQ(spy().ungrouped.size(), 1u);
  EXPECT_EQ(ids(spy().ungrouped[0]), (std::vector<std::int32_t>{1, 5}));
}

class LayersPanelDrops : public LayersPanel {
 protected:
  // Drags the rows (as a drag from the table would write them) and drops them in a gap; whether it was taken.
  bool dragAndDrop(const IndexSet& rows, std::size_t gap, bool rebuildBetween = false) {
    platform::Pasteboard board;
    if (!panel->writeRows(table(), rows, board)) return false;
    const auto archived = platform::unarchiveObjectWithData(*board.dataForType(platform::pasteboard_type::LayerRows));
    EXPECT_TRUE(archived.ok());
    if (archived.ok()) {
      EXPECT_EQ(archived.value().array()->size(), rows.count());
    }
    if (rebuildBetween) {
      root->array("layers")->insert(0, named(40, "new"));
      panel->update();
    }
    const Point pixel = table().localToGtk({50, kRow * static_cast<double>(gap)});
    return table().dropDestination()->dragDrop(board, platform::drag_operation::Move, pixel);
  }
};

TEST_F(LayersPanelDrops, GapZeroMakesTheLayersTheFirstTopLevelOnes) {
  EXPECT_TRUE(dragAndDrop(IndexSet{4, 6}, 0));
  EXPECT_EQ(document_testing::idsOf(root->array("layers")), (std::vector<std::int64_t>{3, 5, 1, 10}));
}

TEST_F(LayersPanelDrops, AGapPutsTheLayersAfterTheRowAboveInItsList) {
  // Gap 5 lies under row 4, layer 3 in group 12.
  EXPECT_TRUE(dragAndDrop(IndexSet{0}, 5));
  EXPECT_EQ(document_testing::idsOf(root->array("layers")), (std::vector<std::int64_t>{10, 5}));
  const DictRef inner = panel->layerByID(12);
  EXPECT_EQ(document_testing::idsOf(inner->array("items")), (std::vector<std::int64_t>{3, 1, 4}));
  EXPECT_EQ(undoCount(), 1u);
}

TEST_F(LayersPanelDrops, AGroupCannotGoIntoItselfAndAStaleDragIsRefused) {
  EXPECT_FALSE(dragAndDrop(IndexSet{1}, 5)) << "after a member of the dragged group";
  EXPECT_FALSE(dragAndDrop(IndexSet{1}, 2)) << "after the group itself";
  EXPECT_FALSE(dragAndDrop(IndexSet{0}, 8)) << "after a mask, which hangs outside every list";
  EXPECT_FALSE(dragAndDrop(IndexSet{7}, 0)) << "a mask itself";
  EXPECT_FALSE(dragAndDrop(IndexSet{0}, 3, true)) << "the rows were read again: row 0 is another layer now";
  EXPECT_EQ(document_testing::idsOf(root->array("layers")), (std::vector<std::int64_t>{40, 1, 10, 5}));
  EXPECT_EQ(undoCount(), 0u);
  EXPECT_TRUE(CMLayersPanelView::checkDragAndDropPossible({panel->layerByID(2)}, panel->layerByID(3)));
}

}  // namespace
