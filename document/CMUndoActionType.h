#pragma once

#include <cstdint>

// The "type" of an undo record.
inline constexpr std::int32_t kCMUndoEditing = 0;       // layer records changed in place
inline constexpr std::int32_t kCMUndoAdding = 1;        // one layer added
inline constexpr std::int32_t kCMUndoDeleting = 2;      // layers removed
inline constexpr std::int32_t kCMUndoAddingLayers = 3;  // several layers added (paste, duplicate)
inline constexpr std::int32_t kCMUndoRootKeys = 4;      // keys of the root record
inline constexpr std::int32_t kCMUndoLayerKeys = 5;     // keys of one layer record
inline constexpr std::int32_t kCMUndoVisibility = 6;    // as 5, for "visible"
inline constexpr std::int32_t kCMUndoPageSize = 7;      // as 4, for "width" and "height"
inline constexpr std::int32_t kCMUndoStacking = 8;      // stacking order
inline constexpr std::int32_t kCMUndoTransaction = 10;  // the records of one transaction
