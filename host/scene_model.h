// The stand-in host's in-memory LightWave scene.
//
// Everything the host services answer comes from here: the tests build a
// scene by hand, the LWS/LWO2 loaders build one from files.  The model keeps
// LightWave's own conventions (host axes, radians, item order), so the
// services hand values out unchanged.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lightwave/records.h"

namespace host {

enum class ItemType { kObject = 0, kLight = 1, kCamera = 2, kBone = 3 };

// Motion parameters of an item, already evaluated; the codes follow
// LWIP_* (position 1, rotation 5, scaling 6, pivot 7, world position 8,
// pivot rotation 12, and the axis vectors 2-4 and 9-11).
// A code without a value answers the item at rest: scaling 1, the axis
// vectors of the identity, every other parameter 0.
struct Motion {
  std::map<int, Vec3> params;
  Vec3 Get(int code) const;
};

struct TextureLayer {
  TextureLayerType type = TextureLayerType::kImage;
  int image = -1;  // index into Scene::images, -1 for none
};

struct Texture {
  std::vector<TextureLayer> layers;  // in ordinal order
};

struct Surface {
  std::string name;
  Vec3 color = kDefaultSurfaceColor;
  double transparency = kDefaultSurfaceTransparency;
  double reflectivity = kDefaultSurfaceReflectivity;
  double glossiness = kDefaultSurfaceGlossiness;
  int colorTexture = -1;     // index into Scene::textures, -1 for none
  int reflectionImage = -1;  // index into Scene::images, -1 for none
  std::string colorVMap;     // the vertex colour map it names, empty for none
};

struct Image {
  std::string name;
  std::string filename;  // the image file; empty when only the name is known
};

// One layer of an object file, as Scene Objects lists it.
struct ObjectLayer {
  int number = 0;    // 0-based, as the file numbers it
  std::string name;  // empty for an unnamed layer
};

// An object file: its surfaces and layers in file order.  Several items
// may share one.
struct ObjectFile {
  std::string filename;
  std::vector<Surface> surfaces;
  std::vector<ObjectLayer> layers;
};

// What "LW Light Info" answers for a light: Layout's light properties.
// A new light in Layout is a white distant light of intensity 1 whose
// intensity does not fall off.
struct LightSettings {
  int type = 0;        // LWLIGHT_*: distant, point, spot, linear, area
  Vec3 color{1, 1, 1};  // without the intensity
  double intensity = 1.0;
  int falloff = 0;     // LWLFALL_*; anything but off limits the range
  double range = 1.0;  // metres; where the falloff ends or its nominal distance
};

struct Item {
  ItemType type = ItemType::kObject;
  std::string name;
  int parent = -1;  // index into Scene::items, -1 for none
  Motion atTimeZero;
  // What `param` answers at the scene's current time, when that is not 0.
  // Absent: the item does not move.
  std::optional<Motion> atCurrentTime;
  // Objects only.
  int objectFile = -1;  // index into Scene::objectFiles, -1 for a null object
  int mesh = -1;        // index into Scene::meshes, -1 for no geometry
  // Lights only.
  LightSettings light;
};

struct Scene {
  std::string name;      // as "LW Scene Info" reports it; may be empty
  bool nameIsNull = false;
  std::string filename;
  double currentTime = 0.0;
  std::vector<Item> items;  // host order; all item types mixed
  std::vector<Mesh> meshes;
  std::vector<ObjectFile> objectFiles;
  std::vector<Texture> textures;
  std::vector<Image> images;
  // What loading the files met that it could not use as stored, and what
  // it did instead: one line each, naming the file.
  std::vector<std::string> warnings;

  // The total point count of every object item, as Layout reports it.
  int TotalPoints() const;
  int TotalPolygons() const;
};

}  // namespace host
