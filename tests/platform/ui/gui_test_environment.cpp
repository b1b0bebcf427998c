// GUI tests run against a real X display: an Xvfb of the test program's own, so
// that the windows of test programs running beside it never take its focus,
// cover its windows or hold its grabs. GTK is started once for the whole
// program, with an environment that keeps runs reproducible: the X11 backend,
// no accessibility bus, in-memory settings, animations off and throw-away home
// and XDG folders.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <gtkmm/settings.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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

pid_t privateXServer = -1;

// Ends the server at the program's exit and reaps it (the container's first process may not).
void stopPrivateXServer() {
  kill(privateXServer, SIGTERM);
  waitpid(privateXServer, nullptr, 0);
}

// Starts an Xvfb that lives as long as this program (it is killed when the program ends, even by a failed
// check's abort) and points DISPLAY at it; false when it did not start within ten seconds.
bool startPrivateXServer() {
  int ends[2];
  if (pipe(ends) != 0) return false;
  const pid_t program = getpid();
  const pid_t server = fork();
  if (server == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != program) _exit(1);
    // Xvfb writes the display number it found free to descriptor 3, so no lock-file scan races other servers.
    close(ends[0]);
    if (ends[1] != 3) {
      dup2(ends[1], 3);
      close(ends[1]);
    }
    // Quiet, and holding none of the test's output pipes open after the test ends.
    const int quiet = open("/dev/null", O_RDWR);
    if (quiet >= 0) {
      dup2(quiet, STDIN_FILENO);
      dup2(quiet, STDOUT_FILENO);
      dup2(quiet, STDERR_FILENO);
    }
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ends[1]);
  if (server < 0) {
    close(ends[0]);
    return false;
  }
  privateXServer = server;
  std::atexit(stopPrivateXServer);
  std::string number;
  pollfd reader{ends[0], POLLIN, 0};
  char c = 0;
  while (poll(&reader, 1, 10000) > 0 && read(ends[0], &c, 1) == 1 && c != '\n') number += c;
  close(ends[0]);
  if (number.empty()) return false;
  setenv("DISPLAY", (":" + number).c_str(), 1);
  setenv("XAUTHORITY", "/dev/null", 1);
  return true;
}

class GuiEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    home_ = prepareEnvironment();
    if (!startPrivateXServer()) {
      std::fprintf(stderr, "Xvfb did not start: install the xvfb package\n");
      std::exit(1);
    }
    // Stop outright: a failure here would otherwise show every test as skipped, which ctest counts as passing.
    if (!platform::initializeUi()) {
      std::fprintf(stderr, "no X display: GTK could not open the test's own X server\n");
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
