// The layer style panel rebuilt for another layer: selectLayer → recreate → GTK's layout → the panel drawn once.
// - S1 StylePanelSelectLayer/0: a shape with "Layer", "Stroke", "Fill", "Shadow", "Blur";
// - S1 StylePanelSelectLayer/1: a shape with all thirty numbered entries (32 sections);
// - S1 StylePanelSelectLayer/2: a text layer ("Layer", "Font" with the shared font list, "Shadow");
// - the peer in the same run: the same widget tree (a label and the rows' GTK widgets per row, a title per section)
//   built by Gtk::Builder from an equivalent .ui string, laid out and drawn once off-screen.
// Goals: the typical shape under 16 ms and at most 1.5 × its peer; the thirty-entry shape under 100 ms.
// Needs an X display: run under xvfb-run.

#include <benchmark/benchmark.h>
#include <gtkmm/builder.h>
#include <gtkmm/offscreenwindow.h>
#include <gtkmm/scrolledwindow.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/ui/panel_drawing.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "platform/core/string_utilities.h"
#include "platform/ui/ui_initialization.h"
#include "platform/ui/window.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMOptionsPanelView.h"
#include "ui/CMRightPanelBaseView.h"

namespace {

using bench::drawOnce;
using bench::settle;
using platform::DictRef;
using Section = CMRightPanelBaseView;
namespace parameters = CMLayerStyleParameters;

bool haveDisplay(benchmark::State& state) {
  static const bool ui = platform::initializeUi();
  if (!ui) state.SkipWithError("no X display: run under xvfb-run");
  return ui;
}

enum Kind { kTypicalShape = 0, kAllEntries = 1, kText = 2 };

DictRef layerOf(Kind kind, int id) {
  DictRef layer = CMProject::defaultObject(kind == kText ? "text" : "path");
  layer->set("id", id);
  if (kind == kAllEntries) {
    const DictRef shape = layer->dictionary("shape");
    for (const char* base : {"stroke", "fill", "shadow"})
      for (int slot = 1; slot <= CMOptionsPanelView::kLastSlot; ++slot)
        shape->set(platform::formatString("%s%d", base, slot), platform::dictionaryCopy(shape->dictionary(base)));
  }
  return layer;
}

// The sections' rows for a kind of layer, as the panel builds them.
std::vector<std::vector<DictRef>> sectionsOf(Kind kind) {
  std::vector<std::vector<DictRef>> sections{parameters::mainParameters(kind == kText ? 2 : 0, false)};
  if (kind == kText) {
    sections.push_back(parameters::fontParameters());
    sections.push_back(parameters::shadowParameters(0));
    return sections;
  }
  const int slots = kind == kAllEntries ? CMOptionsPanelView::kLastSlot : 0;
  for (int slot = 0; slot <= slots; ++slot) sections.push_back(parameters::strokeParameters(slot));
  for (int slot = 0; slot <= slots; ++slot) sections.push_back(parameters::fillParameters(slot));
  for (int slot = 0; slot <= slots; ++slot) sections.push_back(parameters::shadowParameters(slot));
  sections.push_back(parameters::blurParameters());
  return sections;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '&' ? std::string("&amp;") : c == '<' ? std::string("&lt;") : std::string(1, c);
  return out;
}

std::string child(const std::string& object) { return "<child>" + object + "</child>"; }

std::string widget(const char* type, const std::string& properties = {}, const std::string& inside = {}) {
  return std::string("<object class=\"") + type + "\">" + properties + inside + "</object>";
}

std::string property(const char* name, const std::string& value) {
  return std::string("<property name=\"") + name + "\">" + escaped(value) + "</property>";
}

std::string combo(const std::vector<std::string>& titles) {
  std::string items = "<items>";
  for (const std::string& title : titles) items += "<item>" + escaped(title) + "</item>";
  return widget("GtkComboBoxText", {}, items + "</items>");
}

std::vector<std::string> titlesOf(const DictRef& record) {
  std::vector<std::string> titles;
  if (const platform::ArrayRef items = record->array("items"))
    for (const platform::Value& item : *items) titles.push_back(item.string());
  return titles;
}

// The GTK widgets a row's control type builds.
std::string controls(const DictRef& record) {
  switch (record->get("control_type").intValue()) {
    case Section::kPopUp:
      return child(combo(titlesOf(record)));
    case Section::kFont:
      return child(combo(Section::fontNames()));
    case Section::kCheckBox:
      return child(widget("GtkCheckButton"));
    case Section::kSlider:
      return child(widget("GtkScale", property("draw-value", "False"))) + child(widget("GtkEntry")) +
             child(widget("GtkSpinButton"));
    case Section::kNumber:
      return child(widget("GtkEntry")) + child(widget("GtkSpinButton"));
    case Section::kColor:
    case Section::kGradient:
      return child(widget("GtkDrawingArea", property("width-request", "70")));
    case Section::kSegments: {
      std::string segments;
      for (const std::string& title : titlesOf(record))
        segments += child(widget("GtkRadioButton", property("label", title)));
      return segments;
    }
    case Section::kColumns:
    case Section::kAlternatives: {
      std::string members;
      if (const platform::ArrayRef items = record->array("items"))
        for (const platform::Value& item : *items)
          if (const DictRef member = item.dictionary()) members += controls(member);
      return members;
    }
    default:
      return child(widget("GtkEntry"));
  }
}

std::string uiDescription(Kind kind) {
  std::string sections;
  for (const std::vector<DictRef>& rows : sectionsOf(kind)) {
    sections += child(widget("GtkLabel", property("label", "Section")));
    for (const DictRef& row : rows)
      sections +=
          child(widget("GtkBox", property("orientation", "horizontal"),
                       child(widget("GtkLabel", property("label", row->get("name").string()))) + controls(row)));
  }
  return "<interface>" +
         widget("GtkScrolledWindow", {}, child(widget("GtkBox", property("orientation", "vertical"), sections))) +
         "</interface>";
}

void StylePanelSelectLayer(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  const Kind kind = static_cast<Kind>(state.range(0));
  const DictRef first = layerOf(kind, 1);
  const DictRef second = layerOf(kind, 2);
  auto document = std::make_shared<CMDocument>();
  document->setData(platform::Dictionary::make(
      {{"layers", platform::Array::make({first, second})}, {"width", 800.0}, {"height", 600.0}}));
  CMOptionsPanelView panel;
  panel.setDocument(document);
  panel.show(true);
  platform::Window window({250, 800});
  panel.view()->setFrame({0, 0, 250, 800});
  window.setContentView(panel.view());
  window.gtkWindow().show_all();
  for (int i = 0; i < 20; ++i) settle();
  bool odd = false;
  for (auto _ : state) {
    panel.selectLayer(odd ? first : second);
    odd = !odd;
    settle();
    drawOnce(panel.view()->widget());
  }
  state.counters["sections"] = static_cast<double>(panel.items().size());
  panel.selectLayer(nullptr);
}
BENCHMARK(StylePanelSelectLayer)->Arg(kTypicalShape)->Arg(kAllEntries)->Arg(kText)->Unit(benchmark::kMillisecond);

void BuilderPeer(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  const std::string description = uiDescription(static_cast<Kind>(state.range(0)));
  Gtk::OffscreenWindow window;
  window.set_size_request(250, 800);
  window.show();
  settle();
  for (auto _ : state) {
    Glib::RefPtr<Gtk::Builder> builder = Gtk::Builder::create_from_string(description);
    Gtk::Widget* root = nullptr;
    for (const Glib::RefPtr<Glib::Object>& object : builder->get_objects())
      if (auto* made = dynamic_cast<Gtk::ScrolledWindow*>(object.get())) root = made;
    window.add(*root);
    root->show_all();
    settle();
    window.check_resize();
    drawOnce(window);
    // The builder's reference is the last one left: the tree goes with it, as the panel's old sections go.
    window.remove();
  }
}
BENCHMARK(BuilderPeer)->Arg(kTypicalShape)->Arg(kAllEntries)->Arg(kText)->Unit(benchmark::kMillisecond);

}  // namespace
