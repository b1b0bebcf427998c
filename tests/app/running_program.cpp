#include "running_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "x_window_names.h"

extern char** environ;

namespace {

// Runs the program with the arguments and environment, its standard error into the file; -1 when it did not start.
pid_t spawn(std::vector<std::string> arguments, std::vector<std::string>& environment,
            const std::filesystem::path& errorOutput) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorOutput.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace

RunningProgram::RunningProgram(const std::filesystem::path& file, const std::string& sessionBus,
                               const std::filesystem::path& binary) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string variable(*entry);
    if (variable.rfind("DBUS_SESSION_BUS_ADDRESS=", 0) != 0 && variable.rfind("LSAN_OPTIONS=", 0) != 0 &&
        variable.rfind("XDG_", 0) != 0)
      environment.push_back(variable);
  }
  environment.emplace_back("DBUS_SESSION_BUS_ADDRESS=" + (sessionBus.empty() ? "unix:path=/nonexistent" : sessionBus));
  environment.emplace_back("XDG_CONFIG_HOME=" + (folder_.path() / "config").string());
  environment.emplace_back("XDG_DATA_HOME=" + (folder_.path() / "data").string());
  // In a sanitizer build the program's exit is checked for leaks; fontconfig's and GLib's process-wide tables
  // are never freed by design, nor GDK's area to redraw of a window another program destroyed (as for the test
  // programs themselves).
  std::ofstream(folder_.path() / "lsan.supp") << "leak:libfontconfig.so\nleak:libglib-2.0.so\nleak:cairo_region_copy\n";
  environment.emplace_back("LSAN_OPTIONS=suppressions=" + (folder_.path() / "lsan.supp").string());
  std::vector<std::string> arguments{binary.string()};
  if (!file.empty()) arguments.push_back(file.string());
  pid_ = spawn(std::move(arguments), environment, folder_.path() / "stderr.txt");
}

RunningProgram::~RunningProgram() { stop(pid_); }

std::string RunningProgram::errorOutput() const {
  std::ifstream stream(folder_.path() / "stderr.txt");
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

SessionBus::SessionBus() {
  const std::filesystem::path socket = folder_.path() / "bus";
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
  pid_ = spawn({"/usr/bin/dbus-daemon", "--config-file=/usr/share/dbus-1/session.conf", "--nofork",
                "--address=unix:path=" + socket.string()},
               environment, folder_.path() / "stderr.txt");
  if (pid_ > 0 && waitFor([&] { return std::filesystem::exists(socket); }, std::chrono::seconds(30)))
    address_ = "unix:path=" + socket.string();
}

SessionBus::~SessionBus() { stop(pid_); }

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
