// The indexed lookups of the geometry build against plain scans, on random
// meshes full of the cases where a lookup can go wrong: seams, NaN and
// -0.0 values, points repeated within a polygon, surfaces sharing a name,
// tags without a surface, maps that only some meshes have.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "geometry_host.h"
#include "linear_reference.h"
#include "platform/matrix.h"

namespace scene {
namespace {

using testing::Face;
using testing::GeometryHost;
using testing::ObjectSetup;
using testing::PlainSurface;

class RandomMeshes {
 public:
  explicit RandomMeshes(unsigned seed) : random_(seed) {}

  host::Mesh Mesh(const std::vector<std::string>& mapNames) {
    host::Mesh mesh;
    const int points = Between(20, 120);
    for (int i = 0; i < points; ++i) {
      // Few distinct coordinates, so that points coincide and polygons
      // are often flat, concave or degenerate.
      mesh.points.push_back({Coordinate(), Coordinate(), Coordinate()});
    }
    const int polygons = Between(20, 200);
    for (int i = 0; i < polygons; ++i) mesh.polygons.push_back(Polygon(points));
    for (const std::string& name : mapNames) mesh.uvMaps.push_back(Map(name, mesh));
    return mesh;
  }

 private:
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool OneIn(int n) { return Between(1, n) == 1; }
  float Coordinate() { return static_cast<float>(Between(-3, 3)) * 0.5f; }

  float Value() {
    static const float kValues[] = {0.0f, -0.0f, 0.25f, 1.0f, std::numeric_limits<float>::quiet_NaN()};
    return kValues[Between(0, 4)];
  }

  host::Polygon Polygon(int points) {
    static const std::uint32_t kTypes[] = {0x46414345u, 0x46414345u, 0x46414345u, 0x50544348u,
                                           0x53554244u, 0x43555256u, 0x424F4E45u};
    static const char* const kTags[] = {"a", "b", "c", "d", "unknown", "other"};
    std::vector<int> corners;
    const int size = OneIn(8) ? Between(1, 2) : (OneIn(3) ? Between(4, 8) : 3);
    // Point 0 is the hub of many polygons, so that it takes many values.
    for (int i = 0; i < size; ++i) {
      const bool hub = i == 0 && OneIn(3);
      corners.push_back(hub ? 0 : !corners.empty() && OneIn(10) ? corners.front() : Between(0, points - 1));
    }
    host::Polygon polygon = Face(corners, kTags[Between(0, 5)]);
    polygon.type = kTypes[Between(0, 6)];
    return polygon;
  }

  host::UvMap Map(const std::string& name, const host::Mesh& mesh) {
    host::UvMap map;
    map.name = name;
    map.dimension = Between(1, 3);
    const auto values = [&] {
      std::vector<float> v;
      for (int i = 0; i < map.dimension; ++i) v.push_back(Value());
      return v;
    };
    for (std::size_t p = 0; p < mesh.points.size(); ++p) {
      if (!OneIn(4)) map.pointValues[static_cast<int>(p)] = values();
    }
    for (std::size_t k = 0; k < mesh.polygons.size(); ++k) {
      for (int point : mesh.polygons[k].points) {
        if (OneIn(3)) map.polygonValues[{point, static_cast<int>(k)}] = values();
      }
    }
    return map;
  }

  std::mt19937 random_;
};

template <class T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void ExpectSameMaterials(const std::vector<MaterialEntry>& built, const std::vector<MaterialEntry>& reference) {
  ASSERT_EQ(built.size(), reference.size());
  for (std::size_t i = 0; i < built.size(); ++i) {
    EXPECT_EQ(built[i].surfaceName, reference[i].surfaceName);
    EXPECT_EQ(built[i].materialIndex, reference[i].materialIndex);
    EXPECT_EQ(built[i].triangleCount, reference[i].triangleCount);
    EXPECT_EQ(built[i].rgba, reference[i].rgba);
  }
}

void ExpectSameGeometry(const MeshObject& built, const testing::ReferenceGeometry& reference) {
  EXPECT_EQ(built.uvSetCount, reference.uvSetCount);
  EXPECT_EQ(built.vertexCount, static_cast<std::int32_t>(reference.positions.size()));
  EXPECT_EQ(built.triangleCount * 3, static_cast<std::int32_t>(reference.cornerVertices.size()));
  EXPECT_EQ(built.cornerVertices, reference.cornerVertices);
  EXPECT_EQ(built.cornerMaterials, reference.cornerMaterials);
  EXPECT_TRUE(SameBits(built.positions, reference.positions));
  EXPECT_TRUE(SameBits(built.normals, reference.normals));
  ASSERT_EQ(built.uvSets.size(), reference.uvSets.size());
  for (std::size_t m = 0; m < built.uvSets.size(); ++m) EXPECT_TRUE(SameBits(built.uvSets[m], reference.uvSets[m])) << "set " << m;
  ExpectSameMaterials(built.materials, reference.materials);
}

TEST(LookupEquivalence, IndexedBuildMatchesPlainScansOnRandomMeshes) {
  FrameNode frame;
  frame.vertexMatrix = std::make_unique<platform::Matrix4>(platform::MatrixTranslation(1.0f, -2.0f, 3.0f));
  const std::vector<host::Surface> surfaces = {PlainSurface("a"), PlainSurface("b"), PlainSurface("a"),
                                               PlainSurface("c"), PlainSurface("d")};
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomMeshes random(seed);
    // The second mesh lacks "uv2" and has a map of its own.
    GeometryHost host(testing::SceneOf({ObjectSetup{random.Mesh({"uv1", "uv2"}), surfaces},
                                        ObjectSetup{random.Mesh({"uv3", "uv1"}), surfaces}}));
    for (std::size_t item = 0; item < 2; ++item) {
      FrameNode* itemFrame = item == 0 ? &frame : nullptr;
      const testing::ReferenceGeometry reference = testing::BuildWithLinearScans(*host.Object(item, itemFrame));
      ExpectSameGeometry(*host.Built(item, itemFrame), reference);
    }
    EXPECT_TRUE(host.host().faults().empty());
    EXPECT_EQ(host.host().liveMeshSnapshots(), 0);
  }
}

}  // namespace
}  // namespace scene
