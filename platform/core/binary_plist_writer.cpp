#include "platform/core/binary_plist_writer.h"

#include <algorithm>
#include <bit>

#include "platform/core/property_list_text.h"

namespace platform {
namespace {

constexpr std::string_view kMagic = "bplist00";

// The smallest of 1, 2, 4 and 8 bytes that holds the value.
unsigned byteWidth(std::uint64_t value) noexcept {
  if (value <= 0xFF) return 1;
  if (value <= 0xFFFF) return 2;
  if (value <= 0xFFFFFFFF) return 4;
  return 8;
}

unsigned log2OfWidth(unsigned width) noexcept { return static_cast<unsigned>(std::countr_zero(width)); }

}  // namespace

BinaryPlistWriter::BinaryPlistWriter() : out_(kMagic.begin(), kMagic.end()) {}

BinaryPlistWriter::Ref BinaryPlistWriter::beginScalar() {
  offsets_.push_back(out_.size());
  return offsets_.size() - 1;
}

void BinaryPlistWriter::appendBigEndian(std::uint64_t value, unsigned size) {
  for (unsigned k = size; k-- > 0;) out_.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

void BinaryPlistWriter::appendMarker(std::uint8_t type, std::uint64_t count) {
  if (count < 0x0F) {
    out_.push_back(static_cast<std::uint8_t>(type << 4 | count));
    return;
  }
  out_.push_back(static_cast<std::uint8_t>(type << 4 | 0x0F));
  const unsigned width = byteWidth(count);
  out_.push_back(static_cast<std::uint8_t>(0x10 | log2OfWidth(width)));
  appendBigEndian(count, width);
}

BinaryPlistWriter::Ref BinaryPlistWriter::addBool(bool value) {
  Ref& cached = value ? true_ : false_;
  if (cached == kNone) {
    cached = beginScalar();
    out_.push_back(value ? 0x09 : 0x08);
  }
  return cached;
}

BinaryPlistWriter::Ref BinaryPlistWriter::addInteger(std::int64_t value) {
  auto [it, inserted] = integers_.try_emplace(value, kNone);
  if (!inserted) return it->second;
  it->second = beginScalar();
  // Negative numbers and anything past 32 bits take the signed 8-byte form.
  const auto bits = static_cast<std::uint64_t>(value);
  const unsigned width = value < 0 ? 8 : byteWidth(bits);
  out_.push_back(static_cast<std::uint8_t>(0x10 | log2OfWidth(width)));
  appendBigEndian(bits, width);
  return it->second;
}

BinaryPlistWriter::Ref BinaryPlistWriter::addReal(double value, bool real32) {
  if (real32) {
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
    auto [it, inserted] = reals32_.try_emplace(bits, kNone);
    if (!inserted) return it->second;
    it->second = beginScalar();
    out_.push_back(0x22);
    appendBigEndian(bits, 4);
    return it->second;
  }
  const auto bits = std::bit_cast<std::uint64_t>(value);
  auto [it, inserted] = reals64_.try_emplace(bits, kNone);
  if (!inserted) return it->second;
  it->second = beginScalar();
  out_.push_back(0x23);
  appendBigEndian(bits, 8);
  return it->second;
}

BinaryPlistWriter::Ref BinaryPlistWriter::addString(std::string_view utf8) {
  if (auto it = strings_.find(utf8); it != strings_.end()) return it->second;
  const Ref ref = beginScalar();
  strings_.emplace(utf8, ref);
  if (isAscii(utf8)) {
    appendMarker(0x5, utf8.size());
    out_.insert(out_.end(), utf8.begin(), utf8.end());
  } else {
    utf16_.clear();
    appendMarker(0x6, appendUtf16BigEndianFromUtf8(utf8, utf16_));
    out_.insert(out_.end(), utf16_.begin(), utf16_.end());
  }
  return ref;
}

BinaryPlistWriter::Ref BinaryPlistWriter::addData(std::span<const std::uint8_t> bytes) {
  const Ref ref = beginScalar();
  appendMarker(0x4, bytes.size());
  out_.insert(out_.end(), bytes.begin(), bytes.end());
  return ref;
}

BinaryPlistWriter::Ref BinaryPlistWriter::addUid(std::uint64_t uid) {
  // Archives number their UIDs densely from 0, so a vector indexed by value
  // uniques them without hashing; a value far beyond the objects written so
  // far is written without uniquing rather than growing the vector.
  const bool dense = uid <= offsets_.size() + kDenseUidSlack;
  if (dense && uid < uids_.size() && uids_[uid] != kNone) return uids_[uid];
  const Ref ref = beginScalar();
  const unsigned width = byteWidth(uid);
  out_.push_back(static_cast<std::uint8_t>(0x80 | (width - 1)));
  appendBigEndian(uid, width);
  if (dense) {
    if (uid >= uids_.size()) uids_.resize(uid + 1, kNone);
    uids_[uid] = ref;
  }
  return ref;
}

BinaryPlistWriter::Ref BinaryPlistWriter::beginContainer(std::uint8_t type, std::uint64_t count,
                                                         std::size_t referenceCount) {
  offsets_.push_back(0);
  containers_.push_back({offsets_.size() - 1, type, count, references_.size(), referenceCount});
  return offsets_.size() - 1;
}

BinaryPlistWriter::Ref BinaryPlistWriter::addArray(std::span<const Ref> elements) {
  const Ref ref = beginContainer(0xA, elements.size(), elements.size());
  references_.insert(references_.end(), elements.begin(), elements.end());
  return ref;
}

BinaryPlistWriter::Ref BinaryPlistWriter::addDictionary(std::span<const Entry> entries) {
  const Ref ref = beginContainer(0xD, entries.size(), 2 * entries.size());
  for (const Entry& entry : entries) references_.push_back(entry.key);
  for (const Entry& entry : entries) references_.push_back(entry.value);
  return ref;
}

Bytes BinaryPlistWriter::finish(Ref top) {
  const unsigned referenceSize = byteWidth(offsets_.empty() ? 0 : offsets_.size() - 1);
  std::size_t containerBytes = 0;
  for (const PendingContainer& c : containers_) containerBytes += 10 + c.referenceCount * referenceSize;
  out_.reserve(out_.size() + containerBytes + 8 * offsets_.size() + 32);

  for (const PendingContainer& c : containers_) {
    offsets_[c.index] = out_.size();
    appendMarker(c.type, c.count);
    for (std::size_t k = 0; k < c.referenceCount; ++k) {
      appendBigEndian(references_[c.firstReference + k], referenceSize);
    }
  }

  const std::uint64_t offsetTableOffset = out_.size();
  std::uint64_t largestOffset = 0;
  for (std::uint64_t offset : offsets_) largestOffset = std::max(largestOffset, offset);
  const unsigned offsetSize = byteWidth(largestOffset);
  for (std::uint64_t offset : offsets_) appendBigEndian(offset, offsetSize);

  out_.insert(out_.end(), 6, 0);
  out_.push_back(static_cast<std::uint8_t>(offsetSize));
  out_.push_back(static_cast<std::uint8_t>(referenceSize));
  appendBigEndian(offsets_.size(), 8);
  appendBigEndian(top, 8);
  appendBigEndian(offsetTableOffset, 8);
  return std::move(out_);
}

}  // namespace platform
