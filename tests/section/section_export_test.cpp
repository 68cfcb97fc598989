// "Export map section" through lwhost and the real module: a street of
// placed objects becomes IDE, IPL, IMG and install text, and the game's
// reading of every IPL line puts every vertex of the instance's model
// where Layout shows it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "dff_inspect/inspect.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lws_writer.h"
#include "section/map_text.h"
#include "tests/placement/layout_rule.h"
#include "tests/support/files_and_programs.h"
#include "tests/support/test_images.h"

namespace {
namespace fs = std::filesystem;
using placementtest::Point;
using placementtest::Pose;

constexpr double kDegree = 3.14159265358979323846 / 180.0;

using Points = std::vector<std::array<float, 3>>;
const Points kLamp = {{0, 0, 0}, {1, 0, 0}, {0, 3, 0}, {0, 0, 0.5f}, {1, 0, 0.5f}, {0, 3, 0.5f}};
const Points kHouse = {{-2, 0, -2}, {2, 0, -2}, {2, 4, -2}, {-2, 4, -2}, {-2, 0, 2}, {2, 0, 2}, {2, 4, 2}, {-2, 4, 2}};

host::Lwo2Object Solid(const Points& points, const std::vector<std::vector<int>>& faces, const char* surfaceName) {
  host::Lwo2Layer layer;
  layer.mesh.points = points;
  for (const auto& face : faces) layer.mesh.polygons.push_back(host::Polygon{0x46414345u, face, surfaceName});
  host::Lwo2Object object;
  object.layers.push_back(layer);
  host::Lwo2Surface surface;
  surface.name = surfaceName;
  object.surfaces.push_back(surface);
  return object;
}

host::Lwo2Object Lamp() {
  return Solid(kLamp, {{0, 2, 1}, {3, 4, 5}, {0, 1, 4, 3}, {1, 2, 5, 4}, {2, 0, 3, 5}}, "metal");
}
host::Lwo2Object House() {
  return Solid(kHouse, {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}}, "brick");
}

struct StreetItem {
  host::LwsItemKind kind = host::LwsItemKind::kObject;
  std::string object;  // "lamp.lwo" or "house.lwo"
  Pose pose;
  std::string name = "corner";  // nulls and lights; a light is a point light
};

// Lamps as they stand, turned by heading and pitch about a pivot, turned a
// quarter, and hung under a turned null; a house turned, and once scaled.
std::vector<StreetItem> Street() {
  return {
      {host::LwsItemKind::kObject, "lamp.lwo", {-1, {10, 0, 5}}},
      {host::LwsItemKind::kObject,
       "lamp.lwo",
       {-1, {-20, 1, 30}, {30 * kDegree, 20 * kDegree, 0}, {1, 1, 1}, {0.2, 0, 0.1}}},
      {host::LwsItemKind::kObject, "lamp.lwo", {-1, {0, 0, 0}, {90 * kDegree, 0, 0}}},
      {host::LwsItemKind::kObject, "house.lwo", {-1, {50, 0, -40}, {-45 * kDegree, 0, 0}}},
      {host::LwsItemKind::kObject, "house.lwo", {-1, {0, 0, 100}, {0, 0, 0}, {2, 2, 2}}},
      {host::LwsItemKind::kNull, "", {-1, {100, 0, 0}, {45 * kDegree, 0, 0}}},
      {host::LwsItemKind::kObject, "lamp.lwo", {5, {5, 0, 0}, {10 * kDegree, 0, 0}}},
  };
}

struct ImgFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(b.at(at + i)) << (8 * i);
  return value;
}

// The archive's files as the game's directory reader finds them.
std::vector<ImgFile> ReadImg(const std::vector<std::uint8_t>& img) {
  std::vector<ImgFile> files;
  EXPECT_EQ(std::string(img.begin(), img.begin() + 4), "VER2");
  for (std::uint32_t i = 0; i < U32(img, 4); ++i) {
    const std::size_t at = 8 + 32 * i;
    const std::size_t offset = U32(img, at) * 2048u;
    const std::size_t size = (U32(img, at + 4) & 0xFFFFu) * 2048u;
    EXPECT_EQ(U32(img, at + 4) >> 16, 0u);
    EXPECT_LE(offset + size, img.size());
    files.push_back({std::string(reinterpret_cast<const char*>(&img.at(at + 8))),
                     std::vector<std::uint8_t>(img.begin() + static_cast<std::ptrdiff_t>(offset),
                                               img.begin() + static_cast<std::ptrdiff_t>(offset + size))});
  }
  return files;
}

const ImgFile& Find(const std::vector<ImgFile>& files, const std::string& name) {
  for (const ImgFile& file : files) {
    if (file.name == name) return file;
  }
  throw std::runtime_error("no " + name + " in the archive");
}

// An IPL line as the game places it: when |x| or |y| of the stored
// quaternion exceeds 0.05 it turns by the matrix of (-x, -y, -z, w), else
// by the heading alone, -2 acos(w) for z >= 0 and +2 acos(w) otherwise, about
// z; then it moves to the position.
struct GamePlacement {
  double m[3][3];
  Point position;

  Point Apply(const Point& v) const {
    Point out{};
    for (std::size_t r = 0; r < 3; ++r) out[r] = m[r][0] * v[0] + m[r][1] * v[1] + m[r][2] * v[2] + position[r];
    return out;
  }
};

GamePlacement ReadAsTheGame(const std::vector<std::string>& f) {
  GamePlacement g{};
  g.position = {std::stod(f[3]), std::stod(f[4]), std::stod(f[5])};
  double x = std::stod(f[6]), y = std::stod(f[7]), z = std::stod(f[8]), w = std::stod(f[9]);
  if (std::fabs(x) > 0.05 || std::fabs(y) > 0.05) {
    x = -x;
    y = -y;
    z = -z;
    const double rows[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                               {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                               {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) g.m[r][c] = rows[r][c];
    }
  } else {
    const double h = z >= 0 ? -2 * std::acos(w) : 2 * std::acos(w);
    const double rows[3][3] = {{std::cos(h), -std::sin(h), 0}, {std::sin(h), std::cos(h), 0}, {0, 0, 1}};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) g.m[r][c] = rows[r][c];
    }
  }
  return g;
}

class SectionExport : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("velmora-section-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    host::WriteLwo2File(Lamp(), (folder_ / "lamp.lwo").string());
    host::WriteLwo2File(House(), (folder_ / "house.lwo").string());
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteScene(const std::vector<StreetItem>& items) {
    std::vector<host::LwsWriterItem> written;
    for (const StreetItem& item : items) {
      host::LwsWriterItem w;
      w.kind = item.kind;
      w.objectPath = item.object;
      w.name = item.name;
      if (item.kind == host::LwsItemKind::kLight) w.light.type = 1;
      w.parent = item.pose.parent;
      w.position = item.pose.position;
      w.rotation = item.pose.rotation;
      w.scale = item.pose.scale;
      if (item.kind == host::LwsItemKind::kObject) w.pivot = item.pose.pivot;
      written.push_back(w);
    }
    const std::string text = host::WriteLws(written);
    testsupport::WriteFileBytes(folder_ / "street.lws", std::vector<std::uint8_t>(text.begin(), text.end()));
  }

  testsupport::ProgramResult Export(const std::string& arguments = "") {
    return testsupport::RunInFolder(folder_, std::string(LWHOST_PROGRAM) + " --section street.lws -o street.ide " +
                                                 arguments);
  }

  std::vector<section::MapTextLine> Lines(const char* file) {
    return section::ReadMapText(testsupport::ReadFileText(folder_ / file));
  }

  fs::path folder_;
};

TEST_F(SectionExport, WritesOneModelPerObjectAndScalingAndALinePerInstance) {
  WriteScene(Street());
  const testsupport::ProgramResult result = Export();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("house_2"), std::string::npos) << result.err;  // the scaled house is a model of its own

  const std::vector<section::MapTextLine> ide = Lines("street.ide");
  ASSERT_EQ(ide.size(), 3u);
  const std::vector<std::string> names{"lamp", "house", "house_2"};
  for (std::size_t i = 0; i < ide.size(); ++i) {
    EXPECT_EQ(ide[i].fields, (std::vector<std::string>{std::to_string(18631 + i), names[i], names[i],
                                                       ide[i].fields.at(3), "0"}));
    EXPECT_GE(std::stod(ide[i].fields[3]), 50);
    EXPECT_LE(std::stod(ide[i].fields[3]), 299);
  }
  const std::vector<section::MapTextLine> ipl = Lines("street.ipl");
  ASSERT_EQ(ipl.size(), 5u + 1u);
  EXPECT_EQ(ipl[4].fields[0], "18633");
  EXPECT_EQ(ipl[4].fields[1], "house_2");
  for (const auto& line : ipl) {
    ASSERT_EQ(line.fields.size(), 11u);
    EXPECT_EQ(line.fields[2], "0");
    EXPECT_EQ(line.fields[10], "-1");
  }

  const std::vector<ImgFile> img = ReadImg(testsupport::ReadFileBytes(folder_ / "street.img"));
  std::vector<std::string> archived;
  for (const ImgFile& file : img) archived.push_back(file.name);
  EXPECT_EQ(archived, (std::vector<std::string>{"lamp.dff", "lamp.txd", "house.dff", "house.txd", "house_2.dff",
                                                "house_2.txd", "street.col"}));
  const dffinfo::Inspection col = dffinfo::Inspect(Find(img, "street.col").bytes);
  ASSERT_EQ(col.colEntries.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(col.colEntries[i].name, names[i]);
    EXPECT_EQ(col.colEntries[i].modelId, 18631 + i);
  }
  const std::string install = testsupport::ReadFileText(folder_ / "street.txt");
  EXPECT_NE(install.find("IMG MODELS\\STREET.IMG\nIDE DATA\\MAPS\\STREET\\STREET.IDE\n"), std::string::npos);
  EXPECT_NE(install.find("IPL DATA\\MAPS\\STREET\\STREET.IPL"), std::string::npos);
}

// The model's vertices through the game's reading of each IPL line land on
// the item's points where Layout shows them.
TEST_F(SectionExport, TheGamesReadingOfEachLinePutsEveryVertexWhereLayoutShowsIt) {
  const std::vector<StreetItem> items = Street();
  WriteScene(items);
  ASSERT_EQ(Export().status, 0);
  const std::vector<ImgFile> img = ReadImg(testsupport::ReadFileBytes(folder_ / "street.img"));
  const std::vector<section::MapTextLine> ipl = Lines("street.ipl");
  std::vector<Pose> poses;
  std::vector<int> objectItems;
  for (std::size_t i = 0; i < items.size(); ++i) {
    poses.push_back(items[i].pose);
    if (items[i].kind == host::LwsItemKind::kObject) objectItems.push_back(static_cast<int>(i));
  }
  ASSERT_EQ(ipl.size(), objectItems.size());
  for (std::size_t line = 0; line < ipl.size(); ++line) {
    SCOPED_TRACE("IPL line " + std::to_string(line));
    const int item = objectItems[line];
    const dffinfo::Inspection dff = dffinfo::Inspect(Find(img, ipl[line].fields[1] + ".dff").bytes);
    ASSERT_TRUE(dff.sound());
    ASSERT_EQ(dff.clumps.at(0).geometries.size(), 1u);
    const GamePlacement game = ReadAsTheGame(ipl[line].fields);
    const Points& object = items[static_cast<std::size_t>(item)].object == "lamp.lwo" ? kLamp : kHouse;
    std::vector<Point> expected;
    for (const auto& p : object) {
      expected.push_back(placementtest::LayoutWorld(poses, item, placementtest::Widened(p)));
    }
    std::vector<bool> met(expected.size(), false);
    for (const dffinfo::Vec3& v : dff.clumps[0].geometries[0].morphTargets.at(0).positions) {
      const Point world = placementtest::FromGame(game.Apply(placementtest::Widened(v)));
      std::size_t nearest = 0;
      for (std::size_t i = 1; i < expected.size(); ++i) {
        const double distance = placementtest::Distance(world, expected[i]);
        if (distance < placementtest::Distance(world, expected[nearest])) nearest = i;
      }
      EXPECT_LT(placementtest::Distance(world, expected[nearest]), 1e-4);
      met[nearest] = true;
    }
    for (std::size_t i = 0; i < met.size(); ++i) EXPECT_TRUE(met[i]) << "point " << i;
  }
}

// A LOD object stands in for the instance of its model nearest to it:
// that instance's line points at the LOD's line, drawn from far away.
TEST_F(SectionExport, ALodItemStandsInForTheNearestInstanceOfItsModel) {
  host::WriteLwo2File(House(), (folder_ / "LODhouse.lwo").string());
  std::vector<StreetItem> items = Street();
  items.push_back({host::LwsItemKind::kObject, "LODhouse.lwo", {-1, {49, 0, -41}}});
  WriteScene(items);
  ASSERT_EQ(Export().status, 0);
  const std::vector<section::MapTextLine> ide = Lines("street.ide");
  ASSERT_EQ(ide.size(), 4u);
  EXPECT_EQ(ide[3].fields, (std::vector<std::string>{"18634", "LODhouse", "LODhouse", "800", "128"}));
  const std::vector<section::MapTextLine> ipl = Lines("street.ipl");
  ASSERT_EQ(ipl.size(), 7u);
  for (std::size_t i = 0; i < ipl.size(); ++i) {
    EXPECT_EQ(ipl[i].fields.at(10), i == 3 ? "6" : "-1") << "line " << i;
  }
  const std::vector<ImgFile> img = ReadImg(testsupport::ReadFileBytes(folder_ / "street.img"));
  const dffinfo::Inspection col = dffinfo::Inspect(Find(img, "street.col").bytes);
  ASSERT_EQ(col.colEntries.size(), 4u);
  EXPECT_EQ(col.colEntries[3].name, "LODhouse");
  EXPECT_TRUE(col.colEntries[3].mesh.faces.empty());
  EXPECT_FALSE(col.colEntries[1].mesh.faces.empty());
}

// dffinfo reads the section as the game will: the export is sound, and a
// damaged IPL and a cut archive are named line by line.
TEST_F(SectionExport, DffinfoChecksTheWholeSection) {
  host::WriteLwo2File(House(), (folder_ / "LODhouse.lwo").string());
  std::vector<StreetItem> items = Street();
  items.push_back({host::LwsItemKind::kObject, "LODhouse.lwo", {-1, {49, 0, -41}}});
  WriteScene(items);
  ASSERT_EQ(Export().status, 0);
  const std::string dffinfo = std::string(DFFINFO_PROGRAM) + " ";
  testsupport::ProgramResult checked = testsupport::RunInFolder(folder_, dffinfo + "street.ipl");
  EXPECT_EQ(checked.status, 0) << checked.err;
  EXPECT_EQ(checked.err, "");
  EXPECT_NE(checked.out.find("street.img: 9 files, 4 COL entries"), std::string::npos) << checked.out;

  std::string ipl = testsupport::ReadFileText(folder_ / "street.ipl");
  ipl.replace(ipl.find("end"), 3,
              "17000, ghost, 0, 1, 2, 3, 0, 0, 0, 1, -1\n"
              "18631, lamp, 0, 3500, 0, 0, 0, 0, 0.5, 0.5, 42\nend");
  testsupport::WriteFileBytes(folder_ / "street.ipl", std::vector<std::uint8_t>(ipl.begin(), ipl.end()));
  auto img = testsupport::ReadFileBytes(folder_ / "street.img");
  img.resize(img.size() - 2048);
  testsupport::WriteFileBytes(folder_ / "street.img", img);
  checked = testsupport::RunInFolder(folder_, dffinfo + "street.ide --quiet");
  EXPECT_EQ(checked.status, 1);
  for (const char* expected : {"ID 17000 (ghost) is not in", "not of unit length", "beyond the game's world",
                               "LOD index 42 names no other line", "street.col\") runs past the end of the file"}) {
    EXPECT_NE(checked.err.find(expected), std::string::npos) << expected << "\n" << checked.err;
  }
  checked = testsupport::RunInFolder(folder_, dffinfo + "street.img --json --quiet");
  EXPECT_EQ(checked.status, 1);
  EXPECT_NE(checked.out.find("\"severity\": \"damage\""), std::string::npos) << checked.out;
}

// A see-through surface makes the model drawn last, its see-through
// material after the opaque one whatever the surfaces' order.
TEST_F(SectionExport, SeeThroughMaterialsComeLastAndTheModelIsDrawnLast) {
  host::Lwo2Object kiosk = House();
  host::Lwo2Surface glass;
  glass.name = "glass";
  glass.transparency = 0.5;
  kiosk.surfaces.insert(kiosk.surfaces.begin(), glass);
  kiosk.layers[0].mesh.polygons[0].surface = "glass";
  host::WriteLwo2File(kiosk, (folder_ / "kiosk.lwo").string());
  WriteScene({{host::LwsItemKind::kObject, "kiosk.lwo", {}}, {host::LwsItemKind::kObject, "lamp.lwo", {}}});
  ASSERT_EQ(Export().status, 0);
  const std::vector<section::MapTextLine> ide = Lines("street.ide");
  ASSERT_EQ(ide.size(), 2u);
  EXPECT_EQ(ide[0].fields.at(4), "4");
  EXPECT_EQ(ide[1].fields.at(4), "0");
  const std::vector<ImgFile> img = ReadImg(testsupport::ReadFileBytes(folder_ / "street.img"));
  const dffinfo::Inspection dff = dffinfo::Inspect(Find(img, "kiosk.dff").bytes);
  const auto& materials = dff.clumps.at(0).geometries.at(0).materialList.value().materials;
  ASSERT_EQ(materials.size(), 2u);
  EXPECT_EQ(materials[0].rgba[3], 255);
  EXPECT_LT(materials[1].rgba[3], 255);
}

// A tilt the game would drop is named; more instances than one IPL holds
// are an error with their count.
TEST_F(SectionExport, WarnsOfDroppedTiltsAndRefusesMoreInstancesThanTheGameHolds) {
  WriteScene({{host::LwsItemKind::kObject, "lamp.lwo", {-1, {0, 0, 0}, {0, 3 * kDegree, 0}}}});
  testsupport::ProgramResult result = Export();
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.err.find("upright"), std::string::npos) << result.err;

  std::vector<StreetItem> many(1001, StreetItem{host::LwsItemKind::kObject, "lamp.lwo", {}});
  WriteScene(many);
  result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("1001 instances"), std::string::npos) << result.err;
}

// Names the game cannot hold or tell apart are errors that name the files.
TEST_F(SectionExport, NamesTheGameCannotTellApartAreErrors) {
  fs::create_directories(folder_ / "sub");
  host::WriteLwo2File(Lamp(), (folder_ / "sub" / "LAMP.lwo").string());
  host::WriteLwo2File(Lamp(), (folder_ / "a_lamp_of_twenty_ch.lwo").string());
  std::vector<StreetItem> items = Street();
  items.push_back({host::LwsItemKind::kObject, "sub/LAMP.lwo", {}});
  WriteScene(items);
  testsupport::ProgramResult result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("LAMP.lwo"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("cannot tell apart"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(folder_ / "street.ide"));

  items.back().object = "a_lamp_of_twenty_ch.lwo";
  items.back().pose.scale = {1, 1, 2};  // "a_lamp_of_twenty_ch" fits, its second scaling "..._2" does not
  items.push_back({host::LwsItemKind::kObject, "a_lamp_of_twenty_ch.lwo", {}});
  WriteScene(items);
  result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("a_lamp_of_twenty_ch_2"), std::string::npos) << result.err;
}

// The IDE beside the output is the section's settings: what the user
// edited stays, and a model new to the scene takes the next ID.
TEST_F(SectionExport, TheIdeKeepsWhatTheUserEditedAcrossExports) {
  std::vector<StreetItem> items = Street();
  items.resize(3);  // the lamps only
  WriteScene(items);
  ASSERT_EQ(Export("--first-id 1000").status, 0);
  EXPECT_EQ(Lines("street.ide").at(0).fields.at(0), "1000");
  const std::string edited = "objs\n1200, lamp, lamp, 150, 128\nend\n";
  testsupport::WriteFileBytes(folder_ / "street.ide", std::vector<std::uint8_t>(edited.begin(), edited.end()));
  WriteScene(Street());
  ASSERT_EQ(Export().status, 0);  // the IDE's IDs rule, not the default first ID
  const std::vector<section::MapTextLine> ide = Lines("street.ide");
  ASSERT_EQ(ide.size(), 3u);
  EXPECT_EQ(ide[0].fields, (std::vector<std::string>{"1200", "lamp", "lamp", "150", "128"}));
  EXPECT_EQ(ide[1].fields.at(0), "1201");
  EXPECT_EQ(ide[2].fields.at(0), "1202");
  EXPECT_EQ(Lines("street.ipl").at(0).fields.at(0), "1200");
}

// A failed export names what is wrong and leaves the section as it was.
TEST_F(SectionExport, AFailedExportLeavesTheSectionAsItWas) {
  WriteScene(Street());
  ASSERT_EQ(Export().status, 0);
  const auto before = testsupport::ReadFileBytes(folder_ / "street.img");
  const auto ideBefore = testsupport::ReadFileText(folder_ / "street.ide");

  std::vector<StreetItem> beyond = Street();
  beyond[3].pose.position = {3100, 0, 0};  // Layout's x is the game's -x
  WriteScene(beyond);
  testsupport::ProgramResult result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("3,000"), std::string::npos) << result.err;

  WriteScene(Street());
  fs::remove(folder_ / "street.ide");
  result = Export("--first-id 19998");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("19999"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(folder_ / "street.ide"));

  testsupport::WriteFileBytes(folder_ / "street.ide", std::vector<std::uint8_t>(ideBefore.begin(), ideBefore.end()));
  EXPECT_EQ(testsupport::ReadFileBytes(folder_ / "street.img"), before);
  for (const auto& entry : fs::directory_iterator(folder_)) {
    EXPECT_EQ(entry.path().string().find("velmora-part"), std::string::npos) << entry.path();
  }
}

// A lamp post scaled unevenly is a model of its own with the scaling in its
// points; its normals stay square to the scaled faces, as the inverse
// transpose of the scaling turns the unscaled model's normals.
TEST_F(SectionExport, AnUnevenlyScaledModelsNormalsStaySquareToItsFaces) {
  const Point scaling{2, 0.5, 1.5};
  WriteScene({{host::LwsItemKind::kObject, "lamp.lwo", {-1, {0, 0, 0}}},
              {host::LwsItemKind::kObject, "lamp.lwo", {-1, {20, 0, 0}, {0, 0, 0}, scaling}}});
  const testsupport::ProgramResult result = Export();
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<ImgFile> img = ReadImg(testsupport::ReadFileBytes(folder_ / "street.img"));
  const dffinfo::Inspection plain = dffinfo::Inspect(Find(img, "lamp.dff").bytes);
  const dffinfo::Inspection scaled = dffinfo::Inspect(Find(img, "lamp_2.dff").bytes);
  ASSERT_TRUE(plain.sound() && scaled.sound());
  const auto& before = plain.clumps.at(0).geometries.at(0).morphTargets.at(0);
  const auto& after = scaled.clumps.at(0).geometries.at(0).morphTargets.at(0);
  ASSERT_EQ(before.positions.size(), after.positions.size());
  ASSERT_EQ(after.normals.size(), after.positions.size());
  // Layout's x, y, z are the game's -x, z, y.
  const Point gameScaling{scaling[0], scaling[2], scaling[1]};
  for (std::size_t i = 0; i < after.positions.size(); ++i) {
    SCOPED_TRACE("vertex " + std::to_string(i));
    Point expected{};
    double length = 0;
    for (std::size_t a = 0; a < 3; ++a) {
      EXPECT_NEAR(after.positions[i][a], static_cast<double>(before.positions[i][a]) * gameScaling[a], 1e-5);
      expected[a] = static_cast<double>(before.normals[i][a]) / gameScaling[a];
      length += expected[a] * expected[a];
    }
    for (std::size_t a = 0; a < 3; ++a) EXPECT_NEAR(after.normals[i][a], expected[a] / std::sqrt(length), 1e-5);
  }
}

// A lamp post placed twice, turned differently, and once scaled, each
// with a point light at its lamp: each model carries its first instance's
// light, and the game's reading of every IPL line puts it where Layout
// shows that instance's light.  An effect name the game cannot hold
// writes nothing.
TEST_F(SectionExport, EachModelCarriesItsFirstInstancesLightsWhereLayoutShowsThem) {
  const Point lampAtPost{0.5, 3.2, 0.25};
  const std::vector<StreetItem> items = {
      {host::LwsItemKind::kObject,
       "lamp.lwo",
       {-1, {-20, 1, 30}, {30 * kDegree, 20 * kDegree, 0}, {1, 1, 1}, {0.2, 0, 0.1}}},
      {host::LwsItemKind::kLight, "", {0, lampAtPost}, "lamp"},
      {host::LwsItemKind::kObject, "lamp.lwo", {-1, {40, 0, 8}, {-100 * kDegree, 0, 0}}},
      {host::LwsItemKind::kNull, "", {2, {0, 3, 0}}, "arm"},
      {host::LwsItemKind::kLight, "", {3, {0.5, 0.2, 0.25}}, "lamp"},
      {host::LwsItemKind::kObject, "lamp.lwo", {-1, {0, 0, -60}, {200 * kDegree, 0, 0}, {2, 1.5, 2}}},
      {host::LwsItemKind::kLight, "", {5, lampAtPost}, "lamp"},
  };
  WriteScene(items);
  testsupport::ProgramResult result = Export();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err.find("not written"), std::string::npos) << result.err;  // no light was left over
  EXPECT_EQ(result.err.find("other lights"), std::string::npos) << result.err;
  std::vector<Pose> poses;
  for (const StreetItem& item : items) poses.push_back(item.pose);
  const std::vector<ImgFile> img = ReadImg(testsupport::ReadFileBytes(folder_ / "street.img"));
  const std::vector<section::MapTextLine> ipl = Lines("street.ipl");
  ASSERT_EQ(ipl.size(), 3u);
  const int lightOfLine[] = {1, 4, 6};
  for (std::size_t line = 0; line < ipl.size(); ++line) {
    SCOPED_TRACE("IPL line " + std::to_string(line));
    const dffinfo::Inspection dff = dffinfo::Inspect(Find(img, ipl[line].fields[1] + ".dff").bytes);
    ASSERT_TRUE(dff.sound());
    const auto& effects = dff.clumps.at(0).geometries.at(0).effects;
    ASSERT_TRUE(effects);
    ASSERT_EQ(effects->entries.size(), 1u);
    ASSERT_TRUE(effects->entries[0].light);
    const Point world = placementtest::FromGame(
        ReadAsTheGame(ipl[line].fields).Apply(placementtest::Widened(effects->entries[0].position)));
    EXPECT_LT(placementtest::Distance(world, placementtest::LayoutWorld(poses, lightOfLine[line], {0, 0, 0})), 1e-4);
  }

  // A fire on the second post alone: the model shows the first post's
  // light on both, and the warning names the post whose fire is not shown.
  std::vector<StreetItem> extraEffect = items;
  extraEffect.push_back({host::LwsItemKind::kNull, "", {2, {0, 3, 0}}, "fx_fire"});
  WriteScene(extraEffect);
  result = Export();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("other lights or particle effects"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("\"lamp\" (IPL line 2, first instance on line 1)"), std::string::npos) << result.err;

  std::vector<StreetItem> badName = items;
  badName.push_back({host::LwsItemKind::kNull, "", {2, {0, 3, 0}}, "fx_an_effect_of_twenty_four"});
  WriteScene(badName);
  fs::remove(folder_ / "street.ide");
  result = Export();
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("fx_an_effect_of_twenty_four"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(folder_ / "street.ide"));
}

}  // namespace

// A flat square of `cells` x `cells` quads, `side` metres across, centred
// on the origin: the left half "stone", textured with stone.png through
// the UV map "uv" (u, v across the square), the right half "moss"; a day
// colour on every point that differs from its neighbours'.
host::Lwo2Object Ground(int cells, float side) {
  host::Lwo2Layer layer;
  host::UvMap uv;
  uv.name = "uv";
  host::UvMap day{"day", 3, {}, {}, host::kVertexMapRgb};
  const int across = cells + 1;
  for (int row = 0; row <= cells; ++row) {
    for (int column = 0; column <= cells; ++column) {
      const float u = static_cast<float>(column) / static_cast<float>(cells);
      const float v = static_cast<float>(row) / static_cast<float>(cells);
      layer.mesh.points.push_back({(u - 0.5f) * side, 0.0f, (v - 0.5f) * side});
      uv.pointValues[row * across + column] = {u, v};
      day.pointValues[row * across + column] = {u, v, static_cast<float>((row + column) % 7) / 7.0f};
    }
  }
  for (int row = 0; row < cells; ++row) {
    for (int column = 0; column < cells; ++column) {
      const int at = row * across + column;
      layer.mesh.polygons.push_back(
          host::Polygon{0x46414345u, {at, at + across, at + across + 1, at + 1}, column < cells / 2 ? "stone" : "moss"});
    }
  }
  layer.mesh.uvMaps.push_back(uv);
  layer.mesh.colorMaps.push_back(day);
  host::Lwo2Object object;
  object.layers.push_back(layer);
  host::Lwo2Surface stone, moss;
  stone.name = "stone";
  stone.colorLayers.push_back({host::TextureLayerType::kImage, "", 1u});
  moss.name = "moss";
  object.surfaces = {stone, moss};
  object.clips.push_back({1u, "stone.png"});
  return object;
}

struct GeometryView {
  std::vector<dffinfo::Vec3> positions;
  std::vector<dffinfo::Vec2> uvs;
  std::vector<dffinfo::Rgba> day;
  std::set<std::string> textures;
  std::size_t triangles = 0;
};

GeometryView ViewOf(const std::vector<std::uint8_t>& dff) {
  const dffinfo::Inspection read = dffinfo::Inspect(dff);
  EXPECT_TRUE(read.sound());
  const dffinfo::GeometryRecord& g = read.clumps.at(0).geometries.at(0);
  GeometryView view{g.morphTargets.at(0).positions, g.uvSets.at(0), g.prelight, {}, g.triangles.size()};
  for (const auto& material : g.materialList.value().materials) {
    if (material.texture) view.textures.insert(material.texture->name);
  }
  return view;
}

// The ground (28 m from its centre to its corners) and a tower as large
// with a LOD object of its own, each placed twice, and two small lamps.
class SectionLods : public SectionExport {
 protected:
  void SetUp() override {
    SectionExport::SetUp();
    host::WriteLwo2File(Ground(24, 40), (folder_ / "ground.lwo").string());
    host::WriteLwo2File(Ground(4, 40), (folder_ / "tower.lwo").string());
    host::WriteLwo2File(Ground(2, 40), (folder_ / "tower_lod.lwo").string());
    testsupport::WriteFileBytes(folder_ / "stone.png",
                                testsupport::EncodeImageFile(testsupport::TestPattern(16, 16), "png"));
    WriteScene({{host::LwsItemKind::kObject, "ground.lwo", {-1, {0, 0, 0}}},
                {host::LwsItemKind::kObject, "lamp.lwo", {-1, {3, 0, 0}}},
                {host::LwsItemKind::kObject, "ground.lwo", {-1, {100, 2, 50}, {30 * kDegree, 0, 0}}},
                {host::LwsItemKind::kObject, "tower.lwo", {-1, {-200, 0, 0}}},
                {host::LwsItemKind::kObject, "tower_lod.lwo", {-1, {-200, 0, 0}}},
                {host::LwsItemKind::kObject, "lamp.lwo", {-1, {5, 0, 0}}}});
  }
};

// The large model without a LOD gets one: a quarter of its triangles at
// most, its textures, and on every kept vertex the UV and day colour of
// the model's vertex there; a line at each instance, linked from it; IDE
// 800 and 128, naming the model's TXD.  The small lamp and the tower with
// its own LOD get none, and dffinfo finds the section sound.
TEST_F(SectionLods, ALargeModelWithoutALodGetsASimplifiedOneAtEachInstance) {
  const testsupport::ProgramResult result = Export("--make-lods");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("Built 1 LOD model (LODground from ground: 1152 to "), std::string::npos) << result.out;

  const std::vector<section::MapTextLine> ide = Lines("street.ide");
  ASSERT_EQ(ide.size(), 5u);
  EXPECT_EQ(ide[4].fields, (std::vector<std::string>{"18635", "LODground", "ground", "800", "128"}));
  const std::vector<section::MapTextLine> ipl = Lines("street.ipl");
  ASSERT_EQ(ipl.size(), 8u);
  const std::vector<std::string> lods{"6", "-1", "7", "4", "-1", "-1", "-1", "-1"};
  for (std::size_t i = 0; i < ipl.size(); ++i) EXPECT_EQ(ipl[i].fields.at(10), lods[i]) << "line " << i;
  for (const std::size_t ground : {0u, 2u}) {
    const std::vector<std::string>& lod = ipl[static_cast<std::size_t>(std::stoi(lods[ground]))].fields;
    EXPECT_EQ(lod.at(1), "LODground");
    EXPECT_EQ(std::vector<std::string>(lod.begin() + 3, lod.begin() + 10),
              std::vector<std::string>(ipl[ground].fields.begin() + 3, ipl[ground].fields.begin() + 10));
  }

  const std::vector<ImgFile> img = ReadImg(testsupport::ReadFileBytes(folder_ / "street.img"));
  EXPECT_THROW(Find(img, "LODground.txd"), std::runtime_error);
  EXPECT_THROW(Find(img, "LODtower.dff"), std::runtime_error);
  const GeometryView model = ViewOf(Find(img, "ground.dff").bytes);
  const GeometryView lod = ViewOf(Find(img, "LODground.dff").bytes);
  EXPECT_EQ(model.triangles, 1152u);
  EXPECT_GT(lod.triangles, 0u);
  EXPECT_LE(lod.triangles, model.triangles / 4);
  EXPECT_EQ(lod.textures, (std::set<std::string>{"stone"}));
  for (std::size_t v = 0; v < lod.positions.size(); ++v) {
    bool found = false;
    for (std::size_t m = 0; m < model.positions.size() && !found; ++m) {
      found = lod.positions[v] == model.positions[m] && lod.uvs[v] == model.uvs[m] && lod.day[v] == model.day[m];
    }
    EXPECT_TRUE(found) << "LOD vertex " << v << " is no vertex of the model";
  }
  const dffinfo::Inspection col = dffinfo::Inspect(Find(img, "street.col").bytes);
  ASSERT_EQ(col.colEntries.size(), 5u);
  EXPECT_EQ(col.colEntries[4].name, "LODground");
  EXPECT_EQ(col.colEntries[4].modelId, 18635);
  EXPECT_TRUE(col.colEntries[4].mesh.faces.empty());

  const testsupport::ProgramResult checked =
      testsupport::RunInFolder(folder_, std::string(DFFINFO_PROGRAM) + " street.ipl");
  EXPECT_EQ(checked.status, 0) << checked.err;
  EXPECT_EQ(checked.err, "");
}

// lwhost builds LOD models only when asked; once built, the LOD keeps its
// ID across exports as any model of the IDE does.
TEST_F(SectionLods, LwhostBuildsThemOnlyWhenAskedAndTheIdeKeepsTheirIds) {
  ASSERT_EQ(Export().status, 0);
  EXPECT_EQ(Lines("street.ide").size(), 4u);
  EXPECT_EQ(Lines("street.ipl").at(0).fields.at(10), "-1");
  ASSERT_EQ(Export("--make-lods").status, 0);
  std::vector<section::MapTextLine> ide = Lines("street.ide");
  ASSERT_EQ(ide.size(), 5u);
  EXPECT_EQ(ide[4].fields.at(0), "18635");
  std::string withLod = testsupport::ReadFileText(folder_ / "street.ide");
  withLod.replace(withLod.find("18635, LODground, ground, 800, 128"), 34, "19000, LODground, ground, 900, 128");
  testsupport::WriteFileBytes(folder_ / "street.ide", std::vector<std::uint8_t>(withLod.begin(), withLod.end()));
  ASSERT_EQ(Export("--make-lods").status, 0);
  ide = Lines("street.ide");
  EXPECT_EQ(ide.at(4).fields, (std::vector<std::string>{"19000", "LODground", "ground", "900", "128"}));
  EXPECT_EQ(Lines("street.ipl").at(6).fields.at(0), "19000");
}
