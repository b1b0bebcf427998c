#include "platform/core/binary_plist_reader.h"

#include <bit>
#include <cstring>
#include <limits>

#include "platform/core/property_list_errors.h"
#include "platform/core/property_list_text.h"

namespace platform {
namespace {

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailerSize = 32;

Error binaryPlistError(std::string_view what) { return propertyListReadError("binary", what); }

std::uint64_t readBigEndian(const std::uint8_t* p, unsigned size) noexcept {
  // The common widths in one load each: references and offsets are read a lot.
  if constexpr (std::endian::native == std::endian::little) {
    if (size == 4) {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return __builtin_bswap32(v);
    }
    if (size == 8) {
      std::uint64_t v;
      std::memcpy(&v, p, 8);
      return __builtin_bswap64(v);
    }
  }
  std::uint64_t v = 0;
  for (unsigned k = 0; k < size; ++k) v = (v << 8) | p[k];
  return v;
}

// One object being parsed: a cursor that never passes the end of the object area.
class ObjectParser {
 public:
  ObjectParser(std::span<const std::uint8_t> area, std::uint64_t at) : area_(area), at_(at) {}

  Expected<BinaryObject> parse(unsigned referenceSize, std::uint64_t objectCount) {
    const std::uint8_t marker = area_[at_++];
    const unsigned type = marker >> 4;
    const unsigned info = marker & 0x0F;
    BinaryObject object;
    switch (type) {
      case 0x0:
        if (info == 0x0) return object;
        if (info == 0x8 || info == 0x9) {
          object.kind = BinaryObjectKind::Bool;
          object.boolean = info == 0x9;
          return object;
        }
        break;
      case 0x1: {
        if (info > 4) break;
        object.kind = BinaryObjectKind::Integer;
        if (auto status = readInteger(info, object.integer); !status) return status.error();
        return object;
      }
      case 0x2:
      case 0x3: {
        const bool isDate = type == 0x3;
        if (isDate ? info != 3 : (info != 2 && info != 3)) break;
        const unsigned size = 1u << info;
        if (!have(size)) return truncated();
        const std::uint64_t bits = readBigEndian(area_.data() + at_, size);
        object.kind = isDate ? BinaryObjectKind::Date : BinaryObjectKind::Real;
        object.real32 = size == 4;
        object.real =
            size == 4 ? double{std::bit_cast<float>(static_cast<std::uint32_t>(bits))} : std::bit_cast<double>(bits);
        return object;
      }
      case 0x4:
      case 0x5:
      case 0x6: {
        object.kind = type == 0x4   ? BinaryObjectKind::Data
                      : type == 0x5 ? BinaryObjectKind::AsciiString
                                    : BinaryObjectKind::Utf16String;
        if (auto status = readCount(info, object.count); !status) return status.error();
        const std::uint64_t unitSize = type == 0x6 ? 2 : 1;
        if (object.count > remaining() / unitSize) return truncated();
        object.payload = area_.subspan(at_, object.count * unitSize);
        if (object.kind == BinaryObjectKind::AsciiString && !isAscii(payloadText(object))) {
          return binaryPlistError("an ASCII string holds a byte above 127");
        }
        return object;
      }
      case 0x8: {
        const unsigned size = info + 1;
        if (size > 8) return binaryPlistError("a UID wider than 64 bits");
        if (!have(size)) return truncated();
        object.kind = BinaryObjectKind::Uid;
        object.uid = readBigEndian(area_.data() + at_, size);
        return object;
      }
      case 0xA:
      case 0xD: {
        object.kind = type == 0xA ? BinaryObjectKind::Array : BinaryObjectKind::Dictionary;
        if (auto status = readCount(info, object.count); !status) return status.error();
        const std::uint64_t perEntry = (type == 0xA ? 1u : 2u) * referenceSize;
        if (object.count > remaining() / perEntry) return truncated();
        object.payload = area_.subspan(at_, object.count * perEntry);
        for (std::size_t k = 0; k < object.payload.size(); k += referenceSize) {
          if (readBigEndian(object.payload.data() + k, referenceSize) >= objectCount) {
            return binaryPlistError("an object reference past the end of the object table");
          }
        }
        return object;
      }
      default: break;
    }
    return binaryPlistError("unknown object marker 0x" + hex(marker));
  }

 private:
  static std::string hex(std::uint8_t byte) {
    constexpr char digits[] = "0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 0x0F]};
  }
  static std::string_view payloadText(const BinaryObject& object) {
    return {reinterpret_cast<const char*>(object.payload.data()), object.payload.size()};
  }
  std::uint64_t remaining() const noexcept { return area_.size() - at_; }
  bool have(std::uint64_t n) const noexcept { return n <= remaining(); }
  static Error truncated() { return binaryPlistError("an object runs past the end of the object area"); }

  // 1, 2 and 4 byte integers are unsigned, 8 byte ones signed; 16 byte ones
  // are accepted when they fit in 64 bits.
  Status readInteger(unsigned sizeLog2, std::int64_t& out) {
    const unsigned size = 1u << sizeLog2;
    if (!have(size)) return truncated();
    const std::uint8_t* p = area_.data() + at_;
    at_ += size;
    if (size < 16) {
      out = static_cast<std::int64_t>(readBigEndian(p, size));
      return success();
    }
    const std::uint64_t high = readBigEndian(p, 8);
    const std::uint64_t low = readBigEndian(p + 8, 8);
    const bool lowIsNegative = low > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (high != (lowIsNegative ? ~std::uint64_t{0} : 0)) return binaryPlistError("an integer wider than 64 bits");
    out = static_cast<std::int64_t>(low);
    return success();
  }

  // Counts of 15 and more follow the marker as an integer object.
  Status readCount(unsigned info, std::uint64_t& count) {
    if (info != 0x0F) {
      count = info;
      return success();
    }
    if (!have(1)) return truncated();
    const std::uint8_t marker = area_[at_++];
    if ((marker >> 4) != 0x1 || (marker & 0x0F) > 3) return binaryPlistError("a count that is not an integer");
    const unsigned size = 1u << (marker & 0x0F);
    if (!have(size)) return truncated();
    count = readBigEndian(area_.data() + at_, size);
    at_ += size;
    return success();
  }

  std::span<const std::uint8_t> area_;
  std::uint64_t at_;
};

}  // namespace

Expected<BinaryPlistReader> BinaryPlistReader::open(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kMagic.size() + kTrailerSize) return binaryPlistError("the file is too short");
  if (!isBinaryPropertyList(bytes)) return binaryPlistError("the header is wrong");
  BinaryPlistReader reader(bytes);
  const std::uint8_t* trailer = bytes.data() + bytes.size() - kTrailerSize;
  reader.offsetSize_ = trailer[6];
  reader.referenceSize_ = trailer[7];
  reader.objectCount_ = readBigEndian(trailer + 8, 8);
  reader.topIndex_ = readBigEndian(trailer + 16, 8);
  reader.offsetTableOffset_ = readBigEndian(trailer + 24, 8);
  if (reader.offsetSize_ < 1 || reader.offsetSize_ > 8 || reader.referenceSize_ < 1 || reader.referenceSize_ > 8) {
    return binaryPlistError("the trailer gives an impossible integer size");
  }
  const std::uint64_t tableEnd = bytes.size() - kTrailerSize;
  if (reader.objectCount_ == 0 || reader.objectCount_ > tableEnd) {
    return binaryPlistError("the trailer gives an impossible object count");
  }
  if (reader.topIndex_ >= reader.objectCount_) return binaryPlistError("the top object is not in the object table");
  // The count is at most the file size, so the table size cannot overflow.
  const std::uint64_t tableSize = reader.objectCount_ * reader.offsetSize_;
  if (reader.offsetTableOffset_ < kMagic.size() || reader.offsetTableOffset_ > tableEnd ||
      tableSize > tableEnd - reader.offsetTableOffset_) {
    return binaryPlistError("the offset table lies outside the file");
  }
  for (std::uint64_t index = 0; index < reader.objectCount_; ++index) {
    const std::uint64_t offset = reader.offsetOf(index);
    if (offset < kMagic.size() || offset >= reader.offsetTableOffset_) {
      return binaryPlistError("an object offset lies outside the object area");
    }
  }
  return reader;
}

std::uint64_t BinaryPlistReader::offsetOf(std::uint64_t index) const noexcept {
  return readBigEndian(bytes_.data() + offsetTableOffset_ + index * offsetSize_, offsetSize_);
}

Expected<BinaryObject> BinaryPlistReader::object(std::uint64_t index) const {
  if (index >= objectCount_) return binaryPlistError("an object reference past the end of the object table");
  ObjectParser parser(bytes_.first(offsetTableOffset_), offsetOf(index));
  return parser.parse(referenceSize_, objectCount_);
}

Expected<std::uint64_t> BinaryPlistReader::uid(std::uint64_t index) const {
  if (index >= objectCount_) return binaryPlistError("an object reference past the end of the object table");
  const std::uint64_t offset = offsetOf(index);
  const std::uint8_t marker = bytes_[offset];
  if ((marker >> 4) != 0x8) return binaryPlistError("an object that should be a UID is not");
  const unsigned size = (marker & 0x0F) + 1u;
  if (size > 8) return binaryPlistError("a UID wider than 64 bits");
  if (size > offsetTableOffset_ - offset - 1) return binaryPlistError("an object runs past the end of the object area");
  return readBigEndian(bytes_.data() + offset + 1, size);
}

std::uint64_t BinaryPlistReader::reference(const BinaryObject& container, std::uint64_t i) const noexcept {
  return readBigEndian(container.payload.data() + i * referenceSize_, referenceSize_);
}

bool isBinaryPropertyList(std::span<const std::uint8_t> bytes) noexcept {
  return bytes.size() >= kMagic.size() && std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) == 0;
}

std::string stringOf(const BinaryObject& string) {
  if (string.kind == BinaryObjectKind::Utf16String) {
    std::string text;
    appendUtf8FromUtf16BigEndian(string.payload, text);
    return text;
  }
  return {reinterpret_cast<const char*>(string.payload.data()), string.payload.size()};
}

bool stringEquals(const BinaryObject& string, std::string_view text) {
  if (string.kind == BinaryObjectKind::AsciiString) {
    return text.size() == string.payload.size() && std::memcmp(text.data(), string.payload.data(), text.size()) == 0;
  }
  return string.kind == BinaryObjectKind::Utf16String && stringOf(string) == text;
}

Value scalarValue(const BinaryObject& object) {
  switch (object.kind) {
    case BinaryObjectKind::Bool: return Value(object.boolean);
    case BinaryObjectKind::Integer: return Value(object.integer);
    case BinaryObjectKind::Real: return object.real32 ? Value::real32(object.real) : Value(object.real);
    case BinaryObjectKind::Date: return Value(object.real);
    case BinaryObjectKind::Data: return Value(Bytes(object.payload.begin(), object.payload.end()));
    case BinaryObjectKind::AsciiString:
    case BinaryObjectKind::Utf16String: return Value(stringOf(object));
    default: return Value();
  }
}

}  // namespace platform
