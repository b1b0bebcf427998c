// The layers panel on large drawings: the benchmark drawing's layers (repeated to 50,000) regrouped into 500
// groups up to 4 deep, with 300 masks, at 1,000, 10,000 and 50,000 layers.
// - B1 LayersPanelUpdate: a one-layer move with 1,000 rows selected, the list read again keeping the selection
//   by id, and the panel drawn once (its visible rows);
// - B2 LayersPanelSelectLayer: the canvas choosing the last row's layer, plain and with Shift;
// - B3 LayersPanelShiftClickAll: a Shift-click on the last row with the first selected, through the window's
//   selectLayers into the canvas's one-pass selection;
// - the peer in the same run: a Gtk::TreeView on a Gtk::TreeStore of the same rows (name, level, visible),
//   filled and drawn once off-screen, and its select_all.
// Goals: B1 under 50 ms at 10,000 rows and no slower than the TreeView fill, linear in rows (±30 %); B2 under
// 1 ms; B3 under 50 ms. Needs an X display: run under xvfb-run.

#include <benchmark/benchmark.h>
#include <gtkmm/cellrenderertext.h>
#include <gtkmm/cellrenderertoggle.h>
#include <gtkmm/offscreenwindow.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treestore.h>
#include <gtkmm/treeview.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/mixed_layer_scene.h"
#include "bench/ui/panel_drawing.h"
#include "canvas/CMEditorView.h"
#include "document/CMDocument.h"
#include "platform/ui/ui_initialization.h"
#include "platform/ui/window.h"
#include "ui/CMLayersPanelView.h"
#include "ui/CMPanelWindow.h"

namespace {

using bench::drawOnce;
using bench::settle;

using platform::DictRef;

constexpr int kGroups = 500;
constexpr int kMasks = 300;
constexpr int kSelectedRows = 1000;

bool haveDisplay(benchmark::State& state) {
  static const bool ui = platform::initializeUi();
  if (!ui) state.SkipWithError("no X display: run under xvfb-run");
  return ui;
}

// The scene's layers, repeated with fresh ids up to `count`, then half of them regrouped into 500 groups (each
// wrapped 0 to 3 times more, so up to 4 deep) and 300 of the rest made masks of the top-level layers after them.
DictRef regroupedRoot(int count) {
  const platform::ArrayRef scene = bench::documentRecord(bench::makeScene())->array("layers");
  std::vector<DictRef> flat;
  for (int i = 0; i < count; ++i) {
    DictRef record = platform::dictionaryCopy(scene->at(static_cast<std::size_t>(i) % scene->size()).dictionary());
    record->set("id", i + 1);
    flat.push_back(record);
  }
  std::int32_t nextId = count + 1;
  const auto group = [&](platform::ArrayRef items) {
    return platform::Dictionary::make({{"id", nextId++}, {"type", 3}, {"visible", true}, {"items", items}});
  };
  platform::ArrayRef layers = platform::Array::make();
  const std::size_t grouped = flat.size() / 2;
  const std::size_t perGroup = std::max<std::size_t>(1, grouped / kGroups);
  std::size_t next = 0;
  for (int g = 0; g < kGroups && next < grouped; ++g) {
    platform::ArrayRef items = platform::Array::make();
    for (std::size_t k = 0; k < perGroup && next < grouped; ++k) items->add(flat[next++]);
    DictRef made = group(items);
    for (int depth = 1; depth < 1 + g % 4; ++depth) made = group(platform::Array::make({made}));
    layers->add(made);
  }
  int masks = 0;
  while (next < flat.size()) {
    DictRef record = flat[next++];
    if (masks < kMasks && next < flat.size()) {
      DictRef mask = record;
      mask->set("ismask", true);
      record = flat[next++];
      record->set("masks", platform::Array::make({mask}));
      ++masks;
    }
    layers->add(record);
  }
  return platform::Dictionary::make({{"layers", layers}, {"width", 1600.0}, {"height", 1200.0}, {"zoom", 1.0}});
}

// The main window's part: the first record becomes the canvas's choice, then all of them its selection.
class BenchWindow final : public CMPanelWindow {
 public:
  void selectLayers(const std::vector<DictRef>& records, const void*) override {
    if (!canvas) return;
    canvas->selectLayer(records.empty() ? nullptr : records.front());
    canvas->selectLayers(records);
  }
  bool isShiftPressed() override { return shift; }
  void groupLayers(const std::vector<DictRef>&) override {}
  void ungroupLayers(const std::vector<DictRef>&) override {}
  platform::Window* sheetParent() override { return nullptr; }

  CMEditorView* canvas = nullptr;
  bool shift = false;
};



// A panel on the drawing in a shown window, with the bench window in the main window's place.
struct PanelOnDrawing {
  explicit PanelOnDrawing(int count)
      : document(std::make_shared<CMDocument>()),
        window(std::make_shared<BenchWindow>()),
        previous(CMPanelWindow::install(window)),
        host(platform::Size{250, 700}) {
    document->setData(regroupedRoot(count));
    panel = std::make_unique<CMLayersPanelView>();
    panel->setDocument(document);
    panel->view()->setFrame({0, 0, 250, 700});
    host.setContentView(panel->view());
    host.gtkWindow().show_all();
    for (int i = 0; i < 20; ++i) settle();
  }
  ~PanelOnDrawing() { CMPanelWindow::install(previous); }

  std::shared_ptr<CMDocument> document;
  std::shared_ptr<BenchWindow> window;
  std::shared_ptr<CMPanelWindow> previous;
  platform::Window host;
  std::unique_ptr<CMLayersPanelView> panel;
};

void LayersPanelUpdate(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  PanelOnDrawing scene(static_cast<int>(state.range(0)));
  CMLayersPanelView& panel = *scene.panel;
  panel.tableView().selectRowIndexes(platform::IndexSet::range(0, kSelectedRows), false);
  // A top-level layer after the groups, moved down and back in turn.
  const DictRef moved = scene.document->data()->array("layers")->at(kGroups + 1).dictionary();
  int direction = 1;
  for (auto _ : state) {
    scene.document->moveLayers({moved}, direction);  // the panel reads its rows again on the notification
    // GTK's layout of the new frames, as the frame clock would run it, then the draw.
    scene.host.gtkWindow().check_resize();
    drawOnce(panel.view()->widget());
    direction = -direction;
  }
  state.counters["rows"] = static_cast<double>(panel.rows().size());
  state.counters["selected"] = static_cast<double>(panel.tableView().selectedRowIndexes().count());
}
BENCHMARK(LayersPanelUpdate)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void LayersPanelSelectLayer(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  PanelOnDrawing scene(static_cast<int>(state.range(0)));
  CMLayersPanelView& panel = *scene.panel;
  scene.window->shift = state.range(1) != 0;
  const DictRef last = panel.rows()[panel.rows().size() - 1].record;
  const DictRef first = panel.rows()[0].record;
  for (auto _ : state) {
    panel.selectLayer(last);
    panel.selectLayer(first);
  }
  state.counters["rows"] = static_cast<double>(panel.rows().size());
  state.SetLabel(scene.window->shift ? "with Shift, two choices per round" : "plain, two choices per round");
}
BENCHMARK(LayersPanelSelectLayer)->ArgsProduct({{1000, 10000, 50000}, {0, 1}})->Unit(benchmark::kMicrosecond);

void LayersPanelShiftClickAll(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  PanelOnDrawing scene(static_cast<int>(state.range(0)));
  auto canvas = std::make_shared<CMEditorView>(platform::Rect{0, 0, 1600, 1200});
  canvas->setDocument(scene.document);
  scene.window->canvas = canvas.get();
  CMLayersPanelView& panel = *scene.panel;
  CMLayerTableView& table = panel.tableView();
  const std::size_t last = panel.rows().size() - 1;
  table.scrollRowToVisible(last);
  settle();
  const platform::Rect lastRow = table.rectOfRow(last);
  platform::Event click;
  click.type = platform::EventType::LeftMouseDown;
  click.modifierFlags = platform::modifier::Shift;
  click.clickCount = 1;
  click.locationInWindow = table.convertPointToWindow({100, lastRow.origin.y + lastRow.size.height / 2});
  platform::Event release = click;
  release.type = platform::EventType::LeftMouseUp;
  for (auto _ : state) {
    state.PauseTiming();
    // Row 0 chosen as a plain click on it would: the row and the canvas's layer.
    table.selectRowIndexes(platform::IndexSet{0}, false);
    panel.selectionIndexesForProposedSelection(table, platform::IndexSet{0});
    state.ResumeTiming();
    scene.host.sendEvent(click);
    scene.host.sendEvent(release);
  }
  state.counters["rows"] = static_cast<double>(panel.rows().size());
  state.counters["selected"] = static_cast<double>(table.selectedRowIndexes().count());
}
BENCHMARK(LayersPanelShiftClickAll)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// ---- the peer: Gtk::TreeView on a Gtk::TreeStore of the same rows ----

struct Columns : Gtk::TreeModel::ColumnRecord {
  Columns() {
    add(name);
    add(level);
    add(visible);
  }
  Gtk::TreeModelColumn<Glib::ustring> name;
  Gtk::TreeModelColumn<int> level;
  Gtk::TreeModelColumn<bool> visible;
};

void fillStore(const Glib::RefPtr<Gtk::TreeStore>& store, const Columns& columns, const CMLayerRows& rows) {
  std::vector<Gtk::TreeModel::iterator> parents;
  for (const CMLayerRow& row : rows.rows()) {
    parents.resize(static_cast<std::size_t>(row.level));
    const Gtk::TreeModel::iterator at = parents.empty() ? store->append() : store->append(parents.back()->children());
    (*at)[columns.name] = CMLayerRows::displayName(row.record);
    (*at)[columns.level] = row.level;
    (*at)[columns.visible] = row.record->get("visible").boolValue();
    parents.push_back(at);
  }
}

struct TreeOffscreen {
  TreeOffscreen() {
    view.append_column("", toggle);
    view.get_column(0)->add_attribute(toggle.property_active(), columns.visible);
    view.append_column("", text);
    view.get_column(1)->add_attribute(text.property_text(), columns.name);
    view.set_headers_visible(false);
    view.get_selection()->set_mode(Gtk::SELECTION_MULTIPLE);
    scroller.add(view);
    window.add(scroller);
    window.set_size_request(250, 700);
    window.show_all();
    settle();
  }
  Columns columns;
  Gtk::CellRendererToggle toggle;
  Gtk::CellRendererText text;
  Gtk::TreeView view;
  Gtk::ScrolledWindow scroller;
  Gtk::OffscreenWindow window;
};

void TreeViewFillAndDraw(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  CMLayerRows rows;
  rows.rebuild(regroupedRoot(static_cast<int>(state.range(0))));
  TreeOffscreen tree;
  for (auto _ : state) {
    Glib::RefPtr<Gtk::TreeStore> store = Gtk::TreeStore::create(tree.columns);
    fillStore(store, tree.columns, rows);
    tree.view.set_model(store);
    tree.view.expand_all();
    settle();
    tree.window.check_resize();
    drawOnce(tree.window);
    state.PauseTiming();
    tree.view.unset_model();
    store.reset();
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(TreeViewFillAndDraw)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void TreeViewSelectAll(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  CMLayerRows rows;
  rows.rebuild(regroupedRoot(static_cast<int>(state.range(0))));
  TreeOffscreen tree;
  Glib::RefPtr<Gtk::TreeStore> store = Gtk::TreeStore::create(tree.columns);
  fillStore(store, tree.columns, rows);
  tree.view.set_model(store);
  tree.view.expand_all();
  settle();
  for (auto _ : state) {
    tree.view.get_selection()->select_all();
    state.PauseTiming();
    tree.view.get_selection()->unselect_all();
    state.ResumeTiming();
  }
  tree.view.get_selection()->select_all();
  state.counters["selected"] = static_cast<double>(tree.view.get_selection()->count_selected_rows());
}
BENCHMARK(TreeViewSelectAll)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
