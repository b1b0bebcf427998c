#pragma once

// The fuzzer's bytes read one at a time; past the end every byte reads 0, so any input decodes to something.

#include <cstddef>
#include <cstdint>

class FuzzByteReader {
 public:
  FuzzByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};
