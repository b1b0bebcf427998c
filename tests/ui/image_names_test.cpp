// Every picture the interface asks for by name ships in resources/images, at a
// size that fits where it is drawn.

#include <gdkmm/pixbuf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

const std::filesystem::path kSources = DRAFTWORK_SOURCE_DIR;
const std::filesystem::path kImages = kSources / "resources" / "images";

Glib::RefPtr<Gdk::Pixbuf> load(const std::string& name) {
  try {
    return Gdk::Pixbuf::create_from_file((kImages / (name + ".png")).string());
  } catch (const Glib::Error&) {
    return {};
  }
}

TEST(InterfaceImages, EveryNameGivenInTheCodeExists) {
  // Names written out at the call: pixbufNamed("name").
  const std::regex call(R"re(pixbufNamed\("([^"]+)"\))re");
  std::set<std::string> names;
  for (const char* folder : {"ui", "canvas", "app"}) {
    if (!std::filesystem::exists(kSources / folder)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSources / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      std::ifstream file(entry.path());
      const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
      for (auto match = std::sregex_iterator(text.begin(), text.end(), call); match != std::sregex_iterator(); ++match)
        names.insert((*match)[1]);
    }
  }
  EXPECT_TRUE(names.count("next_items_bt")) << "the scan found the tab strip's own call";
  for (const std::string& name : names) EXPECT_TRUE(load(name)) << name;
}

TEST(InterfaceImages, PointEditingButtonsHaveTheirPictures) {
  for (const char* name : {"pointdelete", "pointdeleteclicked", "pencursoradd"}) {
    const auto image = load(name);
    ASSERT_TRUE(image) << name;
    EXPECT_GE(image->get_width(), 24) << name;
    EXPECT_EQ(image->get_width(), image->get_height()) << name;
  }
  EXPECT_EQ(load("pointdelete")->get_width(), load("pointdeleteclicked")->get_width());
}

TEST(InterfaceImages, TabStripPicturesFitTheirPlaces) {
  // The close mark, 5 points in from a tab's corner, stays inside the tab's 16-point close area and below
  // the 26-point strip's top.
  const auto close = load("close_bt");
  ASSERT_TRUE(close);
  EXPECT_LE(5 + close->get_width(), 16);
  EXPECT_LE(5 + close->get_height(), 26);
  // The overflow button's picture fills its 18-point square.
  const auto next = load("next_items_bt");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->get_width(), 18);
  EXPECT_EQ(next->get_height(), 18);
}

}  // namespace
