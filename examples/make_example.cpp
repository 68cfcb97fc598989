// Writes the bundled example: a small buggy that shows what the exporter
// does with a LightWave scene.
//
//   buggy.lwo  two named layers: "body" (a box with a UV map that has a
//              seam, a textured "Paint" surface and a "Chrome" surface with
//              a reflection image) and "wheel" (a flat box with a pivot)
//   buggy.lws  a null "buggy_root" carrying the body, the wheel parented to
//              the body and turned about its pivot
//   buggy.col  a COL file with one collision box, embedded on export
//   images/    the two surfaces' images, paint.tga and chrome_env.tga
//
// Usage: make_example OUTPUT_FOLDER
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "examples/example_images.h"
#include "lightwave/lwo2_writer.h"
#include "lightwave/lws_writer.h"

namespace {
namespace fs = std::filesystem;
using host::Vec3;

// A box from `low` to `high` as 8 points and 6 quads facing outwards.
void AddBox(host::Mesh& mesh, std::array<float, 3> low, std::array<float, 3> high,
            const std::string& sides, const std::string& top) {
  const int base = static_cast<int>(mesh.points.size());
  for (int i = 0; i < 8; ++i) {
    mesh.points.push_back({(i & 1) ? high[0] : low[0], (i & 2) ? high[1] : low[1],
                           (i & 4) ? high[2] : low[2]});
  }
  const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                           {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (int f = 0; f < 6; ++f) {
    host::Polygon polygon;
    polygon.surface = f == 3 ? top : sides;
    for (int corner : faces[f]) polygon.points.push_back(base + corner);
    mesh.polygons.push_back(polygon);
  }
}

// Planar UVs from x and z, with the last face mapped on its own: its
// corners get per-polygon values, so the points there have two UVs.
host::UvMap SeamedUvMap(const host::Mesh& mesh) {
  host::UvMap map;
  map.name = "uv_body";
  map.dimension = 2;
  for (int p = 0; p < static_cast<int>(mesh.points.size()); ++p) {
    const auto& point = mesh.points[static_cast<std::size_t>(p)];
    map.pointValues[p] = {(point[0] + 1.0f) / 2.0f, (point[2] + 2.0f) / 4.0f};
  }
  const int seamFace = static_cast<int>(mesh.polygons.size()) - 1;
  const auto& corners = mesh.polygons.back().points;
  for (std::size_t k = 0; k < corners.size(); ++k) {
    map.polygonValues[{corners[k], seamFace}] = {k == 1 || k == 2 ? 1.0f : 0.5f,
                                                 k >= 2 ? 1.0f : 0.0f};
  }
  return map;
}

host::Lwo2Object Buggy() {
  host::Lwo2Object object;
  host::Lwo2Layer body;
  body.number = 0;
  body.name = "body";
  AddBox(body.mesh, {-1.0f, 0.2f, -2.0f}, {1.0f, 1.0f, 2.0f}, "Paint", "Chrome");
  body.mesh.uvMaps = {SeamedUvMap(body.mesh)};

  host::Lwo2Layer wheel;
  wheel.number = 1;
  wheel.name = "wheel";
  wheel.parent = 0;
  wheel.pivot = {1.1, 0.3, 1.4};
  AddBox(wheel.mesh, {1.0f, 0.0f, 1.1f}, {1.2f, 0.6f, 1.7f}, "Paint", "Paint");
  object.layers = {body, wheel};

  host::Lwo2Surface paint;
  paint.name = "Paint";
  paint.color = {0.8, 0.1, 0.1};
  paint.glossiness = 0.6;
  paint.colorLayers = {{host::TextureLayerType::kProcedural, "\x80", std::nullopt},
                       {host::TextureLayerType::kImage, "\x81", 1u}};
  host::Lwo2Surface chrome;
  chrome.name = "Chrome";
  chrome.color = {0.9, 0.9, 0.95};
  chrome.reflectivity = 0.75;
  chrome.transparency = 0.1;
  chrome.reflectionClip = 2u;
  object.surfaces = {paint, chrome};
  object.clips = {{1u, "images/paint.tga"}, {2u, "images/chrome_env.tga"}};
  return object;
}

std::string BuggyScene() {
  using host::LwsItemKind;
  std::vector<host::LwsWriterItem> items(3);
  items[0].kind = LwsItemKind::kNull;
  items[0].name = "buggy_root";
  items[0].position = {0.0, 0.0, 5.0};
  items[0].rotation = {0.5235987755982988, 0.0, 0.0};  // heading 30 degrees
  items[1].objectPath = "buggy.lwo";
  items[1].layer = 1;
  items[1].parent = 0;
  items[2].objectPath = "buggy.lwo";
  items[2].layer = 2;
  items[2].parent = 1;
  items[2].position = {1.1, 0.3, 1.4};
  items[2].pivot = Vec3{1.1, 0.3, 1.4};
  items[2].rotation = {0.0, 0.0, 0.2617993877991494};  // bank 15 degrees
  return host::WriteLws(items);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutFloats(std::vector<std::uint8_t>& out, std::initializer_list<float> values) {
  for (float value : values) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(out, bits);
  }
}

// A version 1 COL entry ("COLL") with one box around the buggy.
std::vector<std::uint8_t> BuggyCollision() {
  std::vector<std::uint8_t> body;
  const char name[22] = "buggy";
  body.insert(body.end(), name, name + sizeof name);
  body.push_back(0);  // model id, 16 bits
  body.push_back(0);
  PutFloats(body, {2.5f, 0.0f, 0.5f, 0.0f});                   // bounding sphere
  PutFloats(body, {-1.2f, 0.0f, -2.0f, 1.2f, 1.0f, 2.0f});      // bounding box
  PutU32(body, 0);                                              // spheres
  PutU32(body, 0);                                              // unused
  PutU32(body, 1);                                              // boxes
  PutFloats(body, {-1.2f, 0.0f, -2.0f, 1.2f, 1.0f, 2.0f});
  body.insert(body.end(), {4, 0, 0, 0});                        // surface: metal
  PutU32(body, 0);                                              // vertices
  PutU32(body, 0);                                              // faces
  std::vector<std::uint8_t> file = {'C', 'O', 'L', 'L'};
  PutU32(file, static_cast<std::uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

void WriteFile(const fs::path& path, const void* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_example OUTPUT_FOLDER\n");
    return 2;
  }
  try {
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    host::WriteLwo2File(Buggy(), (folder / "buggy.lwo").string());
    const std::string scene = BuggyScene();
    WriteFile(folder / "buggy.lws", scene.data(), scene.size());
    const std::vector<std::uint8_t> col = BuggyCollision();
    WriteFile(folder / "buggy.col", col.data(), col.size());
    fs::create_directories(folder / "images");
    const std::vector<std::uint8_t> paint = example::PaintImage();
    WriteFile(folder / "images" / "paint.tga", paint.data(), paint.size());
    const std::vector<std::uint8_t> chrome = example::ChromeEnvironmentImage();
    WriteFile(folder / "images" / "chrome_env.tga", chrome.data(), chrome.size());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_example: %s\n", error.what());
    return 1;
  }
  return 0;
}
