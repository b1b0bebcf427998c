// Shortcut values from outside (the hand-editable defaults file, archives):
// whatever the bytes, the recorder's autosave loader, its "value" conversion,
// the dictionary transformer and the archive decoders give an empty result or
// one whose flags stay inside the modifiers they allow.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/core/folders.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/property_list.h"
#include "platform/core/user_defaults.h"
#include "shortcuts/KRRecorderCell.h"
#include "shortcuts/KRRecorderControl.h"
#include "shortcuts/KSDictionaryTransformer.h"
#include "shortcuts/KSShortcut.h"

namespace {

constexpr std::uint64_t kCellFlags = 0x9E0000;
constexpr std::uint64_t kShortcutFlags = 0x1E0000;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz_shortcut_values: %s\n", what);
  std::abort();
}

void checkCell(const KRRecorderCell& cell) {
  const KRKeyCombo combo = cell.keyCombo();
  if (combo.flags & ~kCellFlags) fail("a recorder combination kept flags it does not allow");
}

void checkShortcut(const platform::Value& value) {
  if (value.isNil()) return;
  const KSShortcut* shortcut = KSShortcut::in(value);
  if (!shortcut) fail("a shortcut reader gave something that is not a shortcut");
  if (shortcut->modifierFlags() & ~kShortcutFlags) fail("a shortcut kept flags beyond the four modifiers");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The defaults live in memory only, under a folder of the fuzzer's own.
  static const std::filesystem::path folder = std::filesystem::temp_directory_path() / "draftwork-fuzz-shortcuts";
  platform::overrideFoldersRoot(folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace platform;
  const Bytes bytes(data, data + size);

  // An archive: a shortcut, a recorder cell or anything else.
  if (const Expected<Value> archived = unarchiveObjectWithData(bytes)) {
    const Value& root = archived.value();
    if (KSShortcut::in(root)) checkShortcut(root);
    if (const auto* cell = dynamic_cast<const KRRecorderCell*>(root.object().get())) checkCell(*cell);
  }

  const Expected<Value> value = propertyListFromData(bytes);
  if (!value) return 0;

  // The autosave loader, as a cell decoded from an interface description runs it.
  UserDefaults::standardUserDefaults().setObject(value.value(), "KeyRecorder Fuzz");
  auto cell = std::make_shared<KRRecorderCell>();
  cell->setAutosaveName("Fuzz");
  cell->loadCombo();
  checkCell(*cell);

  // The recorder's "value" as a binding or a caller hands it over.
  cell->setKeyCombo(KRRecorderControl::keyComboForObjectValue(value.value()));
  checkCell(*cell);

  // The shortcut's dictionary form, and back.
  const KSDictionaryTransformer transformer;
  const Value shortcut = transformer.transformedValue(value.value());
  checkShortcut(shortcut);
  if (!shortcut.isNil()) {
    const Value again = transformer.transformedValue(transformer.reverseTransformedValue(shortcut));
    if (!KSShortcut::in(again) || !(*KSShortcut::in(again) == *KSShortcut::in(shortcut))) {
      fail("a shortcut's dictionary form does not read back as the same shortcut");
    }
  }
  return 0;
}
