// The walk over a DFF's chunk tree that finds its collision records.
#pragma once

#include <cstdint>
#include <string>

#include "dff/chunk_type.h"
#include "extractor/byte_source.h"

namespace extractor {

struct CollisionChunk {
  std::uint64_t headerOffset = 0;
  dff::ChunkHeader header;
  // Payload bytes present in the input: header.size, or fewer when the
  // input ends inside the chunk.
  std::uint64_t available = 0;

  bool Complete() const { return available == header.size; }
};

class CollisionSink {
 public:
  virtual ~CollisionSink() = default;
  // Called for each collision chunk the walk reaches, in file order, with
  // `source` on the chunk's first payload byte.  The sink may read up to
  // `chunk.available` bytes; the walk goes on from the chunk's end however
  // much it read.
  virtual void OnCollision(const CollisionChunk& chunk, ByteSource& source) = 0;
};

struct WalkResult {
  // Why the walk stopped before the end of the first chunk, naming the byte
  // offset where the input is damaged; empty when it got there.  A
  // collision chunk cut off by the end of the input also ends the walk, but
  // is not repeated here: its sink sees `available` fall short and reports
  // the loss together with where the partial data went.
  std::string problem;
};

// Walks the first chunk of the input.  Clump and Extension chunks are
// descended into, the first chunk and every one met among their children;
// collision chunks met there go to the sink; every other chunk is skipped
// whole, so nothing inside a Geometry or an Atomic is looked at.  Whatever
// follows the first chunk is ignored.  Every chunk is checked against its
// parent and against the end of the input before it is read or skipped,
// and the open chunks are kept in a list rather than on the call stack, so
// no input can make the walk overrun, loop or run out of stack.
WalkResult WalkFirstChunk(ByteSource& source, CollisionSink& sink);

}  // namespace extractor
