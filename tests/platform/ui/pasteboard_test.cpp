// The pasteboard keeps one entry per declared type, carries file names as a URI
// list other programs understand, and maps its types to GTK targets and back.

#include "platform/ui/pasteboard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/drag_operation.h"

namespace platform {
namespace {

Pasteboard::Bytes bytes(const std::string& text) { return Pasteboard::Bytes(text.begin(), text.end()); }

TEST(Pasteboard, DeclaringTypesDropsDuplicatesAndForgetsData) {
  Pasteboard board;
  board.declareTypes({"a", "b", "a"});
  EXPECT_EQ(board.types(), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(board.setData(bytes("one"), "a"));
  EXPECT_FALSE(board.setData(bytes("two"), "c"));  // never declared
  EXPECT_FALSE(board.dataForType("c").has_value());
  EXPECT_EQ(board.dataForType("a"), bytes("one"));
  EXPECT_FALSE(board.dataForType("b").has_value());  // declared, no data yet

  board.declareTypes({"a"});
  EXPECT_FALSE(board.dataForType("a").has_value());
  EXPECT_FALSE(board.hasType("b"));
}

TEST(Pasteboard, AvailableTypeFollowsTheAskersPreference) {
  Pasteboard board;
  board.declareTypes({pasteboard_type::FileNames, pasteboard_type::Shape});
  EXPECT_EQ(board.availableTypeFrom({pasteboard_type::Shape, pasteboard_type::FileNames}), pasteboard_type::Shape);
  EXPECT_EQ(board.availableTypeFrom({"x", pasteboard_type::FileNames}), pasteboard_type::FileNames);
  EXPECT_FALSE(board.availableTypeFrom({pasteboard_type::LayerRows}).has_value());
  EXPECT_FALSE(board.availableTypeFrom({}).has_value());
}

TEST(Pasteboard, FileNamesTravelAsEscapedUris) {
  Pasteboard board;
  board.declareTypes({pasteboard_type::FileNames});
  ASSERT_TRUE(board.setFileNames({"/tmp/a b/é.svg", "/home/x/plain.slib"}));
  const auto raw = board.dataForType(pasteboard_type::FileNames);
  ASSERT_TRUE(raw.has_value());
  // RFC 2483: one URI a line, CR LF ends each; the space and the UTF-8 bytes of é are escaped.
  EXPECT_EQ(std::string(raw->begin(), raw->end()), "file:///tmp/a%20b/%C3%A9.svg\r\nfile:///home/x/plain.slib\r\n");
  EXPECT_EQ(board.fileNames(), (std::vector<std::string>{"/tmp/a b/é.svg", "/home/x/plain.slib"}));
}

TEST(Pasteboard, FileNamesRefuseRelativePathsAndUndeclaredType) {
  Pasteboard board;
  board.declareTypes({pasteboard_type::FileNames});
  EXPECT_FALSE(board.setFileNames({"/ok", "relative/name"}));
  EXPECT_FALSE(board.dataForType(pasteboard_type::FileNames).has_value());
  EXPECT_FALSE(board.setFileNames({""}));

  Pasteboard other;
  other.declareTypes({pasteboard_type::Shape});
  EXPECT_FALSE(other.setFileNames({"/ok"}));
  EXPECT_TRUE(other.fileNames().empty());
}

TEST(Pasteboard, ReadingAUriListFromAnotherProgramKeepsLocalFilesOnly) {
  Pasteboard board;
  board.declareTypes({pasteboard_type::FileNames});
  // Bare LF line ends, a comment, a remote URI, a malformed one and no final line end.
  board.setData(bytes("# dropped\nfile:///a.svg\nhttp://example.invalid/b.svg\n\nfile:///c%2"
                      "\nfile:///d%20e.png"),
                pasteboard_type::FileNames);
  EXPECT_EQ(board.fileNames(), (std::vector<std::string>{"/a.svg", "/d e.png"}));
}

TEST(Pasteboard, TypesMapToGtkTargetsAndBack) {
  for (const char* type : {pasteboard_type::FileNames, pasteboard_type::Shape, pasteboard_type::LayerRows}) {
    const std::string target = gtkTargetForType(type);
    EXPECT_NE(target, type);
    EXPECT_EQ(typeForGtkTarget(target), type);
  }
  EXPECT_EQ(gtkTargetForType(pasteboard_type::FileNames), "text/uri-list");
  EXPECT_EQ(gtkTargetForType("image/png"), "image/png");
  EXPECT_EQ(typeForGtkTarget("image/png"), "image/png");
  EXPECT_EQ(targetFlagsForType(pasteboard_type::LayerRows), Gtk::TARGET_SAME_APP);
  EXPECT_EQ(targetFlagsForType(pasteboard_type::FileNames), Gtk::TargetFlags(0));
}

TEST(DragOperation, MapsAppKitBitsToGdkActions) {
  using namespace drag_operation;
  EXPECT_EQ(gdkActionsFromOperations(Copy | Move), Gdk::ACTION_COPY | Gdk::ACTION_MOVE);
  EXPECT_EQ(gdkActionsFromOperations(Generic), Gdk::ACTION_PRIVATE);
  EXPECT_EQ(gdkActionsFromOperations(Delete), Gdk::DragAction(0));  // GDK has no delete action
  EXPECT_EQ(operationsFromGdkActions(Gdk::ACTION_LINK | Gdk::ACTION_ASK), Link);
  EXPECT_EQ(operationsFromGdkActions(gdkActionsFromOperations(Copy | Move | Link)), Copy | Move | Link);
}

TEST(DragOperation, DestinationAnswersWithOneAction) {
  using namespace drag_operation;
  EXPECT_EQ(preferredGdkAction(Move | Copy | Link), Gdk::ACTION_COPY);
  EXPECT_EQ(preferredGdkAction(Move | Link), Gdk::ACTION_MOVE);
  EXPECT_EQ(preferredGdkAction(Link | Generic), Gdk::ACTION_LINK);
  EXPECT_EQ(preferredGdkAction(Private), Gdk::ACTION_PRIVATE);
  EXPECT_EQ(preferredGdkAction(None), Gdk::DragAction(0));
  EXPECT_EQ(preferredGdkAction(Delete), Gdk::DragAction(0));
}

}  // namespace
}  // namespace platform
