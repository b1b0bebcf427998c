#pragma once

// The class coders known to keyed archives. Archives take a snapshot of the
// table when they start, so registering during an archive is safe.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/core/keyed_archive.h"

namespace platform {

inline constexpr std::string_view kDictionaryClassName = "NSMutableDictionary";
inline constexpr std::string_view kArrayClassName = "NSMutableArray";

class ClassCoderTable {
 public:
  void add(std::shared_ptr<const ClassCoder> coder);
  void add(std::shared_ptr<const ClassDecoder> decoder);

  // The coder that archives values of this class; null when there is none.
  const ClassCoder* coder(std::string_view className) const;
  // The decoder of this "$classname"; null when there is none.
  const ClassDecoder* decoder(std::string_view className) const;

 private:
  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };
  template <class T>
  using ByName = std::unordered_map<std::string, std::shared_ptr<const T>, StringHash, std::equal_to<>>;

  ByName<ClassCoder> coders_;
  ByName<ClassDecoder> decoders_;
};

// The current table; it starts with the property-list classes.
std::shared_ptr<const ClassCoderTable> classCoders();

}  // namespace platform
