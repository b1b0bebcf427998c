#pragma once

// GTK's recent-files manager skips the groups of a new entry when the first byte of the group array is zero: it
// reads the lowest byte of the first group's address as if it were the group's first character. A group handed
// to it is copied to an address that does not end in a zero byte.

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// `group` copied into `room` (which holds its length + 2) with its terminating zero, at an address GTK reads
// as a group; null when `room` is too small.
inline char* copyGroupGtkRecords(std::span<char> room, std::string_view group) {
  if (room.size() < group.size() + 2) return nullptr;
  char* copy = room.data() + ((reinterpret_cast<std::uintptr_t>(room.data()) & 0xff) == 0 ? 1 : 0);
  group.copy(copy, group.size());
  copy[group.size()] = '\0';
  return copy;
}

}  // namespace platform
