// A clump laid out for drawing: every atomic's geometry placed in the world
// through its frame chain, its materials joined with their textures.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "dff_inspect/records.h"
#include "render/texture_decoding.h"

namespace render {

using dffinfo::Rgba;
using dffinfo::Vec2;
using dffinfo::Vec3;

// How a material's texels and colour meet what is drawn behind them.
enum class Coverage { kOpaque, kAlphaTested, kBlended };

struct SceneMaterial {
  Rgba colour{255, 255, 255, 255};
  const Texture* texture = nullptr;  // nullptr: untextured, or its texture is not in the dictionary
  bool clampU = false;               // the texture's addressing; repeats otherwise
  bool clampV = false;
  Coverage coverage = Coverage::kOpaque;
};

struct SceneVertex {
  Vec3 position{};  // in the world
  Vec3 normal{};    // in the world, unit length; unused when prelit
  Vec2 uv{};
  Rgba day{255, 255, 255, 255};    // prelight colours
  Rgba night{255, 255, 255, 255};  // the Extra Vert Colour record's, else the day ones
  bool prelit = false;             // false: lit by the renderer's light from its normal
};

struct SceneTriangle {
  std::uint32_t a = 0, b = 0, c = 0;  // corners as readers take them, in the scene's vertex list
  std::uint32_t material = 0;         // in the scene's material list
};

struct ModelScene {
  std::vector<SceneVertex> vertices;
  std::vector<SceneTriangle> triangles;
  std::vector<SceneMaterial> materials;
};

// Lays out every atomic of `clump`.  Atomics of a native geometry, or
// without positions, draw nothing; triangles whose corners or material slot
// lie outside their geometry are left out; vertices whose coordinates are
// not finite numbers leave out the triangles that use them.  `textures`
// must outlive the scene.
ModelScene LayOutClump(const dffinfo::ClumpRecord& clump, const DecodedTextures& textures);

}  // namespace render
