// A game model as the importer takes it from its DFF, TXD and COL files,
// knowing no host: frames with their names and parents, atomics with their
// geometry and materials, the textures decoded to RGBA, and the collision.
// Values are in the game's axes and units, as the files store them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace import {

using Vec2 = std::array<float, 2>;
using Vec3 = std::array<float, 3>;
using Rgba = std::array<std::uint8_t, 4>;

struct Frame {
  std::string name;
  std::int32_t parent = -1;  // an earlier frame, -1 for a root
  // Rows are the images of the frame's x, y and z in its parent's space.
  std::array<Vec3, 3> rotation{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  Vec3 position{0, 0, 0};
};

struct Material {
  Rgba color{255, 255, 255, 255};
  std::string texture;  // empty: untextured
  std::string mask;
  // The MatFX environment map: its texture and coefficient.
  std::optional<std::string> environmentTexture;
  float environmentCoefficient = 0.0f;
  std::optional<float> specularLevel;  // the specular record's level
  std::optional<std::array<float, 6>> reflection;  // the reflection record as stored
};

// A triangle's corners as the game's reader takes them, and its material.
struct Triangle {
  std::array<std::uint16_t, 3> corners{};
  std::uint16_t material = 0;
};

struct Geometry {
  std::vector<Vec3> positions;  // in the frame's space
  std::vector<Vec3> normals;    // empty when the geometry stores none
  std::vector<std::vector<Vec2>> uvSets;
  std::vector<Rgba> dayColors;    // the prelight; empty when not prelit
  std::vector<Rgba> nightColors;  // the Extra Vert Colour record; may be empty
  std::vector<Triangle> triangles;
  std::vector<Material> materials;  // slots resolved: one entry per slot
};

struct Atomic {
  std::int32_t frame = 0;
  std::int32_t geometry = 0;
};

struct Texture {
  std::string name;
  std::string mask;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;  // level 0, row by row from the top
};

// A collision face with the game's surface type; corners as stored.
struct CollisionFace {
  std::array<std::uint16_t, 3> corners{};
  std::uint8_t surface = 0;
};

struct CollisionMesh {
  std::vector<Vec3> vertices;  // metres
  std::vector<CollisionFace> faces;
};

struct CollisionSphere {
  Vec3 centre{};
  float radius = 0.0f;
  std::uint8_t surface = 0;
};

struct CollisionBox {
  Vec3 min{};
  Vec3 max{};
  std::uint8_t surface = 0;
};

struct Collision {
  std::string name;
  std::vector<CollisionSphere> spheres;
  std::vector<CollisionBox> boxes;
  CollisionMesh mesh;
  CollisionMesh shadow;
  // The entry's bytes as stored, so that a command that embeds them can
  // write them back unchanged.
  std::vector<std::uint8_t> bytes;
};

struct Model {
  std::vector<Frame> frames;
  std::vector<Geometry> geometries;
  std::vector<Atomic> atomics;
  std::vector<Texture> textures;
  std::optional<Collision> collision;
  // What the model holds that the importer cannot carry, one line per
  // kind, naming the file.
  std::vector<std::string> warnings;
};

}  // namespace import
