#include "dff/output_stream.h"

#include <cstring>
#include <new>

namespace dff {

bool OutputStream::Reserve(std::size_t extra) {
  if (failed_) return false;
  if (static_cast<std::int64_t>(position_) + static_cast<std::int64_t>(extra) > kMaxSize) {
    Fail("the file would be larger than 2 GiB, the most a RenderWare stream can address");
    return false;
  }
  const std::size_t end = position_ + extra;
  if (end > bytes_.size()) {
    try {
      bytes_.resize(end);
    } catch (const std::bad_alloc&) {
      Fail("out of memory while assembling the file");
      return false;
    }
  }
  return true;
}

bool OutputStream::WriteByte(std::uint8_t byte) {
  if (!Reserve(1)) return false;
  bytes_[position_++] = byte;
  return true;
}

bool OutputStream::WriteBytes(const void* data, std::size_t count) {
  if (count == 0) return !failed_;
  if (!Reserve(count)) return false;
  std::memcpy(bytes_.data() + position_, data, count);
  position_ += count;
  return true;
}

std::int32_t OutputStream::Tell() const {
  return failed_ ? -1 : static_cast<std::int32_t>(position_);
}

bool OutputStream::SeekRelative(std::int64_t offset) {
  if (failed_) return false;
  const std::int64_t target = static_cast<std::int64_t>(position_) + offset;
  if (target < 0 || target > static_cast<std::int64_t>(bytes_.size())) {
    Fail("a seek left the bytes written so far");
    return false;
  }
  position_ = static_cast<std::size_t>(target);
  return true;
}

void OutputStream::Fail(std::string reason) {
  if (failed_) return;
  failed_ = true;
  error_ = std::move(reason);
}

}  // namespace dff
