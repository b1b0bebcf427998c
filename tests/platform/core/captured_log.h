#pragma once

// Collects the log lines written during one scope instead of printing them.

#include <string>
#include <utility>
#include <vector>

#include "platform/core/log.h"

namespace platform::testing {

class CapturedLog {
 public:
  CapturedLog() {
    previous_ = setLogSink([this](LogLevel level, std::string_view message) {
      if (level == LogLevel::Warning) warnings_.emplace_back(message);
    });
  }
  ~CapturedLog() { setLogSink(std::move(previous_)); }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;

  const std::vector<std::string>& warnings() const noexcept { return warnings_; }

 private:
  LogSink previous_;
  std::vector<std::string> warnings_;
};

}  // namespace platform::testing
