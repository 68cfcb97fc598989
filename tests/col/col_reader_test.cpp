// dffinfo's COL checks, each on an entry spoilt the way the game would
// misread it.
#include <gtest/gtest.h>

#include <cstring>

#include "col/col3_writer.h"
#include "dff_inspect/inspect.h"
#include "tests/col/col_bytes.h"

namespace {

constexpr std::size_t kFlagsAt = 80, kFaceCountAt = 76, kFaceOffsetAt = 100, kVertexOffsetAt = 96;

// Two faces over four vertices, inside bounds that hold them.
std::vector<std::uint8_t> Sound() {
  col::Entry e;
  e.name = "plate";
  e.bounds = {{-1, -1, -1}, {1, 1, 1}, {0, 0, 0}, 1.75f};
  e.mesh.vertices = {{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}};
  e.mesh.faces = {{0, 2, 1, 1, 0xFF}, {1, 2, 3, 1, 0xFF}};
  std::vector<std::uint8_t> bytes;
  col::AppendCol3Entry(e, bytes);
  return bytes;
}

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, static_cast<std::uint16_t>(v));
  Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// The messages of one severity, joined for matching.
std::string Found(const std::vector<std::uint8_t>& bytes, dffinfo::Severity severity) {
  std::string text;
  const dffinfo::Inspection read = dffinfo::Inspect(bytes);
  for (const dffinfo::Finding& f : read.findings.all()) {
    if (f.severity == severity) text += f.path + ": " + f.message + "\n";
  }
  return text;
}
std::string Damage(const std::vector<std::uint8_t>& b) { return Found(b, dffinfo::Severity::Damage); }
std::string Warnings(const std::vector<std::uint8_t>& b) { return Found(b, dffinfo::Severity::Warning); }

TEST(ColReader, TheSoundEntryHasNoFindings) {
  EXPECT_EQ(Damage(Sound()) + Warnings(Sound()), "");
}

TEST(ColReader, ReportsFacesWithoutTheNotEmptyFlag) {
  std::vector<std::uint8_t> b = Sound();
  Put32(b, kFlagsAt, 0);
  EXPECT_NE(Damage(b).find("not flag 0x02"), std::string::npos) << Damage(b);
  Put32(b, kFlagsAt, 0x12);
  EXPECT_NE(Damage(b).find("flag 0x10"), std::string::npos) << Damage(b);
}

TEST(ColReader, ReportsAFaceIndexThatReachesIntoTheFaces) {
  std::vector<std::uint8_t> b = Sound();
  const std::size_t faces = 4 + coltest::U32(b, kFaceOffsetAt);
  Put16(b, faces + 2, 5);  // vertex 5 of 4: the sixth vertex is the first face's bytes
  EXPECT_NE(Damage(b).find("overlaps the face block"), std::string::npos) << Damage(b);
}

TEST(ColReader, ReportsABlockOutsideItsEntry) {
  std::vector<std::uint8_t> b = Sound();
  Put16(b, kFaceCountAt, 40);
  EXPECT_NE(Damage(b).find("face block (offsets 140 to 460) lies outside the entry"), std::string::npos)
      << Damage(b);
  b = Sound();
  Put32(b, kVertexOffsetAt, 100);  // inside the header
  EXPECT_NE(Damage(b).find("lies outside the entry"), std::string::npos) << Damage(b);
  b = Sound();
  b.resize(b.size() - 4);  // the entry claims more than the file holds
  EXPECT_NE(Damage(b).find("declares"), std::string::npos) << Damage(b);
}

TEST(ColReader, ReportsFaceGroupsOutsideTheFaces) {
  std::vector<std::uint8_t> b = Sound();
  // Fake one group: it takes the place of the vertices' last 28 bytes is
  // not possible with four vertices, so grow the entry: insert the group
  // and its count before the faces and move the face offset.
  const std::uint32_t faceOffset = coltest::U32(b, kFaceOffsetAt);
  std::vector<std::uint8_t> group(32, 0);
  Put16(group, 24, 1);
  Put16(group, 26, 5);  // faces 1..5 of 2
  Put32(group, 28, 1);
  b.insert(b.begin() + 4 + faceOffset, group.begin(), group.end());
  Put32(b, kFaceOffsetAt, faceOffset + 32);
  Put32(b, 4, coltest::U32(b, 4) + 32);
  Put32(b, kFlagsAt, 0x0A);
  EXPECT_NE(Damage(b).find("face group 0 covers faces 1 to 5, outside the 2 faces"), std::string::npos)
      << Damage(b);
}

TEST(ColReader, ReportsASurfacePastTheLast) {
  std::vector<std::uint8_t> b = Sound();
  b[4 + coltest::U32(b, kFaceOffsetAt) + 8 + 6] = 179;
  EXPECT_NE(Damage(b).find("face 1 has surface type 179"), std::string::npos) << Damage(b);
}

TEST(ColReader, WarnsAboutBoundsAndLongNames) {
  std::vector<std::uint8_t> b = Sound();
  const float small = 0.5f;
  std::memcpy(&b[44], &small, 4);  // box max x below vertex x = 1
  EXPECT_NE(Warnings(b).find("vertex 1 lies outside the bounding box"), std::string::npos) << Warnings(b);
  b = Sound();
  const float radius = 1.0f;
  std::memcpy(&b[68], &radius, 4);
  EXPECT_NE(Warnings(b).find("does not enclose the bounding box"), std::string::npos) << Warnings(b);
  b = Sound();
  std::memset(&b[8], 'n', 22);
  EXPECT_NE(Warnings(b).find("without a terminating zero"), std::string::npos) << Warnings(b);
  EXPECT_EQ(Damage(b), "");
}

// A COLL entry: bounds, then counted spheres, lines, boxes, vertices and
// faces, one after the other.
std::vector<std::uint8_t> Legacy(std::uint32_t cornerIndex) {
  std::vector<std::uint8_t> b(8 + 22 + 2, 0);
  std::memcpy(b.data(), "COLLsizeold", 11);
  auto f32 = [&](float v) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &v, 4);
    b.insert(b.end(), bytes, bytes + 4);
  };
  auto u32 = [&](std::uint32_t v) {
    b.resize(b.size() + 4);
    Put32(b, b.size() - 4, v);
  };
  for (float v : {2.0f, 0.0f, 0.0f, 0.0f, -1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f}) f32(v);
  u32(0);  // spheres
  u32(0);  // lines
  u32(1);  // boxes
  for (float v : {-1.0f, -1.0f, 0.0f, 1.0f, 1.0f, 0.5f}) f32(v);
  b.insert(b.end(), {4, 0, 0, 0});
  u32(3);  // vertices
  for (float v : {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f}) f32(v);
  u32(1);  // faces
  u32(0);
  u32(2);
  u32(cornerIndex);
  b.insert(b.end(), {9, 0, 0, 0});
  Put32(b, 4, static_cast<std::uint32_t>(b.size() - 8));
  return b;
}

TEST(ColReader, DecodesCollEntriesAndTheirFaceIndices) {
  const dffinfo::Inspection read = dffinfo::Inspect(Legacy(1));
  EXPECT_TRUE(read.findings.all().empty()) << dffinfo::Describe(read.findings.all().at(0));
  ASSERT_EQ(read.colEntries.size(), 1u);
  const dffinfo::ColEntryRecord& e = read.colEntries[0];
  EXPECT_TRUE(e.decoded);
  EXPECT_EQ(e.sphereRadius, 2.0f);
  EXPECT_EQ(e.boxMax[2], 1.0f);
  ASSERT_EQ(e.boxes.size(), 1u);
  EXPECT_EQ(e.boxes[0].max[2], 0.5f);
  EXPECT_EQ(e.boxes[0].surface.material, 4);
  ASSERT_EQ(e.legacyMesh.vertices.size(), 3u);
  EXPECT_EQ(e.legacyMesh.vertices[2][1], 1.0f);
  ASSERT_EQ(e.legacyMesh.faces.size(), 1u);
  EXPECT_EQ(e.legacyMesh.faces[0].surface.material, 9);

  EXPECT_NE(Damage(Legacy(3)).find("face 0 uses vertex 3 of 3"), std::string::npos) << Damage(Legacy(3));
  std::vector<std::uint8_t> cut = Legacy(1);
  Put32(cut, 4, coltest::U32(cut, 4) - 8);  // the entry ends inside its faces
  EXPECT_NE(Damage(cut).find("ends before its 1 faces"), std::string::npos) << Damage(cut);
  Put32(cut, 4, coltest::U32(cut, 4) - 12);
  EXPECT_NE(Damage(cut).find("ends before the count of its faces"), std::string::npos) << Damage(cut);
}

TEST(ColReader, ReadsEntriesOfEveryVersionAndStopsAtBytesThatStartNoEntry) {
  std::vector<std::uint8_t> b = Sound();
  const std::vector<std::uint8_t> legacy = Legacy(1);
  b.insert(b.end(), legacy.begin(), legacy.end());
  const char col4[] = "COL4\x18\0\0\0new";
  b.insert(b.end(), col4, col4 + sizeof col4 - 1);
  b.resize(b.size() + 21, 0);  // the rest of the 24 bytes the size claims
  b.insert(b.end(), {'j', 'u', 'n', 'k', 0, 0, 0, 0});
  const dffinfo::Inspection read = dffinfo::Inspect(b);
  ASSERT_EQ(read.colEntries.size(), 3u);
  EXPECT_EQ(read.colEntries[1].fourcc, "COLL");
  EXPECT_TRUE(read.colEntries[1].decoded);
  EXPECT_EQ(read.colEntries[2].name, "new");
  EXPECT_FALSE(read.colEntries[2].decoded) << "COL4 is listed by its name";
  EXPECT_NE(Warnings(b).find("8 bytes after the last entry"), std::string::npos) << Warnings(b);
  EXPECT_EQ(Damage(b), "");
}

}  // namespace
