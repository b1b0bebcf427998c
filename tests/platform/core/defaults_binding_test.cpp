// Bindings to the shared user-defaults controller: values written through to
// the defaults file, observers told, transformers applied both ways; with them
// the registry's archive transformer and cancellable delayed work.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/binding.h"
#include "platform/core/delayed_perform.h"
#include "platform/core/folders.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/main_queue.h"
#include "platform/core/property_list.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_controller.h"
#include "platform/core/value_transformer.h"
#include "scratch_folder.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using testing::ScratchFolder;

class DefaultsBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    previousRoot_ = overrideFoldersRoot(folder_.path());
    UserDefaults::resetStandardUserDefaults();
  }
  void TearDown() override {
    UserDefaultsController::shared().setInitialValues(nullptr);
    UserDefaults::resetStandardUserDefaults();
    overrideFoldersRoot(previousRoot_);
  }
  // The defaults file as it stands on disk.
  DictRef storedDefaults() const {
    Expected<Value> file = readPropertyListFile(UserDefaults::standardUserDefaults().filePath());
    return file ? file.value().dictionary() : nullptr;
  }

  ScratchFolder folder_;
  std::filesystem::path previousRoot_;
};

TEST_F(DefaultsBinding, ControllerWritesThroughAndTellsTheKeysObservers) {
  UserDefaultsController& controller = UserDefaultsController::shared();
  int told = 0;
  int otherTold = 0;
  ObserverToken watching = controller.observeKeyPath("values.grid", [&] { ++told; });
  ObserverToken other = controller.observeKeyPath("values.zoom", [&] { ++otherTold; });
  controller.setValueForKeyPath(Dictionary::make({{"spacing", 8}}), "values.grid");
  EXPECT_EQ(told, 1);
  EXPECT_EQ(otherTold, 0);
  ASSERT_TRUE(storedDefaults());
  EXPECT_EQ(storedDefaults()->dictionary("grid")->get("spacing").integerValue(), 8);
  EXPECT_EQ(controller.valueForKeyPath("values.grid").dictionary()->get("spacing").integerValue(), 8);

  controller.setValueForKeyPath(Value(), "values.grid");
  EXPECT_EQ(told, 2);
  EXPECT_FALSE(storedDefaults()->contains("grid"));

  // Initial values stand in for missing keys only; other key paths are not the defaults'.
  controller.setInitialValues(Dictionary::make({{"grid", 3}, {"zoom", 1}}));
  UserDefaults::standardUserDefaults().setInteger(2, "zoom");
  EXPECT_EQ(controller.valueForKeyPath("values.grid").integerValue(), 3);
  EXPECT_EQ(controller.valueForKeyPath("values.zoom").integerValue(), 2);
  EXPECT_TRUE(controller.valueForKeyPath("grid").isNil());
  watching.reset();
  controller.setValueForKeyPath(Value(5), "values.grid");
  EXPECT_EQ(told, 2);
}

TEST_F(DefaultsBinding, BoundValuesTravelThroughTheTransformerBothWays) {
  UserDefaultsController& controller = UserDefaultsController::shared();
  controller.setValueForKeyPath(Value(archivedDataWithRootObject(Value("first"))), "values.name");
  Bindings bindings;
  std::vector<Value> received;
  BindingOptions options;
  options.valueTransformerName = std::string(kKeyedUnarchiveFromDataTransformerName);
  bindings.bind("title", &controller, "values.name", options, [&](const Value& v) { received.push_back(v); });
  ASSERT_EQ(received.size(), 1u);  // at once, unarchived
  EXPECT_EQ(received[0].string(), "first");

  // A push is archived into the defaults and does not come back to the pusher.
  bindings.push("title", Value("second"), {});
  EXPECT_EQ(received.size(), 1u);
  const Value stored = storedDefaults()->get("name");
  ASSERT_TRUE(stored.isData());
  EXPECT_EQ(unarchiveObjectWithData(stored.data()).value().string(), "second");

  // A change made elsewhere arrives; unbound, nothing does.
  controller.setValueForKeyPath(Value(archivedDataWithRootObject(Value("third"))), "values.name");
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1].string(), "third");
  bindings.unbind("title");
  EXPECT_EQ(bindings.infoForBinding("title"), nullptr);
  controller.setValueForKeyPath(Value(archivedDataWithRootObject(Value("fourth"))), "values.name");
  EXPECT_EQ(received.size(), 2u);
}

TEST(ValueTransformers, ArchiveTransformerIsRegisteredAndRefusesBadData) {
  const auto transformer = valueTransformerForName(kKeyedUnarchiveFromDataTransformerName);
  ASSERT_TRUE(transformer);
  EXPECT_TRUE(transformer->allowsReverseTransformation());
  const Value archived = transformer->reverseTransformedValue(Array::make({1, "two"}));
  ASSERT_TRUE(archived.isData());
  EXPECT_TRUE(transformer->transformedValue(archived).isEqual(Array::make({1, "two"})));
  EXPECT_TRUE(transformer->transformedValue(Value(Bytes{'b', 'p', 'l', 'i', 's', 't'})).isNil());
  EXPECT_TRUE(transformer->transformedValue(Value("not data")).isNil());
  EXPECT_TRUE(transformer->reverseTransformedValue(Value()).isNil());
  EXPECT_EQ(valueTransformerForName("NoSuchTransformer"), nullptr);
}

TEST(DelayedPerform, CancelsWhatIsPendingAndWhatItsOwnerLeaves) {
  std::vector<int> runs;
  {
    DelayedPerformer gone;
    gone.performAfterDelay(0, [&] { runs.push_back(1); });
  }
  DelayedPerformer performer;
  performer.performAfterDelay(0.01, [&] { runs.push_back(2); });
  performer.cancelPreviousPerformRequests();
  performer.performAfterDelay(0.01, [&] { runs.push_back(3); });
  EXPECT_TRUE(iterateMainLoopUntil([&] { return !performer.hasPendingRequests(); }, 2000ms));
  iterateMainLoopUntil([] { return false; }, 30ms);
  EXPECT_EQ(runs, std::vector<int>{3});
}

}  // namespace
}  // namespace platform
