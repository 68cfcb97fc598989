// The seekable byte stream the chunk writer produces a DFF into.
//
// By default the whole file is assembled in memory (tests and tools read it
// back from bytes()).  Given a file with StreamTo, the stream keeps only the
// bytes written since its last flush and hands everything before them to
// the file as it goes, so a large model never sits in memory twice; the
// size patches of the chunk framing that land on bytes already handed over
// are written into the file where they belong.  Failures are sticky: the
// first one is kept with its reason and every later write is ignored, so
// whoever owns the stream learns of it before reporting anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace dff {

class OutputStream {
 public:
  // Positions, and so chunk sizes, are signed 32-bit offsets.
  static constexpr std::int64_t kMaxSize = 0x7FFFFFFF;

  // From now on the bytes go to `file` (seekable, open for writing, empty),
  // which the caller keeps open until Finish() and then closes.  Call
  // before the first write.
  void StreamTo(std::FILE* file);

  bool WriteByte(std::uint8_t byte);
  bool WriteBytes(const void* data, std::size_t count);

  // The current position, or -1 once the stream has failed.
  std::int32_t Tell() const;
  // Moves the position relative to where it is; it must stay within the
  // bytes written so far.
  bool SeekRelative(std::int64_t offset);

  // Hands the bytes still held to the file, if there is one, and flushes
  // it.  False when the stream has failed, now or before.
  bool Finish();

  // Records a failure from outside (a source that could not be read, say)
  // unless an earlier one is already recorded.
  void Fail(std::string reason);
  bool failed() const { return failed_; }
  const std::string& error() const { return error_; }

  // The whole stream when it is kept in memory; with a file, only the bytes
  // not yet handed to it.
  const std::vector<std::uint8_t>& bytes() const { return held_; }
  // The length of the stream, whether held or handed to a file.
  std::size_t size() const { return heldFrom_ + held_.size(); }

 private:
  // The held bytes are handed over once they reach this many.
  static constexpr std::size_t kFlushAt = 1 << 20;

  bool Reserve(std::size_t extra);
  bool Patch(const std::uint8_t* data, std::size_t count);
  bool Flush();
  bool FileFailed(const char* what);

  std::FILE* file_ = nullptr;
  // Bytes [heldFrom_, size()) of the stream; those before are in file_.
  std::vector<std::uint8_t> held_;
  std::size_t heldFrom_ = 0;
  std::size_t position_ = 0;
  bool failed_ = false;
  std::string error_;
};

}  // namespace dff
