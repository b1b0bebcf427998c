// Writes a random document as a keyed archive plus a tagged JSON description
// of the same tree, for verify_archive.py to compare.
//
// usage: archive_oracle_writer SEED ARCHIVE_OUT JSON_OUT [--corrupt=KIND]
// KIND is real-width, real-bits, bool-int or shared-split: the JSON then lies
// once in that way while the archive stays true.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

#include "platform/core/keyed_archive.h"
#include "random_document.h"
#include "tagged_json.h"

namespace {

using platform::JsonCorruption;

bool parseCorruption(std::string_view argument, JsonCorruption& corruption) {
  static const std::map<std::string_view, JsonCorruption> kKinds = {{"real-width", JsonCorruption::RealWidth},
                                                                     {"real-bits", JsonCorruption::RealBits},
                                                                     {"bool-int", JsonCorruption::BoolAsInt},
                                                                     {"shared-split", JsonCorruption::SharedSplit}};
  constexpr std::string_view prefix = "--corrupt=";
  if (!argument.starts_with(prefix)) return false;
  const auto found = kKinds.find(argument.substr(prefix.size()));
  if (found == kKinds.end()) return false;
  corruption = found->second;
  return true;
}

bool parseSeed(std::string_view argument, std::uint64_t& seed) {
  const char* end = argument.data() + argument.size();
  const auto [stop, error] = std::from_chars(argument.data(), end, seed);
  return error == std::errc() && stop == end;
}

bool writeFile(const char* path, const void* bytes, std::size_t length) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(length));
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t seed = 0;
  JsonCorruption corruption = JsonCorruption::None;
  const bool argumentsOk =
      (argc == 4 || (argc == 5 && parseCorruption(argv[4], corruption))) && parseSeed(argv[1], seed);
  if (!argumentsOk) {
    std::fprintf(stderr, "usage: %s SEED ARCHIVE_OUT JSON_OUT [--corrupt=real-width|real-bits|bool-int|shared-split]\n",
                 argv[0]);
    return 2;
  }

  const platform::Value document(platform::makeRandomDocument(seed));
  const platform::Bytes archive = platform::archivedDataWithRootObject(document);
  const platform::TaggedJson json = platform::taggedJson(document, corruption);
  if (corruption != JsonCorruption::None && !json.corrupted) {
    std::fprintf(stderr, "seed %s has nothing the requested corruption could change\n", argv[1]);
    return 2;
  }
  if (!writeFile(argv[2], archive.data(), archive.size()) || !writeFile(argv[3], json.text.data(), json.text.size())) {
    std::perror("archive_oracle_writer");
    return 1;
  }
  return 0;
}
