// GUI tests run against a real X display (Xvfb): GTK is started once for the
// whole program, with an environment that keeps runs reproducible: the X11
// backend, no accessibility bus, in-memory settings, animations off and
// throw-away home and XDG folders.

#include <gtest/gtest.h>
#include <gtkmm/settings.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "platform/ui/ui_initialization.h"

namespace {

// Returns the throw-away home folder, empty when it could not be made.
std::filesystem::path prepareEnvironment() {
  setenv("GDK_BACKEND", "x11", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  setenv("GSETTINGS_BACKEND", "memory", 1);
  setenv("GTK_THEME", "Adwaita", 1);
  std::string pattern = (std::filesystem::temp_directory_path() / "draftwork-ui-tests-XXXXXX").string();
  const char* home = mkdtemp(pattern.data());
  if (!home) return {};
  {
    const std::filesystem::path root(home);
    setenv("HOME", home, 1);
    for (const auto& [variable, folder] : {std::pair{"XDG_CONFIG_HOME", "config"}, std::pair{"XDG_DATA_HOME", "data"},
                                           std::pair{"XDG_CACHE_HOME", "cache"}, std::pair{"XDG_RUNTIME_DIR", "run"}}) {
      const auto path = root / folder;
      std::filesystem::create_directories(path);
      std::filesystem::permissions(path, std::filesystem::perms::owner_all);
      setenv(variable, path.c_str(), 1);
    }
  }
  return home;
}

class GuiEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    home_ = prepareEnvironment();
    // Stop outright: a failure here would otherwise show every test as skipped, which ctest counts as passing.
    if (!platform::initializeUi()) {
      std::fprintf(stderr, "no X display: run the GUI tests under xvfb-run\n");
      std::exit(1);
    }
    Gtk::Settings::get_default()->property_gtk_enable_animations() = false;
    // A critical from GTK is a misuse of it by this layer: stop right there.
    g_log_set_always_fatal(GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_ERROR));
  }
  void TearDown() override {
    std::error_code ignored;
    if (!home_.empty()) std::filesystem::remove_all(home_, ignored);
  }

 private:
  std::filesystem::path home_;
};

// Registered before main runs, so it is set up before any test. GoogleTest takes ownership.
const testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(std::make_unique<GuiEnvironment>().release());

}  // namespace
