#pragma once

// The built program as a user starts it, seen from outside: started with its own folders in a scratch folder,
// looked for by window title, its standard error kept, stopped (by its own pid) when the test ends.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "../platform/core/scratch_folder.h"

class RunningProgram {
 public:
  // Starts the program (the built one unless another binary is named) with the file, or with none when empty.
  // Without a session bus address it runs as a plain, non-unique application; with one, a copy started second hands
  // its file to the first and ends.
  explicit RunningProgram(const std::filesystem::path& file, const std::string& sessionBus = {},
                          const std::filesystem::path& binary = DRAFTWORK_BINARY);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return pid_ > 0; }
  bool stillRunning();
  // The wait status once the program has ended by itself.
  std::optional<int> exitStatus() const { return exitStatus_; }
  // What the program has written to its standard error so far.
  std::string errorOutput() const;

 private:
  platform::testing::ScratchFolder folder_;
  pid_t pid_ = -1;
  std::optional<int> exitStatus_;
};

// A D-Bus session bus of the test's own, ended (by its pid) with the object.
class SessionBus {
 public:
  SessionBus();
  ~SessionBus();
  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;

  // Empty when the bus did not start.
  const std::string& address() const { return address_; }

 private:
  platform::testing::ScratchFolder folder_;
  pid_t pid_ = -1;
  std::string address_;
};

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit);
bool hasWindowNamed(const std::string& name);
