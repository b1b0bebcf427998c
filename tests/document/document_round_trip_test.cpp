// Saving a drawing that was just opened writes the file it came from, byte for byte: random drawings of mixed
// layers, masks and nested groups go through save → open → save. The seed is printed; set
// DRAFTWORK_TEST_SEED to replay one.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "document/CMDocument.h"
#include "document_test_support.h"
#include "../random_test_seed.h"

namespace {

using platform::Array;
using platform::ArrayRef;
using platform::Dictionary;
using platform::DictRef;
using platform::Value;

class RandomDrawing {
 public:
  explicit RandomDrawing(std::uint32_t seed) : random_(seed) {}

  DictRef root() {
    ArrayRef layers = Array::make();
    const int count = below(40);
    for (int k = 0; k < count; ++k) layers->add(anyLayer(0));
    return Dictionary::make({{"layers", layers},
                             {"zoom", Value::real32(0.25 * (1 + below(16)))},
                             {"width", 400 + below(2000)},
                             {"height", real()},
                             {"note", text()}});
  }

 private:
  int below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
  bool chance(int percent) { return below(100) < percent; }
  double real() { return std::uniform_real_distribution<double>(-5000, 5000)(random_); }
  // Either width, as the model writes both.
  Value number() {
    switch (below(4)) {
      case 0: return Value::real32(real());
      case 1: return real();
      case 2: return static_cast<std::int64_t>(random_()) << below(33);
      default: return chance(50);
    }
  }
  std::string text() {
    static const char* const kPieces[] = {"Seam ", "Ärmel", "größe ", "\"quoted\"", "✂", "", "pocket\n", "𝄞"};
    std::string out;
    for (int k = below(5); k > 0; --k) out += kPieces[below(8)];
    return out;
  }
  std::string pointString() {
    return "{" + std::to_string(real()) + ", " + std::to_string(below(800)) + "}";
  }

  DictRef style() {
    return Dictionary::make({{"use", chance(70)},
                             {"type", below(4)},
                             {"alpha", number()},
                             {"color", Dictionary::make({{"r", below(256)}, {"g", below(256)}, {"b", below(256)}})}});
  }

  DictRef commonLayer(int type) {
    return Dictionary::make({{"id", ++lastId_},
                             {"type", type},
                             {"visible", chance(90)},
                             {"x", number()},
                             {"y", number()},
                             {"width", number()},
                             {"height", number()},
                             {"name", text()}});
  }

  DictRef shapeLayer() {
    DictRef record = commonLayer(0);
    ArrayRef points = Array::make();
    for (int k = below(12); k >= 0; --k) {
      DictRef point = Dictionary::make({{"id", k + 1}, {"point", pointString()}, {"type", below(11)}});
      if (chance(40)) point->set("control_point1", pointString());
      points->add(point);
    }
    DictRef shape = Dictionary::make({{"points", points}, {"fill", style()}, {"stroke", style()}});
    if (chance(20)) shape->set("gradient", Dictionary::make({{"markers", Array::make({style(), style()})}}));
    record->set("shape_type", below(8));
    record->set("shape", shape);
    return record;
  }

  DictRef imageLayer() {
    DictRef record = commonLayer(1);
    platform::Bytes bytes(static_cast<std::size_t>(below(64)));
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(below(256));
    record->set("image", Value(bytes));
    return record;
  }

  DictRef textLayer() {
    DictRef record = commonLayer(2);
    record->set("text", text());
    record->set("paragraph", Dictionary::make({{"aligment", below(4)}, {"lines", Array::make()}}));
    return record;
  }

  DictRef anyLayer(int depth) {
    const int kind = below(depth < 4 ? 5 : 3);
    DictRef record = kind == 0 ? shapeLayer() : kind == 1 ? imageLayer() : kind == 2 ? textLayer() : group(depth);
    if (depth < 4 && chance(10)) record->set("masks", Array::make({anyLayer(4)}));
    return record;
  }

  DictRef group(int depth) {
    DictRef record = commonLayer(3);
    ArrayRef items = Array::make();
    for (int k = below(6); k > 0; --k) items->add(anyLayer(depth + 1));
    record->set("items", items);
    return record;
  }

  std::mt19937 random_;
  std::int64_t lastId_ = 0;
};

TEST(DocumentRoundTrip, SavingAnOpenedDrawingWritesTheSameBytes) {
  document_testing::ScratchFolders folders;
  const std::uint32_t seed = randomTestSeed("DocumentRoundTrip");
  SCOPED_TRACE("DRAFTWORK_TEST_SEED=" + std::to_string(seed));
  RandomDrawing drawings(seed);
  for (int drawing = 0; drawing < 30; ++drawing) {
    SCOPED_TRACE("drawing " + std::to_string(drawing));
    CMDocument original;
    original.setData(drawings.root());
    const platform::Bytes saved = original.dataOfType(CMDocument::kFileType).value();

    CMDocument opened;
    ASSERT_TRUE(opened.readFromData(saved, CMDocument::kFileType));
    EXPECT_TRUE(opened.data()->isEqual(*original.data()));
    EXPECT_EQ(opened.dataOfType(CMDocument::kFileType).value(), saved);
  }
}

}  // namespace
