// The gradient editor: the record rules (built-ins, where a new stop goes, each stop's neighbour against a plain
// scan, equality and copies, the stored list from a hostile defaults file), the list stored as Python reads it,
// and the shared window with real clicks and drags: the stored entry selected and rewritten, an entry copied into
// the control, stops and midpoints dragged and pinned, stops shared with other records copied first, the angle, the
// grid's cells, Remove, the pop-up's place, one defaults write for a whole drag, and undo of a gradient edit in the
// style panel.

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "document/CMGradientEditorService.h"
#include "document/CMProject.h"
#include "panel_test_support.h"
#include "platform/core/user_defaults.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/VDGradientControl.h"
#include "ui/VDGradientRecords.h"
#include "ui/VDGradientWindowController.h"
#include "../random_test_seed.h"

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Rect;
namespace records = VDGradientRecords;

DictRef stop(float pos, float mix = 0.5F, float grey = 0) {
  return Dictionary::make({{"pos", pos}, {"red", grey}, {"green", grey}, {"blue", grey}, {"mix", mix}});
}

DictRef gradientOf(std::vector<DictRef> stops, int type = 0) {
  ArrayRef markers = Array::make();
  for (DictRef& s : stops) markers->add(std::move(s));
  return Dictionary::make({{"type", type}, {"angle", 0}, {"markers", markers}});
}

TEST(GradientRecords, BuiltInsAndNewStopPositions) {
  const ArrayRef builtIns = records::builtInGradients();
  ASSERT_EQ(builtIns->size(), 18u);
  std::size_t stops = 0;
  for (std::size_t i = 0; i < builtIns->size(); ++i) {
    const DictRef g = builtIns->at(i).dictionary();
    stops += records::stopsOf(g).size();
    EXPECT_TRUE(g->get("type").isInteger());
    EXPECT_EQ(g->contains("fx"), i == 0) << i;
    EXPECT_EQ(g->contains("fy"), i == 0) << i;
    EXPECT_FALSE(g->contains("radius_factor"));
  }
  EXPECT_EQ(stops, 37u);
  const std::vector<DictRef> eleven = records::stopsOf(builtIns->at(10).dictionary());
  EXPECT_EQ(eleven[0]->get("green").floatValue(), 1.4F);
  EXPECT_EQ(eleven[1]->get("red").floatValue(), 1.5F);
  EXPECT_EQ(eleven[1]->get("pos").floatValue(), 0.5F);

  struct Case {
    std::vector<float> positions;
    float expected;
  };
  for (const Case& c : {Case{{0, 1}, 0.5F}, Case{{0, 0.5F, 1}, 0.75F}, Case{{1, 0, 0.5F}, 0.75F}, Case{{0.3F}, 0},
                        Case{{}, 0}, Case{{0.4F, 0.4F}, 0}, Case{{0, 1, 1}, 0.5F}}) {
    std::vector<DictRef> made;
    for (float p : c.positions) made.push_back(stop(p));
    EXPECT_FLOAT_EQ(records::newStopPosition(gradientOf(made)), c.expected) << c.positions.size();
  }
}

// The neighbour as first described: every other stop at or past the stop, the best replaced only when strictly
// nearer, starting at 10.
std::vector<std::size_t> scannedNeighbours(const std::vector<DictRef>& sorted) {
  std::vector<std::size_t> found(sorted.size(), records::kNoNeighbour);
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    float best = 10.0F;
    const float pos = records::number(sorted[i], "pos");
    for (std::size_t j = 0; j < sorted.size(); ++j) {
      if (j == i) continue;
      const float other = records::number(sorted[j], "pos");
      if (other >= pos && other - pos < best) {
        best = other - pos;
        found[i] = j;
      }
    }
  }
  return found;
}

TEST(GradientRecords, NeighboursAgreeWithAPlainScan) {
  const unsigned seed = randomTestSeed("GradientRecords.NeighboursAgreeWithAPlainScan");
  std::mt19937 random(seed);
  for (int round = 0; round < 1000; ++round) {
    std::vector<DictRef> made;
    const int count = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < count; ++i) {
      // Few distinct positions, so that ties and runs of equal stops come up often; some far apart.
      float pos = std::uniform_int_distribution<int>(0, 6)(random) / 4.0F;
      if (std::uniform_int_distribution<int>(0, 9)(random) == 0) pos *= 40;
      made.push_back(stop(pos));
    }
    const std::vector<DictRef> sorted = records::sortedStops(gradientOf(made));
    ASSERT_EQ(records::rightNeighbours(sorted), scannedNeighbours(sorted)) << "seed " << seed << " round " << round;
  }
}

TEST(GradientRecords, EqualityCopiesAndTheStoredList) {
  const DictRef a = gradientOf({stop(0), stop(1, 0.5F, 1)}, 2);
  a->set("radius_factor", 1.0F);
  DictRef b = platform::dictionaryCopy(a);
  EXPECT_TRUE(records::isEqualGradient(a, b));
  b->set("angle", 0.0);
  EXPECT_TRUE(records::isEqualGradient(a, b)) << "numbers compared as floats";
  b->set("fx", 0);
  EXPECT_TRUE(records::isEqualGradient(a, b)) << "a missing key counts as 0";
  b->array("markers")->at(1).dictionary()->set("mix", 0.25F);
  EXPECT_FALSE(records::isEqualGradient(a, b));
  EXPECT_FALSE(records::isEqualGradient(a, gradientOf({stop(0)}, 2)));

  const DictRef target = Dictionary::make({{"type", 1}, {"fx", 0.3F}, {"markers", Array::make()}});
  records::copyGradient(target, a);
  EXPECT_FALSE(target->contains("fx")) << "keys the source lacks go";
  EXPECT_TRUE(records::isEqualGradient(target, a));
  EXPECT_NE(target->array("markers")->at(0).dictionary(), a->array("markers")->at(0).dictionary());
  EXPECT_TRUE(target->array("markers")->at(0).dictionary()->get("pos").isReal32());

  EXPECT_EQ(records::storedGradients(platform::Value("text")), nullptr);
  const ArrayRef stored = records::storedGradients(
      platform::Value(Array::make({platform::Value(3), platform::Value(a), platform::Value("x")})));
  ASSERT_EQ(stored->size(), 1u);
  EXPECT_TRUE(records::stopsOf(Dictionary::make({{"markers", 5}})).empty());
  EXPECT_EQ(records::number(Dictionary::make({{"pos", std::nan("")}}), "pos"), 0);
}

TEST(GradientList, TheFirstRunStoresTheBuiltInsAsAnyPlistReaderReadsThem) {
  document_testing::ScratchFolders folders;
  auto& settings = CMProject::shareProject().settings();
  const ArrayRef first = VDGradientWindowController::loadGradients(settings);
  ASSERT_EQ(first->size(), 18u);
  const std::string command =
      "python3 -c \"import plistlib,sys; d=plistlib.load(open(sys.argv[1],'rb')); "
      "g=d['gradients']; print(len(g), sum(len(x['markers']) for x in g), "
      "[i for i,x in enumerate(g) if 'fx' in x], g[10]['markers'][0]['green'])\" '" +
      settings.filePath().string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[256] = {};
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  ASSERT_TRUE(read);
  EXPECT_EQ(std::string(line).substr(0, 14), "18 37 [0] 1.39") << line;

  // A later run loads the list as the user left it.
  first->removeAt(3);
  first->at(0).dictionary()->set("angle", 30);
  settings.setObject(platform::Value(first), VDGradientWindowController::kGradientsKey);
  ASSERT_TRUE(settings.synchronize());
  platform::UserDefaults::resetStandardUserDefaults();
  const ArrayRef later = VDGradientWindowController::loadGradients(CMProject::shareProject().settings());
  ASSERT_EQ(later->size(), 17u);
  EXPECT_EQ(later->at(0).dictionary()->get("angle").intValue(), 30);
  EXPECT_TRUE(records::isEqualGradient(later->at(3).dictionary(), records::builtInGradients()->at(4).dictionary()));
}

TEST(GradientPopup, PlacedUnderTheControlOrAboveItNearTheScreensBottom) {
  const Rect screen{0, 0, 1600, 1200};
  struct Case {
    Rect control;
    Rect expected;
  };
  for (const Case& c :
       {Case{{500, 600, 60, 20}, {round(500 + 30 - 145.5F), 600 + 20 - 308, 291, 308}},
        Case{{500, 100, 60, 20}, {385, 100 + 40, 291, 308}}, Case{{20, 600, 60, 20}, {0, 312, 291, 308}},
        Case{{1500, 600, 60, 20}, {1385, 312, 291, 308}}}) {
    const Rect frame = VDGradientWindowController::popupFrame(c.control, screen);
    EXPECT_EQ(frame, c.expected) << c.control.origin.x << "," << c.control.origin.y;
  }
  // Past the right edge only the control's width is kept from it.
  EXPECT_EQ(VDGradientWindowController::popupFrame({460, 300, 60, 20}, {0, 0, 400, 800}).origin.x, 340);
}

TEST(GradientMatrix, CellsFromTheTopAndNothingWhenTooNarrow) {
  VDGradientMatrix matrix({0, 0, 100, 200});
  EXPECT_EQ(matrix.columns(), 3);
  EXPECT_EQ(matrix.cellRect(4), (Rect{32, 200 - 63, 31, 31}));
  EXPECT_EQ(matrix.cellRect(0), (Rect{1, 200 - 32, 31, 31}));
  VDGradientMatrix narrow({0, 0, 30, 200});
  EXPECT_EQ(narrow.columns(), 0);
}

// The shared window serving one control in a window of its own.
class GradientWindow : public panel_testing::PanelTest {
 protected:
  void SetUp() override {
    controller().setDelegate(nullptr);
    root = std::make_shared<platform::View>(Rect{0, 0, 300, 200});
    control = std::make_shared<VDGradientControl>(Rect{100, 100, 60, 20});
    control->setAction([this](platform::Control&) { ++sent; });
    root->addSubview(control);
    showInWindow(root, {300, 200});
    panel_testing::awaitFocus(window().gtkWindow());
    // Other tests' windows on the same display may take the focus at any time: only Escape closes the pop-up here.
    controller().window().setDidResign([](platform::PopupWindow::ResignReason reason) {
      if (reason == platform::PopupWindow::ResignReason::Cancelled) controller().closeWindow();
    });
  }
  void TearDown() override {
    controller().window().setDidResign([](platform::PopupWindow::ResignReason) { controller().closeWindow(); });
    controller().setDelegate(nullptr);
    controller().closeWindow();
    panel_testing::settle();
  }
  static VDGradientWindowController& controller() { return VDGradientWindowController::sharedGradient(); }
  void openWith(DictRef record) {
    control->setGradient(std::move(record));
    click(*control, {30, 10});
    ASSERT_TRUE(controller().isVisible());
  }
  static void press(platform::View& view, platform::Point at, GdkEventType type, int clickCount = 1) {
    const platform::Point pixel = view.localToGtk(at);
    for (int i = 1; i < clickCount; ++i) {
      platform::test::injectButton(view.widget(), GDK_BUTTON_PRESS, 1, pixel.x, pixel.y);
      platform::test::injectButton(view.widget(), GDK_BUTTON_RELEASE, 1, pixel.x, pixel.y);
    }
    if (type == GDK_MOTION_NOTIFY) {
      // GDK holds the latest motion back until another comes.
      platform::test::injectMotion(view.widget(), pixel.x, pixel.y, GDK_BUTTON1_MASK);
      platform::test::injectMotion(view.widget(), pixel.x, pixel.y, GDK_BUTTON1_MASK);
    } else {
      platform::test::injectButton(view.widget(), type, 1, pixel.x, pixel.y);
    }
    panel_testing::settle();
  }
  static platform::Point centre(const Rect& r) {
    return {r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
  }

  std::shared_ptr<platform::View> root;
  std::shared_ptr<VDGradientControl> control;
  int sent = 0;
};

TEST_F(GradientWindow, AStoredEntryIsSelectedOnOpeningAndRewrittenByEdits) {
  ArrayRef list = controller().gradients();
  ASSERT_GT(list->size(), 6u);
  openWith(platform::dictionaryCopy(list->at(5).dictionary()));
  EXPECT_TRUE(control->isActive());
  EXPECT_EQ(controller().gradientMatrix().selectedGradient(), 5);
  controller().gradientEditor().addColorStop();
  panel_testing::settle();
  EXPECT_EQ(sent, 1);
  EXPECT_EQ(records::stopsOf(control->gradient()).size(), 3u);
  EXPECT_TRUE(records::isEqualGradient(controller().gradients()->at(5).dictionary(), control->gradient()));
  EXPECT_EQ(records::stopsOf(control->previousGradient()).size(), 2u) << "the record from before the edit";

  // Another stored entry: its stops, type, angle and focal values into the control's record.
  VDGradientMatrix& matrix = controller().gradientMatrix();
  const DictRef third = platform::dictionaryCopy(controller().gradients()->at(3).dictionary());
  click(matrix, centre(matrix.cellRect(3)));
  EXPECT_EQ(sent, 2);
  EXPECT_TRUE(records::isEqualGradient(control->gradient(), third));
  EXPECT_TRUE(records::isEqualGradient(controller().gradients()->at(3).dictionary(), third));
}

TEST_F(GradientWindow, StopsAndMidpointsAreDraggedWithinTheBar) {
  openWith(gradientOf({stop(0), stop(1, 0.5F, 1)}));
  controller().gradientMatrix().setSelectedGradient(-1);
  VDGradientEditorView& editor = controller().gradientEditor();
  const Rect bar = editor.barRect();
  const DictRef right = records::stopsOf(control->gradient())[1];
  press(editor, centre(editor.stopRect(1)), GDK_BUTTON_PRESS);
  EXPECT_EQ(editor.focusedPoint(), right);
  press(editor, {bar.origin.x + bar.size.width * 0.5, 5}, GDK_MOTION_NOTIFY);
  EXPECT_NEAR(right->get("pos").floatValue(), 0.5F, 0.01);
  press(editor, {bar.origin.x + bar.size.width + 40, 5}, GDK_MOTION_NOTIFY);
  EXPECT_EQ(right->get("pos").floatValue(), 1.0F) << "pinned at the right end";
  press(editor, {bar.origin.x - 40, 5}, GDK_MOTION_NOTIFY);
  EXPECT_EQ(right->get("pos").floatValue(), 0.0F) << "pinned at the left end";
  press(editor, {bar.origin.x - 40, 5}, GDK_BUTTON_RELEASE);
  EXPECT_GE(sent, 3);
  // Both stops at 0: a midpoint drag leaves "mix" as it is.
  const DictRef left = records::stopsOf(control->gradient())[0];
  press(editor, centre(editor.handleRect(0)), GDK_BUTTON_PRESS);
  press(editor, {bar.origin.x + 30, 5}, GDK_MOTION_NOTIFY);
  press(editor, {bar.origin.x + 30, 5}, GDK_BUTTON_RELEASE);
  EXPECT_EQ(left->get("mix").floatValue(), 0.5F);
  EXPECT_EQ(right->get("mix").floatValue(), 0.5F);

  right->set("pos", 1.0F);
  editor.update();
  press(editor, centre(editor.handleRect(0.5F)), GDK_BUTTON_PRESS);
  EXPECT_EQ(editor.selectedType(), VDGradientEditorView::kDragMidpoint);
  press(editor, {bar.origin.x + bar.size.width * 0.25, 5}, GDK_MOTION_NOTIFY);
  EXPECT_NEAR(left->get("mix").floatValue(), 0.25F, 0.01);
  press(editor, {bar.origin.x + bar.size.width + 50, 5}, GDK_MOTION_NOTIFY);
  EXPECT_EQ(left->get("mix").floatValue(), 1.0F) << "pinned to its interval";
  press(editor, {0, 5}, GDK_BUTTON_RELEASE);

  // Delete only with a focused stop and three stops or more.
  platform::MenuItem* remove = editor.menu().itemWithTag(VDGradientEditorView::kDeleteTag);
  editor.menu().update();
  EXPECT_FALSE(remove->isEnabled());
  editor.addColorStop();
  editor.menu().update();
  EXPECT_TRUE(remove->isEnabled());
  remove->perform();
  EXPECT_EQ(records::stopsOf(control->gradient()).size(), 2u);
  editor.menu().update();
  EXPECT_FALSE(remove->isEnabled()) << "no focus after a delete";
}

TEST_F(GradientWindow, StopsSharedWithOtherRecordsAreCopiedBeforeTheyAreEdited) {
  // Shapes read from a file share their gradient's stops.
  const DictRef translucent = stop(1, 0.5F, 1);
  translucent->set("alpha", 0.25F);
  const DictRef edited = gradientOf({stop(0), translucent});
  const DictRef other = Dictionary::make({{"type", 0}, {"angle", 0}, {"markers", edited->array("markers")}});
  openWith(edited);
  VDGradientEditorView& editor = controller().gradientEditor();
  const Rect bar = editor.barRect();
  press(editor, centre(editor.stopRect(1)), GDK_BUTTON_PRESS);
  press(editor, {bar.origin.x + bar.size.width * 0.5, 5}, GDK_MOTION_NOTIFY);
  press(editor, {bar.origin.x + bar.size.width * 0.5, 5}, GDK_BUTTON_RELEASE);
  EXPECT_NEAR(records::stopsOf(edited)[1]->get("pos").floatValue(), 0.5F, 0.01);
  EXPECT_EQ(records::stopsOf(other)[1]->get("pos").floatValue(), 1.0F) << "the other record's stops stay";
  EXPECT_EQ(records::stopsOf(edited)[1]->get("alpha").floatValue(), 0.25F) << "the copy keeps every key";
}

TEST_F(GradientWindow, TheAngleAppliesToTheAngledTypeOnly) {
  openWith(gradientOf({stop(0), stop(1)}, 2));
  controller().gradientMatrix().setSelectedGradient(-1);
  EXPECT_EQ(controller().type().selectedSegment(), 2) << "the record's type on the first showing";
  EXPECT_TRUE(controller().angle().isEnabled());
  controller().angle().gtkScale().set_value(45.9);
  panel_testing::settle();
  EXPECT_EQ(controller().angleCaption().stringValue(), "Angle: 45");
  EXPECT_EQ(control->gradient()->get("angle").intValue(), 45);
  platform::test::clickButton(controller().type().gtkSegment(1));
  panel_testing::settle();
  EXPECT_EQ(control->gradient()->get("type").intValue(), 1);
  EXPECT_FALSE(controller().angle().isEnabled());
}

TEST_F(GradientWindow, NewSaveAndRemoveKeepTheStoredList) {
  openWith(gradientOf({stop(0), stop(1, 0.5F, 0.25F)}));
  const std::size_t before = controller().gradients()->size();
  controller().OnNewGradient();
  controller().OnNewGradient();
  ASSERT_EQ(controller().gradients()->size(), before + 2);
  EXPECT_EQ(controller().gradientMatrix().selectedGradient(), static_cast<int>(before + 1));
  controller().OnRemoveGradient();
  EXPECT_EQ(controller().gradients()->size(), before) << "both equal entries go";
  EXPECT_EQ(controller().gradientMatrix().selectedGradient(), static_cast<int>(before - 1));
  EXPECT_TRUE(controller().removeButton().isEnabled());
}

// Writes of one file (closed after writing, or moved into place), counted through inotify.
class WriteCounter {
 public:
  explicit WriteCounter(const std::filesystem::path& file)
      : fd_(inotify_init1(IN_NONBLOCK)), name_(file.filename().string()) {
    inotify_add_watch(fd_, file.parent_path().c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
  }
  ~WriteCounter() { close(fd_); }
  int count() {
    alignas(inotify_event) char buffer[4096];
    ssize_t length;
    while ((length = read(fd_, buffer, sizeof buffer)) > 0)
      for (char* at = buffer; at < buffer + length;) {
        auto* event = reinterpret_cast<inotify_event*>(at);
        if (event->len > 0 && name_ == event->name) ++count_;
        at += sizeof(inotify_event) + event->len;
      }
    return count_;
  }

 private:
  int fd_;
  std::string name_;
  int count_ = 0;
};

TEST_F(GradientWindow, AWholeStopDragWritesTheDefaultsOnce) {
  openWith(gradientOf({stop(0), stop(1, 0.5F, 0.75F)}));
  controller().OnNewGradient();
  panel_testing::settle();
  VDGradientEditorView& editor = controller().gradientEditor();
  const Rect bar = editor.barRect();
  WriteCounter writes(CMProject::shareProject().settings().filePath());
  const platform::Point start = centre(editor.stopRect(1));
  platform::test::injectButton(editor.widget(), GDK_BUTTON_PRESS, 1, editor.localToGtk(start).x,
                               editor.localToGtk(start).y);
  for (int step = 0; step < 50; ++step) {
    const platform::Point at = editor.localToGtk({bar.origin.x + bar.size.width * (1 - step / 100.0), 5});
    platform::test::injectMotion(editor.widget(), at.x, at.y, GDK_BUTTON1_MASK);
    panel_testing::settle();
  }
  EXPECT_EQ(writes.count(), 0) << "nothing written while the stop is held";
  // The last step again: GDK holds the latest motion back until another comes.
  const platform::Point end = editor.localToGtk({bar.origin.x + bar.size.width * 0.51, 5});
  platform::test::injectMotion(editor.widget(), end.x, end.y, GDK_BUTTON1_MASK);
  platform::test::injectMotion(editor.widget(), end.x, end.y, GDK_BUTTON1_MASK);
  panel_testing::settle();
  EXPECT_EQ(writes.count(), 0) << "nothing written while the stop is held";
  platform::test::injectButton(editor.widget(), GDK_BUTTON_RELEASE, 1, end.x, end.y);
  panel_testing::settle();
  const int afterDrag = writes.count();
  EXPECT_GE(sent, 1);
  EXPECT_NEAR(records::stopsOf(control->gradient())[1]->get("pos").floatValue(), 0.51F, 0.02);
  EXPECT_EQ(afterDrag, 1) << "one write for the drag, however many steps";
  const ArrayRef stored = CMProject::shareProject().settings().arrayForKey(VDGradientWindowController::kGradientsKey);
  EXPECT_TRUE(records::isEqualGradient(stored->last().dictionary(), control->gradient()));
}

TEST_F(GradientWindow, ItsOwnContextMenuKeepsThePopUpWhileFocusElsewhereClosesIt) {
  controller().window().setDidResign([](platform::PopupWindow::ResignReason) { controller().closeWindow(); });
  openWith(gradientOf({stop(0), stop(1)}));
  controller().gradientMatrix().setSelectedGradient(-1);
  Gtk::Window& popup = controller().window().window().gtkWindow();
  panel_testing::awaitFocus(popup);
  ASSERT_TRUE(popup.has_toplevel_focus());
  VDGradientEditorView& editor = controller().gradientEditor();
  const Rect bar = editor.barRect();
  const platform::Point pixel = editor.localToGtk({bar.origin.x + bar.size.width / 2, 5});
  platform::test::injectButton(editor.widget(), GDK_BUTTON_PRESS, 3, pixel.x, pixel.y);
  platform::test::injectButton(editor.widget(), GDK_BUTTON_RELEASE, 3, pixel.x, pixel.y);
  ASSERT_TRUE(platform::iterateMainLoopUntil(
      [] { return gtk_grab_get_current() != nullptr && GTK_IS_MENU(gtk_grab_get_current()); },
      std::chrono::milliseconds(2000)));
  panel_testing::settle();
  EXPECT_TRUE(controller().isVisible()) << "the menu took the keys, not another window";
  // Add Stop, as a click on the menu's first item chooses it.
  GtkWidget* menu = gtk_grab_get_current();
  GList* items = gtk_container_get_children(GTK_CONTAINER(menu));
  ASSERT_NE(items, nullptr);
  gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu), GTK_WIDGET(items->data), TRUE);
  g_list_free(items);
  panel_testing::settle();
  EXPECT_EQ(records::stopsOf(control->gradient()).size(), 3u);
  EXPECT_TRUE(controller().isVisible());

  window().gtkWindow().present();
  EXPECT_TRUE(platform::iterateMainLoopUntil([] { return !controller().isVisible(); }, std::chrono::milliseconds(2000)))
      << "the focus went to another window";
}

TEST_F(GradientWindow, TheModelsEditorServiceIsTheWindowOnceInstalled) {
  const auto previous = CMGradientEditorService::install(VDGradientWindowController::sharedGradientPointer());
  openWith(gradientOf({stop(0), stop(1)}));
  // A handle dragged on the canvas changes the record and asks the editor to show it.
  records::stopsOf(control->gradient())[1]->set("pos", 0.8F);
  CMGradientEditorService::sharedGradient().update();
  controller().gradientEditor().addColorStop();
  panel_testing::settle();
  EXPECT_FLOAT_EQ(records::stopsOf(control->previousGradient())[1]->get("pos").floatValue(), 0.8F)
      << "what the canvas made counts as before the next edit";
  CMGradientEditorService::install(previous);
}

TEST_F(GradientWindow, UndoAfterAGradientEditRestoresTheStopsInTheStylePanel) {
  DictRef layer = CMProject::defaultObject("path");
  layer->set("id", 1);
  const DictRef fill = layer->dictionary("shape")->dictionary("fill");
  fill->set("type", 3);
  auto document = panel_testing::documentWith(document_testing::rootWith({layer}));
  CMOptionsPanelView panel;
  panel.setDocument(document);
  panel.show(true);
  showInWindow(panel.view(), {250, 900});
  panel.selectLayer(layer);
  panel_testing::settle();
  VDGradientControl* swatch = nullptr;
  for (std::size_t i = 0; i < panel.items().size(); ++i)
    if (panel.items()[i]->get("name").string() == "Fill")
      for (const auto& entry : panel.views()[i]->controls())
        if (auto* found = dynamic_cast<VDGradientControl*>(entry.control.get())) swatch = found;
  ASSERT_NE(swatch, nullptr);
  ASSERT_FALSE(swatch->isHidden()) << "the fill's type is Gradient";
  click(*swatch, {30, 10});
  ASSERT_EQ(controller().delegate(), swatch);
  controller().gradientMatrix().setSelectedGradient(-1);
  controller().gradientEditor().addColorStop();
  controller().gradientEditor().addColorStop();
  panel_testing::settle();
  EXPECT_EQ(records::stopsOf(fill->dictionary("gradient")).size(), 4u);
  EXPECT_EQ(document->undoManager().undoCount(), 1u);
  EXPECT_TRUE(document->dirty());
  document->undoManager().undo();
  EXPECT_EQ(records::stopsOf(fill->dictionary("gradient")).size(), 2u);
  panel.selectLayer(nullptr);
  EXPECT_EQ(controller().delegate(), nullptr) << "rebuilt sections let the window go";
}

}  // namespace
