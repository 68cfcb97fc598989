// Untrusted input: cut, flipped and hostile files are reported, never a
// crash, a hang or an allocation sized by a corrupt count (the sanitizer
// build runs these too).
#include <gtest/gtest.h>

#include <random>

#include "dff_inspect/inspect.h"
#include "tests/dff_inspect/dff_builder.h"

namespace dffinfo {
namespace {

using testing::Bytes;

Bytes SampleFile() { return testing::Serialise({testing::BuildClump(testing::MakeSampleClump())}).bytes; }

void CollectHeaders(const std::vector<Chunk>& chunks, std::vector<std::size_t>& offsets) {
  for (const Chunk& chunk : chunks) {
    offsets.push_back(chunk.offset);
    CollectHeaders(chunk.children, offsets);
  }
}

TEST(Robustness, EveryTruncationIsDamage) {
  const Bytes whole = SampleFile();
  for (std::size_t length = 0; length < whole.size(); ++length) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(Inspect(cut).sound()) << "cut to " << length << " bytes";
  }
}

// A changed size field always leaves some chunk short of its parent or
// bytes that no chunk accounts for.
TEST(Robustness, EveryFlippedSizeByteIsDamage) {
  const Bytes whole = SampleFile();
  std::vector<std::size_t> headers;
  CollectHeaders(Inspect(whole).chunks, headers);
  ASSERT_GT(headers.size(), 30u);
  for (std::size_t header : headers) {
    for (std::size_t byte = 4; byte < 8; ++byte) {
      Bytes flipped = whole;
      flipped[header + byte] ^= 0xFF;
      EXPECT_FALSE(Inspect(flipped).sound()) << "size byte " << byte << " of the chunk at " << header;
    }
  }
}

TEST(Robustness, FlippedAndRandomisedBytesNeverCrash) {
  const Bytes whole = SampleFile();
  for (std::size_t at = 0; at < whole.size(); ++at) {
    for (unsigned mask : {0xFFu, 0x80u, 0x01u}) {
      Bytes flipped = whole;
      flipped[at] = static_cast<std::uint8_t>(flipped[at] ^ mask);
      Inspect(flipped);
    }
  }
  std::mt19937 random(20260);
  for (int round = 0; round < 1500; ++round) {
    Bytes mutated = whole;
    const int changes = 1 + round % 8;
    for (int i = 0; i < changes; ++i) {
      mutated[random() % mutated.size()] = static_cast<std::uint8_t>(random());
    }
    Inspect(mutated);
  }
}

// Nesting deeper than any real file is cut off with a finding instead of
// taking the stack with it.
TEST(Robustness, DeepNestingIsReportedNotFollowed) {
  Bytes file;
  const std::size_t depth = 100000;
  for (std::size_t level = 0; level < depth; ++level) {
    const std::uint32_t size = static_cast<std::uint32_t>((depth - level - 1) * 12);
    for (std::uint32_t word : {3u, size, dff::kLibraryVersion}) {
      for (int i = 0; i < 4; ++i) file.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
    }
  }
  const Inspection result = Inspect(file);
  EXPECT_FALSE(result.sound());
  bool reported = false;
  for (const Finding& f : result.findings.all()) {
    reported = reported || f.message.find("nested more than") != std::string::npos;
  }
  EXPECT_TRUE(reported);
}

}  // namespace
}  // namespace dffinfo
