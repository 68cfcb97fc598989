// makecol on objects, scenes and DFFs, judged by what the game reads: the
// entry's faces, their winding, surfaces and bounds.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <filesystem>
#include <set>

#include "dff_inspect/inspect.h"
#include "lightwave/lwo2_writer.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;
using testsupport::ProgramResult;
using testsupport::ReadFileBytes;
using testsupport::RunInFolder;

class MakecolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("makecol-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  ProgramResult Run(const std::string& program, const std::string& arguments) {
    return RunInFolder(folder_, std::string("'") + program + "' " + arguments);
  }

  dffinfo::Inspection Read(const std::string& file) {
    dffinfo::Inspection read = dffinfo::Inspect(ReadFileBytes(folder_ / file));
    for (const dffinfo::Finding& f : read.findings.all()) ADD_FAILURE() << file << ": " << dffinfo::Describe(f);
    return read;
  }

  fs::path folder_;
};

// A box in LightWave's axes from `low` to `high`, its quads wound as
// Modeler winds them: clockwise seen from outside.
host::Mesh Box(std::array<float, 3> low, std::array<float, 3> high, const std::string& surface) {
  host::Mesh mesh;
  for (int i = 0; i < 8; ++i) {
    mesh.points.push_back({i & 1 ? high[0] : low[0], i & 2 ? high[1] : low[1], i & 4 ? high[2] : low[2]});
  }
  const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (const auto& f : faces) {
    host::Polygon polygon;
    polygon.points = {f[0], f[1], f[2], f[3]};
    polygon.surface = surface;
    mesh.polygons.push_back(polygon);
  }
  return mesh;
}

host::Lwo2Object Object(std::vector<std::pair<std::string, host::Mesh>> layers) {
  host::Lwo2Object object;
  int number = 0;
  for (auto& [name, mesh] : layers) {
    host::Lwo2Layer layer;
    layer.number = number++;
    layer.name = name;
    layer.mesh = std::move(mesh);
    object.layers.push_back(std::move(layer));
  }
  return object;
}

using Vec = std::array<double, 3>;
Vec Minus(Vec a, Vec b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec Cross(Vec a, Vec b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
double Dot(Vec a, Vec b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// How many faces have the game's outward normal, (c - a) x (b - a),
// pointing away from `centre`, and the signed volume of the mesh by the
// right-hand normal (b - a) x (c - a), which the game's winding makes
// negative for a closed solid.
struct Facing {
  std::size_t outward = 0;
  double volume = 0.0;
};

Facing FacingOf(const dffinfo::ColEntryRecord& entry, Vec centre) {
  Facing facing;
  auto at = [&](std::uint16_t i) {
    const auto& v = entry.mesh.vertices.at(i);
    return Vec{v[0] / 128.0, v[1] / 128.0, v[2] / 128.0};
  };
  for (const dffinfo::ColFace& f : entry.mesh.faces) {
    const Vec a = at(f.a), b = at(f.b), c = at(f.c);
    const Vec middle{(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3, (a[2] + b[2] + c[2]) / 3};
    if (Dot(Cross(Minus(c, a), Minus(b, a)), Minus(middle, centre)) > 0) ++facing.outward;
    facing.volume += Dot(a, Cross(b, c)) / 6.0;
  }
  return facing;
}

TEST_F(MakecolTest, AClosedBoxFacesOutwardFromTheObjectAndFromItsDff) {
  host::WriteLwo2File(Object({{"", Box({1, 2, 3}, {2, 4, 6}, "Box")}}), (folder_ / "box.lwo").string());
  ProgramResult made = Run(MAKECOL_PROGRAM, "box.lwo -o box.col");
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "box: 12 faces, 8 vertices, 1 surface\n");
  // The exporter's DFF of the same object, whose visual triangles face
  // the other way.
  ASSERT_EQ(Run(LWHOST_PROGRAM, "box.lwo -o fromdff.dff --no-col").status, 0);
  made = Run(MAKECOL_PROGRAM, "fromdff.dff -o fromdff.col");
  ASSERT_EQ(made.status, 0) << made.err;

  // LightWave (x, y, z) is the clump's (-x, -z, y): the box's centre
  // (1.5, 3, 4.5) lies at (-1.5, -4.5, 3).
  const Vec centre{-1.5, -4.5, 3.0};
  std::set<std::array<std::int16_t, 3>> corners[2];
  int i = 0;
  for (const char* file : {"box.col", "fromdff.col"}) {
    const dffinfo::Inspection read = Read(file);
    ASSERT_EQ(read.colEntries.size(), 1u);
    const dffinfo::ColEntryRecord& entry = read.colEntries[0];
    ASSERT_EQ(entry.mesh.faces.size(), 12u) << file;
    const Facing facing = FacingOf(entry, centre);
    EXPECT_EQ(facing.outward, 12u) << file;
    EXPECT_NEAR(facing.volume, -6.0, 1e-9) << file;
    corners[i++].insert(entry.mesh.vertices.begin(), entry.mesh.vertices.end());
  }
  EXPECT_EQ(corners[0], corners[1]) << "both inputs put the box in the same place";
}

TEST_F(MakecolTest, CollisionAndShadowLayersMakeTheEntryAndTheBodyOnlyTheBounds) {
  host::WriteLwo2File(Object({{"body", Box({-5, 0, -1}, {5, 3, 1}, "Paint")},
                              {"col", Box({-4, 0, -1}, {4, 1, 1}, "grass short lush")},
                              {"CM_roof", Box({-4, 1, -1}, {4, 2, 1}, "12 roof")},
                              {"shadow", Box({-4, -0.1f, -1}, {4, 0, 1}, "Paint")}}),
                      (folder_ / "house.lwo").string());
  const ProgramResult made = Run(MAKECOL_PROGRAM, "house.lwo -o house.col");
  ASSERT_EQ(made.status, 0) << made.err;
  // The two collision boxes share the four corners where they touch.
  EXPECT_EQ(made.out, "house: 24 faces, 12 vertices, 2 surfaces, shadow mesh of 12 faces\n");
  EXPECT_EQ(made.err, "") << "every surface name matches";
  const dffinfo::Inspection read = Read("house.col");
  const dffinfo::ColEntryRecord& entry = read.colEntries.at(0);
  EXPECT_EQ(entry.flags, 0x12u);
  std::set<int> surfaces;
  for (const auto& f : entry.mesh.faces) surfaces.insert(f.material);
  EXPECT_EQ(surfaces, (std::set<int>{9, 12}));
  EXPECT_LE(entry.boxMin[0], -5.0f) << "the body widens the bounds";
  EXPECT_GE(entry.boxMax[0], 5.0f);
  EXPECT_GE(entry.boxMax[2], 3.0f);
}

TEST_F(MakecolTest, SeveralInputsGiveOneEntryEachNamedAfterTheirFiles) {
  host::WriteLwo2File(Object({{"", Box({0, 0, 0}, {1, 1, 1}, "Paint")}}), (folder_ / "crate.lwo").string());
  const char scene[] =
      "LWSC\n3\n\nFirstFrame 1\nLastFrame 1\n\nLoadObjectLayer 1 crate.lwo\nObjectMotion\nNumChannels 1\n"
      "Channel 0\n{ Envelope\n  1\n  Key 10 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
  testsupport::WriteFileBytes(folder_ / "moved.lws", std::vector<std::uint8_t>(scene, scene + sizeof scene - 1));
  ProgramResult made = Run(MAKECOL_PROGRAM, "crate.lwo moved.lws -o both.col");
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_NE(made.err.find("no collision item"), std::string::npos) << made.err;
  EXPECT_NE(made.err.find("'Paint'"), std::string::npos) << "the unmatched surface is named: " << made.err;
  const dffinfo::Inspection read = Read("both.col");
  ASSERT_EQ(read.colEntries.size(), 2u);
  EXPECT_EQ(read.colEntries[0].name, "crate");
  EXPECT_EQ(read.colEntries[1].name, "moved");
  EXPECT_NEAR(read.colEntries[1].boxMin[0], -11.0f, 1e-4) << "the scene moves the crate 10 m along x";

  EXPECT_EQ(Run(MAKECOL_PROGRAM, "crate.lwo moved.lws -o named.col --name x").status, 2);
  EXPECT_FALSE(fs::exists(folder_ / "named.col"));
  made = Run(MAKECOL_PROGRAM, "crate.lwo -o lod.col --name lod_crate --bounds-only");
  ASSERT_EQ(made.status, 0) << made.err;
  const dffinfo::ColEntryRecord lod = Read("lod.col").colEntries.at(0);
  EXPECT_EQ(lod.name, "lod_crate");
  EXPECT_EQ(lod.flags, 0u);
  EXPECT_EQ(lod.size, 112u);
  EXPECT_GE(lod.boxMax[2], 1.0f);
}

TEST_F(MakecolTest, AnInputItCannotUseWritesNothing) {
  host::WriteLwo2File(Object({{"", Box({0, 0, 0}, {1, 1, 1}, "Paint")}}), (folder_ / "crate.lwo").string());
  host::WriteLwo2File(
      Object({{"wall_col", Box({0, 0, 300}, {1, 1, 301}, "Paint")}, {"", Box({0, 0, 0}, {1, 1, 1}, "x")}}),
      (folder_ / "far.lwo").string());
  testsupport::WriteFileBytes(folder_ / "notes.txt", {'h', 'i', '\n'});
  testsupport::WriteFileBytes(folder_ / "keep.col", {'o', 'l', 'd'});

  ProgramResult made = Run(MAKECOL_PROGRAM, "crate.lwo notes.txt -o keep.col");
  EXPECT_EQ(made.status, 1);
  EXPECT_NE(made.err.find("notes.txt cannot be used"), std::string::npos) << made.err;
  made = Run(MAKECOL_PROGRAM, "crate.lwo missing.lwo -o keep.col");
  EXPECT_EQ(made.status, 1);
  made = Run(MAKECOL_PROGRAM, "far.lwo -o keep.col");
  EXPECT_EQ(made.status, 1);
  EXPECT_NE(made.err.find("'far:wall_col' reaches (-1.00, -301.00, 1.00)"), std::string::npos) << made.err;
  EXPECT_EQ(ReadFileBytes(folder_ / "keep.col"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(made.out, "");
}

TEST_F(MakecolTest, DffinfoDecodesTheCollisionTheExporterEmbeds) {
  host::WriteLwo2File(Object({{"", Box({0, 0, 0}, {1, 1, 1}, "car")}}), (folder_ / "car.lwo").string());
  ASSERT_EQ(Run(MAKECOL_PROGRAM, "car.lwo -o car.col --name car_col").status, 0);
  ASSERT_EQ(Run(LWHOST_PROGRAM, "car.lwo -o car.dff --col car.col").status, 0);
  const dffinfo::Inspection read = Read("car.dff");
  ASSERT_EQ(read.colEntries.size(), 1u);
  EXPECT_EQ(read.colEntries[0].name, "car_col");
  EXPECT_EQ(read.colEntries[0].origin.path.rfind("Clump/Extension/", 0), 0u) << read.colEntries[0].origin.path;
  EXPECT_EQ(read.colEntries[0].mesh.faces.at(0).material, 63) << "CAR";
  const ProgramResult listed = Run(DFFINFO_PROGRAM, "car.dff");
  EXPECT_NE(listed.out.find("collision mesh: 12 faces, 8 vertices"), std::string::npos) << listed.out;
}

TEST_F(MakecolTest, DffinfoListsAColFileForProgramsAndFailsADamagedOne) {
  host::WriteLwo2File(Object({{"", Box({0, 0, 0}, {1, 1, 1}, "43 wood")}}), (folder_ / "crate.lwo").string());
  ASSERT_EQ(Run(MAKECOL_PROGRAM, "crate.lwo -o crate.col").status, 0);
  ProgramResult listed = Run(DFFINFO_PROGRAM, "--json crate.col");
  ASSERT_EQ(listed.status, 0) << listed.err;
  const nlohmann::json entry = nlohmann::json::parse(listed.out).at("colEntries").at(0);
  EXPECT_EQ(entry.at("fourcc"), "COL3");
  EXPECT_EQ(entry.at("flags"), 2);
  EXPECT_EQ(entry.at("mesh").at("faces").size(), 12u);
  EXPECT_EQ(entry.at("mesh").at("faces").at(0).at("material"), 43);
  EXPECT_EQ(entry.at("mesh").at("vertices").size(), 8u);

  std::vector<std::uint8_t> bytes = ReadFileBytes(folder_ / "crate.col");
  bytes.at(80) = 0;  // the flags: without 0x02 the game ignores the faces
  testsupport::WriteFileBytes(folder_ / "broken.col", bytes);
  listed = Run(DFFINFO_PROGRAM, "broken.col");
  EXPECT_EQ(listed.status, 1);
  EXPECT_NE(listed.err.find("not flag 0x02"), std::string::npos) << listed.err;
}

TEST_F(MakecolTest, DffinfoDecodesTheExamplesEmbeddedCollision) {
  const std::string example = EXAMPLE_DIR;
  ASSERT_EQ(Run(LWHOST_PROGRAM, "'" + example + "/buggy.lws' -o buggy.dff --col '" + example + "/buggy.col'").status,
            0);
  const dffinfo::Inspection read = Read("buggy.dff");
  ASSERT_EQ(read.colEntries.size(), 1u);
  const dffinfo::ColEntryRecord& entry = read.colEntries[0];
  EXPECT_EQ(entry.fourcc, "COLL");
  EXPECT_EQ(entry.name, "buggy");
  ASSERT_EQ(entry.boxes.size(), 1u);
  EXPECT_EQ(entry.boxes[0].max[0], 1.2f);
  EXPECT_EQ(entry.boxes[0].surface.material, 4) << "PAVEMENT";
  EXPECT_NE(Run(DFFINFO_PROGRAM, "buggy.dff").out.find("COLL[0] 'buggy'"), std::string::npos);
}

}  // namespace
