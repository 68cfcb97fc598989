// The input the chunk walk reads: a file in brasko, bytes in memory in the
// tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace extractor {

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // The length of the input, fixed when it was opened.  The walk checks
  // every chunk against it before reading or skipping.
  virtual std::uint64_t Size() const = 0;
  virtual std::uint64_t Position() const = 0;
  // Moves to `offset`, which is at most Size().  False when that failed.
  virtual bool Seek(std::uint64_t offset) = 0;
  // Reads up to `count` bytes and returns how many it read: fewer only at
  // the end of the input or on a read error.
  virtual std::size_t Read(std::uint8_t* out, std::size_t count) = 0;
};

}  // namespace extractor
