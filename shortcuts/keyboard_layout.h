#pragma once

// The user's keyboard layout as the X keyboard extension holds it, read
// through GDK: what a key types at level 0 (no modifiers) of a layout group,
// which group is current, and notice of layout changes. A group is one of the
// layouts the user switches between ("ru,us" has two).

#include <functional>
#include <optional>

namespace shortcuts {

// The key value at level 0 of `group`, with NumLock on when `numLock` (the keypad's digits); nothing for a
// keycode the keyboard does not have.
std::optional<unsigned> levelZeroKeyval(unsigned xKeycode, int group, bool numLock = false);
// The group the user has chosen now (0 where the display cannot say).
int currentKeyboardGroup();
// The first group whose level-0 key value for the key is an ASCII character, if any.
std::optional<int> asciiCapableGroup(unsigned xKeycode);
// Runs `handler` whenever the keymap changes or another group is chosen. For the process's lifetime.
void observeKeyboardLayoutChanges(std::function<void()> handler);
// The spacing accent of a dead key (` ´ ^ ~ ¨ and the like), or 0 for a key value that is not one.
char32_t spacingAccentOfDeadKey(unsigned keyval);

}  // namespace shortcuts
