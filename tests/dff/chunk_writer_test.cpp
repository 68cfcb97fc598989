#include "dff/chunk_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "tests/support/files_and_programs.h"

namespace dff {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ChunkWriter, WordsAreLittleEndianAndFloatsAreTheirBitPatterns) {
  OutputStream stream;
  EXPECT_EQ(WriteU16(stream, 0x1234), 0);
  WriteU32(stream, 0xFFFFFFFFu);
  WriteF32(stream, 0.4f);
  WriteF32(stream, 1.0f);
  WriteF32(stream, 20.0f);
  EXPECT_EQ(stream.bytes(), (Bytes{0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xCD, 0xCC, 0xCC, 0x3E,
                                   0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0xA0, 0x41}));
}

TEST(ChunkWriter, ChunkWithOneWordPayload) {
  OutputStream stream;
  const std::int32_t start = BeginChunk(stream, ChunkType::Clump, kLibraryVersion);
  EXPECT_EQ(start, 12);
  WriteU32(stream, 1);
  EXPECT_EQ(EndChunk(stream, start), 16);
  EXPECT_EQ(stream.bytes(), (Bytes{0x10, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18, 1, 0, 0, 0}));
}

TEST(ChunkWriter, EmptyChunkIsItsHeaderAlone) {
  OutputStream stream;
  const std::int32_t start = BeginChunk(stream, ChunkType::Extension, kLibraryVersion);
  EXPECT_EQ(EndChunk(stream, start), 12);
  EXPECT_EQ(stream.bytes(), (Bytes{3, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18}));
}

TEST(ChunkWriter, StringChunksArePaddedPastTheirText) {
  EXPECT_EQ(PaddedStringLength(0), 4u);
  EXPECT_EQ(PaddedStringLength(3), 4u);
  EXPECT_EQ(PaddedStringLength(4), 8u);
  EXPECT_EQ(PaddedStringLength(15), 16u);
  EXPECT_EQ(PaddedStringLength(16), 20u);

  OutputStream stream;
  const char abc[4] = {'a', 'b', 'c', 0};
  EXPECT_EQ(WriteStringChunk(stream, abc, 4, kLibraryVersion), 4u);
  EXPECT_EQ(stream.bytes(),
            (Bytes{2, 0, 0, 0, 4, 0, 0, 0, 0xFF, 0xFF, 0x03, 0x18, 'a', 'b', 'c', 0}));
}

// Sizes come out right at every depth, siblings follow each other directly,
// and the outermost chunk's length is the length of the stream.
TEST(ChunkWriter, NestedSizesArePatchedAtEveryDepth) {
  OutputStream stream;
  const std::int32_t outer = BeginChunk(stream, ChunkType::Clump, kLibraryVersion);
  WriteU32(stream, 7);
  const std::int32_t first = BeginChunk(stream, ChunkType::Extension, kLibraryVersion);
  const std::int32_t inner = BeginChunk(stream, ChunkType::Collision, kLibraryVersion);
  WriteU16(stream, 0xABCD);
  EXPECT_EQ(EndChunk(stream, inner), 14);
  EXPECT_EQ(EndChunk(stream, first), 26);
  const std::int32_t second = BeginChunk(stream, ChunkType::Struct, kLibraryVersion);
  EXPECT_EQ(EndChunk(stream, second), 12);
  const std::int32_t total = EndChunk(stream, outer);

  const Bytes& b = stream.bytes();
  ASSERT_EQ(static_cast<std::size_t>(total), b.size());
  auto word = [&](std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
  };
  EXPECT_EQ(word(4), 4u + 26u + 12u);  // own data plus the full lengths of both children
  EXPECT_EQ(word(16 + 4), 14u);        // the Extension
  EXPECT_EQ(word(28 + 4), 2u);         // the Collision
  EXPECT_EQ(word(42), ToWord(ChunkType::Struct));  // the sibling right after
  EXPECT_EQ(stream.Tell(), total);
}

TEST(OutputStream, FailuresAreStickyAndKeepTheFirstReason) {
  OutputStream stream;
  WriteU32(stream, 1);
  EXPECT_FALSE(stream.SeekRelative(-5));
  EXPECT_TRUE(stream.failed());
  const std::string first = stream.error();
  EXPECT_FALSE(first.empty());
  stream.Fail("something later");
  EXPECT_EQ(stream.error(), first);
  EXPECT_EQ(stream.Tell(), -1);
  EXPECT_EQ(WriteU16(stream, 1), 1);
  EXPECT_EQ(stream.size(), 4u);
}

TEST(OutputStream, AChunkEndedWithoutABeginningFails) {
  OutputStream stream;
  EndChunk(stream, 8);
  EXPECT_TRUE(stream.failed());
}

// A tree of several MiB in pieces of many sizes, nested so that chunk sizes
// are patched after their headers went to the file, some of them across
// the edge of the bytes still held.
void WriteLargeTree(OutputStream& stream) {
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  std::vector<std::uint8_t> piece(70000);
  std::function<void(int)> chunk = [&](int depth) {
    const std::int32_t start = BeginChunk(stream, ChunkType::Struct, kLibraryVersion);
    for (int i = 0; i < 12; ++i) {
      if (depth < 3 && next() % 3 == 0) {
        chunk(depth + 1);
      } else {
        const std::size_t length = next() % (i % 2 == 0 ? 7u : piece.size());
        for (std::size_t b = 0; b < length; ++b) piece[b] = static_cast<std::uint8_t>(next() >> 24);
        stream.WriteBytes(piece.data(), length);
      }
    }
    EndChunk(stream, start);
  };
  chunk(0);
}

TEST(OutputStream, AStreamedFileHoldsTheBytesOfTheStreamKeptInMemory) {
  OutputStream kept;
  WriteLargeTree(kept);
  ASSERT_FALSE(kept.failed());
  ASSERT_GT(kept.size(), 3u << 20);

  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("velmora-stream-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".dff");
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  ASSERT_NE(file, nullptr);
  OutputStream streamed;
  streamed.StreamTo(file);
  WriteLargeTree(streamed);
  EXPECT_TRUE(streamed.Finish()) << streamed.error();
  EXPECT_EQ(streamed.size(), kept.size());
  EXPECT_LT(streamed.bytes().size(), 2u << 20);  // the rest went to the file as it came
  std::fclose(file);
  const std::string onDisk = testsupport::ReadFileText(path);
  std::filesystem::remove(path);
  EXPECT_TRUE(onDisk == std::string(kept.bytes().begin(), kept.bytes().end()));
}

TEST(OutputStream, AFileThatCannotBeWrittenFailsTheStreamWithTheReason) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full here";
  OutputStream stream;
  stream.StreamTo(full);
  WriteLargeTree(stream);
  EXPECT_FALSE(stream.Finish());
  EXPECT_TRUE(stream.failed());
  EXPECT_NE(stream.error().find("writing the file failed"), std::string::npos) << stream.error();
  std::fclose(full);
}

}  // namespace
}  // namespace dff
