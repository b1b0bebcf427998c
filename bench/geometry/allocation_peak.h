#pragma once

// The most heap memory in use at once since the last reset, counted through the global
// operator new and delete of this program.

#include <cstddef>

void resetAllocationPeak();
std::size_t allocationPeakSinceReset();
