#include "dff/output_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace dff {

void OutputStream::StreamTo(std::FILE* file) { file_ = file; }

bool OutputStream::FileFailed(const char* what) {
  Fail(std::string(what) + " the file failed: " +
       (errno != 0 ? std::strerror(errno) : "unknown reason"));
  return false;
}

bool OutputStream::Reserve(std::size_t extra) {
  if (failed_) return false;
  if (static_cast<std::int64_t>(position_) + static_cast<std::int64_t>(extra) > kMaxSize) {
    Fail("the file would be larger than 2 GiB, the most a RenderWare stream can address");
    return false;
  }
  const std::size_t end = position_ + extra - heldFrom_;
  if (end > held_.size()) {
    try {
      held_.resize(end);
    } catch (const std::bad_alloc&) {
      Fail("out of memory while assembling the file");
      return false;
    }
  }
  return true;
}

// Bytes that land before the held ones (a chunk's size written after its
// payload went to the file) are written into the file at their place; the
// file is then put back at the end of what it holds.
bool OutputStream::Patch(const std::uint8_t* data, std::size_t count) {
  errno = 0;
  if (std::fseek(file_, static_cast<long>(position_), SEEK_SET) != 0) return FileFailed("seeking in");
  if (std::fwrite(data, 1, count, file_) != count) return FileFailed("writing");
  if (std::fseek(file_, static_cast<long>(heldFrom_), SEEK_SET) != 0) return FileFailed("seeking in");
  position_ += count;
  return true;
}

bool OutputStream::Flush() {
  if (file_ == nullptr || held_.empty()) return true;
  errno = 0;
  if (std::fwrite(held_.data(), 1, held_.size(), file_) != held_.size()) return FileFailed("writing");
  heldFrom_ += held_.size();
  held_.clear();
  return true;
}

bool OutputStream::WriteByte(std::uint8_t byte) { return WriteBytes(&byte, 1); }

bool OutputStream::WriteBytes(const void* data, std::size_t count) {
  if (count == 0) return !failed_;
  if (failed_) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  if (position_ < heldFrom_) {
    const std::size_t before = std::min(count, heldFrom_ - position_);
    if (!Patch(bytes, before)) return false;
    bytes += before;
    count -= before;
    if (count == 0) return true;
  }
  if (!Reserve(count)) return false;
  std::memcpy(held_.data() + (position_ - heldFrom_), bytes, count);
  position_ += count;
  if (held_.size() >= kFlushAt && position_ == size()) return Flush();
  return true;
}

std::int32_t OutputStream::Tell() const {
  return failed_ ? -1 : static_cast<std::int32_t>(position_);
}

bool OutputStream::SeekRelative(std::int64_t offset) {
  if (failed_) return false;
  const std::int64_t target = static_cast<std::int64_t>(position_) + offset;
  if (target < 0 || target > static_cast<std::int64_t>(size())) {
    Fail("a seek left the bytes written so far");
    return false;
  }
  position_ = static_cast<std::size_t>(target);
  return true;
}

bool OutputStream::Finish() {
  if (failed_ || !Flush()) return false;
  errno = 0;
  if (file_ != nullptr && std::fflush(file_) != 0) return FileFailed("writing");
  return true;
}

void OutputStream::Fail(std::string reason) {
  if (failed_) return;
  failed_ = true;
  error_ = std::move(reason);
}

}  // namespace dff
