// The trace logger: switched on by DRAFTWORK_DEBUG, the standard error stream gets exactly the prefixed line, the
// log file in the Documents folder the messages alone, created once; caller text is never taken as a format.
// Switched off (a user's session), it says nothing and writes no file, with or without a Documents folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/core/debug_log.h"
#include "platform/core/folders.h"
#include "scoped_environment.h"
#include "scratch_folder.h"

namespace platform {
namespace {

// What the standard error stream receives during the scope, through a file in place of descriptor 2.
class CapturedStandardError {
 public:
  explicit CapturedStandardError(const std::filesystem::path& file) : file_(file) {
    std::fflush(stderr);
    saved_ = ::dup(2);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    ::dup2(::fileno(out), 2);
    std::fclose(out);
  }
  ~CapturedStandardError() { restore(); }
  std::string text() {
    restore();
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
    saved_ = -1;
  }
  std::filesystem::path file_;
  int saved_ = -1;
};

std::string contentsOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class DebugLog : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = overrideFoldersRoot(scratch_.path());
    std::filesystem::create_directories(documentsFolder());
  }
  void TearDown() override { overrideFoldersRoot(previous_); }

  testing::ScratchFolder scratch_;
  testing::ScopedEnvironment switchedOn_{kDebugLogSwitch, "1"};
  std::filesystem::path previous_;
};

TEST_F(DebugLog, StandardErrorGetsThePrefixedLineAndTheFileTheMessagesAlone) {
  const std::filesystem::path logFile = documentsFolder() / kDebugLogFileName;
  CapturedStandardError captured(scratch_ / "stderr");
  Log2Message("DEBUG ", 7, "OnCreate", "size %d of 100%");
  Log2Message("DEBUG ", 1234, "a_function_whose_name_is_longer_than_the_fifty_columns_given", "second");
  const std::string written = captured.text();

  char first[256];
  std::snprintf(first, sizeof first, "%s%50s:%3d - %s", "DEBUG ", "OnCreate", 7, "size %d of 100%\n");
  char second[256];
  std::snprintf(second, sizeof second, "%s%50s:%3d - %s", "DEBUG ",
                "a_function_whose_name_is_longer_than_the_fifty_columns_given", 1234, "second\n");
  const std::string creating = "Creating file at " + logFile.string() + "\n";
  EXPECT_EQ(written, creating + first + second);
  EXPECT_EQ(contentsOf(logFile), "size %d of 100%\nsecond\n");
}

TEST_F(DebugLog, AppendingKeepsWhatTheFileHeldAndAMissingFolderIsNotMade) {
  const std::filesystem::path logFile = documentsFolder() / kDebugLogFileName;
  {
    std::ofstream(logFile) << "earlier\n";
  }
  CapturedStandardError captured(scratch_ / "stderr");
  Log2AppendToFile("later\n");
  EXPECT_EQ(captured.text(), "");
  EXPECT_EQ(contentsOf(logFile), "earlier\nlater\n");

  std::filesystem::remove_all(documentsFolder());
  CapturedStandardError again(scratch_ / "stderr2");
  Log2Message("", 1, "f", "lost");
  EXPECT_NE(again.text().find("lost"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(documentsFolder()));
}

class SilentDebugLog : public DebugLog, public ::testing::WithParamInterface<bool> {};

TEST_P(SilentDebugLog, WithoutTheSwitchNothingIsPrintedOrWritten) {
  testing::ScopedEnvironment switchedOff(kDebugLogSwitch, nullptr);
  const bool documentsPresent = GetParam();
  if (!documentsPresent) std::filesystem::remove_all(documentsFolder());
  CapturedStandardError captured(scratch_ / "stderr");
  Log2Message("DEBUG ", 70, "init", "windowdidload");
  Log2AppendToFile("text\n");
  EXPECT_EQ(captured.text(), "");
  EXPECT_FALSE(std::filesystem::exists(documentsFolder() / kDebugLogFileName));
  EXPECT_EQ(std::filesystem::exists(documentsFolder()), documentsPresent);
}

INSTANTIATE_TEST_SUITE_P(DocumentsFolder, SilentDebugLog, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Present" : "Absent"; });

}  // namespace
}  // namespace platform
