#pragma once

// Test data made outside the project lives in ../shared/testdata beside the checkout. CI has it; a clone of the
// project alone does not, and the tests that read it skip there, naming the folder they looked for.

#include <gtest/gtest.h>

#include <filesystem>

#define SKIP_WITHOUT_OUTSIDE_TEST_DATA(folder)                                                          \
  do {                                                                                                  \
    if (!std::filesystem::is_directory(folder))                                                         \
      GTEST_SKIP() << "the outside test data " << std::filesystem::path(folder).lexically_normal()      \
                   << " is absent (it comes with the project's shared test data, ../shared/testdata)"; \
  } while (false)
