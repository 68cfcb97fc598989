#include "sample_files.h"

#include <atomic>
#include <fstream>

#include <unistd.h>

namespace lwfiles_test {

namespace fs = std::filesystem;
using host::Lwo2Layer;
using host::Lwo2Object;
using host::Polygon;

ScratchFolder::ScratchFolder() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("velmora-lwfiles-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string& relative, const std::vector<std::uint8_t>& bytes) const {
  const fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file.string();
}

std::string ScratchFolder::Write(const std::string& relative, const std::string& text) const {
  return Write(relative, std::vector<std::uint8_t>(text.begin(), text.end()));
}

namespace {

constexpr std::uint32_t kFace = 0x46414345u;  // FACE
constexpr std::uint32_t kPatch = 0x50544348u;  // PTCH

Polygon Quad(std::uint32_t type, int a, int b, int c, int d, const std::string& surface) {
  Polygon polygon;
  polygon.type = type;
  polygon.points = {a, b, c, d};
  polygon.surface = surface;
  return polygon;
}

host::Mesh Cube(float offsetX, const std::string& surface) {
  host::Mesh mesh;
  for (int i = 0; i < 8; ++i) {
    mesh.points.push_back({offsetX + static_cast<float>(i & 1), static_cast<float>((i >> 1) & 1),
                           static_cast<float>((i >> 2) & 1)});
  }
  const int faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
  for (const auto& f : faces) mesh.polygons.push_back(Quad(kFace, f[0], f[1], f[2], f[3], surface));
  return mesh;
}

}  // namespace

Lwo2Object CubeObject() {
  Lwo2Object object;
  Lwo2Layer layer;
  layer.mesh = Cube(0.0f, "Box");
  object.layers.push_back(std::move(layer));
  host::Lwo2Surface box;
  box.name = "Box";
  object.surfaces.push_back(box);
  return object;
}

Lwo2Object LayeredObject() {
  Lwo2Object object;

  Lwo2Layer body;
  body.number = 0;
  body.name = "Body";
  body.pivot = {0.5, 0.5, 0.5};
  body.mesh = Cube(0.0f, "Paint");
  // Patches between faces: the layer has three POLS runs, and the tags
  // and UV values of the later runs count from their own chunk.
  body.mesh.polygons[2].type = kPatch;
  body.mesh.polygons[3].type = kPatch;
  body.mesh.polygons[5].surface = "Glass";
  host::UvMap uv{"Skin", 2, {}, {}};
  for (int p = 0; p < 8; ++p) uv.pointValues[p] = {static_cast<float>(p) / 8.0f, 0.25f};
  uv.polygonValues[{1, 5}] = {0.9f, 0.1f};
  uv.polygonValues[{3, 2}] = {0.7f, 0.3f};
  body.mesh.uvMaps.push_back(uv);
  object.layers.push_back(std::move(body));

  Lwo2Layer wheel;
  wheel.number = 3;
  wheel.name = "Wheel";
  wheel.flags = 1;
  wheel.pivot = {2.0, 0.0, -1.0};
  wheel.parent = 0;
  wheel.mesh = Cube(2.0f, "Chrome");
  object.layers.push_back(std::move(wheel));

  Lwo2Layer spare;  // unnamed, no parent
  spare.number = 1;
  spare.mesh = Cube(-2.0f, "Paint");
  object.layers.push_back(std::move(spare));

  host::Lwo2Surface paint;
  paint.name = "Paint";
  paint.color = {0.25, 0.5, 0.75};
  paint.colorLayers = {{host::TextureLayerType::kGradient, "\x90", std::nullopt},
                       {host::TextureLayerType::kImage, "\x80", 7u},
                       {host::TextureLayerType::kProcedural, "\xA0", std::nullopt}};
  host::Lwo2Surface glass;
  glass.name = "Glass";
  glass.transparency = 0.75;
  glass.glossiness = 0.9;
  host::Lwo2Surface chrome;
  chrome.name = "Chrome";
  chrome.reflectivity = 0.5;
  chrome.reflectionClip = 2u;
  object.surfaces = {paint, glass, chrome};
  object.clips = {{7, "Images/paint.tga"}, {2, "C:\\maps\\sky.png"}};
  return object;
}

}  // namespace lwfiles_test
