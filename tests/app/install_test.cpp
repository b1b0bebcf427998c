// The program installed into a prefix of its own, as a packager installs it: the desktop entry and the metadata
// validate, the drawing's file type is known once the MIME database is refreshed (CorelDRAW files keep the
// system's type), the icons decode at their nominal sizes, and the installed program finds its resources and its
// CorelDRAW converter (and names the converter when it cannot start it).

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "../outside_test_data.h"
#include "../platform/core/scratch_folder.h"
#include "running_program.h"

namespace {

using namespace std::chrono_literals;

struct Ran {
  int status = -1;
  std::string output;
};

Ran run(const std::string& command) {
  Ran ran;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return ran;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe)) ran.output += buffer;
  ran.status = pclose(pipe);
  return ran;
}

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

class Installed : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new platform::testing::ScratchFolder;
    const Ran installed = run("DESTDIR= '" CMAKE_COMMAND "' --install '" DRAFTWORK_BUILD_DIR "' --prefix " +
                              quoted(prefix_->path()));
    installedOk_ = installed.status == 0;
    if (!installedOk_) std::fprintf(stderr, "%s", installed.output.c_str());
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(installedOk_); }

  static std::filesystem::path share() { return prefix_->path() / "share"; }

  static platform::testing::ScratchFolder* prefix_;
  static bool installedOk_;
};

platform::testing::ScratchFolder* Installed::prefix_ = nullptr;
bool Installed::installedOk_ = false;

TEST_F(Installed, DesktopEntryAndMetadataValidate) {
  const Ran entry = run("desktop-file-validate " + quoted(share() / "applications/org.draftwork.Draftwork.desktop"));
  EXPECT_EQ(entry.status, 0) << entry.output;
  const Ran metadata =
      run("appstreamcli validate --no-net " + quoted(share() / "metainfo/org.draftwork.Draftwork.metainfo.xml"));
  EXPECT_EQ(metadata.status, 0) << metadata.output;
}

TEST_F(Installed, TheFileTypesAreKnown) {
  EXPECT_TRUE(std::filesystem::exists(share() / "mime/mime.cache"));  // refreshed by the install
  const std::string environment =
      "XDG_DATA_HOME=/nonexistent XDG_DATA_DIRS=" + quoted(share()) + ":/usr/share GIO_USE_VFS=local ";
  const auto type = [&](const std::filesystem::path& file) {
    const Ran info = run(environment + "gio info -a standard::content-type " + quoted(file));
    const std::size_t at = info.output.find("content-type: ");
    return at == std::string::npos ? info.output : info.output.substr(at + 14, info.output.find('\n', at) - at - 14);
  };
  EXPECT_EQ(type(share() / "draftwork/Samples/shirt1.vard"), "application/x-draftwork");
  const std::filesystem::path corel = std::filesystem::path(DRAFTWORK_TESTDATA_DIR) / "cdr";
  SKIP_WITHOUT_OUTSIDE_TEST_DATA(corel);
  std::filesystem::path sample;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corel))
    if (entry.path().extension() == ".cdr") sample = entry.path();
  ASSERT_FALSE(sample.empty());
  EXPECT_EQ(type(sample), "application/vnd.corel-draw");
}

TEST_F(Installed, IconsDecodeAtTheirSizes) {
  int checked = 0;
  for (const char* kind : {"apps/org.draftwork.Draftwork", "mimetypes/application-x-draftwork"}) {
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
      const std::filesystem::path file = share() / "icons/hicolor" /
                                         (std::to_string(size) + "x" + std::to_string(size)) / (std::string(kind) + ".png");
      GdkPixbuf* icon = gdk_pixbuf_new_from_file(file.c_str(), nullptr);
      ASSERT_NE(icon, nullptr) << file;
      EXPECT_EQ(gdk_pixbuf_get_width(icon), size) << file;
      EXPECT_EQ(gdk_pixbuf_get_height(icon), size) << file;
      g_object_unref(icon);
      ++checked;
    }
    // The scalable one is drawn on 256 units, as librsvg reads it.
    const std::filesystem::path svg = share() / "icons/hicolor/scalable" / (std::string(kind) + ".svg");
    const std::filesystem::path png = prefix_->path() / "scalable.png";
    const Ran converted = run("rsvg-convert " + quoted(svg) + " > " + quoted(png));
    ASSERT_EQ(converted.status, 0) << svg << converted.output;
    GdkPixbuf* drawn = gdk_pixbuf_new_from_file(png.c_str(), nullptr);
    ASSERT_NE(drawn, nullptr) << svg;
    EXPECT_EQ(gdk_pixbuf_get_width(drawn), 256) << svg;
    g_object_unref(drawn);
    ++checked;
  }
  EXPECT_EQ(checked, 16);
}

TEST_F(Installed, TheInstalledProgramFindsItsResources) {
  EXPECT_TRUE(std::filesystem::exists(share() / "draftwork/settings.plist"));
  EXPECT_FALSE(std::filesystem::exists(share() / "draftwork/desktop"));
  // A sample from the installed resources, opened in the main window under the tour.
  RunningProgram program(share() / "draftwork/Samples/floraldesign.vard", {}, prefix_->path() / "bin/draftwork");
  ASSERT_TRUE(program.started());
  EXPECT_TRUE(waitFor([] { return hasWindowNamed("Welcome to Draftwork"); }, 60s));
  EXPECT_TRUE(waitFor([] { return hasWindowNamed("floraldesign.vard, 100%"); }, 60s));
}

TEST_F(Installed, TheInstalledProgramOpensCorelDrawingsThroughItsConverter) {
  const std::filesystem::path converter = prefix_->path() / "libexec/draftwork/draftwork-cdr2svg";
  ASSERT_TRUE(std::filesystem::is_regular_file(converter));
  EXPECT_NE(std::filesystem::status(converter).permissions() & std::filesystem::perms::owner_exec,
            std::filesystem::perms::none);
  const std::filesystem::path corel = std::filesystem::path(DRAFTWORK_TESTDATA_DIR) / "cdr";
  SKIP_WITHOUT_OUTSIDE_TEST_DATA(corel);
  const std::filesystem::path away = prefix_->path() / "converter-moved-away";
  // With the converter the drawing opens; without it an alert comes up and the log names the converter's path.
  struct Case {
    bool installed;
    const char* window;
  };
  for (const Case& with : {Case{true, "sample-x4.cdr, 100%"}, Case{false, "Error"}}) {
    SCOPED_TRACE(with.window);
    if (!with.installed) std::filesystem::rename(converter, away);
    RunningProgram program(corel / "sample-x4.cdr", {}, prefix_->path() / "bin/draftwork");
    ASSERT_TRUE(program.started());
    EXPECT_TRUE(waitFor([&] { return hasWindowNamed(with.window); }, 60s));
    const bool named = program.errorOutput().find("converter " + converter.string()) != std::string::npos;
    EXPECT_EQ(named, !with.installed) << program.errorOutput();
  }
  std::filesystem::rename(away, converter);
}

}  // namespace
