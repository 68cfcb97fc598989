// assimp's LightWave test models (LWO2 and scenes), made by other people, exported by the
// first command, imported and exported again: the second DFF holds the
// first's frames, triangles, vertices, texture coordinates and materials
// exactly, and its normals within rounding.  (Normals may differ in their
// last place: the export sums face normals of the object's points, which
// sit off the frame's vertices by the item's pivot; the import knows only
// the vertices.)
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "dff_inspect/inspect.h"
#include "tests/support/assimp_samples.h"
#include "tests/support/files_and_programs.h"

namespace {
namespace fs = std::filesystem;

class AssimpRoundTrip : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velmora-import-assimp-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "first");
    fs::create_directories(dir_ / "again");
  }
  void TearDown() override { fs::remove_all(dir_); }

  int Lwhost(const std::string& arguments) {
    const testsupport::ProgramResult result = testsupport::RunInFolder(dir_, "'" LWHOST_PATH "' " + arguments);
    if (result.status != 0) last_error_ = result.err;
    return result.status;
  }

  fs::path dir_;
  std::string last_error_;
};

void ExpectSameGeometry(const dffinfo::GeometryRecord& a, const dffinfo::GeometryRecord& b, std::size_t g) {
  EXPECT_EQ(a.format, b.format) << "geometry " << g;
  ASSERT_EQ(a.triangles.size(), b.triangles.size()) << "geometry " << g;
  for (std::size_t t = 0; t < a.triangles.size(); ++t) {
    const auto& x = a.triangles[t];
    const auto& y = b.triangles[t];
    ASSERT_TRUE(x.a == y.a && x.b == y.b && x.c == y.c && x.material == y.material) << "triangle " << t;
  }
  EXPECT_EQ(a.uvSets, b.uvSets) << "geometry " << g;
  EXPECT_EQ(a.prelight, b.prelight) << "geometry " << g;
  ASSERT_EQ(a.morphTargets.size(), b.morphTargets.size());
  for (std::size_t m = 0; m < a.morphTargets.size(); ++m) {
    EXPECT_EQ(a.morphTargets[m].positions, b.morphTargets[m].positions) << "geometry " << g;
    ASSERT_EQ(a.morphTargets[m].normals.size(), b.morphTargets[m].normals.size());
    for (std::size_t v = 0; v < a.morphTargets[m].normals.size(); ++v) {
      for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_NEAR(a.morphTargets[m].normals[v][i], b.morphTargets[m].normals[v][i], 1e-5) << "vertex " << v;
      }
    }
  }
  ASSERT_EQ(a.materialList.has_value(), b.materialList.has_value());
  if (!a.materialList) return;
  ASSERT_EQ(a.materialList->materials.size(), b.materialList->materials.size()) << "geometry " << g;
  for (std::size_t m = 0; m < a.materialList->materials.size(); ++m) {
    const dffinfo::MaterialRecord& x = a.materialList->materials[m];
    const dffinfo::MaterialRecord& y = b.materialList->materials[m];
    EXPECT_EQ(x.rgba, y.rgba) << "material " << m;
    EXPECT_EQ(x.texture.has_value(), y.texture.has_value()) << "material " << m;
    if (x.texture && y.texture) {
      EXPECT_EQ(x.texture->name, y.texture->name);
    }
    EXPECT_EQ(x.effects.has_value(), y.effects.has_value()) << "material " << m;
  }
}

TEST_P(AssimpRoundTrip, ComesBackWithItsFramesGeometryAndMaterials) {
  if (GetParam().empty()) GTEST_SKIP() << "assimp's test models are not installed";
  const std::string model = (testsupport::kAssimpModels / GetParam()).string();
  ASSERT_EQ(Lwhost("'" + model + "' -o first/m.dff --no-col"), 0) << last_error_;
  ASSERT_EQ(Lwhost("--import first/m.dff -o imported"), 0) << last_error_;
  ASSERT_EQ(Lwhost("imported/m.lws -o again/m.dff --no-col"), 0) << last_error_;
  const dffinfo::Inspection first = dffinfo::Inspect(testsupport::ReadFileBytes(dir_ / "first/m.dff"));
  const dffinfo::Inspection again = dffinfo::Inspect(testsupport::ReadFileBytes(dir_ / "again/m.dff"));
  ASSERT_TRUE(again.sound());
  const dffinfo::ClumpRecord& a = first.clumps.at(0);
  const dffinfo::ClumpRecord& b = again.clumps.at(0);
  ASSERT_EQ(a.frames.size(), b.frames.size());
  for (std::size_t f = 0; f < a.frames.size(); ++f) {
    EXPECT_EQ(a.frames[f].name, b.frames[f].name);
    EXPECT_EQ(a.frames[f].parent, b.frames[f].parent);
    EXPECT_EQ(a.frames[f].rotation, b.frames[f].rotation) << a.frames[f].name.value_or("");
    EXPECT_EQ(a.frames[f].position, b.frames[f].position) << a.frames[f].name.value_or("");
  }
  ASSERT_EQ(a.geometries.size(), b.geometries.size());
  for (std::size_t g = 0; g < a.geometries.size(); ++g) ExpectSameGeometry(a.geometries[g], b.geometries[g], g);
  ASSERT_EQ(a.atomics.size(), b.atomics.size());
  for (std::size_t i = 0; i < a.atomics.size(); ++i) {
    EXPECT_EQ(a.atomics[i].frameIndex, b.atomics[i].frameIndex);
    EXPECT_EQ(a.atomics[i].geometryIndex, b.atomics[i].geometryIndex);
  }
}

INSTANTIATE_TEST_SUITE_P(LightWaveModels, AssimpRoundTrip,
                         ::testing::ValuesIn(testsupport::AssimpLightWaveFiles({"LWO/LWO2", "LWS"})),
                         [](const ::testing::TestParamInfo<std::string>& model) {
                           std::string name = model.param.empty() ? "none" : model.param;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name + "_" + std::to_string(model.index);
                         });

}  // namespace
