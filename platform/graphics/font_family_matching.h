#pragma once

// The installed family fontconfig draws a list of families with ("Times New Roman, serif"), in time that grows with
// the list's length: fontconfig substitutes one pattern of N families in time that grows with N squared, so the list
// is asked about in slices, in order. The first slice holding a family that is installed, or one the system's
// configuration stands an installed family in for next to it, gives the answer, as fontconfig gives it for that
// slice; when none does, the generic family the list asks for by default ("Georgia" is a serif), else the system's
// default. A list of up to a slice is matched as fc-match matches it.

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

struct FamilyMatch {
  // The installed family; empty when fontconfig matches no font at all.
  std::string drawn;
  // The family of the list the match comes from; the first when the list gets the system's default.
  std::size_t family = 0;

  friend bool operator==(const FamilyMatch&, const FamilyMatch&) = default;
};

// At the CSS weight (1 to 1000) and slant.
FamilyMatch matchFamilyList(const std::vector<std::string>& families, int weight, bool slanted);

}  // namespace platform
