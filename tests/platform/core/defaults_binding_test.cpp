// Bindings to the shared user-defaults controller: values written through to
// the defaults file, observers told, transformers applied both ways, and the
// misconfigurations logged; with them the registry's archive transformer,
// strings tables, object formats and cancellable delayed work.

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
#include "platform/core/log.h"
#include "platform/core/main_queue.h"
#include "platform/core/property_list.h"
#include "platform/core/resources.h"
#include "platform/core/string_utilities.h"
#include "platform/core/strings_table.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_controller.h"
#include "platform/core/value_transformer.h"
#include "scoped_environment.h"
#include "scratch_folder.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using testing::ScratchFolder;

// Every log line of a scope, whatever its level.
class LogLines {
 public:
  LogLines() {
    previous_ = setLogSink([this](LogLevel, std::string_view line) { lines.emplace_back(line); });
  }
  ~LogLines() { setLogSink(std::move(previous_)); }
  std::vector<std::string> lines;

 private:
  LogSink previous_;
};

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

TEST_F(DefaultsBinding, MisconfiguredPushesAreLoggedAndWriteNothing) {
  struct OneWay : ValueTransformer {
    Value transformedValue(const Value& value) const override { return value; }
  };
  const BindingPushMessages messages{"one way", "no object", "no key path"};
  UserDefaultsController& controller = UserDefaultsController::shared();
  Bindings bindings;
  LogLines log;
  bindings.bind("value", nullptr, "values.a", std::nullopt, nullptr);
  bindings.push("value", Value(1), messages);
  bindings.bind("value", &controller, "", std::nullopt, nullptr);
  bindings.push("value", Value(2), messages);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"no object", "no key path"}));

  // A transformer that cannot reverse is bypassed with a warning.
  BindingOptions options;
  options.valueTransformer = std::make_shared<OneWay>();
  bindings.bind("value", &controller, "values.a", options, nullptr);
  bindings.push("value", Value(3), messages);
  EXPECT_EQ(log.lines.back(), "one way");
  EXPECT_EQ(controller.valueForKeyPath("values.a").integerValue(), 3);
  bindings.push("unbound", Value(4), messages);
  EXPECT_EQ(controller.valueForKeyPath("values.a").integerValue(), 3);
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

TEST(StringsTables, TextsComeFromTheTableOrAreTheKey) {
  ScratchFolder resources;
  testing::ScopedEnvironment environment("DRAFTWORK_RESOURCES", resources.path().c_str());
  testing::writeTextFile(resources / "TestTexts.strings.plist",
                         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                         "<key>Space</key><string>Leertaste</string><key>Odd</key><integer>1</integer>"
                         "</dict></plist>");
  EXPECT_EQ(localizedString("Space", "TestTexts"), "Leertaste");
  EXPECT_EQ(localizedString("Tab", "TestTexts"), "Tab");
  EXPECT_EQ(localizedString("Odd", "TestTexts"), "Odd");
  EXPECT_EQ(localizedString("Space", "NoSuchTable"), "Space");
}

TEST(ObjectFormats, ArgumentsAreNeverFormatsThemselves) {
  EXPECT_EQ(formatObjects("The key combination \"%@\" can't be used because %@.", {"⌃K", "%@ 100%"}),
            "The key combination \"⌃K\" can't be used because %@ 100%.");
  EXPECT_EQ(formatObjects("%@%@ in %s, 50%%", {"a", "b", "f"}), "ab in f, 50%");
  EXPECT_EQ(formatObjects("%@ and %@", {"one"}), "one and ");
  EXPECT_EQ(formatObjects("100%", {}), "100%");
}

TEST(DelayedPerform, RunsOnceAndCancelsWhatIsPending) {
  DelayedPerformer performer;
  std::vector<int> runs;
  performer.performAfterDelay(0.01, [&] { runs.push_back(1); });
  performer.performAfterDelay(0.01, [&] { runs.push_back(2); });
  performer.cancelPreviousPerformRequests();
  EXPECT_FALSE(performer.hasPendingRequests());
  performer.performAfterDelay(0.01, [&] {
    runs.push_back(3);
    performer.performAfterDelay(0.01, [&] { runs.push_back(4); });  // a chain, as animation ticks are
  });
  EXPECT_TRUE(iterateMainLoopUntil([&] { return runs.size() >= 2; }, 2000ms));
  iterateMainLoopUntil([] { return false; }, 40ms);
  EXPECT_EQ(runs, (std::vector<int>{3, 4}));
  {
    DelayedPerformer gone;
    gone.performAfterDelay(0, [&] { runs.push_back(5); });
  }
  iterateMainLoopUntil([] { return false; }, 30ms);
  EXPECT_EQ(runs.size(), 2u);
}

}  // namespace
}  // namespace platform
