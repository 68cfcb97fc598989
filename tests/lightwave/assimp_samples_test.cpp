// The LightWave files of Debian's assimp-testmodels, made by other people:
// each LWO2 object and LWS scene loads (LWOB objects are refused by name),
// and what assimp's own reader reports for a file agrees with ours where
// the two must agree: corner and polygon counts, the bounds of the points
// placed in the world, surfaces in use, layer names, and each item's
// position and scale at rest.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/lightwave_files.h"
#include "lightwave/lwo_reader.h"
#include "lwsdk/item_info.h"
#include "tests/support/assimp_samples.h"

namespace host {
namespace {

namespace fs = std::filesystem;

const fs::path& kModels = testsupport::kAssimpModels;

std::string RunCommand(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return output;
  char buffer[4096];
  while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, got);
  return output;
}

bool AssimpInstalled() {
  static const bool installed = RunCommand("command -v assimp").find("assimp") != std::string::npos;
  return installed;
}

// What `assimp info FILE -r -v` (no post-processing) prints that we check.
struct AssimpReport {
  long vertices = -1;  // every polygon corner is a vertex of its own
  long faces = -1;
  std::set<std::string> materials;
  Vec3 minimum{}, maximum{};  // of every corner in the world, z negated
  std::vector<std::string> meshNodes;  // nodes that hold meshes: LWO layers
  struct ItemNode {
    Vec3 position{0, 0, 0};  // right-handed: z negated
    std::optional<Vec3> scale;
  };
  std::vector<ItemNode> items;  // LWS items, in file order
};

Vec3 ParseVector(const std::string& text) {
  Vec3 v{};
  std::sscanf(text.c_str(), "[%lf %lf %lf]", &v[0], &v[1], &v[2]);
  return v;
}

AssimpReport ParseAssimp(const std::string& output) {
  AssimpReport report;
  const std::regex count(R"(^(Vertices|Faces):\s+(\d+))");
  const std::regex material(R"(^    '(.*)' \(prop\))");
  const std::regex bound(R"(^(Minimum|Maximum) point\s+\((.*)\))");
  const std::regex node("\xE2\x95\xB4(.*)$");  // the tree's "╴"
  const std::regex meshNode(R"(^(.*) \(mesh [0-9, ]+\)$)");
  const std::regex itemId(R"(_\(([0-9A-Fa-f]{8})\)$)");
  const std::regex property(R"(^[^A-Z]*([TS]):(\[.*\]))");
  std::map<std::string, std::size_t> itemOfId;
  std::size_t current = 0;
  bool inItem = false;
  bool inTree = false;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_search(line, m, count)) {
      (m[1] == "Vertices" ? report.vertices : report.faces) = std::stol(m[2]);
    } else if (std::regex_search(line, m, bound)) {
      (m[1] == "Minimum" ? report.minimum : report.maximum) = ParseVector("[" + m[2].str() + "]");
    } else if (std::regex_search(line, m, material)) {
      report.materials.insert(m[1]);
    } else if (line == "Node hierarchy:") {
      inTree = true;
    } else if (inTree && std::regex_search(line, m, node)) {
      const std::string name = m[1];
      std::smatch part;
      if (std::regex_match(name, part, meshNode)) report.meshNodes.push_back(part[1]);
      inItem = std::regex_search(name, part, itemId);
      if (inItem) {
        const auto [at, added] = itemOfId.emplace(part[1], report.items.size());
        if (added) report.items.emplace_back();
        current = at->second;
      }
    } else if (inTree && inItem && std::regex_search(line, m, property)) {
      const Vec3 value = ParseVector(m[2]);
      if (m[1] == "T") report.items[current].position = {value[0], value[1], -value[2]};
      if (m[1] == "S") report.items[current].scale = value;
    }
  }
  return report;
}

// A point of an item in world coordinates, from what the host reports.
Vec3 ToWorld(const Motion& motion, const std::array<float, 3>& point) {
  const Vec3 pivot = motion.Get(LWIP_PIVOT);
  const Vec3 origin = motion.Get(LWIP_W_POSITION);
  const Vec3 axes[] = {motion.Get(LWIP_RIGHT), motion.Get(LWIP_UP), motion.Get(LWIP_FORWARD)};
  Vec3 world = origin;
  for (std::size_t a = 0; a < 3; ++a) {
    for (std::size_t k = 0; k < 3; ++k) world[k] += axes[a][k] * (static_cast<double>(point[a]) - pivot[a]);
  }
  return world;
}

class AssimpSample : public testing::TestWithParam<std::string> {};

TEST_P(AssimpSample, LoadsAndAgreesWithAssimp) {
  if (GetParam().empty()) GTEST_SKIP() << "assimp-testmodels is not installed under " << kModels;
  const std::string path = (kModels / GetParam()).string();
  const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  const auto startsWith = [&](std::size_t at, const std::string& magic) {
    return bytes.size() >= at + magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  };
  if (startsWith(8, "LWOB")) {
    try {
      LoadSceneFile(path);
      FAIL() << "an LWOB object loaded";
    } catch (const LoadError& error) {
      EXPECT_NE(std::string(error.what()).find("is an LWOB object"), std::string::npos) << error.what();
    }
    return;
  }
  const Scene scene = LoadSceneFile(path);
  if (!AssimpInstalled()) GTEST_SKIP() << "assimp (Debian assimp-utils) is not installed";
  const AssimpReport assimp = ParseAssimp(RunCommand("assimp info '" + path + "' -r -v 2>&1"));

  long corners = 0, polygons = 0;
  std::set<std::string> surfacesInUse;
  Vec3 minimum{1e30, 1e30, 1e30}, maximum{-1e30, -1e30, -1e30};
  for (const Item& item : scene.items) {
    if (item.mesh < 0) continue;
    const Mesh& mesh = scene.meshes[static_cast<std::size_t>(item.mesh)];
    for (const Polygon& polygon : mesh.polygons) {
      corners += static_cast<long>(polygon.points.size());
      ++polygons;
      surfacesInUse.insert(polygon.surface.empty() ? "Default" : polygon.surface);
      for (int point : polygon.points) {
        Vec3 world = ToWorld(item.atTimeZero, mesh.points[static_cast<std::size_t>(point)]);
        world[2] = -world[2];
        for (std::size_t k = 0; k < 3; ++k) {
          minimum[k] = std::min(minimum[k], world[k]);
          maximum[k] = std::max(maximum[k], world[k]);
        }
      }
    }
  }
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(minimum[k], assimp.minimum[k], 2e-6) << "axis " << k;
    EXPECT_NEAR(maximum[k], assimp.maximum[k], 2e-6) << "axis " << k;
  }
  EXPECT_EQ(corners, assimp.vertices);
  EXPECT_EQ(polygons, assimp.faces);
  EXPECT_EQ(surfacesInUse, assimp.materials);

  if (startsWith(0, "LWSC")) {
    ASSERT_EQ(scene.items.size(), assimp.items.size());
    for (std::size_t i = 0; i < scene.items.size(); ++i) {
      const Motion& motion = scene.items[i].atTimeZero;
      for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(motion.Get(LWIP_POSITION)[k], assimp.items[i].position[k], 1e-5) << scene.items[i].name;
        if (assimp.items[i].scale) {
          EXPECT_NEAR(motion.Get(LWIP_SCALING)[k], (*assimp.items[i].scale)[k], 1e-5) << scene.items[i].name;
        }
      }
    }
  } else {
    // A bare object: one item per layer with geometry; named layers keep
    // their names.
    EXPECT_EQ(scene.items.size(), assimp.meshNodes.size());
    for (const Lwo2Layer& layer : ReadLwo(bytes, path).layers) {
      if (layer.name.empty() || layer.mesh.polygons.empty()) continue;
      EXPECT_NE(std::find(assimp.meshNodes.begin(), assimp.meshNodes.end(), layer.name), assimp.meshNodes.end())
          << layer.name;
    }
  }
}

std::string CaseName(const testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.empty() ? "absent" : info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, AssimpSample, testing::ValuesIn(testsupport::AssimpLightWaveFiles({"LWO", "LWS"})), CaseName);

TEST(AssimpSamples, EmptyFileIsRefused) {
  const fs::path empty = kModels / "invalid/empty.lwo";
  if (!fs::exists(empty)) GTEST_SKIP() << "assimp-testmodels is not installed";
  EXPECT_THROW(LoadSceneFile(empty.string()), LoadError);
}

}  // namespace
}  // namespace host
