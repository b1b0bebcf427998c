#pragma once

// Comparing document trees across undo and redo. Replay annotates layer
// records as the undo records say ("dirty" for the cached drawing, "group_id"
// and "position" written at registration), so the comparison with the tree
// before an edit leaves those three keys out; everything else, ids and list
// order included, must match.

#include <string>

#include "platform/core/value.h"

namespace document_testing {

inline void stripAnnotations(const platform::ArrayRef& list) {
  if (!list) return;
  for (const auto& entry : *list) {
    platform::DictRef record = entry.dictionary();
    if (!record) continue;
    for (const char* key : {"dirty", "group_id", "position"}) record->remove(key);
    stripAnnotations(record->array("items"));
    stripAnnotations(record->array("masks"));
  }
}

// A deep copy of the tree without the replay annotations.
inline platform::DictRef comparable(const platform::DictRef& root) {
  platform::DictRef copy = platform::dictionaryCopy(root);
  stripAnnotations(copy->array("layers"));
  return copy;
}

inline ::testing::AssertionResult sameTree(const platform::DictRef& expected, const platform::DictRef& actual) {
  if (expected->isEqual(*actual)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << platform::Value(expected).description() << "\n     got "
                                       << platform::Value(actual).description();
}

}  // namespace document_testing
