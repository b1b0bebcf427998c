#include "running_program.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <thread>
#include <vector>

#include "x_window_names.h"

extern char** environ;

RunningProgram::RunningProgram(const std::filesystem::path& file) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string variable(*entry);
    if (variable.rfind("DBUS_SESSION_BUS_ADDRESS=", 0) != 0 && variable.rfind("LSAN_OPTIONS=", 0) != 0 &&
        variable.rfind("XDG_", 0) != 0)
      environment.push_back(variable);
  }
  // No session bus: the program runs as a plain, non-unique application.
  environment.emplace_back("DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent");
  environment.emplace_back("XDG_CONFIG_HOME=" + (folder_.path() / "config").string());
  environment.emplace_back("XDG_DATA_HOME=" + (folder_.path() / "data").string());
  // In a sanitizer build the program's exit is checked for leaks; fontconfig's and GLib's process-wide tables
  // are never freed by design (as for the test programs themselves).
  std::ofstream(folder_.path() / "lsan.supp") << "leak:libfontconfig.so\nleak:libglib-2.0.so\n";
  environment.emplace_back("LSAN_OPTIONS=suppressions=" + (folder_.path() / "lsan.supp").string());
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string binary = DRAFTWORK_BINARY;
  std::string argument = file.string();
  std::vector<char*> argv{binary.data()};
  if (!argument.empty()) argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, binary.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
}

RunningProgram::~RunningProgram() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

bool RunningProgram::stillRunning() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == 0) return true;
  exitStatus_ = status;
  pid_ = -1;
  return false;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return condition();
}

bool hasWindowNamed(const std::string& name) {
  const std::vector<std::string> names = topLevelWindowNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}
