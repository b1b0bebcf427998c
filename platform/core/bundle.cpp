#include "platform/core/bundle.h"

#include <string>

namespace platform {

std::string_view bundleName() noexcept { return "Draftwork"; }

std::string_view bundleIdentifier() noexcept { return "org.draftwork.Draftwork"; }

std::int64_t bundleVersion() noexcept { return DRAFTWORK_VERSION_INTEGER; }

std::string_view bundleShortVersionString() noexcept { return DRAFTWORK_VERSION_STRING; }

Value bundleInfoValue(std::string_view key) {
  if (key == "CFBundleName") return Value(bundleName());
  if (key == "CFBundleIdentifier") return Value(bundleIdentifier());
  if (key == "CFBundleVersion") return Value(std::to_string(bundleVersion()));
  if (key == "CFBundleShortVersionString") return Value(bundleShortVersionString());
  if (key == "NSHumanReadableCopyright") return Value("Copyright \u00A9 2026 The Draftwork developers");
  return Value();
}

}  // namespace platform
