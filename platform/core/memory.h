#pragma once

// How much more memory the process can take: what a reader of a large file weighs its records against before the
// system runs out.

#include <cstdint>

namespace platform {

// The smaller of the memory the system has available (MemAvailable) and the room left under the process's address
// space limit; the largest value when neither can be read.
std::uint64_t availableMemory();

}  // namespace platform
