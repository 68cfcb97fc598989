// Runs the real velmora_map module through the stand-in host, as Layout
// runs it when the user picks "Export map object to DFF", and reads what
// it wrote with dffinfo's reader.
#pragma once

#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "tests/plugin/export_fixture.h"

namespace plugin::testing {

class MapExportTest : public ExportTest {
 protected:
  int RunMap(host::StandInHost& host) {
    return RunCommand(host, VELMORA_MAP_MODULE_PATH, "Export map object to DFF");
  }

  // The file the run wrote, which must satisfy the game's reader.
  dffinfo::ClumpRecord ReadSound(const fs::path& path) {
    const dffinfo::Inspection inspection = dffinfo::Inspect(ReadFileBytes(path));
    std::string findings;
    for (const dffinfo::Finding& f : inspection.findings.all()) {
      if (f.severity == dffinfo::Severity::Damage) findings += dffinfo::Describe(f) + "\n";
    }
    EXPECT_TRUE(inspection.sound()) << findings;
    return inspection.clumps.empty() ? dffinfo::ClumpRecord{} : inspection.clumps.front();
  }
};

// A mesh of separate triangles: triangle t has points 3t, 3t+1, 3t+2 at
// distinct positions, on `surface`.
inline host::Mesh SeparateTriangles(int count, const std::string& surface = "Paint") {
  host::Mesh mesh;
  for (int t = 0; t < count; ++t) {
    const auto x = static_cast<float>(t % 1000);
    const auto y = static_cast<float>(t / 1000);
    mesh.points.push_back({x, y, 0});
    mesh.points.push_back({x + 0.5f, y, 0});
    mesh.points.push_back({x, y + 0.5f, 0});
    mesh.polygons.push_back({LWPOLTYPE_FACE, {3 * t, 3 * t + 1, 3 * t + 2}, surface});
  }
  return mesh;
}

// A scene of one object item per mesh, named as given, all of one object
// file whose surfaces are `surfaces`.
inline host::Scene SceneOf(const std::vector<std::pair<std::string, host::Mesh>>& objects,
                           const std::vector<host::Surface>& surfaces) {
  host::Scene scene;
  scene.name = "house.lws";
  scene.filename = "/scenes/house.lws";
  scene.objectFiles = {{"/objects/house.lwo", surfaces, {}}};
  for (const auto& [name, mesh] : objects) {
    scene.meshes.push_back(mesh);
    host::Item item;
    item.name = name;
    item.objectFile = 0;
    item.mesh = static_cast<int>(scene.meshes.size() - 1);
    scene.items.push_back(item);
  }
  return scene;
}

inline host::Surface NamedSurface(const std::string& name, const std::string& colorVMap = "") {
  host::Surface surface;
  surface.name = name;
  surface.colorVMap = colorVMap;
  return surface;
}

}  // namespace plugin::testing
