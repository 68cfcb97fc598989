#include "extractor/chunk_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "dff/chunk_writer.h"
#include "tests/extractor/test_chunks.h"

namespace extractor {
namespace {

using dff::ChunkType;
using dff::kLibraryVersion;
using test_chunks::Bytes;
using test_chunks::Chunk;
using test_chunks::Concat;
using test_chunks::Header;
using test_chunks::Pattern;
using test_chunks::Prefix;

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(Bytes bytes) : bytes_(std::move(bytes)) {}

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
  Bytes bytes_;
  std::size_t position_ = 0;
};

struct Extracted {
  CollisionChunk chunk;
  Bytes data;
};

// Keeps what it is handed, reading at most `readLimit` bytes of each chunk,
// as brasko reads nothing of a chunk whose output dialog was cancelled.
class RecordingSink final : public CollisionSink {
 public:
  explicit RecordingSink(std::size_t readLimit) : readLimit_(readLimit) {}

  void OnCollision(const CollisionChunk& chunk, ByteSource& source) override {
    Bytes data(static_cast<std::size_t>(std::min<std::uint64_t>(chunk.available, readLimit_)));
    data.resize(source.Read(data.data(), data.size()));
    extracted.push_back({chunk, std::move(data)});
  }

  std::vector<Extracted> extracted;

 private:
  std::size_t readLimit_;
};

struct WalkOutput {
  std::vector<Extracted> extracted;
  std::string problem;
};

WalkOutput Walk(Bytes file, std::size_t readLimit = std::numeric_limits<std::size_t>::max()) {
  MemorySource source(std::move(file));
  RecordingSink sink(readLimit);
  const WalkResult result = WalkFirstChunk(source, sink);
  return {std::move(sink.extracted), result.problem};
}

void WriteStruct(dff::OutputStream& out, std::initializer_list<std::uint32_t> words) {
  const std::int32_t start = dff::BeginChunk(out, ChunkType::Struct, kLibraryVersion);
  for (const std::uint32_t word : words) dff::WriteU32(out, word);
  dff::EndChunk(out, start);
}

// An Extension holding one collision chunk of the given payload.
void WriteCollisionExtension(dff::OutputStream& out, const Bytes& payload) {
  const std::int32_t extension = dff::BeginChunk(out, ChunkType::Extension, kLibraryVersion);
  const std::int32_t collision = dff::BeginChunk(out, ChunkType::Collision, kLibraryVersion);
  out.WriteBytes(payload.data(), payload.size());
  dff::EndChunk(out, collision);
  dff::EndChunk(out, extension);
}

// A clump shaped as the exporter writes one, with decoy collision records
// in the Extensions of its Geometry and Atomic, which are no place for one.
Bytes ExporterShapedClump(const Bytes& col) {
  dff::OutputStream out;
  const std::int32_t clump = dff::BeginChunk(out, ChunkType::Clump, kLibraryVersion);
  WriteStruct(out, {1, 0, 0});
  const std::int32_t frames = dff::BeginChunk(out, ChunkType::FrameList, kLibraryVersion);
  WriteStruct(out, {0});
  dff::EndChunk(out, frames);
  const std::int32_t geometries = dff::BeginChunk(out, ChunkType::GeometryList, kLibraryVersion);
  WriteStruct(out, {1});
  const std::int32_t geometry = dff::BeginChunk(out, ChunkType::Geometry, kLibraryVersion);
  WriteStruct(out, {0, 0, 0, 0});
  WriteCollisionExtension(out, Pattern(6, 0xA0));
  dff::EndChunk(out, geometry);
  dff::EndChunk(out, geometries);
  const std::int32_t atomic = dff::BeginChunk(out, ChunkType::Atomic, kLibraryVersion);
  WriteStruct(out, {0, 0, 5, 0});
  WriteCollisionExtension(out, Pattern(6, 0xB0));
  dff::EndChunk(out, atomic);
  WriteCollisionExtension(out, col);
  dff::EndChunk(out, clump);
  EXPECT_FALSE(out.failed()) << out.error();
  return out.bytes();
}

TEST(ChunkWalk, FindsTheClumpsCollisionAndNothingInsideGeometryOrAtomic) {
  const Bytes col = Pattern(40, 1);
  const Bytes clump = ExporterShapedClump(col);
  // What follows the first chunk, even a well-formed collision chunk, is
  // not part of it.
  const WalkOutput walk = Walk(Concat({clump, Chunk(ChunkType::Collision, Pattern(5, 0xC0))}));
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 1u);
  EXPECT_EQ(walk.extracted[0].data, col);
  EXPECT_EQ(walk.extracted[0].chunk.headerOffset, clump.size() - col.size() - 12);
  EXPECT_TRUE(walk.extracted[0].chunk.Complete());
}

TEST(ChunkWalk, NoCollisionChunkIsAQuietWalk) {
  const WalkOutput walk = Walk(Chunk(
      ChunkType::Clump, Concat({Chunk(ChunkType::Struct, Pattern(12, 0)),
                                Chunk(ChunkType::Extension, Chunk(ChunkType::FrameName, Pattern(4, 'a')))})));
  EXPECT_EQ(walk.problem, "");
  EXPECT_TRUE(walk.extracted.empty());
}

TEST(ChunkWalk, EachCollisionRecordGetsOnlyItsOwnBytes) {
  const Bytes first = Pattern(9, 0x10);
  const Bytes second = Pattern(5, 0x70);
  const Bytes file = Chunk(
      ChunkType::Clump,
      Chunk(ChunkType::Extension,
            Concat({Chunk(ChunkType::Collision, first), Chunk(ChunkType::CollisionAlternative, second),
                    Chunk(ChunkType::FrameName, Pattern(4, 'z'))})));
  const WalkOutput walk = Walk(file);
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 2u);
  EXPECT_EQ(walk.extracted[0].data, first);
  EXPECT_EQ(walk.extracted[0].chunk.header.type, dff::ToWord(ChunkType::Collision));
  EXPECT_EQ(walk.extracted[1].data, second);
  EXPECT_EQ(walk.extracted[1].chunk.header.type, dff::ToWord(ChunkType::CollisionAlternative));

  // A sink that reads nothing (a cancelled output) leaves the walk on course.
  const WalkOutput unread = Walk(file, 0);
  EXPECT_EQ(unread.problem, "");
  ASSERT_EQ(unread.extracted.size(), 2u);
  EXPECT_EQ(unread.extracted[1].chunk.headerOffset, 24u + 12u + first.size());
}

TEST(ChunkWalk, ACollisionChunkFirstInTheFileIsExtracted) {
  const Bytes col = Pattern(7, 0x30);
  const WalkOutput walk = Walk(Concat({Chunk(ChunkType::Collision, col), Pattern(20, 0)}));
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 1u);
  EXPECT_EQ(walk.extracted[0].data, col);
}

TEST(ChunkWalk, ZeroSizesAreSoundChunks) {
  EXPECT_EQ(Walk(Header(ChunkType::Clump, 0)).problem, "");
  const WalkOutput walk = Walk(Chunk(
      ChunkType::Clump, Chunk(ChunkType::Extension,
                              Concat({Chunk(ChunkType::Extension, {}), Chunk(ChunkType::Collision, {})}))));
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 1u);
  EXPECT_TRUE(walk.extracted[0].chunk.Complete());
  EXPECT_TRUE(walk.extracted[0].data.empty());
}

TEST(ChunkWalk, DamageIsReportedAtItsOffsetAfterWhatPrecedesIt) {
  struct Case {
    const char* what;
    Bytes file;
    std::string problem;
    std::size_t extracted;
  };
  const std::uint32_t huge = 0xFFFFFFFFu;
  const std::vector<Case> cases = {
      {"empty file", {}, "the file is empty", 0},
      {"header cut by the end of the file", Prefix(Header(ChunkType::Clump, 0), 7),
       "the chunk header at offset 0 is cut off by the end of the file at offset 7", 0},
      {"huge child of a clump",
       Concat({Header(ChunkType::Clump, 24), Chunk(ChunkType::Extension, {}), Header(ChunkType::Geometry, huge)}),
       "the Geometry chunk at offset 24 claims 4294967295 bytes, which run past offset 36, where "
       "the Clump chunk at offset 0 ends",
       0},
      {"header that does not fit its parent", Concat({Header(ChunkType::Clump, 8), Bytes(12, 0)}),
       "the chunk header at offset 12 runs past offset 20, where the Clump chunk at offset 0 ends", 0},
      {"skipped chunk longer than the file", Concat({Header(ChunkType::Struct, 100), Bytes(4, 0)}),
       "the Struct chunk at offset 0 claims 100 bytes, but the file ends at offset 16", 0},
      {"unknown type", Header(0x12345678u, 50),
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const WalkOutput walk = Walk(c.file);
    EXPECT_EQ(walk.problem, c.problem);
    EXPECT_EQ(walk.extracted.size(), c.extracted);
    for (const Extracted& e : walk.extracted) EXPECT_TRUE(e.chunk.Complete());
  }
}

// Every prefix of a small file: the walk always ends; a collision chunk
// that lies wholly before the cut is extracted whole, one cut through is
// handed over with what there is, and anything else cut is reported.
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
    const Extracted& e = walk.extracted[0];
    const std::size_t present = std::min(length, payloadEnd) - payloadStart;
    EXPECT_EQ(e.chunk.available, present);
    EXPECT_EQ(e.data, Prefix(col, present));
    // A cut through the collision chunk is its sink's to report.
    const bool reported = length >= payloadEnd && length < file.size();
    EXPECT_EQ(walk.problem.empty(), !reported) << walk.problem;
  }
  EXPECT_EQ(Walk(Prefix(file, 40)).problem,
            "the file ends at offset 40, inside the Extension chunk at offset 28, which claims to "
            "run to offset 76");
}

TEST(ChunkWalk, DeepNestingCostsNoStack) {
  constexpr int kDepth = 200000;
  const Bytes col = Pattern(3, 0x55);
  dff::OutputStream out;
  std::vector<std::int32_t> starts;
  starts.push_back(dff::BeginChunk(out, ChunkType::Clump, kLibraryVersion));
  for (int i = 0; i < kDepth; ++i) {
    starts.push_back(dff::BeginChunk(out, ChunkType::Extension, kLibraryVersion));
  }
  const std::int32_t collision = dff::BeginChunk(out, ChunkType::Collision, kLibraryVersion);
  out.WriteBytes(col.data(), col.size());
  dff::EndChunk(out, collision);
  for (auto start = starts.rbegin(); start != starts.rend(); ++start) dff::EndChunk(out, *start);
  ASSERT_FALSE(out.failed()) << out.error();

  const WalkOutput walk = Walk(out.bytes());
  EXPECT_EQ(walk.problem, "");
  ASSERT_EQ(walk.extracted.size(), 1u);
  EXPECT_EQ(walk.extracted[0].data, col);

  // The same depth cut short: every open chunk runs past the end.
  const WalkOutput cut = Walk(Prefix(out.bytes(), 12 * (kDepth / 2) + 6));
  EXPECT_TRUE(cut.extracted.empty());
  EXPECT_NE(cut.problem.find("is cut off by the end of the file"), std::string::npos) << cut.problem;
}

}  // namespace
}  // namespace extractor
