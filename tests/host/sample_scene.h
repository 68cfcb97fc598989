// A small scene with every kind of item mixed, parents of every type, a
// shared mesh, UV maps with per-polygon values, and surfaces with textures
// and images, for the host tests.
#pragma once

#include "host/scene_model.h"
#include "lwsdk/item_info.h"
#include "lwsdk/mesh_info.h"

namespace host::testing {

// Item indices in host order.
enum SampleItem { kCamera, kCar, kLight, kBone, kWheel, kNull, kBone2, kCarCopy };

constexpr double kCurrentTime = 2.5;

inline Motion At(Vec3 position) {
  Motion motion;
  motion.params[LWIP_POSITION] = position;
  return motion;
}

inline Scene SampleScene() {
  Scene scene;
  scene.name = "city.lws";
  scene.filename = "C:\\scenes\\city.lws";
  scene.currentTime = kCurrentTime;

  Item camera{ItemType::kCamera, "Camera", -1, {}, {}, -1, -1};
  Item car{ItemType::kObject, "Car", -1, At({1, 2, 3}), At({9, 9, 9}), 0, 0};
  Item light{ItemType::kLight, "Light", kCar, {}, {}, -1, -1};
  Item bone{ItemType::kBone, "Bone", kCar, {}, {}, -1, -1};
  Item wheel{ItemType::kObject, "Wheel", kBone, At({4, 5, 6}), {}, 1, 1};
  Item null{ItemType::kObject, "Null", kLight, {}, {}, -1, -1};
  Item bone2{ItemType::kBone, "Bone2", kBone, {}, {}, -1, -1};
  Item carCopy{ItemType::kObject, "Car (2)", -1, {}, {}, 0, 0};
  scene.items = {camera, car, light, bone, wheel, null, bone2, carCopy};

  Mesh body;
  body.points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  body.polygons = {{LWPOLTYPE_FACE, {0, 1, 2}, "Body"}, {LWPOLTYPE_FACE, {0, 2, 3}, "Glass"}};
  UvMap main{"uv_main", 2, {}, {}};
  main.pointValues = {{0, {0.0f, 0.0f}}, {1, {1.0f, 0.0f}}, {2, {1.0f, 1.0f}}};
  main.polygonValues = {{{2, 1}, {0.5f, 0.25f}}};
  UvMap extra{"uv_extra", 3, {{0, {7.0f, 8.0f, 9.0f}}}, {}};
  body.uvMaps = {main, extra};

  Mesh tyre;
  tyre.points = {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  tyre.polygons = {{LWPOLTYPE_FACE, {0, 1, 2}, "Rubber"}};
  tyre.uvMaps = {UvMap{"uv_main", 2, {}, {}}, UvMap{"uv_wheel", 2, {}, {}}};
  scene.meshes = {body, tyre};

  Surface bodySurface;
  bodySurface.name = "Body";
  bodySurface.color = {0.1, 0.2, 0.3};
  bodySurface.reflectivity = 0.25;
  bodySurface.colorTexture = 0;
  bodySurface.reflectionImage = 1;
  Surface glass;
  glass.name = "Glass";
  glass.transparency = 0.5;
  Surface rubber;
  rubber.name = "Rubber";
  rubber.glossiness = 0.1;
  rubber.colorTexture = 1;
  scene.objectFiles = {{"C:\\objects\\car.lwo", {bodySurface, glass}, {{0, "body"}, {2, ""}}},
                       {"C:\\objects\\wheel.lwo", {rubber}, {}}};

  scene.textures = {Texture{{{TextureLayerType::kProcedural, -1},
                             {TextureLayerType::kImage, 0},
                             {TextureLayerType::kGradient, -1}}},
                    Texture{{{TextureLayerType::kImage, 1}}}};
  scene.images = {{"body", "C:\\maps\\body.tga"}, {"env.tga", ""}};
  return scene;
}

}  // namespace host::testing
