#pragma once

// The built program as a user starts it, seen from outside: started with its own folders in a scratch folder,
// looked for by window title, stopped (by its own pid) when the test ends.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "../platform/core/scratch_folder.h"

class RunningProgram {
 public:
  // Starts the program with the file, or with none when empty.
  explicit RunningProgram(const std::filesystem::path& file);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return pid_ > 0; }
  bool stillRunning();
  // The wait status once the program has ended by itself.
  std::optional<int> exitStatus() const { return exitStatus_; }

 private:
  platform::testing::ScratchFolder folder_;
  pid_t pid_ = -1;
  std::optional<int> exitStatus_;
};

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit);
bool hasWindowNamed(const std::string& name);
