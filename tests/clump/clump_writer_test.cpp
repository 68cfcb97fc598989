// The clump's records byte by byte, from models built by hand, and the COL
// file picked after the last Atomic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "scene/file_request.h"
#include "tests/clump/clump_fixture.h"

namespace scene {
namespace {

using dff::ChunkType;
using testing::Bytes;
using testing::Child;
using testing::Words;
using testing::Written;

class ClumpWriter : public ::testing::Test, public testing::ClumpModel {};

// Readers trust these sizes; frame names are raw bytes.
TEST_F(ClumpWriter, AtomicsMaterialsAndFrameNamesHaveTheirExactBytes) {
  AddFrame("root");
  MaterialEntry& material = AddTriangleMesh(AddFrame("", 0)).materials[0];
  material.rgba = {10, 20, 30, 191};
  material.glossiness = 0.5f;
  const Written file(exporter());

  const dffinfo::Chunk atomic = Child(file.clump, ChunkType::Atomic);
  EXPECT_EQ(atomic.size + 12, 88u);
  EXPECT_EQ(file.WordsOf(Child(atomic, ChunkType::Struct)), (Words{1, 0, 5, 0}));
  const dffinfo::Chunk plugins = Child(atomic, ChunkType::Extension);
  EXPECT_EQ(file.WordsOf(Child(plugins, ChunkType::RightToRender)), (Words{0x120, 0}));
  EXPECT_EQ(file.WordsOf(Child(plugins, ChunkType::MaterialEffects)), (Words{1}));

  EXPECT_EQ(file.Material().size + 12, 104u);
  EXPECT_EQ(file.Payload(Child(file.Material(), ChunkType::Struct)),
            (Bytes{0, 0, 0, 0, 10, 20, 30, 191, 0xDC, 0xA3, 0xBA, 0, 0, 0, 0, 0, 0xCD, 0xCC,
                   0xCC, 0x3E, 0, 0, 0x80, 0x3F, 0, 0, 0x80, 0x3F}));
  const Bytes specular = file.Payload(
      Child(Child(file.Material(), ChunkType::Extension), ChunkType::SpecularMaterial));
  EXPECT_EQ(std::string(specular.begin(), specular.end()),
            std::string("\0\0\0\x3Fvehiclespecdot64\0\0\0\0\0\0\0\0", 28));

  const dffinfo::Chunk frameList = Child(file.clump, ChunkType::FrameList);
  EXPECT_EQ(Child(Child(frameList, ChunkType::Extension, 0), ChunkType::FrameName).size, 4u);
  EXPECT_EQ(Child(Child(frameList, ChunkType::Extension, 1), ChunkType::FrameName).size, 0u);
  EXPECT_EQ(file.record.frames.at(0).name, "root");
  EXPECT_EQ(file.record.frames.at(0).parent, -1);
}

// The environment map of a reflection image comes first, then the
// reflection record, then the specular one.
TEST_F(ClumpWriter, TexturesAndReflectionsAddTheirRecordsInOrder) {
  MaterialEntry& material = AddTriangleMesh(AddFrame("f")).materials[0];
  material.textured = 1;
  material.textureName = "abc";
  material.reflectionImageName = std::string("0123456789abcdef");
  material.reflectivity = 0.5f;
  const Written file(exporter());

  const dffinfo::Chunk texture = Child(file.Material(), ChunkType::Texture);
  EXPECT_EQ(texture.size + 12, 72u);
  EXPECT_EQ(file.WordsOf(Child(texture, ChunkType::Struct)), (Words{0x00011106}));
  EXPECT_EQ(file.Payload(Child(texture, ChunkType::String, 0)), (Bytes{'a', 'b', 'c', 0}));
  EXPECT_EQ(file.Payload(Child(texture, ChunkType::String, 1)), (Bytes{0, 0, 0, 0}));

  const dffinfo::Chunk extension = Child(file.Material(), ChunkType::Extension);
  ASSERT_EQ(extension.children.size(), 3u);
  EXPECT_EQ(extension.children[0].type, dff::ToWord(ChunkType::MaterialEffects));
  EXPECT_EQ(extension.children[0].size, 92u + 20u);  // sixteen characters pad to 20
  EXPECT_EQ(file.record.geometries.at(0).materialList->materials.at(0).effects->EnvironmentMap()
                ->texture->name, "0123456789abcdef");
  EXPECT_EQ(extension.children[1].type, dff::ToWord(ChunkType::ReflectionMaterial));
  const std::uint32_t half = 0x3F000000, one = 0x3F800000;
  EXPECT_EQ(file.WordsOf(extension.children[1]), (Words{half, half, half, one, half, one}));
  EXPECT_EQ(extension.children[2].type, dff::ToWord(ChunkType::SpecularMaterial));
}

// Readers take the words as (b, a, material, c).  The BinMesh groups the
// corners by material in corner order, at full width where the triangle
// list keeps only the low 16 bits.
TEST_F(ClumpWriter, TrianglesCarryTheirMaterialAndTheBinMeshGroupsCorners) {
  MeshObject& mesh = AddTriangleMesh(AddFrame("f"));
  mesh.materials.push_back(mesh.materials[0]);
  mesh.vertexCount = 70000;
  mesh.positions.resize(70000);
  mesh.normals.resize(70000);
  mesh.triangleCount = 5;
  mesh.cornerVertices = {5, 6, 7, 3, 4, 5, 6, 7, 8, 9, 10, 11, 65536, 69999, 12};
  mesh.cornerMaterials = {1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1};
  const Written file(exporter());

  const Bytes geometry = file.Payload(Child(file.Geometry(), ChunkType::Struct));
  EXPECT_EQ(Bytes(geometry.begin() + 16, geometry.begin() + 24), (Bytes{6, 0, 5, 0, 1, 0, 7, 0}));
  EXPECT_EQ(Bytes(geometry.begin() + 48, geometry.begin() + 56),
            (Bytes{0x6F, 0x11, 0, 0, 1, 0, 12, 0}));
  const dffinfo::Chunk plugins = Child(file.Geometry(), ChunkType::Extension);
  EXPECT_EQ(file.WordsOf(Child(plugins, ChunkType::BinMesh)),
            (Words{0, 2, 15, 6, 0, 3, 4, 5, 9, 10, 11, 9, 1, 5, 6, 7, 6, 7, 8, 65536, 69999, 12}));
  EXPECT_EQ(file.WordsOf(Child(plugins, ChunkType::GeometryExtra)), (Words{0}));
}

// The count byte says how many UV sets follow and one textured flag agrees;
// a flag with a zero count makes readers guess and misread the rest.
TEST(ClumpFormatWord, CountsTheUvSetsWritten) {
  const std::pair<int, Bytes> cases[] = {
      {0, {0x72, 0, 0, 0}}, {1, {0x76, 0, 1, 0}}, {2, {0xF2, 0, 2, 0}}, {3, {0xF2, 0, 3, 0}}};
  for (const auto& [sets, format] : cases) {
    testing::ClumpModel model;
    MeshObject& mesh = model.AddTriangleMesh(model.AddFrame("f"));
    mesh.uvSetCount = sets;
    mesh.uvSets.assign(static_cast<std::size_t>(sets), {{0.25f, 0.5f}, {1, 0}, {0, 1}});
    const Written file(model.exporter());
    const Bytes geometry = file.Payload(Child(file.Geometry(), ChunkType::Struct));
    EXPECT_EQ(Bytes(geometry.begin(), geometry.begin() + 4), format);
    EXPECT_EQ(file.record.geometries.at(0).uvSets, mesh.uvSets);
  }
}

// Around the box's centre and rounded up: these two lie farther from it
// than the nearest float radius.
TEST(ClumpBoundingSphere, EnclosesEveryWrittenPosition) {
  EXPECT_EQ(dff::ComputeBoundingSphere({}).radius, 0.0f);
  const std::vector<platform::Vec3f> points{
      {-7.31271505355835f, 6.94867467880249f, 5.275492191314697f},
      {-4.898619651794434f, -0.09129825979471207f, -1.0101786851882935f}};
  const dff::BoundingSphere sphere = dff::ComputeBoundingSphere(points);
  EXPECT_FLOAT_EQ(sphere.centre.x, -6.10566735f);
  for (const platform::Vec3f& p : points) {
    const double d[] = {static_cast<double>(p.x) - static_cast<double>(sphere.centre.x),
                        static_cast<double>(p.y) - static_cast<double>(sphere.centre.y),
                        static_cast<double>(p.z) - static_cast<double>(sphere.centre.z)};
    EXPECT_LE(std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]),
              static_cast<double>(sphere.radius));
  }
}

// It would be read out of bounds: the file fails instead, naming the object.
TEST_F(ClumpWriter, AMeshWhoseCornersLeaveItsVerticesFailsTheFile) {
  AddTriangleMesh(AddFrame("door")).cornerVertices[2] = 3;
  dff::OutputStream stream;
  exporter().WriteClump(stream);
  EXPECT_NE(stream.error().find("\"door\""), std::string::npos) << stream.error();
}

// A prelit geometry holds colours in place of normals, so the builder
// gives it none; a lit geometry still needs one per vertex.
TEST_F(ClumpWriter, OnlyAPrelitMeshMayComeWithoutNormals) {
  MeshObject& prelit = AddTriangleMesh(AddFrame("wall"));
  prelit.normals.clear();
  prelit.dayColors.assign(3, {10, 20, 30, 255});
  dff::OutputStream written;
  exporter().WriteClump(written);
  EXPECT_FALSE(written.failed()) << written.error();

  AddTriangleMesh(AddFrame("door")).normals.clear();
  dff::OutputStream refused;
  exporter().WriteClump(refused);
  EXPECT_NE(refused.error().find("\"door\""), std::string::npos) << refused.error();
}

class ColFile : public ClumpWriter {
 protected:
  ColFile() {
    std::filesystem::create_directories(directory_);
    AddTriangleMesh(AddFrame("body"));
  }
  ~ColFile() override { std::filesystem::remove_all(directory_); }

  // Makes the user pick `name` from a scratch directory.
  std::string Choose(const std::string& name) {
    const std::string path = (directory_ / name).string();
    host().SetFileResponder([path](const host::FileRequest&) { return path; });
    return path;
  }

  // One folder per test: CTest runs the tests of this suite side by side.
  const std::filesystem::path directory_ =
      std::filesystem::temp_directory_path() /
      (std::string("velmora-col-test-") +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

void ExpectEmptyExtensionLast(const Written& file) {
  ASSERT_FALSE(file.clump.children.empty());
  const dffinfo::Chunk& last = file.clump.children.back();
  EXPECT_EQ(last.type, dff::ToWord(ChunkType::Extension));
  EXPECT_EQ(last.size, 0u);
  EXPECT_EQ(last.version, dff::kLibraryVersion);
  EXPECT_EQ(last.end(), file.bytes.size());
}

// The game rejects a clump that does not end with its Extension.
TEST_F(ColFile, ACancelledRequestEndsTheClumpWithAnEmptyExtension) {
  const Written file(exporter());
  ExpectEmptyExtensionLast(file);
  EXPECT_FALSE(exporter().colError.has_value());
  const host::FileRequest& request = host().fileRequests().at(0);
  EXPECT_EQ(request.reqType, FREQ_LOAD);
  EXPECT_EQ(request.title, "Select COL file");
  EXPECT_EQ(request.fileType, std::string("COL Files (*.col)\0*.col\0All Files\0*.*\0", 39));
  EXPECT_EQ(request.baseName, "city.col");
}

// Every byte value comes through and nothing follows, so an extractor can
// copy from the payload to the end of the file.
TEST_F(ColFile, AChosenFileIsTheLastBytesOfTheDff) {
  // The largest collision the game's buffer takes.
  Bytes col(16384);
  for (std::size_t i = 0; i < col.size(); ++i) col[i] = std::uint8_t(i * 7 + i / 256);
  std::ofstream(Choose("car.col"), std::ios::binary)
      .write(reinterpret_cast<const char*>(col.data()), static_cast<std::streamsize>(col.size()));
  const Written file(exporter());
  EXPECT_EQ(file.clump.children.back().size, col.size() + 12);
  EXPECT_EQ(file.Payload(Child(file.clump.children.back(), ChunkType::Collision)), col);
  EXPECT_EQ(file.clump.children.back().end(), file.bytes.size());

  // A file larger than the copy's blocks comes through whole as well, though
  // the game could not hold it.
  Bytes large(70000);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = std::uint8_t(i * 7 + i / 256);
  std::ofstream(Choose("large.col"), std::ios::binary)
      .write(reinterpret_cast<const char*>(large.data()), static_cast<std::streamsize>(large.size()));
  dff::OutputStream stream;
  exporter().WriteClump(stream);
  ASSERT_GT(stream.bytes().size(), large.size());
  EXPECT_TRUE(std::equal(large.begin(), large.end(), stream.bytes().end() - static_cast<std::ptrdiff_t>(large.size())));

  std::ofstream(Choose("empty.col"), std::ios::binary).flush();
  EXPECT_EQ(Written(exporter()).clump.children.back().size, 12u);
}

TEST_F(ColFile, OneThatCannotBeOpenedIsLeftOutAndReported) {
  const std::string missing = Choose("missing.col");
  const Written file(exporter());
  ExpectEmptyExtensionLast(file);
  EXPECT_NE(exporter().colError.value_or("").find(missing + " could not be opened: No such file"),
            std::string::npos);
}

// A collision record cut short by a read error would look whole.
TEST_F(ColFile, OneThatFailsWhileBeingReadFailsTheFile) {
  const std::string folder = Choose("folder.col");
  std::filesystem::create_directories(folder);
  dff::OutputStream stream;
  exporter().WriteClump(stream);
  EXPECT_NE(stream.error().find(folder), std::string::npos) << stream.error();
}

TEST(ColName, IsTheSceneNameWithItsExtensionReplacedCutToFitTheBuffer) {
  EXPECT_EQ(scene::ProposeColName("my.car.lws"), "my.car.col");
  EXPECT_EQ(scene::ProposeColName(nullptr), ".col");
  EXPECT_EQ(scene::ProposeColName(std::string(600, 'n').c_str()), std::string(507, 'n') + ".col");
}

}  // namespace
}  // namespace scene
