#include "platform/core/notification_center.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class NotificationCenterTest : public ::testing::Test {
 protected:
  // An observer that records "<label>:<notification name>".
  NotificationHandler recorder(std::string label) {
    return [this, label](const Notification& note) { calls_.push_back(label + ":" + note.name); };
  }

  NotificationCenter center_;
  std::vector<std::string> calls_;
  int senderA_ = 0, senderB_ = 0;  // identities only
};

TEST_F(NotificationCenterTest, DeliversInRegistrationOrderToMatchingNames) {
  ObserverToken first = center_.addObserver("Changed", recorder("1"));
  ObserverToken other = center_.addObserver("Closed", recorder("other"));
  ObserverToken second = center_.addObserver("Changed", recorder("2"));
  ObserverToken everything = center_.addObserver("", recorder("all"));
  ObserverToken third = center_.addObserver("Changed", recorder("3"));
  center_.post("Changed");
  EXPECT_THAT(calls_, ElementsAre("1:Changed", "2:Changed", "all:Changed", "3:Changed"));
  calls_.clear();
  center_.post("Closed");
  EXPECT_THAT(calls_, ElementsAre("other:Closed", "all:Closed"));
  calls_.clear();
  center_.post("Change");
  EXPECT_THAT(calls_, ElementsAre("all:Change"));
}

TEST_F(NotificationCenterTest, PassesTheSenderAndUserInfo) {
  std::optional<Notification> received;
  ObserverToken token = center_.addObserver("Moved", [&](const Notification& note) { received = note; });
  DictRef info = Dictionary::make({{"dx", 3}});
  center_.post("Moved", &senderA_, info);
  ASSERT_TRUE(received);
  EXPECT_EQ(received->name, "Moved");
  EXPECT_EQ(received->object, &senderA_);
  EXPECT_EQ(received->userInfo, info) << "the same dictionary, not a copy";
}

TEST_F(NotificationCenterTest, AnObjectFilterDeliversOnlyThatSendersPosts) {
  ObserverToken filtered = center_.addObserver("Changed", recorder("A only"), &senderA_);
  ObserverToken unfiltered = center_.addObserver("Changed", recorder("any"));
  ObserverToken everythingFromB = center_.addObserver("", recorder("B all"), &senderB_);
  center_.post("Changed", &senderA_);
  center_.post("Changed", &senderB_);
  center_.post("Changed");
  center_.post("Other", &senderB_);
  EXPECT_THAT(calls_, ElementsAre("A only:Changed", "any:Changed", "any:Changed", "B all:Changed", "any:Changed",
                                  "B all:Other"));
}

TEST_F(NotificationCenterTest, AnObserverRemovingItselfFinishesButIsNeverCalledAgain) {
  ObserverToken self;
  int selfCalls = 0;
  self = center_.addObserver("Tick", [&](const Notification&) {
    ++selfCalls;
    self.reset();
    calls_.push_back("self still running");  // its closure must stay alive until it returns
  });
  ObserverToken after = center_.addObserver("Tick", recorder("after"));
  center_.post("Tick");
  center_.post("Tick");
  EXPECT_EQ(selfCalls, 1);
  EXPECT_FALSE(self);
  EXPECT_THAT(calls_, ElementsAre("self still running", "after:Tick", "after:Tick"));
}

TEST_F(NotificationCenterTest, RemovingALaterObserverDuringDeliverySkipsIt) {
  ObserverToken later;
  ObserverToken earlier = center_.addObserver("Tick", recorder("earlier"));
  ObserverToken remover = center_.addObserver("Tick", [&](const Notification&) {
    calls_.push_back("remover");
    later.reset();
    earlier.reset();
  });
  later = center_.addObserver("Tick", recorder("later"));
  ObserverToken last = center_.addObserver("Tick", recorder("last"));
  center_.post("Tick");
  EXPECT_THAT(calls_, ElementsAre("earlier:Tick", "remover", "last:Tick"));
  calls_.clear();
  center_.post("Tick");
  EXPECT_THAT(calls_, ElementsAre("remover", "last:Tick"));
}

TEST_F(NotificationCenterTest, ObserversAddedDuringDeliveryWaitForTheNextPost) {
  std::vector<ObserverToken> added;
  ObserverToken adder = center_.addObserver("Tick", [&](const Notification&) {
    added.push_back(center_.addObserver("Tick", recorder("added" + std::to_string(added.size()))));
  });
  center_.post("Tick");
  EXPECT_THAT(calls_, IsEmpty());
  center_.post("Tick");
  EXPECT_THAT(calls_, ElementsAre("added0:Tick"));
}

TEST_F(NotificationCenterTest, PostsFromInsideAnObserverAreDeliveredAtOnce) {
  ObserverToken outerFirst = center_.addObserver("Outer", [&](const Notification& note) {
    calls_.push_back("first:" + note.name);
    center_.post("Inner", &senderB_);
  });
  ObserverToken inner = center_.addObserver("Inner", [&](const Notification& note) {
    calls_.push_back(std::string("inner from ") + (note.object == &senderB_ ? "B" : "?"));
  });
  ObserverToken outerSecond = center_.addObserver("Outer", [&](const Notification& note) {
    calls_.push_back(std::string("second sees ") + (note.object == &senderA_ ? "A" : "?"));
  });
  center_.post("Outer", &senderA_);
  EXPECT_THAT(calls_, ElementsAre("first:Outer", "inner from B", "second sees A"));
}

TEST_F(NotificationCenterTest, TokensRemoveOnDestructionAndMoveOwnership) {
  { ObserverToken scoped = center_.addObserver("Tick", recorder("scoped")); }
  ObserverToken original = center_.addObserver("Tick", recorder("moved"));
  ObserverToken moved = std::move(original);
  original.reset();  // a moved-from token owns nothing
  EXPECT_FALSE(original);
  ASSERT_TRUE(moved);
  ObserverToken replaced = center_.addObserver("Tick", recorder("replaced"));
  replaced = center_.addObserver("Tick", recorder("replacement"));
  center_.post("Tick");
  EXPECT_THAT(calls_, ElementsAre("moved:Tick", "replacement:Tick"));
}

TEST_F(NotificationCenterTest, AnEmptyHandlerRegistersNothing) {
  ObserverToken token = center_.addObserver("Tick", NotificationHandler());
  EXPECT_FALSE(token);
  center_.post("Tick");  // must not call the empty function
}

TEST(NotificationCenterLifetimeTest, TokensMayOutliveTheirCenter) {
  ObserverToken token;
  {
    NotificationCenter center;
    token = center.addObserver("Tick", [](const Notification&) {});
  }
  EXPECT_TRUE(token);
  token.reset();  // the center's state is gone; this must not touch it
  EXPECT_FALSE(token);
}

TEST(NotificationCenterLifetimeTest, AnObserverMayDestroyTheCenterDuringDelivery) {
  auto center = std::make_unique<NotificationCenter>();
  std::vector<std::string> calls;
  ObserverToken destroyer = center->addObserver("Quit", [&](const Notification&) {
    calls.push_back("destroyer");
    center.reset();
  });
  ObserverToken after = center->addObserver("Quit", [&](const Notification&) { calls.push_back("after"); });
  center->post("Quit");
  EXPECT_FALSE(center);
  EXPECT_THAT(calls, ElementsAre("destroyer", "after"));
}

TEST(NotificationCenterLifetimeTest, TheDefaultCenterIsOneInstance) {
  NotificationCenter& center = NotificationCenter::defaultCenter();
  EXPECT_EQ(&center, &NotificationCenter::defaultCenter());
  int calls = 0;
  ObserverToken token = center.addObserver("DraftworkTestPing", [&](const Notification&) { ++calls; });
  NotificationCenter::defaultCenter().post("DraftworkTestPing");
  token.reset();
  NotificationCenter::defaultCenter().post("DraftworkTestPing");
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace platform
