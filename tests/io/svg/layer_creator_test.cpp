// SVG elements turned into layer records, judged against coordinates and colours worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "document/CMDocument.h"
#include "document/CMShapeRecordValues.h"
#include "document_test_support.h"
#include "io/svg/CMPathSVGLayerCreator.h"
#include "platform/core/geometry_strings.h"

namespace {

using platform::DictRef;
using platform::Point;

class LayerCreator : public ::testing::Test {
 protected:
  // A record made of attributes given as text (a "transform" entry becomes the one-entry list the reader makes).
  DictRef make(std::string_view shape, std::initializer_list<std::pair<std::string_view, std::string_view>> attributes,
               bool closed = false, platform::ArrayRef gradients = platform::Array::make()) {
    const DictRef dictionary = platform::Dictionary::make();
    for (const auto& [key, value] : attributes) {
      if (key == "transform") {
        dictionary->set(key, platform::Array::make({std::string(value)}));
      } else {
        dictionary->set(key, value);
      }
    }
    CMSVGGradients definitions(gradients);
    CMPathSVGLayerCreator creator(dictionary, shape, document_, {0, 0}, definitions, platform::Array::make(), closed);
    finite_ = creator.isFinite();
    return creator.object();
  }

  static std::vector<std::pair<Point, std::int64_t>> points(const DictRef& record) {
    std::vector<std::pair<Point, std::int64_t>> list;
    for (const platform::Value& entry : *record->dictionary("shape")->array("points")) {
      list.emplace_back(shapePoint(entry.dictionary(), "point"), entry.dictionary()->get("type").integerValue());
    }
    return list;
  }

  static void expectPoint(Point actual, Point expected, double tolerance = 1e-4) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
  }

  static std::vector<int> rgba(const DictRef& color) {
    return {color->get("r").intValue(), color->get("g").intValue(), color->get("b").intValue(),
            color->get("a").intValue()};
  }
  static DictRef fillOf(const DictRef& record) { return record->dictionary("shape")->dictionary("fill"); }
  static DictRef strokeOf(const DictRef& record) { return record->dictionary("shape")->dictionary("stroke"); }

  document_testing::ScratchFolders folders_;
  CMDocument document_;
  bool finite_ = true;
};

TEST_F(LayerCreator, RectangleCornersInPageCoordinates) {
  const DictRef rect =
      make("rect", {{"x", "10"}, {"y", "20"}, {"width", "30"}, {"height", "40"}, {"fill", "0x000000"}});
  const auto corners = points(rect);
  ASSERT_EQ(corners.size(), 4u);
  const std::pair<Point, std::int64_t> expected[] = {{{10, 20}, 1}, {{10, 60}, 2}, {{40, 60}, 2}, {{40, 20}, 10}};
  const int ids[] = {1, 2, 4, 5};
  for (int i = 0; i < 4; ++i) {
    expectPoint(corners[i].first, expected[i].first);
    EXPECT_EQ(corners[i].second, expected[i].second);
    EXPECT_EQ(rect->dictionary("shape")->array("points")->at(i).dictionary()->get("id").intValue(), ids[i]);
  }
  EXPECT_EQ(rect->get("width").floatValue(), 30);
  EXPECT_EQ(rect->get("height").floatValue(), 40);
  EXPECT_EQ(rect->get("x").floatValue(), 0);
  EXPECT_EQ(rect->get("y").floatValue(), 0);
}

TEST_F(LayerCreator, CircleCornersAndSize) {
  const DictRef oval = make("oval", {{"cx", "50"}, {"cy", "50"}, {"r", "10"}});
  const auto corners = points(oval);
  ASSERT_EQ(corners.size(), 4u);
  expectPoint(corners[0].first, {40, 40});
  expectPoint(corners[2].first, {60, 60});
  EXPECT_EQ(oval->get("width").floatValue(), 20);
  EXPECT_EQ(oval->get("height").floatValue(), 20);
  // A missing centre coordinate is 0.
  const DictRef centreless = make("oval", {{"cx", "50"}, {"r", "10"}});
  EXPECT_EQ(centreless->dictionary("shape")->array("points")->size(), 4u);
  expectPoint(points(centreless)[2].first, {60, 10});
}

TEST_F(LayerCreator, PathPointsRelativeToTheFirstPoint) {
  const DictRef path = make("path", {{"d", "M10 10 L20 10 Z"}});
  EXPECT_EQ(path->get("x").floatValue(), 10);
  EXPECT_EQ(path->get("y").floatValue(), 10);
  const auto list = points(path);
  ASSERT_EQ(list.size(), 2u);
  expectPoint(list[0].first, {0, 0});
  EXPECT_EQ(list[0].second, 1);
  expectPoint(list[1].first, {10, 0});
  EXPECT_EQ(list[1].second, 10);
  EXPECT_EQ(path->get("width").floatValue(), 10);
  // Curves carry their control points, moved the same way.
  const DictRef curve = make("path", {{"d", "M10 10 C10 20 20 20 20 10"}});
  const DictRef second = curve->dictionary("shape")->array("points")->at(1).dictionary();
  EXPECT_EQ(second->get("type").intValue(), 4);
  expectPoint(shapePoint(second, "control_point1"), {0, 10});
  expectPoint(shapePoint(second, "control_point2"), {10, 10});
  EXPECT_NEAR(curve->get("height").floatValue(), 7.5, 1e-4);
}

TEST_F(LayerCreator, PolygonsReadSvgsPointGrammar) {
  for (const char* text : {"0,0 10,0 10,10", "0 0 10 0 10 10", "0,0,10,0,10,10", " 0 ,0\n10, 0\t10 10 7"}) {
    const DictRef polygon = make("path_polygon", {{"points", text}}, true);
    const auto list = points(polygon);
    ASSERT_EQ(list.size(), 3u) << text;
    expectPoint(list[2].first, {10, 10});
    EXPECT_EQ(list[0].second, 1);
    EXPECT_EQ(list[2].second, 2 | 8) << "a polygon closes";
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(polygon->dictionary("shape")->array("points")->at(i).dictionary()->get("id").intValue(), i + 1);
    }
  }
  EXPECT_EQ(points(make("path_polygon", {{"points", "0,0 10,0 10,10"}}, false))[2].second, 2) << "a polyline is open";
  // Reading stops at the first token that is no number.
  EXPECT_EQ(points(make("path_polygon", {{"points", "0,0 10,0 x 10,10"}})).size(), 2u);
  EXPECT_TRUE(points(make("path_polygon", {{"points", "junk"}})).empty());
}

TEST_F(LayerCreator, TransformsComposeOutermostFirst) {
  // A group's translation and the element's own scaling: the scaling acts first.
  const DictRef attributes = platform::Dictionary::make(
      {{"points", "1,1 3,1"}, {"transform", platform::Array::make({"translate(5,5)", "matrix(2,0,0,2,0,0)"})}});
  CMSVGGradients none;
  CMPathSVGLayerCreator creator(attributes, "path_polygon", document_, {}, none, platform::Array::make());
  const DictRef polygon = creator.object();
  // (1,1) goes to (7,7); the points are stored less the untransformed first point, which is the layer's place.
  EXPECT_EQ(polygon->get("x").floatValue(), 1);
  expectPoint(points(polygon)[0].first, {6, 6});
  expectPoint(points(polygon)[1].first, {10, 6});
  EXPECT_EQ(polygon->array("transforms")->size(), 2u);
}

TEST_F(LayerCreator, EveryTransformKind) {
  struct Case {
    const char* transform;
    Point from, to;
  };
  const Case cases[] = {
      {"rotate(90)", {1, 0}, {0, 1}},
      {"skewX(45)", {1, 1}, {2, 1}},
      {"skewY(45)", {1, 1}, {1, 2}},
      {"scale(2)", {1, 3}, {2, 6}},
      {"scale(2 3)", {1, 1}, {2, 3}},
      {"translate(10 40)", {1, 1}, {11, 41}},
      {"translate(10)", {1, 1}, {11, 1}},
      {"rotate(180, 5, 5)", {0, 0}, {10, 10}},
      {"translate(1,0) scale(2)", {1, 1}, {3, 2}},
      {"MATRIX(1 0 0 1 2 3)", {0, 0}, {2, 3}},
      {"scale(1 2 3) translate(1 1)", {0, 0}, {1, 1}},
  };
  for (const Case& c : cases) {
    platform::AffineTransform transform;
    ASSERT_TRUE(CMPathSVGLayerCreator::findTransform(platform::Array::make({c.transform}), transform)) << c.transform;
    SCOPED_TRACE(c.transform);
    expectPoint(transform.transformPoint(c.from), c.to, 1e-9);
  }
  platform::AffineTransform untouched{2, 0, 0, 2, 0, 0};
  EXPECT_FALSE(CMPathSVGLayerCreator::findTransform(platform::Array::make({"none", "scale()"}), untouched));
  EXPECT_EQ(untouched.m11, 2);
}

TEST_F(LayerCreator, TurnedRectangleBecomesItsOutline) {
  const DictRef turned = make("rect", {{"x", "0"}, {"y", "0"}, {"width", "10"}, {"height", "20"},
                                       {"transform", "rotate(30)"}});
  EXPECT_EQ(turned->get("shape_type").intValue(), 7) << "a path";
  const auto list = points(turned);
  ASSERT_EQ(list.size(), 4u);
  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  const Point corners[] = {{0, 0}, {-20 * s, 20 * c}, {10 * c - 20 * s, 10 * s + 20 * c}, {10 * c, 10 * s}};
  for (int i = 0; i < 4; ++i) expectPoint(list[i].first, corners[i]);
  EXPECT_EQ(list[3].second, 2 | 8);
  // A turned circle keeps its round outline: every point is at its radius from the centre.
  const DictRef circle = make("oval", {{"cx", "10"}, {"cy", "0"}, {"r", "5"}, {"transform", "rotate(90)"}});
  const Point origin{circle->get("x").doubleValue(), circle->get("y").doubleValue()};
  for (const auto& [point, type] : points(circle)) {
    EXPECT_NEAR(std::hypot(point.x + origin.x, point.y + origin.y - 10), 5, 1e-3);
  }
}

TEST_F(LayerCreator, LineEndsAndText) {
  const DictRef line =
      make("line", {{"x1", "10"}, {"y1", "20"}, {"x2", "40"}, {"y2", "10"}, {"transform", "scale(9)"}});
  EXPECT_EQ(line->get("x").floatValue(), 90);
  EXPECT_EQ(line->get("y").floatValue(), 180);
  const DictRef shape = line->dictionary("shape");
  EXPECT_EQ(shape->get("x2").floatValue(), 270);
  EXPECT_EQ(shape->get("y2").floatValue(), -90);
  EXPECT_EQ(shape->get("line_arrow_type").intValue(), 0);
  const DictRef text = make("text", {{"x", "5"}, {"y", "6"}, {"font-size", "0"}, {"font-family", "Serif"},
                                     {"fill", "#ff0000"}, {"text-anchor", "middle"}});
  EXPECT_EQ(text->get("x").floatValue(), 5);
  EXPECT_EQ(text->dictionary("style")->get("fontSize").floatValue(), 12) << "a size of 0 is invalid: the initial one";
  EXPECT_EQ(text->dictionary("style")->get("fontName").string(), "Serif");
  EXPECT_EQ(rgba(text->dictionary("style")->dictionary("foregroundColor")), (std::vector<int>{255, 0, 0, 255}));
  EXPECT_EQ(text->get("text-anchor").string(), "middle");
}

TEST_F(LayerCreator, FillColours) {
  struct Case {
    const char* fill;
    std::vector<int> rgba;
  };
  const Case cases[] = {{"GreeN", {0, 128, 0, 255}},       {"#080", {0, 136, 0, 255}},
                        {"#FFA500", {255, 165, 0, 255}},   {"rgb(10, 20, 30)", {10, 20, 30, 255}},
                        {"lightgoldenrodyellow", {250, 250, 210, 255}}, {"#12", {0, 0, 0, 255}},
                        {"bad", {0, 0, 0, 255}}, {"0x0000ff", {0, 0, 255, 255}}};
  for (const Case& c : cases) {
    const DictRef fill = fillOf(make("rect", {{"fill", c.fill}}));
    EXPECT_EQ(fill->get("type").intValue(), 1) << c.fill;
    EXPECT_TRUE(fill->get("use").boolValue());
    EXPECT_EQ(rgba(fill->dictionary("color")), c.rgba) << c.fill;
  }
  const DictRef translucent = fillOf(make("rect", {{"fill", "white"}, {"fill-opacity", "0.5"}}));
  EXPECT_EQ(translucent->get("alpha").floatValue(), 0.5f);
  EXPECT_EQ(rgba(translucent->dictionary("color")), (std::vector<int>{255, 255, 255, 127}));
  const DictRef none = fillOf(make("rect", {{"fill", "none"}}));
  EXPECT_EQ(none->get("type").intValue(), 0);
  EXPECT_FALSE(none->get("use").boolValue());
  EXPECT_EQ(fillOf(make("rect", {}))->get("type").intValue(), 0);
}

TEST_F(LayerCreator, Strokes) {
  const DictRef blue = strokeOf(make("rect", {{"stroke", "blue"}}));
  EXPECT_EQ(blue->get("lineWidth").floatValue(), 1.0f);
  EXPECT_EQ(blue->get("type").intValue(), 1);
  EXPECT_EQ(rgba(blue->dictionary("color")), (std::vector<int>{0, 0, 255, 255}));
  EXPECT_EQ(strokeOf(make("rect", {}))->get("type").intValue(), 0);
  EXPECT_EQ(strokeOf(make("rect", {{"stroke", "none"}, {"stroke-width", "4"}}))->get("type").intValue(), 0);
  const DictRef styled = strokeOf(make("rect", {{"stroke", "#000"}, {"stroke-width", "3.5"}, {"stroke-opacity", ".25"},
                                                {"stroke-linejoin", "bevel"}, {"stroke-linecap", "square"},
                                                {"stroke-dasharray", "10 20.7, 5"}, {"stroke-dashoffset", "3"}}));
  EXPECT_EQ(styled->get("lineWidth").floatValue(), 3.5f);
  EXPECT_EQ(styled->get("alpha").floatValue(), 0.25f);
  EXPECT_EQ(styled->get("color").dictionary()->get("a").intValue(), 63);
  EXPECT_EQ(styled->get("lineJoinStyle").intValue(), 2);
  EXPECT_EQ(styled->get("lineCapStyle").intValue(), 2);
  EXPECT_EQ(styled->get("dashStyle").intValue(), 1);
  EXPECT_TRUE(styled->array("dashPoints")->isEqual(*platform::Array::make({10.0f, 20.7f, 5.0f})));
  EXPECT_EQ(styled->get("stroke-dashoffset").floatValue(), 3);
  EXPECT_EQ(strokeOf(make("rect", {{"stroke", "red"}, {"stroke-dasharray", "none"}}))->get("dashStyle").intValue(), 0);
}

TEST_F(LayerCreator, Gradients) {
  const auto stop = [](const char* offset, const char* colour) {
    return platform::Dictionary::make({{"offset", offset}, {"stop-color", colour}});
  };
  const DictRef linear = platform::Dictionary::make(
      {{"name", "linearGradient"}, {"attributes", platform::Dictionary::make({{"id", "lin"}})},
       {"points", platform::Array::make({stop("50%", "white"), stop("150%", "#f00")})}});
  const DictRef radial = platform::Dictionary::make(
      {{"name", "radialGradient"},
       {"attributes", platform::Dictionary::make({{"id", "rad"}, {"cx", "30%"}, {"cy", "4"}, {"r", "80%"}})},
       {"points", platform::Array::make({stop("50%", "#00ff00"), stop("150%", "")})}});
  const DictRef linked = platform::Dictionary::make(
      {{"name", "linearGradient"}, {"attributes", platform::Dictionary::make({{"id", "link"}, {"xlink:href", "#lin"}})},
       {"points", platform::Array::make()}});
  const platform::ArrayRef definitions = platform::Array::make({linear, radial, linked});

  const DictRef linearFill =
      fillOf(make("rect", {{"width", "100"}, {"height", "50"}, {"fill", "url(#lin)"}}, false, definitions));
  EXPECT_EQ(linearFill->get("type").intValue(), 3);
  const DictRef linearGradient = linearFill->dictionary("gradient");
  // The default line runs along the box's top edge, from its left corner to its right one.
  EXPECT_EQ(linearGradient->get("type").intValue(), 2);
  EXPECT_NEAR(linearGradient->get("angle").floatValue(), 0, 1e-6);
  EXPECT_NEAR(linearGradient->get("radius_factor").floatValue(), 1, 1e-6);
  EXPECT_NEAR(linearGradient->get("fx").floatValue(), 0, 1e-6);
  EXPECT_NEAR(linearGradient->get("fy").floatValue(), -0.5, 1e-6);
  const platform::ArrayRef linearStops = linearGradient->array("markers");
  ASSERT_EQ(linearStops->size(), 2u);
  EXPECT_EQ(linearStops->at(0).dictionary()->get("pos").floatValue(), 0.5f);
  EXPECT_EQ(linearStops->at(1).dictionary()->get("pos").floatValue(), 1.0f);
  EXPECT_EQ(linearStops->at(0).dictionary()->get("green").floatValue(), 1.0f) << "white";
  EXPECT_EQ(linearStops->at(1).dictionary()->get("red").floatValue(), 1.0f) << "#f00";
  EXPECT_EQ(linearStops->at(1).dictionary()->get("green").floatValue(), 0.0f);
  EXPECT_EQ(linearStops->at(0).dictionary()->get("mix").floatValue(), 0.5f);

  const DictRef radialGradient =
      fillOf(make("rect", {{"width", "100"}, {"height", "100"}, {"fill", "url(#rad)"}}, false, definitions))
          ->dictionary("gradient");
  EXPECT_EQ(radialGradient->get("type").intValue(), 1);
  EXPECT_NEAR(radialGradient->get("fx").floatValue(), -0.2, 1e-6) << "cx 30 % of the box, from its middle";
  EXPECT_NEAR(radialGradient->get("fy").floatValue(), 3.5, 1e-6) << "cy 4 boxes down, from its middle";
  // r 80 against the drawing's radius of half the diagonal, 50√2: the stops move out by that much, and the last
  // one, past the end, is cut there at the colour it has there.
  const double k = 80 / (50 * std::numbers::sqrt2);
  const platform::ArrayRef radialStops = radialGradient->array("markers");
  ASSERT_EQ(radialStops->size(), 2u);
  EXPECT_NEAR(radialStops->at(0).dictionary()->get("pos").floatValue(), 0.5 * k, 1e-6);
  EXPECT_EQ(radialStops->at(1).dictionary()->get("pos").floatValue(), 1.0f) << "150 % is clamped to 1, then cut";
  EXPECT_NEAR(radialStops->at(1).dictionary()->get("green").floatValue(), 1 - (1 - 0.5 * k) / (0.5 * k), 1e-6)
      << "green towards the empty colour, black";
  EXPECT_FALSE(radialStops->at(0).dictionary()->contains("mix"));
  EXPECT_EQ(radialGradient->get("radius_factor").floatValue(), 1.0f) << "the stops stand about the radius drawn";

  // Corner to corner of a 200 × 100 box: the colour lines run parallel to the other diagonal, so the drawn line
  // goes from the corner along (1/200, 1/100) to where the colour ends, (80, 160).
  const DictRef diagonal = platform::Dictionary::make(
      {{"name", "linearGradient"},
       {"attributes", platform::Dictionary::make({{"id", "diag"}, {"x2", "1"}, {"y2", "100%"}})},
       {"points", platform::Array::make({stop("0", "rgb(0, 0, 255)"), stop("1", "white")})}});
  definitions->add(diagonal);
  const DictRef angled = fillOf(make("rect", {{"width", "200"}, {"height", "100"}, {"fill", "url(#diag)"}}, false,
                                     definitions))->dictionary("gradient");
  EXPECT_EQ(angled->get("type").intValue(), 2);
  EXPECT_NEAR(angled->get("angle").floatValue(), 360 - std::atan2(160, 80) * 180 / std::numbers::pi, 1e-4);
  EXPECT_NEAR(angled->get("radius_factor").floatValue(), std::hypot(80, 160) / 200, 1e-6);
  EXPECT_NEAR(angled->get("fx").floatValue(), (40 - 100) / 200.0, 1e-6);
  EXPECT_NEAR(angled->get("fy").floatValue(), (80 - 50) / 100.0, 1e-6);
  EXPECT_EQ(angled->array("markers")->at(0).dictionary()->get("blue").floatValue(), 1.0f) << "rgb() as fills";
  // A text holds one colour: the one halfway from blue to white.
  const DictRef text = make("text", {{"fill", "url(#diag)"}}, false, definitions);
  EXPECT_EQ(rgba(text->dictionary("style")->dictionary("foregroundColor")), (std::vector<int>{128, 128, 255, 255}));
  // A stroke takes the gradient too; one naming nothing paints nothing.
  EXPECT_EQ(strokeOf(make("rect", {{"width", "9"}, {"stroke", "url(#diag)"}}, false, definitions))->get("type").intValue(), 3);
  EXPECT_EQ(strokeOf(make("rect", {{"stroke", "url(#missing)"}}, false, definitions))->get("type").intValue(), 0);

  const platform::ArrayRef linkedStops =
      fillOf(make("rect", {{"fill", "url(#link)"}}, false, definitions))->dictionary("gradient")->array("markers");
  EXPECT_EQ(linkedStops->size(), 2u) << "stops from the gradient referred to";

  // References that name nothing, or too little to name anything, paint their fallback, and without one nothing.
  for (const char* reference : {"url(#missing)", "url(#)", "url", "url(#missing) none"}) {
    const DictRef fill = fillOf(make("rect", {{"fill", reference}}, false, definitions));
    EXPECT_EQ(fill->get("type").intValue(), 0) << reference;
    EXPECT_FALSE(fill->get("use").boolValue()) << reference;
  }
  const DictRef fallback = fillOf(make("rect", {{"fill", "url(#missing) rgb(0 0 255 / 0.5)"}}, false, definitions));
  EXPECT_EQ(rgba(fallback->dictionary("color")), (std::vector<int>{0, 0, 255, 127}));
  // Blanks and quotes around the id, and a fallback after a reference that is found, do no harm.
  for (const char* reference : {"url(  #lin )", "url('#lin')", "url(#lin) green"}) {
    EXPECT_EQ(fillOf(make("rect", {{"fill", reference}}, false, definitions))->get("type").intValue(), 3) << reference;
  }
}

TEST_F(LayerCreator, NumbersThatAreNotFiniteMakeTheRecordUnusable) {
  make("rect", {{"x", "1e999"}, {"width", "1"}, {"height", "1"}});
  EXPECT_FALSE(finite_);
  make("path", {{"d", "M0 0 L1 1"}, {"transform", "scale(1e300)"}});
  EXPECT_FALSE(finite_);
  make("rect", {{"width", "1"}, {"height", "1"}, {"stroke", "red"}, {"stroke-width", "1e39"}});
  EXPECT_FALSE(finite_);
  make("rect", {{"x", "1e30"}, {"width", "1"}, {"height", "1"}});
  EXPECT_TRUE(finite_);
}

TEST_F(LayerCreator, OpacityAndTail) {
  const DictRef rect = make("rect", {{"opacity", "0.3"}, {"transform", "translate(1)"}, {"text-anchor", "end"}});
  EXPECT_EQ(rect->get("alpha").floatValue(), 0.3f);
  EXPECT_EQ(rect->array("transforms")->at(0).string(), "translate(1)");
  EXPECT_EQ(rect->get("text-anchor").string(), "end");
}

}  // namespace
