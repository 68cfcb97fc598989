// Bytes in memory read as the chunk walk's input.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "extractor/byte_source.h"

namespace extractor {

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::uint64_t Size() const override { return bytes_.size(); }
  std::uint64_t Position() const override { return position_; }
  bool Seek(std::uint64_t offset) override {
    if (offset > bytes_.size()) return false;
    position_ = static_cast<std::size_t>(offset);
    return true;
  }
  std::size_t Read(std::uint8_t* out, std::size_t count) override {
    const std::size_t got = std::min(count, bytes_.size() - position_);
    if (got > 0) std::memcpy(out, bytes_.data() + position_, got);
    position_ += got;
    return got;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace extractor
