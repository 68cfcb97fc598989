#include "extractor/chunk_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "dff/chunk_writer.h"
#include "extractor/memory_source.h"
#include "tests/extractor/test_chunks.h"

namespace extractor {
namespace {

using dff::ChunkType;
using namespace test_chunks;

struct Extracted {
  CollisionChunk chunk;
  Bytes data;
};

class RecordingSink final : public CollisionSink {
 public:
  void OnCollision(const CollisionChunk& chunk, ByteSource& source) override {
    Bytes data(static_cast<std::size_t>(chunk.available));
    data.resize(source.Read(data.data(), data.size()));
    extracted.push_back({chunk, std::move(data)});
  }
  std::vector<Extracted> extracted;
};

struct WalkOutput {
  std::vector<Extracted> extracted;
  std::string problem;
};

WalkOutput Walk(Bytes file) {
  MemorySource source(std::move(file));
  RecordingSink sink;
  const WalkResult result = WalkFirstChunk(source, sink);
  return {std::move(sink.extracted), result.problem};
}

Bytes CollisionExtension(const Bytes& payload) {
  return Chunk(ChunkType::Extension, Chunk(ChunkType::Collision, payload));
}

// Shaped as the exporter writes a clump, with decoy collision records in the
// Extensions of Geometry and Atomic chunks, which are no place for one, and
// a well-formed collision chunk after the clump, which is not part of it.
TEST(ChunkWalk, FindsOnlyTheClumpsOwnCollisionRecord) {
  const Bytes col = Pattern(40, 1);
  const Bytes clump = Chunk(
      ChunkType::Clump,
      Concat({Chunk(ChunkType::Struct, Pattern(12, 0)), Chunk(ChunkType::FrameList, Pattern(4, 0)),
              Chunk(ChunkType::GeometryList,
                    Chunk(ChunkType::Geometry, CollisionExtension(Pattern(6, 0xA0)))),
              Chunk(ChunkType::Geometry, CollisionExtension(Pattern(6, 0xA8))),
              Chunk(ChunkType::Atomic, CollisionExtension(Pattern(6, 0xB0))),
              CollisionExtension(col)}));
  const WalkOutput walk = Walk(Concat({clump, Chunk(ChunkType::Collision, Pattern(5, 0xC0))}));
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 1u);
  EXPECT_EQ(walk.extracted[0].data, col);
  EXPECT_EQ(walk.extracted[0].chunk.headerOffset, clump.size() - col.size() - 12);
}

TEST(ChunkWalk, EachCollisionRecordGetsOnlyItsOwnBytes) {
  const Bytes first = Pattern(9, 0x10);
  const Bytes second = Pattern(5, 0x70);
  const WalkOutput walk = Walk(Chunk(
      ChunkType::Clump,
      Chunk(ChunkType::Extension,
            Concat({Chunk(ChunkType::Collision, first), Chunk(ChunkType::CollisionAlternative, second),
                    Chunk(ChunkType::FrameName, Pattern(4, 'z'))}))));
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 2u);
  EXPECT_EQ(walk.extracted[0].data, first);
  EXPECT_EQ(walk.extracted[1].data, second);
}

TEST(ChunkWalk, OddShapesAndDamageEndWithTheRightReport) {
  const struct {
    const char* what;
    Bytes file;
    std::string problem;
    std::size_t extracted;
  } cases[] = {
      {"empty clump", Header(ChunkType::Clump, 0), "", 0},
      {"empty collision record",
       Chunk(ChunkType::Clump, Concat({Chunk(ChunkType::Extension, {}), CollisionExtension({})})), "", 1},
      {"collision chunk first", Concat({Chunk(ChunkType::Collision, Pattern(7, 0)), Pattern(20, 0)}), "", 1},
      {"empty file", {}, "the file is empty", 0},
      {"cut header", Prefix(Header(ChunkType::Clump, 0), 7),
       "the chunk header at offset 0 is cut off by the end of the file at offset 7", 0},
      {"huge child of a clump",
       Concat({Header(ChunkType::Clump, 24), Chunk(ChunkType::Extension, {}), Header(ChunkType::Geometry, 0xFFFFFFFFu)}),
       "the Geometry chunk at offset 24 claims 4294967295 bytes, which run past offset 36, where "
       "the Clump chunk at offset 0 ends",
       0},
      {"header that does not fit its parent", Concat({Header(ChunkType::Clump, 8), Bytes(12, 0)}),
       "the chunk header at offset 12 runs past offset 20, where the Clump chunk at offset 0 ends", 0},
      {"unknown chunk longer than the file", Header(0x12345678u, 50),
       "the chunk of type 0x12345678 at offset 0 claims 50 bytes, but the file ends at offset 12", 0},
      {"collision longer than its Extension",
       Concat({Header(ChunkType::Clump, 56), Header(ChunkType::Extension, 12), Header(ChunkType::Collision, 20),
               Bytes(20, 0)}),
       "the Collision chunk at offset 24 claims 20 bytes, which run past offset 36, where the "
       "Extension chunk at offset 12 ends",
       0},
      {"collision before a chunk longer than the file",
       Concat({Header(ChunkType::Clump, 5000), Header(ChunkType::Extension, 4000),
               Chunk(ChunkType::Collision, Pattern(3, 1)), Header(ChunkType::Geometry, 1000), Bytes(5, 0)}),
       "the Geometry chunk at offset 39 claims 1000 bytes, but the file ends at offset 56", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const WalkOutput walk = Walk(c.file);
    EXPECT_EQ(walk.problem, c.problem);
    ASSERT_EQ(walk.extracted.size(), c.extracted);
    for (const Extracted& e : walk.extracted) EXPECT_EQ(e.data.size(), e.chunk.header.size);
  }
}

// Every prefix of a small file: a collision record wholly before the cut is
// extracted whole, one cut through is handed over with what there is (its
// sink reports the loss), and any other cut is reported.
TEST(ChunkWalk, EveryTruncationEndsWithWhatPrecedesTheCut) {
  const Bytes col = Pattern(8, 0x40);
  const Bytes file = Chunk(
      ChunkType::Clump,
      Concat({Chunk(ChunkType::Struct, Pattern(4, 0)),
              Chunk(ChunkType::Extension,
                    Concat({Chunk(ChunkType::Collision, col), Chunk(ChunkType::FrameName, Pattern(4, 'n'))}))}));
  const std::size_t payloadStart = 52;
  const std::size_t payloadEnd = payloadStart + col.size();
  ASSERT_EQ(file.size(), 76u);

  for (std::size_t length = 0; length <= file.size(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    const WalkOutput walk = Walk(Prefix(file, length));
    if (length < payloadStart) {
      EXPECT_TRUE(walk.extracted.empty());
      EXPECT_NE(walk.problem, "");
      continue;
    }
    ASSERT_EQ(walk.extracted.size(), 1u);
    const std::size_t present = std::min(length, payloadEnd) - payloadStart;
    EXPECT_EQ(walk.extracted[0].chunk.available, present);
    EXPECT_EQ(walk.extracted[0].data, Prefix(col, present));
    const bool reported = length >= payloadEnd && length < file.size();
    EXPECT_EQ(walk.problem.empty(), !reported) << walk.problem;
  }
  EXPECT_EQ(Walk(Prefix(file, 40)).problem,
            "the file ends at offset 40, inside the Extension chunk at offset 28, which claims to "
            "run to offset 76");
}

TEST(ChunkWalk, DeepNestingCostsNoStack) {
  const Bytes col = Pattern(3, 0x55);
  dff::OutputStream out;
  std::vector<std::int32_t> starts{dff::BeginChunk(out, ChunkType::Clump, dff::kLibraryVersion)};
  for (int depth = 0; depth < 200000; ++depth) {
    starts.push_back(dff::BeginChunk(out, ChunkType::Extension, dff::kLibraryVersion));
  }
  starts.push_back(dff::BeginChunk(out, ChunkType::Collision, dff::kLibraryVersion));
  out.WriteBytes(col.data(), col.size());
  for (auto start = starts.rbegin(); start != starts.rend(); ++start) dff::EndChunk(out, *start);
  ASSERT_FALSE(out.failed()) << out.error();

  const WalkOutput walk = Walk(out.bytes());
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 1u);
  EXPECT_EQ(walk.extracted[0].data, col);
}

}  // namespace
}  // namespace extractor
