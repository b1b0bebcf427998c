#pragma once

// Tool tags and the key-binding table's tool key ids: tags 0–5 are ids 1–6,
// tags 8–16 ids 7–15; tags 6, 7 and 17 have no key.

// The tool key id of a tag, 0 for a tag without one.
constexpr int toolKeyIdForTag(int tag) {
  constexpr unsigned kKeyedTags = 0x1FF3F;
  if (tag < 0 || tag >= 17 || ((kKeyedTags >> tag) & 1u) == 0) return 0;
  return tag < 6 ? tag + 1 : tag - 1;
}

// The tool tag of a key id, -1 for an id outside 1…15.
constexpr int toolTagForKeyId(int keyId) {
  if (keyId < 1 || keyId > 15) return -1;
  return keyId <= 6 ? keyId - 1 : keyId + 1;
}
