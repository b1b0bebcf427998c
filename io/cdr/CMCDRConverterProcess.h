#pragma once

// CorelDRAW drawings are converted by the converter program draftwork-cdr2svg, not in the program's own process:
// libcdr reads untrusted files, and a fault in it must not take the open documents down. The converter writes the
// XHTML drawing page to its standard output and the drawing's pictures into the folder it is given. The caller
// waits for it, but in a nested main loop: the program keeps drawing, a progress window (when one is installed)
// shows that it works and lets the user cancel. Each way of going wrong has its own error: a converter that
// crashes, runs past the time limit or writes too much; one that ends with a failure of its own (it cannot read
// the drawing) is the error 10 "Unsupported file format!", and so is one that cannot be started, naming it and why;
// a cancelled one is the user-cancelled error.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/core/error.h"
#include "platform/core/value.h"

struct CMCDRConverterSettings {
  // draftwork-cdr2svg beside the running program, else in <prefix>/libexec/draftwork.
  std::filesystem::path executable;
  std::chrono::milliseconds timeLimit{std::chrono::seconds(120)};
  // The largest drawing page read from the converter.
  std::size_t largestPage = std::size_t{512} << 20;
};

// What the user sees while a conversion runs: made when it starts and destroyed when it ends.
class CMConversionProgress {
 public:
  virtual ~CMConversionProgress() = default;
};
// Makes the progress shown for a conversion; calling `cancel` stops the conversion.
using CMConversionProgressFactory =
    std::function<std::unique_ptr<CMConversionProgress>(std::function<void()> cancel)>;

class CMCDRConverterProcess {
 public:
  // The errors of a converter that crashed, ran too long or wrote too much (NSCocoaErrorDomain).
  static constexpr std::int64_t kConverterCrashed = 12;
  static constexpr std::int64_t kConverterTimedOut = 13;
  static constexpr std::int64_t kConverterOutputTooLarge = 14;

  // The settings every conversion uses; tests may point them at another program or shorten the limit.
  static CMCDRConverterSettings& settings();
  // The progress every conversion shows; none (nothing shown) until the application installs one. Returns the
  // previous one.
  static CMConversionProgressFactory installProgress(CMConversionProgressFactory factory);

  static platform::Expected<platform::Bytes> convert(const std::filesystem::path& drawing,
                                                     const std::filesystem::path& imageFolder);
};
