#include "io/cdr/CMCDRConverterProcess.h"

#include <fcntl.h>
#include <glib-unix.h>
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "io/cdr/CDR2SVG.h"
#include "platform/core/log.h"
#include "platform/core/numeric.h"
#include "platform/core/resources.h"
#include "platform/core/string_utilities.h"
#include "platform/core/user_cancelled.h"

namespace {

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

// Why a conversion was stopped before it ended by itself.
enum class Stop { None, TimeLimit, TooMuchOutput, ReadFailed, Cancelled };

// One run of the converter, watched from the main loop: its output gathered as it comes, its end, its time limit
// and a cancel. wait() runs a nested main loop until the child has ended and its output is in (or it was stopped),
// so the program keeps drawing and the progress window keeps taking clicks meanwhile.
class ConverterRun {
 public:
  ConverterRun(GPid child, int output, const CMCDRConverterSettings& settings)
      : child_(child),
        largestPage_(settings.largestPage),
        loop_(g_main_loop_new(nullptr, FALSE), g_main_loop_unref) {
    outputSource_ = g_unix_fd_add(output, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), onOutput, this);
    childSource_ = g_child_watch_add(child_, onExit, this);
    const auto milliseconds = std::max<std::chrono::milliseconds::rep>(settings.timeLimit.count(), 0);
    timeSource_ = g_timeout_add(platform::saturatingTruncate<guint>(milliseconds), onTimeLimit, this);
  }
  ~ConverterRun() {
    for (guint source : {outputSource_, childSource_, timeSource_}) {
      if (source != 0) g_source_remove(source);
    }
  }
  ConverterRun(const ConverterRun&) = delete;
  ConverterRun& operator=(const ConverterRun&) = delete;

  void wait() {
    if (!finished()) g_main_loop_run(loop_.get());
  }
  // Kills the child, unless it has ended already, and remembers why.
  void stop(Stop reason) {
    if (stop_ == Stop::None) stop_ = reason;
    if (!status_) ::kill(child_, SIGKILL);
    finishIfDone();
  }

  Stop stopped() const { return stop_; }
  const std::optional<int>& status() const { return status_; }
  platform::Bytes& page() { return page_; }

 private:
  bool finished() const { return status_ && (outputEnded_ || stop_ != Stop::None); }
  void finishIfDone() {
    if (finished()) g_main_loop_quit(loop_.get());
  }

  static gboolean onOutput(gint fd, GIOCondition, gpointer data) {
    auto& run = *static_cast<ConverterRun*>(data);
    const ssize_t got = ::read(fd, run.buffer_.data(), run.buffer_.size());
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) return G_SOURCE_CONTINUE;
    if (got > 0 && run.page_.size() + static_cast<std::size_t>(got) <= run.largestPage_) {
      run.page_.insert(run.page_.end(), run.buffer_.data(), run.buffer_.data() + got);
      return G_SOURCE_CONTINUE;
    }
    run.outputSource_ = 0;
    run.outputEnded_ = true;
    if (got > 0) {
      run.stop(Stop::TooMuchOutput);
    } else if (got < 0) {
      run.stop(Stop::ReadFailed);
    }
    run.finishIfDone();
    return G_SOURCE_REMOVE;
  }
  static void onExit(GPid, gint status, gpointer data) {
    auto& run = *static_cast<ConverterRun*>(data);
    run.childSource_ = 0;
    run.status_ = status;
    run.finishIfDone();
  }
  static gboolean onTimeLimit(gpointer data) {
    auto& run = *static_cast<ConverterRun*>(data);
    run.timeSource_ = 0;
    run.stop(Stop::TimeLimit);
    return G_SOURCE_REMOVE;
  }

  GPid child_;
  std::size_t largestPage_;
  std::unique_ptr<GMainLoop, decltype(&g_main_loop_unref)> loop_;
  guint outputSource_ = 0, childSource_ = 0, timeSource_ = 0;
  std::vector<unsigned char> buffer_ = std::vector<unsigned char>(std::size_t{1} << 20);
  platform::Bytes page_;
  bool outputEnded_ = false;
  std::optional<int> status_;
  Stop stop_ = Stop::None;
};

platform::Error converterError(std::int64_t code, const std::string& description) {
  return platform::Error::make(platform::Error::cocoaDomain, code, description);
}

// The error of a run that did not give a page, or nothing.
std::optional<platform::Error> failureOf(const ConverterRun& run, const CMCDRConverterSettings& settings) {
  switch (run.stopped()) {
    case Stop::Cancelled:
      return platform::userCancelledError("The CorelDRAW conversion was cancelled.");
    case Stop::TimeLimit:
      return converterError(
          CMCDRConverterProcess::kConverterTimedOut,
          platform::formatString("The CorelDRAW converter did not finish within %g seconds and was stopped.",
                                 static_cast<double>(settings.timeLimit.count()) / 1000));
    case Stop::TooMuchOutput:
      return converterError(
          CMCDRConverterProcess::kConverterOutputTooLarge,
          platform::formatString("The CorelDRAW converter wrote more than %g MB for the drawing and was stopped.",
                                 static_cast<double>(settings.largestPage) / (1 << 20)));
    case Stop::ReadFailed: return unsupported();
    case Stop::None: break;
  }
  const int status = run.status().value_or(0);
  if (WIFSIGNALED(status)) {
    return converterError(CMCDRConverterProcess::kConverterCrashed,
                          platform::formatString("The CorelDRAW converter crashed while reading the drawing (%s).",
                                                 strsignal(WTERMSIG(status))));
  }
  // The converter said why on its standard error: it could not read the drawing.
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return unsupported();
  return std::nullopt;
}

CMConversionProgressFactory& progressFactory() {
  static CMConversionProgressFactory factory;
  return factory;
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
  std::optional<platform::Error> failure;
  platform::Bytes page;
  {
    ConverterRun run(child, output, used);
    const std::unique_ptr<CMConversionProgress> progress =
        progressFactory() ? progressFactory()([&run] { run.stop(Stop::Cancelled); }) : nullptr;
    run.wait();
    failure = failureOf(run, used);
    page = std::move(run.page());
  }
  ::close(output);
  g_spawn_close_pid(child);
  if (failure) {
    platform::logWarning(failure->description);
    return *failure;
  }
  return page;
}

CMConversionProgressFactory CMCDRConverterProcess::installProgress(CMConversionProgressFactory factory) {
  return std::exchange(progressFactory(), std::move(factory));
}
