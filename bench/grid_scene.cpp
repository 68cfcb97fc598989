#include "bench/grid_scene.h"

namespace bench {
namespace {

constexpr int kSeamSpacing = 16;

}  // namespace

host::Mesh GridMesh(GridSize size) {
  host::Mesh mesh;
  const int across = size.columns + 1;
  const auto at = [across](int column, int row) { return row * across + column; };
  for (int row = 0; row <= size.rows; ++row) {
    for (int column = 0; column < across; ++column) {
      mesh.points.push_back({static_cast<float>(column), 0.0f, static_cast<float>(row)});
    }
  }

  host::UvMap map;
  map.name = "Texture";
  for (int row = 0; row <= size.rows; ++row) {
    for (int column = 0; column < across; ++column) {
      const float u = static_cast<float>(column % kSeamSpacing) / kSeamSpacing;
      map.pointValues[at(column, row)] = {u, static_cast<float>(row) / static_cast<float>(size.rows)};
    }
  }

  for (int row = 0; row < size.rows; ++row) {
    for (int column = 0; column < size.columns; ++column) {
      const char* surface = column < size.columns / 2 ? "Body" : "Glass";
      const int first = static_cast<int>(mesh.polygons.size());
      const int lowerLeft = at(column, row), lowerRight = at(column + 1, row);
      const int upperRight = at(column + 1, row + 1), upperLeft = at(column, row + 1);
      if (size.cells == Cells::kQuads) {
        mesh.polygons.push_back({host::Polygon{}.type, {lowerLeft, lowerRight, upperRight, upperLeft}, surface});
      } else {
        mesh.polygons.push_back({host::Polygon{}.type, {lowerLeft, lowerRight, upperRight}, surface});
        mesh.polygons.push_back({host::Polygon{}.type, {lowerLeft, upperRight, upperLeft}, surface});
      }
      // The right-hand points of the last cell of a repeat end it at u = 1.
      if ((column + 1) % kSeamSpacing == 0) {
        const float v0 = static_cast<float>(row) / static_cast<float>(size.rows);
        const float v1 = static_cast<float>(row + 1) / static_cast<float>(size.rows);
        map.polygonValues[{lowerRight, first}] = {1.0f, v0};
        map.polygonValues[{upperRight, first}] = {1.0f, v1};
        if (size.cells == Cells::kTrianglePairs) map.polygonValues[{upperRight, first + 1}] = {1.0f, v1};
      }
    }
  }
  mesh.uvMaps.push_back(std::move(map));
  return mesh;
}

void AddDayAndNightMaps(host::Mesh& mesh) {
  host::UvMap day{"day", 3, {}, {}, host::kVertexMapRgb};
  host::UvMap night{"night", 4, {}, {}, host::kVertexMapRgba};
  for (std::size_t p = 0; p < mesh.points.size(); ++p) {
    const float shade = static_cast<float>(p % 256) / 255.0f;
    day.pointValues[static_cast<int>(p)] = {shade, 0.5f, 1.0f - shade};
    night.pointValues[static_cast<int>(p)] = {0.1f, 0.1f, shade, 1.0f};
  }
  for (std::size_t k = 0; k < mesh.polygons.size(); ++k) {
    const host::Polygon& polygon = mesh.polygons[k];
    const int right = polygon.points[1];
    if (static_cast<int>(mesh.points[static_cast<std::size_t>(right)][0]) % (2 * kSeamSpacing) != 0) continue;
    night.polygonValues[{right, static_cast<int>(k)}] = {1.0f, 0.8f, 0.2f, 1.0f};
  }
  mesh.colorMaps = {std::move(day), std::move(night)};
}

host::Scene GridScene(GridSize size) {
  host::Scene scene;
  scene.name = "grid.lws";
  scene.meshes.push_back(GridMesh(size));

  host::Image image;
  image.name = "body.tga";
  scene.images.push_back(image);
  host::Texture texture;
  texture.layers.push_back({host::TextureLayerType::kImage, 0});
  scene.textures.push_back(texture);

  host::ObjectFile file;
  file.filename = "objects\\grid.lwo";
  host::Surface body, glass;
  body.name = "Body";
  body.colorTexture = 0;
  glass.name = "Glass";
  glass.transparency = 0.5;
  file.surfaces = {body, glass};
  scene.objectFiles.push_back(file);

  host::Item item;
  item.name = "grid";
  item.objectFile = 0;
  item.mesh = 0;
  scene.items.push_back(item);
  return scene;
}

void AddLamps(host::Scene& scene, int count) {
  const int street = static_cast<int>(scene.items.size());
  host::Item null;
  null.name = "street";
  null.parent = 0;
  scene.items.push_back(null);
  for (int i = 0; i < count; ++i) {
    const host::Vec3 at{250.0 * (i % 100) / 100.0, 4.0, 250.0 * (i / 100) / (count / 100 + 1.0)};
    host::Item lamp;
    lamp.type = host::ItemType::kLight;
    lamp.name = "lamp" + std::to_string(i) + " [corona=1.5 flare=yellow]";
    lamp.parent = street;
    lamp.light.type = 1;  // point
    lamp.light.color = {1.0, 0.6, 0.2};
    lamp.atTimeZero.params[1] = at;  // position
    scene.items.push_back(lamp);
    host::Item fire;
    fire.name = "fx_fire";
    fire.parent = street;
    fire.atTimeZero.params[1] = {at[0], 0.5, at[2]};
    scene.items.push_back(fire);
  }
}

}  // namespace bench
