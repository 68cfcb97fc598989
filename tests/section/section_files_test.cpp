// The section's own files and rules, without the host: the stored rotation
// against the game's numbers, IDE lines read back as the game reads them,
// IDs kept and handed out, the IMG directory, and files written all or
// none.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

#include "section/file_set.h"
#include "section/ide_file.h"
#include "section/img_archive.h"
#include "section/instance_rotation.h"
#include "section/ipl_file.h"
#include "section/lod_name.h"
#include "section/map_text.h"
#include "section/model_ids.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;
using section::Quaternion;

placement::Matrix3 TurnAboutUp(double degrees) {
  const double a = degrees * 3.14159265358979323846 / 180.0;
  return {{{std::cos(a), -std::sin(a), 0}, {std::sin(a), std::cos(a), 0}, {0, 0, 1}}};
}

// The game's own lines: a model yawed +90 degrees (its +x onto the world's
// +y) is stored 0, 0, -0.7071068, 0.7071068; one yawed -45 degrees
// 0, 0, 0.3826834, 0.9238795.
TEST(StoredRotation, IsTheConjugateTheGameReads) {
  const Quaternion quarter = section::StoredRotation(TurnAboutUp(90));
  EXPECT_NEAR(quarter.x, 0, 1e-9);
  EXPECT_NEAR(quarter.y, 0, 1e-9);
  EXPECT_NEAR(quarter.z, -0.7071068, 1e-7);
  EXPECT_NEAR(quarter.w, 0.7071068, 1e-7);
  const Quaternion eighth = section::StoredRotation(TurnAboutUp(-45));
  EXPECT_NEAR(eighth.z, 0.3826834, 1e-7);
  EXPECT_NEAR(eighth.w, 0.9238795, 1e-7);
  // A half turn, where the trace is at its lowest, still comes out whole.
  const Quaternion half = section::StoredRotation(TurnAboutUp(180));
  EXPECT_NEAR(std::fabs(half.z), 1, 1e-9);
  EXPECT_NEAR(half.w, 0, 1e-9);
}

TEST(StoredRotation, SmallTiltsAreTheOnesTheGameDrops) {
  EXPECT_FALSE(section::GameDropsTilt({0, 0, -0.7071068, 0.7071068}));
  EXPECT_TRUE(section::GameDropsTilt({-0.0381, 0.0419, -0.7387, 0.6717}));
  EXPECT_FALSE(section::GameDropsTilt({0.06, 0, 0, 0.998}));
}

TEST(StoredRotation, ScalingAndMirrorsAreNoRotation) {
  EXPECT_TRUE(section::IsRotation(TurnAboutUp(33), 1e-9));
  placement::Matrix3 scaled = TurnAboutUp(33);
  scaled[0][0] *= 2;
  EXPECT_FALSE(section::IsRotation(scaled, 1e-4));
  EXPECT_FALSE(section::IsRotation({{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, 1e-4));
}

TEST(MapText, NumbersAreShortAndExact) {
  EXPECT_EQ(section::FormatNumber(2606.8828125), "2606.88281");
  EXPECT_EQ(section::FormatNumber(-0.70710678118), "-0.707106781");
  EXPECT_EQ(section::FormatNumber(-1e-12), "0");
  EXPECT_EQ(section::FormatNumber(250), "250");
}

// What the exporter writes, the game's way of reading gives back: one
// objs section, comma-separated, no blank lines or comments inside.
TEST(IdeFile, ReadsBackWhatItWritesAndWhatUsersEdit) {
  const std::string written = section::WriteIde({{18631, "lamp", "lamp", 60, 0}, {18632, "house", "house", 299, 4}});
  EXPECT_EQ(written, "objs\n18631, lamp, lamp, 60, 0\n18632, house, house, 299, 4\nend\n");
  const section::IdeRead read = section::ReadIdeObjects(
      "# edited by hand\r\ntobj\n1, a, a, 5, 0, 6, 20\nend\nobjs\n  18700 lamp,lamp\t150 128\r\nend\n");
  ASSERT_TRUE(read.error.empty()) << read.error;
  ASSERT_EQ(read.objects.size(), 1u);
  EXPECT_EQ(read.objects[0].id, 18700);
  EXPECT_EQ(read.objects[0].drawDistance, 150);
  EXPECT_EQ(read.objects[0].flags, 128u);
  EXPECT_NE(section::ReadIdeObjects("objs\n18700, lamp, lamp, far, 0\nend\n").error.find("line 2"), std::string::npos);
  EXPECT_FALSE(section::ReadIdeObjects("objs\n18700, lamp, lamp, 1, 300, 0\nend\n").error.empty());
}

TEST(IplFile, WritesOneLinePerInstance) {
  section::IplInstance lamp;
  lamp.id = 18631;
  lamp.model = "lamp";
  lamp.position = {2606.8828125, -1350.5, 51.0703125};
  lamp.rotation = {0, 0, -0.70710678118, 0.70710678118};
  EXPECT_EQ(section::WriteIpl({lamp}),
            "inst\n18631, lamp, 0, 2606.88281, -1350.5, 51.0703125, 0, 0, -0.707106781, 0.707106781, -1\nend\n");
}

TEST(ModelIds, KeepWhatTheIdeSaysAndNumberNewModelsAboveIt) {
  const std::vector<section::IdeObject> earlier{{18700, "LAMP", "lamp", 150, 128}, {18640, "gone", "gone", 50, 0}};
  const section::IdPlan plan = section::PlanModelIds(
      {{"lamp", "lamp", 60, 0}, {"house", "house", 120, 4}, {"tower", "tower", 200, 0}}, earlier, 18631);
  ASSERT_TRUE(plan.error.empty()) << plan.error;
  EXPECT_EQ(plan.objects[0].id, 18700);
  EXPECT_EQ(plan.objects[0].drawDistance, 150);
  EXPECT_EQ(plan.objects[0].flags, 128u);
  EXPECT_EQ(plan.objects[0].model, "lamp");
  EXPECT_EQ(plan.objects[1].id, 18701);
  EXPECT_EQ(plan.objects[1].flags, 4u);
  EXPECT_EQ(plan.objects[2].id, 18702);
  EXPECT_EQ(plan.kept, (std::vector<bool>{true, false, false}));

  const section::IdPlan first = section::PlanModelIds({{"lamp", "lamp", 60, 0}}, {}, 500);
  EXPECT_EQ(first.objects.at(0).id, 500);
  const section::IdPlan below =
      section::PlanModelIds({{"house", "house", 60, 0}}, {{700, "lamp", "lamp", 60, 0}}, 18631);
  EXPECT_EQ(below.objects.at(0).id, 701);
}

TEST(ModelIds, RefuseToRunPastTheLastIdOrToShareOne) {
  const section::IdPlan full = section::PlanModelIds({{"a", "a", 60, 0}, {"b", "b", 60, 0}}, {}, 19999);
  EXPECT_NE(full.error.find("19999"), std::string::npos) << full.error;
  EXPECT_TRUE(section::PlanModelIds({{"a", "a", 60, 0}}, {}, 19999).error.empty());
  const section::IdPlan shared =
      section::PlanModelIds({{"a", "a", 60, 0}}, {{18631, "a", "a", 60, 0}, {18631, "b", "b", 60, 0}}, 18631);
  EXPECT_NE(shared.error.find("18631"), std::string::npos);
}

std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

// The directory as the game reads it: offsets and sizes in sectors, the
// second size 0, each file from its sector, padded, none overlapping.
TEST(ImgArchive, PutsEachFileOnItsOwnSectors) {
  const std::vector<std::uint8_t> small(10, 0xAB);
  const std::vector<std::uint8_t> large(2049, 0xCD);
  const std::vector<std::uint8_t> img = section::BuildImgArchive({{"lamp.dff", small}, {"street.col", large}});
  ASSERT_EQ(img.size() % section::kImgSector, 0u);
  EXPECT_EQ(std::string(img.begin(), img.begin() + 4), "VER2");
  EXPECT_EQ(U32(img, 4), 2u);
  EXPECT_EQ(U32(img, 8), 1u);       // after the one-sector directory
  EXPECT_EQ(U32(img, 12), 1u);      // one sector, second size 0
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&img[16])), "lamp.dff");
  EXPECT_EQ(U32(img, 40), 2u);
  EXPECT_EQ(U32(img, 44), 2u);
  EXPECT_EQ(img.size(), 4 * section::kImgSector);
  EXPECT_EQ(img[section::kImgSector + 9], 0xAB);
  EXPECT_EQ(img[section::kImgSector + 10], 0);
  EXPECT_EQ(img[2 * section::kImgSector + 2048], 0xCD);
}

TEST(ImgArchive, ReadsItsDirectoryBackAndNamesOverlaps) {
  std::vector<std::uint8_t> img = section::BuildImgArchive({{"lamp.dff", {1, 2}}, {"lamp.txd", {3}}});
  section::ImgRead read = section::ReadImgArchive(img);
  ASSERT_TRUE(read.problems.empty());
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[1].name, "lamp.txd");
  EXPECT_EQ(section::ImgEntryBytes(img, read.entries[1]).at(0), 3);
  img[40] = 1;  // the TXD now starts where the DFF does
  read = section::ReadImgArchive(img);
  ASSERT_EQ(read.problems.size(), 1u);
  EXPECT_NE(read.problems[0].find("overlaps"), std::string::npos);
  EXPECT_FALSE(section::ReadImgArchive({'V', 'E', 'R', '2', 9, 0, 0, 0}).problems.empty());
}

TEST(ImgArchive, RefusesNamesTheGameCannotHold) {
  EXPECT_THROW(section::BuildImgArchive({{"a_name_of_twenty_chr.dff", {}}}), std::invalid_argument);
  EXPECT_NO_THROW(section::BuildImgArchive({{"a_name_of_nineteen.dff", {1}}}));
  EXPECT_THROW(section::BuildImgArchive({{"lamp.dff", {1}}, {"LAMP.DFF", {1}}}), std::invalid_argument);
  EXPECT_THROW(section::BuildImgArchive({{"my lamp.dff", {1}}}), std::invalid_argument);
}

TEST(FileSet, WritesAllOrLeavesEveryFileAsItWas) {
  const fs::path folder = fs::temp_directory_path() / ("velmora-fileset-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "blocked.ipl");  // a folder where a file should go
  testsupport::WriteFileBytes(folder / "street.ide", {'o', 'l', 'd'});
  section::FileSet failing;
  failing.Add(folder / "street.ide", std::string("new"));
  failing.Add(folder / "blocked.ipl", std::string("new"));
  std::string error;
  EXPECT_FALSE(failing.Commit(error));
  EXPECT_NE(error.find("blocked.ipl"), std::string::npos) << error;
  EXPECT_EQ(testsupport::ReadFileText(folder / "street.ide"), "old");
  const auto entries = std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  EXPECT_EQ(entries, 2);  // no temporary file left behind

  section::FileSet working;
  working.Add(folder / "street.ide", std::string("new"));
  working.Add(folder / "street.ipl", std::string("inst\nend\n"));
  EXPECT_TRUE(working.Commit(error)) << error;
  EXPECT_EQ(testsupport::ReadFileText(folder / "street.ide"), "new");
  fs::remove_all(folder);
}

}  // namespace

namespace {

// A generated LOD is "LOD<model>" while that fits 19 characters; a longer
// name is shortened the same way on every export, and two long names that
// begin alike still differ.
TEST(GeneratedLodName, PrefixesTheModelAndShortensLongNamesAlikeEveryTime) {
  EXPECT_EQ(section::GeneratedLodName("house"), "LODhouse");
  EXPECT_EQ(section::GeneratedLodName("a_sixteen_chars_"), "LODa_sixteen_chars_");
  const std::string first = section::GeneratedLodName("market_hall_north1");
  const std::string second = section::GeneratedLodName("market_hall_north2");
  EXPECT_EQ(first.size(), 19u);
  EXPECT_EQ(first.rfind("LODmarket_hall_", 0), 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(section::GeneratedLodName("market_hall_north1"), first);
  EXPECT_EQ(section::GeneratedLodName("MARKET_HALL_north1").substr(14), first.substr(14));  // without case
  EXPECT_EQ(section::ImgNameProblem(first + ".dff"), "");
}

}  // namespace
