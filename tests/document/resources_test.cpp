// The resources the model reads: they parse, and every default record carries
// the keys the layer, shape and style code reads.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/property_list.h"
#include "platform/core/value.h"

namespace {

using platform::DictRef;
using platform::Value;

DictRef readResource(const std::string& name) {
  auto read = platform::readPropertyListFile(std::string(DRAFTWORK_SOURCE_DIR) + "/resources/" + name + ".plist");
  if (!read) {
    ADD_FAILURE() << name << ": " << read.error().description;
    return nullptr;
  }
  return read.value().dictionary();
}

void expectKeys(const DictRef& record, const std::vector<std::string>& keys, const std::string& where) {
  ASSERT_TRUE(record) << where << " is missing";
  for (const auto& key : keys) EXPECT_TRUE(record->contains(key)) << where << " lacks \"" << key << "\"";
}

void expectColour(const DictRef& colour, const std::string& where) {
  expectKeys(colour, {"r", "g", "b", "a"}, where);
  for (const char* key : {"r", "g", "b", "a"}) {
    const double value = colour->get(key).doubleValue();
    EXPECT_TRUE(value >= 0 && value <= 255) << where << "." << key << " = " << value;
  }
}

const std::vector<std::string> kShapeNames = {"rect", "roundrect", "oval",     "polygon", "star",
                                              "line", "freeline",  "betheier", "path",    "path_polygon"};

TEST(DefaultRecords, EveryNamedRecordHasTheCommonKeysWithNeutralValues) {
  DictRef data = readResource("data");
  ASSERT_TRUE(data);
  DictRef objects = data->dictionary("objects");
  ASSERT_TRUE(objects);
  std::vector<std::string> names = kShapeNames;
  names.insert(names.end(), {"text", "image", "group"});
  for (const auto& name : names) {
    DictRef record = objects->dictionary(name);
    expectKeys(
        record,
        {"type", "name", "visible", "lock", "alpha", "blending_mode", "rotate", "ismask", "x", "y", "width", "height"},
        name);
    if (!record) continue;
    EXPECT_TRUE(record->get("visible").isBool() && record->get("visible").boolValue()) << name;
    EXPECT_TRUE(record->get("lock").isInteger() && record->get("lock").integerValue() == 0) << name;
    EXPECT_EQ(record->get("alpha").doubleValue(), 1.0) << name;
    EXPECT_EQ(record->get("blending_mode").integerValue(), 0) << name;
    EXPECT_EQ(record->get("rotate").doubleValue(), 0.0) << name;
    EXPECT_TRUE(record->get("ismask").isBool() && !record->get("ismask").boolValue()) << name;
    EXPECT_FALSE(record->contains("id")) << name << ": ids are handed out by the document";
  }
  EXPECT_EQ(objects->dictionary("text")->get("type").integerValue(), 2);
  EXPECT_EQ(objects->dictionary("image")->get("type").integerValue(), 1);
  EXPECT_EQ(objects->dictionary("group")->get("type").integerValue(), 3);
  EXPECT_TRUE(objects->dictionary("group")->array("items")) << "a group needs a member list";
  expectKeys(objects->dictionary("text")->dictionary("style"),
             {"fontName", "fontSize", "foregroundColor", "paragraphStyle"}, "text.style");
  expectKeys(objects->dictionary("image"), {"flip_h", "flip_v"}, "image");
}

TEST(DefaultRecords, ShapeRecordsCarryCompleteStyleSlots) {
  DictRef objects = readResource("data")->dictionary("objects");
  const std::vector<std::pair<std::string, int>> shapeTypes = {
      {"rect", 0}, {"roundrect", 0}, {"oval", 1},     {"polygon", 2}, {"star", 3},
      {"line", 4}, {"freeline", 5},  {"betheier", 6}, {"path", 7},    {"path_polygon", 7}};
  for (const auto& [name, shapeType] : shapeTypes) {
    DictRef record = objects->dictionary(name);
    ASSERT_TRUE(record) << name;
    EXPECT_EQ(record->get("type").integerValue(), 0) << name;
    EXPECT_EQ(record->get("shape_type").integerValue(), shapeType) << name;
    DictRef shape = record->dictionary("shape");
    expectKeys(shape, {"fill", "stroke", "shadow", "blur"}, name + ".shape");
    if (!shape) continue;
    const std::vector<std::string> paint = {"use", "type", "alpha", "color", "image_draw_type", "gradient"};
    expectKeys(shape->dictionary("fill"), paint, name + ".fill");
    std::vector<std::string> strokeKeys = paint;
    strokeKeys.insert(strokeKeys.end(), {"lineWidth", "lineJoinStyle", "lineCapStyle", "dashStyle", "mode"});
    expectKeys(shape->dictionary("stroke"), strokeKeys, name + ".stroke");
    expectKeys(shape->dictionary("shadow"), {"use", "offset_x", "offset_y", "blurRadius", "alpha", "color"},
               name + ".shadow");
    expectKeys(shape->dictionary("blur"), {"amount"}, name + ".blur");
    expectColour(shape->dictionary("fill")->dictionary("color"), name + ".fill.color");
    expectColour(shape->dictionary("stroke")->dictionary("color"), name + ".stroke.color");
    DictRef gradient = shape->dictionary("fill")->dictionary("gradient");
    expectKeys(gradient, {"type", "angle", "radius_factor", "fx", "fy", "markers"}, name + ".gradient");
    ASSERT_TRUE(gradient && gradient->array("markers"));
    for (const Value& marker : *gradient->array("markers")) {
      expectKeys(marker.dictionary(), {"pos", "red", "green", "blue", "mix"}, name + ".gradient.marker");
    }
  }
}

TEST(DefaultRecords, GeometryKeysMatchEachShapeKind) {
  DictRef objects = readResource("data")->dictionary("objects");
  for (const char* framed : {"rect", "roundrect", "oval", "polygon", "star"}) {
    platform::ArrayRef points = objects->dictionary(framed)->dictionary("shape")->array("points");
    ASSERT_TRUE(points) << framed;
    ASSERT_EQ(points->size(), 4u) << framed << ": the frame is read from the first and third point";
    for (const Value& point : *points) expectKeys(point.dictionary(), {"id", "point", "type"}, framed);
  }
  EXPECT_TRUE(objects->dictionary("roundrect")->dictionary("shape")->contains("round"));
  EXPECT_FALSE(objects->dictionary("rect")->dictionary("shape")->contains("round"));
  expectKeys(objects->dictionary("line")->dictionary("shape"), {"x1", "y1", "x2", "y2"}, "line.shape");
  for (const char* listed : {"path", "path_polygon", "freeline", "betheier"}) {
    EXPECT_TRUE(objects->dictionary(listed)->dictionary("shape")->array("points")) << listed << " needs a point list";
  }
  expectKeys(objects->dictionary("betheier")->dictionary("shape"), {"start_point"}, "betheier.shape");
}

TEST(DefaultDocument, HasAnEmptyPageOfAUsableSize) {
  DictRef root = readResource("default_doc");
  ASSERT_TRUE(root);
  ASSERT_TRUE(root->array("layers"));
  EXPECT_TRUE(root->array("layers")->empty());
  EXPECT_GT(root->get("width").doubleValue(), 0);
  EXPECT_GT(root->get("height").doubleValue(), 0);
  EXPECT_EQ(root->get("zoom").doubleValue(), 1.0);
  ASSERT_TRUE(root->dictionary("background"));
  DictRef colour = root->dictionary("background")->dictionary("bg_color");
  expectColour(colour, "background.bg_color");
  for (const char* key : {"r", "g", "b", "a"}) EXPECT_EQ(colour->get(key).doubleValue(), 255.0) << "white, opaque";
}

TEST(Settings, RegistersTheDisplayDefaults) {
  DictRef settings = readResource("settings");
  expectKeys(settings, {"show_grid", "show_ruler", "unit_index", "grid", "viewMode"}, "settings");
  ASSERT_TRUE(settings);
  DictRef grid = settings->dictionary("grid");
  expectKeys(grid, {"spacing", "tick_count"}, "settings.grid");
  ASSERT_TRUE(grid);
  // The grid needs a step of at least one unit between lines.
  EXPECT_GE(grid->get("spacing").integerValue(), 1);
  EXPECT_GE(grid->get("spacing").integerValue(), grid->get("tick_count").integerValue());
}

}  // namespace
