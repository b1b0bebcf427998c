#pragma once

// CorelDRAW drawings are converted by the converter program draftwork-cdr2svg, not in the program's own process:
// libcdr reads untrusted files, and a fault in it must not take the open documents down. The converter writes the
// XHTML drawing page to its standard output and the drawing's pictures into the folder it is given; it is killed
// when it runs past the time limit. Whatever goes wrong (a crash, a kill, a failed conversion) is the error 10
// "Unsupported file format!"; a converter that cannot be started is the error 10 naming it and why.

#include <chrono>
#include <filesystem>

#include "platform/core/error.h"
#include "platform/core/value.h"

struct CMCDRConverterSettings {
  // draftwork-cdr2svg beside the running program, else in <prefix>/libexec/draftwork.
  std::filesystem::path executable;
  std::chrono::milliseconds timeLimit{std::chrono::seconds(120)};
};

class CMCDRConverterProcess {
 public:
  // The largest drawing page read from the converter.
  static constexpr std::size_t kLargestPage = std::size_t{512} << 20;

  // The settings every conversion uses; tests may point them at another program or shorten the limit.
  static CMCDRConverterSettings& settings();
  static platform::Expected<platform::Bytes> convert(const std::filesystem::path& drawing,
                                                     const std::filesystem::path& imageFolder);
};
