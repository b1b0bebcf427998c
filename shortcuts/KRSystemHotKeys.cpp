#include "shortcuts/KRSystemHotKeys.h"

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <string_view>
#include <utility>

#include "platform/ui/gdk_event_translation.h"
#include "platform/ui/key_translation.h"
#include "shortcuts/KRCommon.h"

namespace {

// Where desktops keep their shortcuts; schemas that are not installed are passed over.
constexpr const char* kKeybindingSchemas[] = {
    "org.gnome.desktop.wm.keybindings",
    "org.gnome.shell.keybindings",
    "org.gnome.settings-daemon.plugins.media-keys",
};

KRSystemHotKeys::Provider& provider() {
  static KRSystemHotKeys::Provider installed;
  return installed;
}

// One accelerator ("<Super>k") as a hot key; nothing for one that does not parse or has no key here.
std::optional<KRSystemHotKey> hotKeyFromAccelerator(std::string_view accelerator) {
  if (accelerator.empty() || accelerator == "disabled") return std::nullopt;
  guint keyval = 0;
  GdkModifierType modifiers{};
  gtk_accelerator_parse(std::string(accelerator).c_str(), &keyval, &modifiers);
  GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  if (keyval == 0 || !keymap || !gdk_keymap_get_entries_for_keyval(keymap, keyval, &keys, &count)) return std::nullopt;
  // The key that types it with the fewest modifiers; one at the shifted level implies Shift.
  gint best = 0;
  for (gint i = 1; i < count; ++i) {
    if (keys[i].level < keys[best].level) best = i;
  }
  const std::uint16_t code = platform::macKeyCodeForXKeycode(keys[best].keycode);
  const bool shifted = keys[best].level == 1;
  g_free(keys);
  if (code == platform::UnknownKeyCode) return std::nullopt;
  std::uint32_t carbon = KRCocoaToCarbonFlags(platform::modifierFlagsFromGdk(modifiers));
  if (shifted) carbon |= kr_flags::CarbonShift;
  return KRSystemHotKey{static_cast<std::int16_t>(code), static_cast<std::int32_t>(carbon), true};
}

void addAccelerators(GSettings* settings, GSettingsSchema* schema, std::vector<KRSystemHotKey>& list) {
  gchar** keys = g_settings_schema_list_keys(schema);
  for (gchar** key = keys; key && *key; ++key) {
    GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, *key);
    const GVariantType* type = g_settings_schema_key_get_value_type(schemaKey);
    if (g_variant_type_equal(type, G_VARIANT_TYPE_STRING_ARRAY)) {
      gchar** accelerators = g_settings_get_strv(settings, *key);
      for (gchar** accelerator = accelerators; accelerator && *accelerator; ++accelerator) {
        if (auto hotKey = hotKeyFromAccelerator(*accelerator)) list.push_back(*hotKey);
      }
      g_strfreev(accelerators);
    } else if (g_variant_type_equal(type, G_VARIANT_TYPE_STRING)) {
      gchar* accelerator = g_settings_get_string(settings, *key);
      if (auto hotKey = hotKeyFromAccelerator(accelerator)) list.push_back(*hotKey);
      g_free(accelerator);
    }
    g_settings_schema_key_unref(schemaKey);
  }
  g_strfreev(keys);
}

KRSystemHotKeys::List desktopHotKeys() {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (!source) return std::nullopt;
  std::vector<KRSystemHotKey> list;
  bool anySchema = false;
  for (const char* id : kKeybindingSchemas) {
    // Looked up first: GSettings aborts the program on a schema that is not installed.
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, id, TRUE);
    if (!schema) continue;
    anySchema = true;
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    addAccelerators(settings, schema, list);
    g_object_unref(settings);
    g_settings_schema_unref(schema);
  }
  if (!anySchema) return std::nullopt;
  return list;
}

}  // namespace

KRSystemHotKeys::List KRSystemHotKeys::copy() { return provider() ? provider()() : desktopHotKeys(); }

void KRSystemHotKeys::setProvider(Provider replacement) { provider() = std::move(replacement); }
