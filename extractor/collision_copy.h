// Copies a collision chunk's payload from the DFF into its COL file.
#pragma once

#include <cstdint>

#include "extractor/byte_source.h"
#include "extractor/file_io.h"

namespace extractor {

enum class CopyFailure {
  kNone,
  kRead,   // the input gave fewer bytes than it was asked for
  kWrite,  // the output refused bytes; its error() says why
};

struct CopyResult {
  std::uint64_t copied = 0;
  CopyFailure failure = CopyFailure::kNone;
};

// Copies exactly `count` bytes from the source's position into `out`, in
// blocks of bounded size whatever `count` says.
CopyResult CopyBytes(ByteSource& source, std::uint64_t count, OutputFile& out);

}  // namespace extractor
