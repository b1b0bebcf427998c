#include "tagged_json.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

namespace platform {
namespace {

class TaggedJsonWriter {
 public:
  explicit TaggedJsonWriter(JsonCorruption corruption) : corruption_(corruption) {}

  TaggedJson write(const Value& root) {
    node(root);
    return {std::move(out_), corrupted_};
  }

 private:
  // Applies the corruption once, at its first chance.
  bool corruptNow(JsonCorruption kind) {
    if (corruption_ != kind || corrupted_) return false;
    corrupted_ = true;
    return true;
  }

  void node(const Value& value) {
    switch (value.kind()) {
      case Value::Kind::Bool:
        if (corruptNow(JsonCorruption::BoolAsInt)) {
          out_ += value.boolValue() ? R"({"t":"int","v":1})" : R"({"t":"int","v":0})";
        } else {
          out_ += value.boolValue() ? R"({"t":"bool","v":true})" : R"({"t":"bool","v":false})";
        }
        break;
      case Value::Kind::Integer: out_ += R"({"t":"int","v":)" + std::to_string(value.integerValue()) + "}"; break;
      case Value::Kind::Real: real(value); break;
      case Value::Kind::String:
        out_ += R"({"t":"string","v":)";
        string(value.string());
        out_ += "}";
        break;
      case Value::Kind::Data: data(value.data()); break;
      case Value::Kind::Array: array(*value.array()); break;
      case Value::Kind::Dictionary: dictionary(*value.dictionary()); break;
      case Value::Kind::Nil:
      case Value::Kind::Object: out_ += R"({"t":"unsupported"})"; break;
    }
  }

  void real(const Value& value) {
    double d = value.doubleValue();
    bool is32 = value.isReal32();
    if (is32 && corruptNow(JsonCorruption::RealWidth)) is32 = false;
    if (!is32 && std::isfinite(d) && corruptNow(JsonCorruption::RealBits)) {
      d = std::bit_cast<double>(std::bit_cast<std::uint64_t>(d) ^ 1);
    }
    char hex[64];
    std::snprintf(hex, sizeof hex, "%a", d);
    out_ += is32 ? R"({"t":"real32","v":")" : R"({"t":"real64","v":")";
    out_ += hex;
    out_ += "\"}";
  }

  void data(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out_ += R"({"t":"data","v":")";
    for (std::uint8_t byte : bytes) {
      out_ += kDigits[byte >> 4];
      out_ += kDigits[byte & 0xf];
    }
    out_ += "\"}";
  }

  // UTF-8 passes through; JSON only needs quotes, backslashes and controls escaped.
  void string(const std::string& text) {
    out_ += '"';
    for (char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        out_ += '\\';
        out_ += c;
      } else if (byte < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
        out_ += escaped;
      } else {
        out_ += c;
      }
    }
    out_ += '"';
  }

  std::string containerId(const void* container) {
    auto [it, added] = ids_.try_emplace(container, nextId_);
    if (added) {
      ++nextId_;
    } else if (corruptNow(JsonCorruption::SharedSplit)) {
      return std::to_string(nextId_++);
    }
    return std::to_string(it->second);
  }

  void array(const Array& array) {
    out_ += R"({"t":"array","id":)" + containerId(&array) + R"(,"v":[)";
    bool first = true;
    for (const Value& element : array) {
      if (!first) out_ += ',';
      first = false;
      node(element);
    }
    out_ += "]}";
  }

  void dictionary(const Dictionary& dictionary) {
    out_ += R"({"t":"dict","id":)" + containerId(&dictionary) + R"(,"v":[)";
    bool first = true;
    for (const auto& [key, element] : dictionary) {
      if (!first) out_ += ',';
      first = false;
      out_ += '[';
      string(key);
      out_ += ',';
      node(element);
      out_ += ']';
    }
    out_ += "]}";
  }

  JsonCorruption corruption_;
  bool corrupted_ = false;
  std::string out_;
  std::unordered_map<const void*, int> ids_;
  int nextId_ = 1;
};

}  // namespace

TaggedJson taggedJson(const Value& root, JsonCorruption corruption) {
  return TaggedJsonWriter(corruption).write(root);
}

}  // namespace platform
