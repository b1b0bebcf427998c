#include "platform/core/value.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <thread>

namespace platform {
namespace {

TEST(Value, NumbersCompareByValueAcrossKinds) {
  EXPECT_TRUE(Value(1).isEqual(Value(1.0)));
  EXPECT_TRUE(Value(true).isEqual(Value(1)));
  EXPECT_TRUE(Value(true).isEqual(Value(1.0f)));
  EXPECT_TRUE(Value(false).isEqual(Value(0.0)));
  EXPECT_FALSE(Value(1).isEqual(Value(1.5)));
  EXPECT_FALSE(Value(2).isEqual(Value(true)));
  EXPECT_TRUE(Value(0.5f).isEqual(Value(0.5)));
  EXPECT_FALSE(Value(0.1f).isEqual(Value(0.1)));  // different values, not a rounding of one to the other
  // A large integer must not be rounded to a double before comparing.
  EXPECT_FALSE(Value(std::int64_t{9007199254740993}).isEqual(Value(9007199254740992.0)));
  EXPECT_TRUE(Value(std::int64_t{9007199254740992}).isEqual(Value(9007199254740992.0)));
  EXPECT_FALSE(Value(INT64_MAX).isEqual(Value(9223372036854775808.0)));
  EXPECT_FALSE(Value(std::nan("")).isEqual(Value(std::nan(""))));
  EXPECT_FALSE(Value(1).isEqual(Value("1")));
  EXPECT_TRUE(Value().isEqual(Value(nullptr)));
  EXPECT_FALSE(Value().isEqual(Value(0)));
}

TEST(Value, ConversionsFollowFoundation) {
  EXPECT_EQ(Value(2.9).intValue(), 2);
  EXPECT_EQ(Value(-2.9).intValue(), -2);
  EXPECT_EQ(Value(1e12).intValue(), INT32_MAX);
  EXPECT_EQ(Value(-1e12).intValue(), INT32_MIN);
  EXPECT_EQ(Value(std::nan("")).intValue(), 0);
  EXPECT_EQ(Value(std::nan("")).integerValue(), 0);
  EXPECT_EQ(Value(std::int64_t{4294967296 + 5}).intValue(), 5);  // low 32 bits, as a C cast keeps
  EXPECT_EQ(Value(-1).unsignedIntValue(), 4294967295u);
  EXPECT_EQ(Value(true).floatValue(), 1.0f);
  EXPECT_EQ(Value("12.5").floatValue(), 12.5f);
  EXPECT_EQ(Value("10%").intValue(), 10);
  EXPECT_TRUE(Value("YES").boolValue());
  EXPECT_FALSE(Value("NO").boolValue());
  EXPECT_TRUE(Value(0.25).boolValue());
  EXPECT_FALSE(Value(std::nan("")).boolValue());
  EXPECT_EQ(Value(std::uint64_t{UINT64_MAX}).integerValue(), INT64_MAX);
  // A 32-bit real reads back exactly as the float it was made from.
  EXPECT_EQ(Value(0.1f).floatValue(), 0.1f);
  EXPECT_TRUE(Value(0.1f).isReal32());
  EXPECT_FALSE(Value(0.1).isReal32());
  for (const Value& zero : {Value(), Value(Dictionary::make()), Value(Array::make()), Value(Bytes{1, 2})}) {
    EXPECT_EQ(zero.intValue(), 0);
    EXPECT_EQ(zero.doubleValue(), 0.0);
    EXPECT_FALSE(zero.boolValue());
  }
}

TEST(Value, AccessorsOfTheWrongKindGiveEmptyResults) {
  Value number(3);
  EXPECT_EQ(number.string(), "");
  EXPECT_TRUE(number.data().empty());
  EXPECT_EQ(number.dictionary(), nullptr);
  EXPECT_EQ(number.array(), nullptr);
  EXPECT_TRUE(Value(DictRef()).isNil());
  EXPECT_TRUE(Value(static_cast<const char*>(nullptr)).isString());
}

TEST(Value, ContainersAreSharedByReference) {
  DictRef layer = Dictionary::make({{"x", 1}});
  Value held(layer);
  held.dictionary()->set("x", 5);
  EXPECT_EQ(layer->get("x").intValue(), 5);
  EXPECT_TRUE(held.isIdentical(Value(layer)));
  DictRef twin = Dictionary::make({{"x", 5}});
  EXPECT_FALSE(held.isIdentical(Value(twin)));
  EXPECT_TRUE(held.isEqual(Value(twin)));
}

TEST(Dictionary, KeepsInsertionOrderAndRemovesOnNil) {
  DictRef d = Dictionary::make({{"b", 1}, {"a", 2}, {"c", 3}});
  d->set("a", 20);  // replacing keeps the place
  d->set("d", 4);
  d->set("b", Value());
  std::vector<std::string> expected{"a", "c", "d"};
  EXPECT_EQ(d->keys(), expected);
  EXPECT_EQ(d->get("a").intValue(), 20);
  EXPECT_TRUE(d->get("missing").isNil());
  EXPECT_EQ(d->get("missing").floatValue(), 0.0f);
  d->remove("never-there");
  EXPECT_EQ(d->size(), 3u);
}

TEST(Dictionary, LargeDictionariesAgreeWithAnOrderedModel) {
  // Past the size where a hash index takes over, lookups must stay right
  // through removals and re-insertions.
  DictRef d = Dictionary::make();
  std::vector<std::pair<std::string, int>> model;
  std::mt19937 random(5);
  for (int step = 0; step < 4000; ++step) {
    std::string key = "k" + std::to_string(random() % 64);
    auto it = std::find_if(model.begin(), model.end(), [&](auto& e) { return e.first == key; });
    if (random() % 3 == 0) {
      d->remove(key);
      if (it != model.end()) model.erase(it);
    } else {
      d->set(key, step);
      if (it != model.end())
        it->second = step;
      else
        model.emplace_back(key, step);
    }
    if (step % 500 == 0) d->reserve(d->size() + 100);  // the entries move
    ASSERT_EQ(d->size(), model.size());
    // Copies carry the index over as well.
    const DictRef copy = step % 400 == 0 ? d->mutableCopy() : step % 400 == 200 ? dictionaryCopy(d) : d;
    for (const auto& [k, v] : model) ASSERT_EQ(copy->get(k).intValue(), v) << k << " at step " << step;
  }
  std::size_t i = 0;
  for (const auto& [key, value] : *d) EXPECT_EQ(key, model[i++].first);
}

TEST(Dictionary, ThreadsReadALargeDictionaryNobodyChanges) {
  // Layer records are read by several drawing threads at once: a lookup may change nothing.
  DictRef source = Dictionary::make();
  for (int key = 0; key < 200; ++key) source->set("key" + std::to_string(key), key);
  for (int round = 0; round < 20; ++round) {
    const DictRef shared = dictionaryCopy(source);
    std::atomic<int> wrong = 0;
    {
      std::vector<std::jthread> readers;
      for (int reader = 0; reader < 6; ++reader) {
        readers.emplace_back([&, reader] {
          for (int key = 0; key < 200; ++key) {
            const int probe = (key * 7 + reader * 31) % 200;
            if (shared->get("key" + std::to_string(probe)).intValue() != probe) ++wrong;
          }
        });
      }
    }
    ASSERT_EQ(wrong, 0) << "round " << round;
  }
}

TEST(Dictionary, EqualityIgnoresOrderButNotContent) {
  DictRef a = Dictionary::make({{"x", 1}, {"y", Array::make({Value("p"), Value(2.0)})}});
  DictRef b = Dictionary::make({{"y", Array::make({Value("p"), Value(2)})}, {"x", true}});
  EXPECT_TRUE(a->isEqual(*b));
  b->array("y")->add(3);
  EXPECT_FALSE(a->isEqual(*b));
}

TEST(Array, OutOfRangeOperationsAreHarmless) {
  ArrayRef a = Array::make({Value(1), Value(2)});
  EXPECT_TRUE(a->at(5).isNil());
  a->insert(100, 3);  // appends
  a->set(50, 4);      // appends
  a->removeAt(99);
  a->add(Value());  // nil is never stored
  ASSERT_EQ(a->size(), 4u);
  EXPECT_EQ(a->at(2).intValue(), 3);
  EXPECT_EQ(a->at(3).intValue(), 4);
  a->set(0, Value());  // setting nil removes
  EXPECT_EQ(a->at(0).intValue(), 2);
  a->insert(0, 9);
  EXPECT_EQ(a->at(0).intValue(), 9);
}

TEST(Array, RemovalByEqualityAndByIdentity) {
  DictRef one = Dictionary::make({{"id", 1}});
  DictRef lookalike = Dictionary::make({{"id", 1}});
  ArrayRef a = Array::make({Value(one), Value(lookalike), Value(1), Value(1.0)});
  EXPECT_EQ(a->indexOfIdentical(lookalike), 1u);
  EXPECT_EQ(a->indexOf(lookalike), 0u);
  a->removeIdentical(lookalike);
  EXPECT_EQ(a->size(), 3u);
  EXPECT_EQ(a->at(0).dictionary(), one);
  a->remove(Value(true));  // equal to both 1 and 1.0
  EXPECT_EQ(a->size(), 1u);
  EXPECT_EQ(a->indexOf(Value(1)), Array::npos);
  // Removing an element by a reference to itself must not read freed memory.
  a->remove(a->at(0));
  EXPECT_TRUE(a->empty());
  ArrayRef b = Array::make({Value(1)});
  b->addAll(*b);
  EXPECT_EQ(b->size(), 2u);
}

TEST(DeepCopy, CopiesEveryContainerAndSharesTheLeaves) {
  DictRef shape = Dictionary::make({{"fill", Dictionary::make({{"color", "ff0000"}})}});
  ArrayRef points = Array::make({Value(Dictionary::make({{"point", "{1, 2}"}}))});
  shape->set("points", points);
  shape->set("image", Bytes{1, 2, 3});
  DictRef layer = Dictionary::make({{"shape", shape}, {"name", "Rect"}, {"x", 1.5}});

  DictRef copy = dictionaryCopy(layer);
  ASSERT_TRUE(copy->isEqual(*layer));
  EXPECT_NE(copy, layer);
  EXPECT_NE(copy->dictionary("shape"), shape);
  EXPECT_NE(copy->dictionary("shape")->dictionary("fill"), shape->dictionary("fill"));
  EXPECT_NE(copy->dictionary("shape")->array("points"), points);
  EXPECT_NE(copy->dictionary("shape")->array("points")->at(0).dictionary(), points->at(0).dictionary());
  EXPECT_TRUE(copy->get("name").isIdentical(layer->get("name")));
  EXPECT_TRUE(copy->dictionary("shape")->get("image").isIdentical(shape->get("image")));

  copy->dictionary("shape")->dictionary("fill")->set("color", "00ff00");
  copy->dictionary("shape")->array("points")->at(0).dictionary()->set("point", "{9, 9}");
  copy->dictionary("shape")->array("points")->add(1);
  copy->set("x", 7);
  EXPECT_EQ(shape->dictionary("fill")->get("color").string(), "ff0000");
  EXPECT_EQ(points->at(0).dictionary()->get("point").string(), "{1, 2}");
  EXPECT_EQ(points->size(), 1u);
  EXPECT_EQ(layer->get("x").doubleValue(), 1.5);

  ArrayRef list = Array::make({Value(layer)});
  ArrayRef listCopy = arrayCopy(list);
  EXPECT_NE(listCopy->at(0).dictionary(), layer);
  EXPECT_TRUE(listCopy->isEqual(*list));
}

TEST(DeepCopy, KeepingSharesAContainerHeldInSeveralPlacesIsCopiedOnceAndHeldThereInTheCopy) {
  // Two shapes of one gradient, as an imported file makes them: one list of stops, whose first stop is also a
  // third shape's only stop.
  const ArrayRef stops = Array::make({Value(Dictionary::make({{"pos", 0.0}})), Value(Dictionary::make({{"pos", 1.0}}))});
  const auto shape = [](const ArrayRef& markers) {
    return Value(Dictionary::make({{"fill", Dictionary::make({{"gradient", Dictionary::make({{"markers", markers}})}})}}));
  };
  const ArrayRef layers = Array::make({shape(stops), shape(stops), shape(Array::make({stops->at(0)}))});
  const auto markersOf = [](const ArrayRef& list, std::size_t i) {
    return list->at(i).dictionary()->dictionary("fill")->dictionary("gradient")->array("markers");
  };

  const ArrayRef copy = dictionaryCopyKeepingShares(Dictionary::make({{"layers", layers}}))->array("layers");
  ASSERT_TRUE(copy->isEqual(*layers));
  EXPECT_EQ(markersOf(copy, 0), markersOf(copy, 1)) << "held once in the copy too";
  EXPECT_NE(markersOf(copy, 0), stops);
  EXPECT_EQ(markersOf(copy, 2)->at(0).dictionary(), markersOf(copy, 0)->at(0).dictionary());
  EXPECT_NE(markersOf(copy, 2), markersOf(copy, 0));
  markersOf(copy, 1)->at(0).dictionary()->set("pos", 0.5);
  EXPECT_EQ(stops->at(0).dictionary()->get("pos").doubleValue(), 0.0) << "the original is apart from the copy";
  EXPECT_EQ(markersOf(copy, 2)->at(0).dictionary()->get("pos").doubleValue(), 0.5);

  // One shape copied alone has stops of its own; a plain copy gives each place its own.
  const DictRef alone = dictionaryCopyKeepingShares(layers->at(0).dictionary());
  EXPECT_NE(alone->dictionary("fill")->dictionary("gradient")->array("markers"), stops);
  const ArrayRef plain = arrayCopy(layers);
  EXPECT_NE(markersOf(plain, 0), markersOf(plain, 1));
}

TEST(Value, DescriptionShowsKindsReadably) {
  DictRef d = Dictionary::make({{"a", Array::make({Value(1), Value(0.5f), Value("q\"")})}, {"b", Bytes{0xab}}});
  EXPECT_EQ(Value(d).description(), "{a = (1, 0.5f, \"q\\\"\"); b = <ab>; }");
}

}  // namespace
}  // namespace platform
