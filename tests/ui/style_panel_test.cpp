// The "Layer Style" panel: sections by layer type, values read and written with their conversions through the
// real controls, one undo record per editing run and record, numbered entries added and deleted with undo, masks
// moved into the layer below and back as one undo step, and the layer found again after undo replaced it.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "document/CMProject.h"
#include "document/CMUndoActionType.h"
#include "panel_test_support.h"
#include "platform/core/property_list.h"
#include "platform/ui/button.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/slider.h"
#include "platform/ui/text_field.h"
#include "ui/CMColorPicker.h"
#include "ui/CMLayerStyleParameters.h"
#include "ui/CMOptionsPanelView.h"

namespace {

using platform::Array;
using platform::Dictionary;
using platform::DictRef;
using namespace CMLayerStyleParameters;

DictRef object(const char* name, std::int64_t id) {
  DictRef record = CMProject::defaultObject(name);
  record->set("id", id);
  return record;
}

// The undo machinery's bookkeeping keys ("dirty", and a restored layer's "position" and "group_id") left out.
void dropBookkeeping(const platform::Value& value) {
  if (const DictRef record = value.dictionary()) {
    for (const char* key : {"dirty", "position", "group_id"}) record->remove(key);
    for (const auto& [key, member] : *record) dropBookkeeping(member);
  } else if (const platform::ArrayRef list = value.array()) {
    for (const platform::Value& member : *list) dropBookkeeping(member);
  }
}

std::string treeText(const DictRef& root) {
  const DictRef copy = platform::dictionaryCopy(root);
  dropBookkeeping(copy);
  const auto bytes = platform::dataFromPropertyList(platform::Value(copy), platform::PropertyListFormat::Xml);
  return bytes ? std::string(bytes.value().begin(), bytes.value().end()) : std::string();
}

class StylePanel : public panel_testing::PanelTest {
 protected:
  void open(std::vector<DictRef> layers, const DictRef& shown) {
    root = document_testing::rootWith(std::move(layers));
    document = panel_testing::documentWith(root);
    panel = std::make_unique<CMOptionsPanelView>();
    panel->setDocument(document);
    panel->show(true);
    showInWindow(panel->view(), {250, 900});
    panel->selectLayer(shown);
    panel_testing::settle();
  }
  void TearDown() override { panel.reset(); }

  std::vector<std::string> sectionNames() const {
    std::vector<std::string> names;
    for (const DictRef& item : panel->items()) names.push_back(item->get("name").string());
    return names;
  }
  CMRightPanelBaseView& section(const std::string& name) const {
    for (std::size_t i = 0; i < panel->items().size(); ++i)
      if (panel->items()[i]->get("name").string() == name) return *panel->views()[i];
    throw std::runtime_error("no section " + name);
  }
  static std::vector<std::string> rowNames(const CMRightPanelBaseView& view) {
    std::vector<std::string> names;
    for (const DictRef& row : view.parameters()) names.push_back(row->get("name").string());
    return names;
  }
  template <typename T>
  static T* controlFor(const CMRightPanelBaseView& view, int propertyId) {
    for (const auto& entry : view.controls())
      if (entry.parameter->get("property_id").intValue() == propertyId)
        if (auto* control = dynamic_cast<T*>(entry.control.get())) return control;
    return nullptr;
  }
  void slide(const std::string& name, int propertyId, double value) {
    controlFor<platform::Slider>(section(name), propertyId)->gtkScale().set_value(value);
    panel_testing::settle();
  }
  void type(const std::string& name, int propertyId, const std::string& text) {
    platform::TextField* field = controlFor<platform::TextField>(section(name), propertyId);
    field->gtkEntry().set_text(text);
    field->gtkEntry().activate();
    panel_testing::settle();
  }
  void choose(const std::string& name, int propertyId, int item) {
    controlFor<platform::PopUpButton>(section(name), propertyId)->gtkComboBox().set_active(item);
    panel_testing::settle();
  }
  void toggle(const std::string& name, int propertyId) {
    platform::test::clickButton(controlFor<platform::Button>(section(name), propertyId)->gtkButton());
    panel_testing::settle();
  }
  std::size_t undoCount() const { return document->undoManager().undoCount(); }

  DictRef root;
  std::shared_ptr<CMDocument> document;
  std::unique_ptr<CMOptionsPanelView> panel;
};

TEST_F(StylePanel, SectionsFollowTheLayersType) {
  const DictRef shape = object("path", 1);
  shape->dictionary("shape")->set("fill1", Dictionary::make());
  shape->dictionary("shape")->set("fill3", Dictionary::make());
  shape->dictionary("shape")->set("fill", 7);  // not a dictionary: still the plain "Fill" section
  const DictRef mask = object("path", 2);
  mask->set("ismask", true);
  const DictRef line = object("line", 3);
  const DictRef bezierLine = object("line", 4);
  bezierLine->dictionary("shape")->set("isbezier", true);
  open({shape, mask, line, bezierLine, object("image", 5), object("text", 6), object("group", 7)}, nullptr);

  struct Case {
    std::int64_t id;
    std::vector<std::string> sections;
    std::vector<std::string> layerRows;
  };
  const std::vector<std::string> shapeRows{"Opacity",    "Blending Mode", "Position", "Size",
                                           "Save Ratio", "Is Mask",       "Rotate"};
  const std::vector<std::string> imageRows{"Opacity", "Blending Mode", "Position", "Size", "Save Ratio", "Rotate"};
  const std::vector<std::string> lineRows{"Opacity", "Blending Mode", "Point 1", "Point 2"};
  for (const Case& c :
       {Case{1, {"Layer", "Stroke", "Fill", "Fill 1", "Fill 3", "Shadow", "Blur"}, shapeRows},
        Case{2, {"Layer"}, shapeRows}, Case{3, {"Layer", "Stroke", "Fill", "Shadow", "Blur"}, lineRows},
        Case{4, {"Layer", "Stroke", "Fill", "Shadow", "Blur"}, shapeRows}, Case{5, {"Layer"}, imageRows},
        Case{6, {"Layer", "Font", "Shadow"}, imageRows}, Case{7, {}, {}}}) {
    DictRef layer;
    for (const platform::Value& entry : *root->array("layers"))
      if (entry.dictionary()->get("id").intValue() == c.id) layer = entry.dictionary();
    panel->selectLayer(layer);
    EXPECT_EQ(sectionNames(), c.sections) << "layer " << c.id;
    if (!c.layerRows.empty()) {
      EXPECT_EQ(rowNames(section("Layer")), c.layerRows) << "layer " << c.id;
    }
  }
  panel->selectLayer(nullptr);
  EXPECT_TRUE(sectionNames().empty());
  EXPECT_TRUE(panel->findValue(kOpacity, 0).index() == 0) << "no layer, no value";
}

TEST_F(StylePanel, HeaderButtonsAndSlotsOfTheNumberedSections) {
  const DictRef shape = object("path", 1);
  shape->dictionary("shape")->set("stroke2", Dictionary::make());
  shape->dictionary("shape")->set("shadow1", Dictionary::make());
  open({shape}, shape);
  struct Case {
    const char* name;
    bool add;
    bool remove;
    int panelType;
    int slot;
  };
  for (const Case& c :
       {Case{"Layer", false, false, 0, 0}, Case{"Stroke", true, false, 3, 0}, Case{"Stroke 2", true, true, 3, 2},
        Case{"Fill", true, false, 1, 0}, Case{"Shadow", false, false, 2, 0}, Case{"Shadow 1", false, true, 2, 1},
        Case{"Blur", false, false, 0, 0}}) {
    const CMRightPanelBaseView& view = section(c.name);
    EXPECT_EQ(view.hasAddButton(), c.add) << c.name;
    EXPECT_EQ(view.hasRemoveButton(), c.remove) << c.name;
    EXPECT_EQ(view.panelType(), c.panelType) << c.name;
    EXPECT_EQ(view.indexOfSection(), c.slot) << c.name;
    for (const DictRef& row : view.parameters()) {
      const int type = row->get("control_type").intValue();
      if (c.slot > 0 && type != CMRightPanelBaseView::kColumns) {
        EXPECT_EQ(row->get("index").intValue(), c.slot) << c.name << " " << row->get("name").string();
      }
    }
  }
}

TEST_F(StylePanel, ValuesAreShownAndWrittenWithTheirConversions) {
  const DictRef shape = object("path", 1);
  shape->set("alpha", 0.5F);
  shape->set("width", 100);
  shape->set("height", 50);
  shape->dictionary("shape")->set("blur", Dictionary::make({{"amount", 0.5F}}));
  shape->dictionary("shape")->dictionary("fill")->remove("color");
  open({shape}, shape);
  EXPECT_EQ(controlFor<platform::Slider>(section("Layer"), kOpacity)->doubleValue(), 50);
  EXPECT_EQ(controlFor<platform::Slider>(section("Blur"), kBlurAmount)->doubleValue(), 25);
  slide("Blur", kBlurAmount, 10);
  EXPECT_FLOAT_EQ(shape->dictionary("shape")->dictionary("blur")->get("amount").floatValue(), 0.2F);

  // Without the ratio: both sides as typed.
  type("Layer", kWidth, "200.7");
  EXPECT_DOUBLE_EQ(shape->get("width").doubleValue(), 200.7);
  type("Layer", kHeight, "50.5");
  EXPECT_FLOAT_EQ(shape->get("height").floatValue(), 50.5F);
  type("Layer", kWidth, "0.5");
  EXPECT_EQ(shape->get("width").intValue(), 200) << "below 1 is refused";
  type("Layer", kWidth, "abc");
  EXPECT_EQ(shape->get("width").intValue(), 200);
  // With it: the other side follows. A shape record without points yet has the stored sides.
  shape->set("width", 100);
  shape->set("height", 50);
  shape->dictionary("shape")->remove("points");
  toggle("Layer", kSaveRatio);
  EXPECT_TRUE(shape->get("saveratio").boolValue());
  type("Layer", kWidth, "200");
  EXPECT_EQ(shape->get("width").intValue(), 200);
  EXPECT_EQ(shape->get("height").intValue(), 100);
  shape->set("width", 0);
  shape->dictionary("shape")->remove("points");
  type("Layer", kHeight, "80");
  EXPECT_EQ(shape->get("width").intValue(), 0) << "no ratio from a side of 0";
  EXPECT_FLOAT_EQ(shape->get("height").floatValue(), 80);

  // Colours ×255 into the record there is; a missing one stays missing.
  const DictRef strokeColour = shape->dictionary("shape")->dictionary("stroke")->dictionary("color");
  panel->setValue(platform::Color::calibrated(0.5, 1, 0, 1), kStrokeColor, 0);
  EXPECT_EQ(shape->dictionary("shape")->dictionary("stroke")->dictionary("color"), strokeColour);
  EXPECT_FLOAT_EQ(strokeColour->get("r").floatValue(), 127.5F);
  EXPECT_FLOAT_EQ(strokeColour->get("g").floatValue(), 255);
  panel->setValue(platform::Color::calibrated(0.5, 1, 0, 1), kFillColor, 0);
  EXPECT_FALSE(shape->dictionary("shape")->dictionary("fill")->contains("color"));

  choose("Layer", kBlendingMode, 2);
  EXPECT_EQ(shape->get("blending_mode").intValue(), 2) << "Screen";
  choose("Stroke", kLineCap, 2);
  EXPECT_FLOAT_EQ(shape->dictionary("shape")->dictionary("stroke")->get("lineCapStyle").floatValue(), 2);
  slide("Stroke", kStrokeOpacity, 40);
  EXPECT_FLOAT_EQ(shape->dictionary("shape")->dictionary("stroke")->get("alpha").floatValue(), 0.4F);
  EXPECT_TRUE(document->dirty());

  // A "Pattern" stroke shows no colour control.
  choose("Stroke", kStrokeType, 2);
  EXPECT_FALSE(shape->dictionary("shape")->dictionary("stroke")->get("use").boolValue() == false);
  EXPECT_FLOAT_EQ(shape->dictionary("shape")->dictionary("stroke")->get("type").floatValue(), 2);
  EXPECT_TRUE(controlFor<CMColorPicker>(section("Stroke"), kStrokeColor)->isHidden());
  choose("Stroke", kStrokeType, 1);
  EXPECT_FALSE(controlFor<CMColorPicker>(section("Stroke"), kStrokeColor)->isHidden());
  choose("Stroke", kStrokeType, 0);
  EXPECT_FALSE(shape->dictionary("shape")->dictionary("stroke")->get("use").boolValue());
}

TEST_F(StylePanel, TextLayersEditTheirStyleRecord) {
  const DictRef text = object("text", 1);
  open({text}, text);
  const DictRef style = text->dictionary("style");
  platform::test::clickButton(controlFor<platform::SegmentedControl>(section("Font"), kAlignment)->gtkSegment(2));
  panel_testing::settle();
  EXPECT_EQ(style->dictionary("paragraphStyle")->get("aligment").intValue(), 2) << "Center";
  type("Font", kFontSize, "30");
  EXPECT_EQ(style->get("fontSize").intValue(), 30);
  toggle("Font", kUnderline);
  EXPECT_EQ(style->get("underlilneStyle").intValue(), 1);
  slide("Shadow", kShadowOpacity, 30);
  EXPECT_FLOAT_EQ(style->dictionary("shadow")->get("alpha").floatValue(), 0.3F) << "the text's own shadow";
  const auto names = CMRightPanelBaseView::fontNames();
  ASSERT_FALSE(names.empty());
  choose("Font", kFontName, static_cast<int>(names.size() - 1));
  EXPECT_EQ(style->get("fontName").string(), names.back());
}

TEST_F(StylePanel, PopUpsShowTheirTitlesWithinTheirFrames) {
  const DictRef text = object("text", 1);
  open({text}, text);
  const auto isInk = [](const platform::test::Pixel& pixel) { return pixel.alpha > 200 && pixel.red < 110; };
  // Dark title pixels in the left two thirds of a pop-up, where its arrow is not.
  const auto titleInk = [&](platform::PopUpButton& popUp) {
    const auto image = panel_testing::renderSettled(popUp.widget());
    const int width = popUp.widget().get_allocated_width();
    const int height = popUp.widget().get_allocated_height();
    int ink = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width * 2 / 3; ++x) ink += isInk(platform::test::pixelAt(image.get(), x, y)) ? 1 : 0;
    return ink;
  };
  platform::PopUpButton* font = controlFor<platform::PopUpButton>(section("Font"), kFontName);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->titleOfSelectedItem(), text->dictionary("style")->get("fontName").string());
  EXPECT_GT(titleInk(*font), 20) << "the font's name is drawn";
  choose("Font", kFontName, 0);
  EXPECT_GT(titleInk(*font), 20) << "and the chosen one's";
  platform::PopUpButton* blending = controlFor<platform::PopUpButton>(section("Layer"), kBlendingMode);
  EXPECT_GT(titleInk(*blending), 20);
  // The whole title fits the height: no ink is cut off at the bottom edge.
  const auto image = panel_testing::renderSettled(blending->widget());
  const int bottom = blending->widget().get_allocated_height() - 1;
  for (int x = 0; x < blending->widget().get_allocated_width() * 2 / 3; ++x)
    EXPECT_FALSE(isInk(platform::test::pixelAt(image.get(), x, bottom))) << x;
}

TEST_F(StylePanel, UndoRunsAreKeptPerPropertyAndRecord) {
  const DictRef shape = object("path", 1);
  shape->dictionary("shape")->set("stroke1",
                                  platform::dictionaryCopy(shape->dictionary("shape")->dictionary("stroke")));
  open({shape}, shape);
  for (int step = 1; step <= 10; ++step) slide("Layer", kOpacity, step * 5);
  EXPECT_EQ(undoCount(), 1u) << "one drag, one record";
  slide("Stroke", kStrokeOpacity, 30);
  slide("Fill", kFillOpacity, 30);
  EXPECT_EQ(undoCount(), 3u);
  slide("Stroke 1", kStrokeOpacity, 20);
  EXPECT_EQ(undoCount(), 4u) << "another slot is another record";
  document->undoManager().undo();
  EXPECT_FLOAT_EQ(shape->dictionary("shape")->dictionary("stroke1")->get("alpha").floatValue(), 1);
  EXPECT_FLOAT_EQ(shape->dictionary("shape")->dictionary("stroke")->get("alpha").floatValue(), 0.3F);
  document->undoManager().undo();
  document->undoManager().undo();
  document->undoManager().undo();
  EXPECT_FLOAT_EQ(shape->get("alpha").floatValue(), 1);

  // A copy of the layer put in its place by undo gets the next write, and its entries' undo reaches it too.
  document->undoManager().regUndoDictionary(kCMUndoEditing, shape);
  shape->set("x", 99);
  document->undoManager().undo();
  panel_testing::settle();
  const DictRef live = root->array("layers")->at(0).dictionary();
  ASSERT_NE(live, shape);
  EXPECT_EQ(panel->selectedLayer(), live);
  slide("Layer", kOpacity, 70);
  EXPECT_FLOAT_EQ(live->get("alpha").floatValue(), 0.7F);
  slide("Stroke", kStrokeOpacity, 60);
  document->undoManager().regUndoDictionary(kCMUndoEditing, live);
  document->undoManager().undo();
  panel_testing::settle();
  document->undoManager().undo();
  const DictRef now = root->array("layers")->at(0).dictionary();
  EXPECT_FLOAT_EQ(now->dictionary("shape")->dictionary("stroke")->get("alpha").floatValue(), 1)
      << "the stroke's undo found the stroke of the layer there now";
}

TEST_F(StylePanel, NewAndDeleteNumberedEntriesWithUndo) {
  const DictRef shape = object("path", 1);
  const DictRef S = shape->dictionary("shape");
  S->set("fill1", Dictionary::make());
  S->set("fill3", Dictionary::make());
  S->set("stroke2", Dictionary::make({{"lineWidth", 2.0F}}));
  S->set("stroke3", Dictionary::make({{"lineWidth", 3.0F}}));
  open({shape}, shape);
  panel->didNew(section("Fill 3"));
  EXPECT_TRUE(S->dictionary("fill4"));
  EXPECT_EQ(S->dictionary("fill4")->get("type").intValue(), 1) << "the template's fill";
  EXPECT_EQ(sectionNames(), (std::vector<std::string>{"Layer", "Stroke", "Stroke 2", "Stroke 3", "Fill", "Fill 1",
                                                      "Fill 3", "Fill 4", "Shadow", "Blur"}));
  EXPECT_EQ(undoCount(), 1u);
  document->undoManager().undo();
  panel_testing::settle();
  EXPECT_FALSE(panel->selectedLayer()->dictionary("shape")->contains("fill4"));
  const std::vector<std::string> names = sectionNames();
  EXPECT_EQ(std::count(names.begin(), names.end(), "Fill 4"), 0);

  const DictRef live = panel->selectedLayer();
  live->dictionary("shape")->set("fill9", Dictionary::make());
  panel->recreate();
  panel->didNew(section("Fill"));
  EXPECT_FALSE(live->dictionary("shape")->contains("fill10")) << "nothing past slot 9";

  panel->didDelete(section("Stroke 2"));
  EXPECT_FALSE(live->dictionary("shape")->contains("stroke2"));
  EXPECT_TRUE(live->dictionary("shape")->contains("stroke3"));
  EXPECT_NO_THROW(section("Stroke 3"));
  EXPECT_TRUE(document->dirty());
  document->undoManager().undo();
  panel_testing::settle();
  EXPECT_FLOAT_EQ(panel->selectedLayer()->dictionary("shape")->dictionary("stroke2")->get("lineWidth").floatValue(), 2);
  EXPECT_NO_THROW(section("Stroke 2"));
}

TEST_F(StylePanel, MasksMoveIntoTheLayerBelowAndBackAsOneUndoStep) {
  const DictRef bottom = object("path", 1);
  const DictRef second = object("path", 2);
  const DictRef top = object("path", 3);
  bottom->remove("masks");
  open({bottom, second, top}, bottom);
  EXPECT_FALSE(controlFor<platform::Button>(section("Layer"), kIsMask)->isEnabled()) << "nothing below to mask";
  panel->selectLayer(second);
  panel_testing::settle();
  ASSERT_TRUE(controlFor<platform::Button>(section("Layer"), kIsMask)->isEnabled());
  const std::string before = treeText(root);

  toggle("Layer", kIsMask);
  ASSERT_EQ(root->array("layers")->size(), 2u);
  ASSERT_TRUE(bottom->array("masks"));
  EXPECT_EQ(bottom->array("masks")->at(0).dictionary(), second);
  EXPECT_TRUE(second->get("ismask").boolValue());
  EXPECT_EQ(sectionNames(), std::vector<std::string>{"Layer"}) << "a mask shows its layer settings only";
  EXPECT_EQ(undoCount(), 1u);
  const std::string after = treeText(root);

  document->undoManager().undo();
  panel_testing::settle();
  EXPECT_TRUE(treeText(root) == before);
  document->undoManager().redo();
  panel_testing::settle();
  EXPECT_TRUE(treeText(root) == after);
  document->undoManager().undo();
  panel_testing::settle();
  EXPECT_TRUE(treeText(root) == before);

  // And back out of the masks, just above the owner.
  document->undoManager().redo();
  panel_testing::settle();
  ASSERT_TRUE(panel->selectedLayer());
  EXPECT_TRUE(panel->selectedLayer()->get("ismask").boolValue());
  toggle("Layer", kIsMask);
  const platform::ArrayRef layers = root->array("layers");
  ASSERT_EQ(layers->size(), 3u);
  EXPECT_EQ(layers->at(1).dictionary()->get("id").intValue(), 2);
  EXPECT_FALSE(layers->at(1).dictionary()->get("ismask").boolValue());
  EXPECT_TRUE(layers->at(0).dictionary()->array("masks")->empty());
  const std::string outAgain = treeText(root);
  document->undoManager().undo();
  panel_testing::settle();
  EXPECT_TRUE(treeText(root) == after);
  document->undoManager().redo();
  panel_testing::settle();
  EXPECT_TRUE(treeText(root) == outAgain);
}

}  // namespace
