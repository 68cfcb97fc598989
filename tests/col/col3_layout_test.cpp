// The writer's bytes checked against the entry layout the game's loader
// reads: header fields at fixed places, offsets counted from the byte
// after the fourcc, blocks back to back in the game's order.
#include <gtest/gtest.h>

#include <stdexcept>

#include "col/col3_writer.h"
#include "col/face_groups.h"
#include "dff_inspect/inspect.h"
#include "tests/col/col_bytes.h"

namespace {

using coltest::F32;
using coltest::I16;
using coltest::U16;
using coltest::U32;

// Entry offsets of the header fields (the table of the format's header).
constexpr std::size_t kSizeAt = 4, kNameAt = 8, kModelIdAt = 30, kBoxMinAt = 32, kRadiusAt = 68;
constexpr std::size_t kSphereCountAt = 72, kBoxCountAt = 74, kFaceCountAt = 76, kFlagsAt = 80;
constexpr std::size_t kSphereOffsetAt = 84, kBoxOffsetAt = 88, kLineOffsetAt = 92, kVertexOffsetAt = 96;
constexpr std::size_t kFaceOffsetAt = 100, kPlaneOffsetAt = 104, kShadowCountAt = 108;
constexpr std::size_t kShadowVertexOffsetAt = 112, kShadowFaceOffsetAt = 116;

// A tetrahedron (3 of 4 vertices + 1: an odd count, 3 vertices would be
// 18 bytes), one sphere, one box, and a one-face shadow mesh.
col::Entry SmallEntry() {
  col::Entry e;
  e.name = "crate";
  e.modelId = 1234;
  e.bounds = {{-1, -2, -3}, {1, 2, 3}, {0, 0, 0}, 4.0f};
  e.spheres.push_back({{0.5f, 0, 0}, 0.25f, {63, 3, 0xBB, 0}});
  e.boxes.push_back({{-1, -1, -1}, {1, 1, 1}, {45, 0, 0, 0}});
  e.mesh.vertices = {{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {0, 0, -256}, {-32768, 32767, 1}};
  e.mesh.faces = {{0, 2, 1, 1, 0xFF}, {0, 1, 3, 9, 0x48}, {1, 2, 3, 178, 0xFF}, {0, 3, 4, 0, 0xFF}};
  e.shadow.vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  e.shadow.faces = {{0, 1, 2, 0, 0xFF}};
  return e;
}

std::vector<std::uint8_t> Write(const col::Entry& e) {
  std::vector<std::uint8_t> bytes;
  col::AppendCol3Entry(e, bytes);
  return bytes;
}

TEST(Col3Layout, HeaderFieldsSitWhereTheGameReadsThem) {
  const std::vector<std::uint8_t> b = Write(SmallEntry());
  ASSERT_GE(b.size(), 120u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "COL3");
  EXPECT_EQ(U32(b, kSizeAt), b.size() - 8);
  const char name[22] = "crate";  // the rest zero
  EXPECT_EQ(0, std::memcmp(&b[kNameAt], name, 22));
  EXPECT_EQ(U16(b, kModelIdAt), 1234);
  EXPECT_EQ(F32(b, kBoxMinAt + 4), -2.0f);
  EXPECT_EQ(F32(b, kRadiusAt), 4.0f);
  EXPECT_EQ(U16(b, kSphereCountAt), 1);
  EXPECT_EQ(U16(b, kBoxCountAt), 1);
  EXPECT_EQ(U16(b, kFaceCountAt), 4);
  EXPECT_EQ(b[78], 0) << "no lines";
  EXPECT_EQ(U32(b, kFlagsAt), 0x12u) << "not empty + shadow mesh, no groups";
  EXPECT_EQ(U32(b, kLineOffsetAt), 0u);
  EXPECT_EQ(U32(b, kPlaneOffsetAt), 0u);
  EXPECT_EQ(U32(b, kShadowCountAt), 1u);
}

TEST(Col3Layout, BlocksFollowTheHeaderBackToBackWithVerticesPaddedToFour) {
  const std::vector<std::uint8_t> b = Write(SmallEntry());
  // Counted from entry + 4: header 116, sphere 20, box 28, 5 vertices of
  // 6 bytes (30, padded to 32), 4 faces of 8, 3 shadow vertices (18 -> 20),
  // 1 shadow face.
  EXPECT_EQ(U32(b, kSphereOffsetAt), 116u);
  EXPECT_EQ(U32(b, kBoxOffsetAt), 136u);
  EXPECT_EQ(U32(b, kVertexOffsetAt), 164u);
  EXPECT_EQ(U32(b, kFaceOffsetAt), 196u);
  EXPECT_EQ(U32(b, kShadowVertexOffsetAt), 228u);
  EXPECT_EQ(U32(b, kShadowFaceOffsetAt), 248u);
  EXPECT_EQ(b.size(), 4u + 248 + 8) << "the last block ends the entry";
  EXPECT_EQ(b[4 + 164 + 30], 0);
  EXPECT_EQ(b[4 + 164 + 31], 0);

  const std::size_t sphere = 4 + 116;
  EXPECT_EQ(F32(b, sphere), 0.5f);
  EXPECT_EQ(F32(b, sphere + 12), 0.25f);
  EXPECT_EQ(b[sphere + 16], 63);
  EXPECT_EQ(b[sphere + 17], 3);
  EXPECT_EQ(b[sphere + 18], 0xBB);
  EXPECT_EQ(b[4 + 136 + 24], 45) << "box surface after min and max";
  const std::size_t vertices = 4 + 164;
  EXPECT_EQ(I16(b, vertices + 6), 128);
  EXPECT_EQ(I16(b, vertices + 4 * 6), -32768);
  EXPECT_EQ(I16(b, vertices + 4 * 6 + 2), 32767);
  const std::size_t face1 = 4 + 196 + 8;
  EXPECT_EQ(U16(b, face1), 0);
  EXPECT_EQ(U16(b, face1 + 2), 1);
  EXPECT_EQ(U16(b, face1 + 4), 3);
  EXPECT_EQ(b[face1 + 6], 9);
  EXPECT_EQ(b[face1 + 7], 0x48);
  EXPECT_EQ(I16(b, 4 + 228 + 4), 3) << "shadow vertex 0, z";
}

TEST(Col3Layout, AbsentBlocksHaveOffsetZeroAndTheirFlagsClear) {
  col::Entry e;
  e.name = "lod_only";
  e.bounds = {{-1, -1, -1}, {1, 1, 1}, {0, 0, 0}, 1.8f};
  const std::vector<std::uint8_t> b = Write(e);
  EXPECT_EQ(b.size(), 120u);
  EXPECT_EQ(U32(b, kSizeAt), 112u);
  EXPECT_EQ(U32(b, kFlagsAt), 0u) << "bounds only: no collision";
  for (std::size_t at = kSphereOffsetAt; at <= kShadowFaceOffsetAt; at += 4) EXPECT_EQ(U32(b, at), 0u) << at;

  e.spheres.push_back({{0, 0, 0}, 1, {}});
  const std::vector<std::uint8_t> withSphere = Write(e);
  EXPECT_EQ(U32(withSphere, kFlagsAt), 0x02u) << "a sphere alone makes the entry not empty";
}

// A strip of 100 quads along x: 200 faces, enough to be grouped.
col::Entry Strip() {
  col::Entry e;
  e.name = "strip";
  for (std::int16_t i = 0; i <= 100; ++i) {
    e.mesh.vertices.push_back({static_cast<std::int16_t>(i * 128), 0, 0});
    e.mesh.vertices.push_back({static_cast<std::int16_t>(i * 128), 128, 0});
  }
  for (std::uint16_t i = 0; i < 100; ++i) {
    const auto v = static_cast<std::uint16_t>(2 * i);
    e.mesh.faces.push_back({v, static_cast<std::uint16_t>(v + 1), static_cast<std::uint16_t>(v + 2), 1, 0xFF});
    e.mesh.faces.push_back({static_cast<std::uint16_t>(v + 1), static_cast<std::uint16_t>(v + 3),
                            static_cast<std::uint16_t>(v + 2), 1, 0xFF});
  }
  e.faceGroups = col::GroupFaces(e.mesh);
  e.bounds = {{0, 0, 0}, {100, 1, 0}, {50, 0.5f, 0}, 51};
  return e;
}

TEST(Col3Layout, FaceGroupsSitBelowTheFacesWithTheirCountLast) {
  const col::Entry e = Strip();
  ASSERT_GT(e.faceGroups.size(), 1u);
  const std::vector<std::uint8_t> b = Write(e);
  EXPECT_EQ(U32(b, kFlagsAt), 0x0Au);
  const std::uint32_t faces = U32(b, kFaceOffsetAt);
  const std::uint32_t groups = U32(b, 4 + faces - 4);
  ASSERT_EQ(groups, e.faceGroups.size());
  const std::uint32_t vertexEnd = U32(b, kVertexOffsetAt) + 202 * 6;
  EXPECT_EQ(vertexEnd + groups * 28 + 4, faces) << "groups follow the vertices, then their count";

  // Every face lies in the one group that lists it, and the groups cover
  // the faces in order without gaps.
  std::size_t next = 0;
  for (std::uint32_t g = 0; g < groups; ++g) {
    const std::size_t at = 4 + vertexEnd + g * 28;
    const std::uint16_t first = U16(b, at + 24), last = U16(b, at + 26);
    EXPECT_EQ(first, next);
    next = last + 1u;
    EXPECT_LE(last - first + 1u, col::FacesPerGroup(200));
    for (std::size_t f = first; f <= last; ++f) {
      for (std::size_t corner = 0; corner < 3; ++corner) {
        const std::uint16_t index = U16(b, 4 + faces + f * 8 + corner * 2);
        const float x = I16(b, 4 + U32(b, kVertexOffsetAt) + index * 6u) / 128.0f;
        EXPECT_GE(x, F32(b, at));
        EXPECT_LE(x, F32(b, at + 12));
      }
    }
  }
  EXPECT_EQ(next, 200u);
}

TEST(Col3Layout, SmallMeshesGetNoGroups) {
  col::Mesh mesh;
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.faces.assign(col::kMaxFacesWithoutGroups, {0, 1, 2, 0, 0xFF});
  EXPECT_TRUE(col::GroupFaces(mesh).empty());
}

TEST(Col3Layout, RefusesWhatNoFileCanHold) {
  col::Entry e = SmallEntry();
  e.name = std::string(22, 'n');
  EXPECT_THROW(Write(e), std::invalid_argument);
  e = SmallEntry();
  e.mesh.faces[0].c = 5;
  EXPECT_THROW(Write(e), std::invalid_argument) << "index past the vertices";
  e = SmallEntry();
  e.mesh.vertices.push_back({9, 9, 9});
  EXPECT_THROW(Write(e), std::invalid_argument) << "an unused last vertex would be lost to readers";
  e = SmallEntry();
  e.faceGroups.push_back({{}, {}, 2, 4});
  EXPECT_THROW(Write(e), std::invalid_argument);
}

TEST(Col3Layout, ReadsBackWholeAndSoundThroughDffinfo) {
  std::vector<std::uint8_t> file;
  col::Entry first = SmallEntry();
  first.bounds = {{-256, -256, -256}, {256, 256, 256}, {0, 0, 0}, 444};
  col::AppendCol3Entry(first, file);
  col::Entry second = first;
  second.name = "second";
  second.shadow = {};
  col::AppendCol3Entry(second, file);

  const dffinfo::Inspection read = dffinfo::Inspect(file);
  EXPECT_TRUE(read.findings.all().empty()) << dffinfo::Describe(read.findings.all().at(0));
  ASSERT_EQ(read.colEntries.size(), 2u);
  const dffinfo::ColEntryRecord& e = read.colEntries[0];
  EXPECT_EQ(e.name, "crate");
  EXPECT_EQ(e.modelId, 1234);
  ASSERT_EQ(e.mesh.faces.size(), 4u);
  EXPECT_EQ(e.mesh.vertices.size(), 5u);
  EXPECT_EQ(e.mesh.faces[2].material, 178);
  EXPECT_EQ(e.mesh.vertices[4][0], -32768);
  EXPECT_EQ(e.shadow.faces.size(), 1u);
  EXPECT_EQ(e.spheres.at(0).surface.brightness, 0xBB);
  EXPECT_EQ(read.colEntries[1].name, "second");
  EXPECT_EQ(read.colEntries[1].flags, 0x02u);
  EXPECT_TRUE(read.colEntries[1].shadow.faces.empty());
}

TEST(Col3Layout, GroupedFacesReadBackWithTheirGroups) {
  const col::Entry strip = Strip();
  std::vector<std::uint8_t> file;
  col::AppendCol3Entry(strip, file);
  const dffinfo::Inspection read = dffinfo::Inspect(file);
  EXPECT_TRUE(read.findings.all().empty()) << dffinfo::Describe(read.findings.all().at(0));
  const dffinfo::ColEntryRecord& e = read.colEntries.at(0);
  ASSERT_EQ(e.faceGroups.size(), strip.faceGroups.size());
  for (std::size_t g = 0; g < e.faceGroups.size(); ++g) {
    EXPECT_EQ(e.faceGroups[g].first, strip.faceGroups[g].first);
    EXPECT_EQ(e.faceGroups[g].last, strip.faceGroups[g].last);
    EXPECT_EQ(e.faceGroups[g].max, strip.faceGroups[g].max);
  }
  ASSERT_EQ(e.mesh.faces.size(), 200u);
  EXPECT_EQ(e.mesh.faces[7].c, strip.mesh.faces[7].c);
  EXPECT_EQ(e.mesh.vertices.size(), 202u);
}

}  // namespace
