#include "extractor/collision_copy.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace extractor {

CopyResult CopyBytes(ByteSource& source, std::uint64_t count, OutputFile& out) {
  constexpr std::size_t kBlockSize = 64 * 1024;
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::uint64_t>(count, kBlockSize)));
  CopyResult result;
  while (result.copied < count) {
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(count - result.copied, block.size()));
    const std::size_t got = source.Read(block.data(), wanted);
    if (got > 0 && !out.Write(block.data(), got)) {
      result.failure = CopyFailure::kWrite;
      return result;
    }
    result.copied += got;
    if (got < wanted) {
      result.failure = CopyFailure::kRead;
      return result;
    }
  }
  return result;
}

}  // namespace extractor
