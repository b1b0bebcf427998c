// Dictionaries built alike share the list of their keys; whatever one of them does must never show in another.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/core/value.h"
#include "tests/random_test_seed.h"

namespace platform {
namespace {

using Model = std::vector<std::pair<std::string, int>>;

::testing::AssertionResult holds(const Dictionary& dictionary, const Model& model) {
  if (dictionary.size() != model.size())
    return ::testing::AssertionFailure() << dictionary.size() << " entries, expected " << model.size();
  std::size_t i = 0;
  for (const auto& [key, value] : dictionary) {
    if (key != model[i].first || value.intValue() != model[i].second)
      return ::testing::AssertionFailure() << "entry " << i << " is " << key << " = " << value.intValue()
                                           << ", expected " << model[i].first << " = " << model[i].second;
    ++i;
  }
  for (const auto& [key, value] : model)
    if (dictionary.get(key).intValue() != value) return ::testing::AssertionFailure() << "lookup of " << key;
  return ::testing::AssertionSuccess();
}

void setIn(Model& model, const std::string& key, int value) {
  const auto found = std::find_if(model.begin(), model.end(), [&](const auto& entry) { return entry.first == key; });
  if (found != model.end())
    found->second = value;
  else
    model.emplace_back(key, value);
}

void removeFrom(Model& model, const std::string& key) {
  std::erase_if(model, [&](const auto& entry) { return entry.first == key; });
}

TEST(Dictionary, DictionariesOfTheSameKeysChangeApart) {
  std::mt19937 random(randomTestSeed("Dictionary.DictionariesOfTheSameKeysChangeApart"));
  // Mostly a few keys, so that many dictionaries come to hold the same ones; now and then one of a hundred, so
  // that some grow past the length of the lists that are shared.
  const auto anyKey = [&] {
    return random() % 8 == 0 ? "long" + std::to_string(random() % 100) : "k" + std::to_string(random() % 10);
  };
  constexpr std::size_t kDictionaries = 24;
  std::vector<DictRef> dictionaries(kDictionaries);
  std::vector<Model> models(kDictionaries);
  for (DictRef& dictionary : dictionaries) dictionary = Dictionary::make();
  for (int step = 0; step < 20000; ++step) {
    const std::size_t i = random() % kDictionaries, j = random() % kDictionaries;
    switch (random() % 8) {
      case 0:
        dictionaries[i] = random() % 2 ? dictionaries[j]->mutableCopy() : dictionaryCopy(dictionaries[j]);
        models[i] = models[j];
        break;
      case 1: {
        // The same keys in the same order, set one by one or made at once.
        DictRef rebuilt = Dictionary::make();
        if (random() % 2) {
          for (const auto& [key, value] : models[j]) rebuilt->set(key, value + 1);
        } else {
          std::vector<std::string_view> keys;
          std::vector<Value> values;
          for (const auto& [key, value] : models[j]) {
            keys.push_back(key);
            values.emplace_back(value + 1);
          }
          rebuilt = Dictionary::make(keys, std::move(values));
        }
        dictionaries[i] = rebuilt;
        models[i] = models[j];
        for (auto& entry : models[i]) ++entry.second;
        break;
      }
      case 2: {
        const std::string key = models[i].empty() ? anyKey() : models[i][random() % models[i].size()].first;
        dictionaries[i]->remove(key);
        removeFrom(models[i], key);
        break;
      }
      case 3:
        if (random() % 4 == 0) {
          dictionaries[i]->removeAll();
          models[i].clear();
        } else if (random() % 4 == 0) {
          // Past the length of the lists that are shared.
          for (int key = 0; key < 70; ++key) {
            dictionaries[i]->set("grown" + std::to_string(key), key);
            setIn(models[i], "grown" + std::to_string(key), key);
          }
        }
        break;
      default: {
        const std::string key = anyKey();
        dictionaries[i]->set(key, step);
        setIn(models[i], key, step);
      }
    }
    ASSERT_TRUE(holds(*dictionaries[i], models[i])) << "dictionary " << i << " at step " << step;
    if (step % 97 == 0) {
      for (std::size_t k = 0; k < kDictionaries; ++k)
        ASSERT_TRUE(holds(*dictionaries[k], models[k])) << "dictionary " << k << " at step " << step;
    }
  }
}

TEST(Dictionary, MadeAtOnceHoldsWhatSettingOneByOneHolds) {
  std::mt19937 random(randomTestSeed("Dictionary.MadeAtOnceHoldsWhatSettingOneByOneHolds"));
  for (int round = 0; round < 3000; ++round) {
    // Distinct keys without nil (made at once) or repeated keys and nil (set in turn), up to past the length of
    // the lists that are shared.
    const bool plain = round % 2 == 0;
    const std::size_t count = random() % 80;
    std::vector<std::string> names;
    std::vector<Value> values;
    for (std::size_t i = 0; i < count; ++i) {
      names.push_back(plain ? "k" + std::to_string(i * 7 % 97) : "k" + std::to_string(random() % 12));
      values.push_back(!plain && random() % 6 == 0 ? Value() : Value(static_cast<int>(random() % 1000)));
    }
    const std::vector<std::string_view> keys(names.begin(), names.end());
    const DictRef oneByOne = Dictionary::make();
    for (std::size_t i = 0; i < count; ++i) oneByOne->set(keys[i], values[i]);
    const DictRef atOnce = Dictionary::make(keys, values);
    ASSERT_EQ(atOnce->keys(), oneByOne->keys()) << "round " << round;
    for (const auto& [key, value] : *oneByOne) ASSERT_EQ(atOnce->get(key).intValue(), value.intValue()) << key;
    atOnce->set("added", 1);
    oneByOne->remove(oneByOne->empty() ? "none" : oneByOne->keys().front());
    ASSERT_FALSE(oneByOne->contains("added")) << "round " << round;
    ASSERT_EQ(atOnce->size(), Dictionary::make(keys, values)->size() + 1) << "round " << round;
  }
}

TEST(Dictionary, ThreadsBuildAndChangeDictionariesOfTheSameKeys) {
  // Every thread builds the same kinds of dictionaries, so that they find and leave the same lists of keys at once.
  constexpr int kThreads = 6, kRounds = 1500;
  std::atomic<int> wrong = 0;
  {
    std::vector<std::jthread> threads;
    for (int thread = 0; thread < kThreads; ++thread) {
      threads.emplace_back([&, thread] {
        std::vector<DictRef> kept;
        for (int round = 0; round < kRounds; ++round) {
          const int size = 1 + (round + thread) % 20;
          DictRef dictionary = Dictionary::make();
          for (int key = 0; key < size; ++key) dictionary->set("key" + std::to_string(key), key * thread);
          const DictRef copy = dictionaryCopy(dictionary);
          copy->remove("key0");
          copy->set("key0", -1);  // now last
          dictionary->set("extra", thread);
          int expected = 0;
          for (const auto& [key, value] : *copy) {
            const bool last = expected == size - 1;
            if (key != (last ? "key0" : "key" + std::to_string(expected + 1)) ||
                value.intValue() != (last ? -1 : (expected + 1) * thread))
              ++wrong;
            ++expected;
          }
          if (dictionary->size() != static_cast<std::size_t>(size) + 1 || dictionary->get("extra").intValue() != thread ||
              dictionary->get("key0").intValue() != 0)
            ++wrong;
          if (round % 7 == 0) kept.push_back(dictionary);
        }
        for (const DictRef& dictionary : kept)
          if (dictionary->get("extra").intValue() != thread) ++wrong;
      });
    }
  }
  EXPECT_EQ(wrong, 0);
}

// A dictionary read on another thread and let go there shares its keys with one kept here, by a copy or by being
// built alike. Its reader's end is seen here through a relaxed flag, which orders nothing, as it would be seen through
// the list's count alone: the kept dictionary changing its keys must leave the list alone, or ThreadSanitizer reports
// the change racing the reads.
TEST(Dictionary, AListReadOnAnotherThreadIsNotChangedAfterTheReaderLetsItGo) {
  enum class Sharing { Copy, DeepCopy, BuiltAlike };
  struct Case {
    Sharing sharing;
    int keys;  // past the length of the lists that are shared too
  };
  for (const Case lent : {Case{Sharing::Copy, 3}, Case{Sharing::DeepCopy, 3}, Case{Sharing::BuiltAlike, 3},
                          Case{Sharing::Copy, 70}}) {
    const std::string prefix = "lent" + std::to_string(static_cast<int>(lent.sharing)) + "." +
                               std::to_string(lent.keys) + ".";
    SCOPED_TRACE(prefix);
    Model model;
    std::vector<Value> values;
    for (int i = 0; i < lent.keys; ++i) {
      model.emplace_back(prefix + std::to_string(i), i);
      values.emplace_back(i);
    }
    std::vector<std::string_view> keys;
    for (const auto& [key, value] : model) keys.push_back(key);
    const DictRef kept = Dictionary::make(keys, values);
    DictRef read = lent.sharing == Sharing::Copy       ? kept->mutableCopy()
                   : lent.sharing == Sharing::DeepCopy ? dictionaryCopy(kept)
                                                       : Dictionary::make(keys, values);
    std::atomic<bool> letGo = false;
    bool readRight = false;
    std::jthread reader([&] {
      readRight = holds(*read, model);
      read.reset();
      letGo.store(true, std::memory_order_relaxed);
    });
    while (!letGo.load(std::memory_order_relaxed)) std::this_thread::yield();
    kept->set(prefix + "added", -1);
    reader.join();
    EXPECT_TRUE(readRight);
    setIn(model, prefix + "added", -1);
    EXPECT_TRUE(holds(*kept, model));
  }
}

struct CountingWatcher : DictionaryWatcher {
  std::vector<std::uintptr_t> heard;
  void dictionaryChanged(std::uintptr_t tag) noexcept override { heard.push_back(tag); }
};

TEST(Dictionary, WatchersHearOfTheirOwnDictionaryOnly) {
  CountingWatcher watcher;
  const DictRef watched = Dictionary::make({{"x", 1}});
  watched->watch(watcher, 7);
  watched->watch(watcher, 9);
  const std::uint64_t before = watched->changeCount();
  const DictRef copy = watched->mutableCopy();
  copy->set("x", 2);  // copies are not watched
  watched->set("y", 3);
  EXPECT_EQ(watcher.heard, (std::vector<std::uintptr_t>{7, 9}));
  EXPECT_EQ(watched->changeCount(), before + 1);
  watched->unwatch(watcher, 7);
  watched->remove("x");
  EXPECT_EQ(watcher.heard, (std::vector<std::uintptr_t>{7, 9, 9}));
  watched->unwatch(watcher, 9);
  watched->set("z", 1);
  EXPECT_EQ(watcher.heard.size(), 3u);

  // A watched dictionary that goes away takes its watchers with it: a later one at its very address, watched by
  // another, is heard by that one only.
  std::optional<Dictionary> place;
  place.emplace();
  place->watch(watcher, 100);
  place.reset();
  place.emplace();
  CountingWatcher later;
  place->watch(later, 200);
  place->set("a", 1);
  EXPECT_EQ(later.heard, (std::vector<std::uintptr_t>{200}));
  EXPECT_EQ(watcher.heard.size(), 3u);
}

}  // namespace
}  // namespace platform
