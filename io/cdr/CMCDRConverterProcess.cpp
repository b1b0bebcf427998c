#include "io/cdr/CMCDRConverterProcess.h"

#include <fcntl.h>
#include <glib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "io/cdr/CDR2SVG.h"
#include "platform/core/log.h"
#include "platform/core/resources.h"

namespace {

using Clock = std::chrono::steady_clock;

platform::Error unsupported() {
  return platform::Error::make(platform::Error::cocoaDomain, CDR2SVG::kUnsupportedFormat, "Unsupported file format!");
}

// Beside the program in the build tree; installed, in <prefix>/libexec/draftwork (the path named when neither is).
std::filesystem::path installedConverter() {
  constexpr const char* kName = "draftwork-cdr2svg";
  const std::filesystem::path programFolder = platform::executableFolder();
  std::error_code missing;
  if (std::filesystem::exists(programFolder / kName, missing)) return programFolder / kName;
  const std::filesystem::path libexec(DRAFTWORK_LIBEXEC_DIR);
  const std::filesystem::path folder = libexec.is_absolute() ? libexec : programFolder.parent_path() / libexec;
  return folder / "draftwork" / kName;
}

// Reads the child's output until it closes it, the deadline passes or the page grows too large; true on a clean end.
bool readAll(int fd, Clock::time_point deadline, platform::Bytes& out) {
  std::vector<unsigned char> buffer(std::size_t{1} << 20);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (polled < 0 && errno != EINTR) return false;
    if (polled <= 0) continue;
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    if (out.size() + static_cast<std::size_t>(got) > CMCDRConverterProcess::kLargestPage) return false;
    out.insert(out.end(), buffer.data(), buffer.data() + got);
  }
}

// The child's exit status once it has ended by the deadline; killed and reaped when it has not.
std::optional<int> waitUntil(GPid child, Clock::time_point deadline) {
  int status = 0;
  while (Clock::now() < deadline) {
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    if (ended == child) return status;
    if (ended < 0 && errno != EINTR) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(child, SIGKILL);
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return std::nullopt;
}

}  // namespace

CMCDRConverterSettings& CMCDRConverterProcess::settings() {
  static CMCDRConverterSettings settings{installedConverter()};
  return settings;
}

platform::Expected<platform::Bytes> CMCDRConverterProcess::convert(const std::filesystem::path& drawing,
                                                                    const std::filesystem::path& imageFolder) {
  const CMCDRConverterSettings& used = settings();
  std::string executable = used.executable.string(), input = drawing.string(), folder = imageFolder.string();
  char* argv[] = {executable.data(), input.data(), folder.data(), nullptr};
  GPid child = 0;
  int output = -1;
  GError* error = nullptr;
  const auto flags = static_cast<GSpawnFlags>(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_CLOEXEC_PIPES);
  if (!g_spawn_async_with_pipes(nullptr, argv, nullptr, flags, nullptr, nullptr, &child, nullptr, &output, nullptr,
                                &error)) {
    // The file may be fine: the alert says what is missing instead.
    platform::Error cannotStart = unsupported();
    cannotStart.description = "The CorelDRAW converter " + executable + " could not be started: " + error->message;
    platform::logError(cannotStart.description);
    g_error_free(error);
    return cannotStart;
  }
  // A larger pipe lets the converter write a drawing page of megabytes in fewer turns.
  ::fcntl(output, F_SETPIPE_SZ, 1 << 20);
  const Clock::time_point deadline = Clock::now() + used.timeLimit;
  platform::Bytes page;
  const bool read = readAll(output, deadline, page);
  ::close(output);
  // Past the deadline or with too much output, the child is stopped at once.
  const std::optional<int> status = waitUntil(child, read ? deadline : Clock::now());
  g_spawn_close_pid(child);
  if (!read || !status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
    if (status && WIFSIGNALED(*status)) {
      platform::logWarning("The CorelDRAW converter ended on signal " + std::to_string(WTERMSIG(*status)) + ".");
    } else if (!status) {
      platform::logWarning("The CorelDRAW converter was stopped: it ran too long or wrote too much.");
    }
    return unsupported();
  }
  return page;
}
