// The records of a clump as readers see them, decoded from the chunk tree.
//
// Every value is kept exactly as stored, so that a test can compare a file
// with the model it was written from.  Each record also keeps the path and
// offset of the bytes it came from, which every finding about it names.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dffinfo {

using Vec2 = std::array<float, 2>;
using Vec3 = std::array<float, 3>;
using Rgba = std::array<std::uint8_t, 4>;

// Where a record's bytes sit in the file.
struct Origin {
  std::string path;
  std::size_t offset = 0;
};

// Geometry format flags.
constexpr std::uint32_t kTriangleStrip = 0x01;
constexpr std::uint32_t kPositions = 0x02;
constexpr std::uint32_t kTextured = 0x04;
constexpr std::uint32_t kPrelit = 0x08;
constexpr std::uint32_t kNormals = 0x10;
constexpr std::uint32_t kLight = 0x20;
constexpr std::uint32_t kModulate = 0x40;
constexpr std::uint32_t kTextured2 = 0x80;
constexpr std::uint32_t kNative = 0x01000000;

struct FrameRecord {
  Origin entry;                // the frame's 56 bytes in the Frame List Struct
  std::array<float, 9> rotation{};  // 3x3, row by row: right, up, at
  Vec3 position{};
  std::int32_t parent = -1;    // index of an earlier frame, -1 for a root
  std::uint32_t matrixFlags = 0;
  std::optional<std::string> name;  // raw bytes of the frame's FrameName record
  Origin nameRecord;           // the FrameName chunk, when there is one
};

struct TextureRecord {
  Origin origin;               // the Texture chunk
  // Filter mode in bits 0-7, U addressing in bits 8-11, V addressing in
  // bits 12-15, bit 16 set when the texture brings its own mip levels.
  std::uint32_t filterWord = 0;
  std::string name;            // up to the first zero byte
  std::string mask;
  Origin nameString;
  Origin maskString;
};

// One effect of a MaterialEffects record.  Which fields are meaningful
// depends on `type`: 1 bump map (coefficient, bumpedTexture, texture),
// 2 environment map (coefficient, frameBufferAlpha, texture), 4 dual pass
// (sourceBlend, destinationBlend, texture), 5 UV transform and 0 none
// (nothing).
struct EffectSlot {
  std::uint32_t type = 0;
  float coefficient = 0.0f;
  std::uint32_t frameBufferAlpha = 0;
  std::uint32_t sourceBlend = 0;
  std::uint32_t destinationBlend = 0;
  std::optional<TextureRecord> bumpedTexture;
  std::optional<TextureRecord> texture;
};

constexpr std::uint32_t kEffectNone = 0;
constexpr std::uint32_t kEffectBumpMap = 1;
constexpr std::uint32_t kEffectEnvironmentMap = 2;
constexpr std::uint32_t kEffectDualPass = 4;
constexpr std::uint32_t kEffectUvTransform = 5;

struct MaterialEffectsRecord {
  Origin origin;
  std::uint32_t effectType = 0;
  std::vector<EffectSlot> slots;  // two in a complete record

  // The environment map slot, or nullptr.
  const EffectSlot* EnvironmentMap() const;
};

struct ReflectionRecord {
  // Scale x, scale y, offset x, offset y, intensity, then a word that the
  // game treats as a texture placeholder, all read as floats.
  std::array<float, 6> values{};
};

struct SpecularRecord {
  float level = 0.0f;
  std::string textureName;     // the 24-byte name field up to its first zero
};

struct SurfaceProperties {
  float ambient = 0.0f;
  float specular = 0.0f;
  float diffuse = 0.0f;
};

struct MaterialRecord {
  Origin origin;               // the Material chunk
  Origin structOrigin;
  std::uint32_t flags = 0;
  Rgba rgba{};
  std::uint32_t unused = 0;
  std::uint32_t textured = 0;
  std::optional<SurfaceProperties> surface;  // absent from short records of old files
  std::optional<TextureRecord> texture;
  std::optional<MaterialEffectsRecord> effects;
  std::optional<ReflectionRecord> reflection;
  std::optional<SpecularRecord> specular;
  std::vector<std::uint32_t> otherPlugins;  // extension chunks listed but not decoded
};

struct MaterialListRecord {
  Origin origin;               // the MaterialList chunk
  // One entry per material slot: -1 for a material of its own, otherwise
  // the slot whose material it shares.  Triangles and BinMesh splits index
  // these slots.
  std::vector<std::int32_t> slots;
  std::vector<MaterialRecord> materials;
};

// A triangle as readers take it from its four words w0..w3: corners
// (w1, w0, w3) and material slot w2.
struct Triangle {
  std::uint16_t a = 0;
  std::uint16_t b = 0;
  std::uint16_t c = 0;
  std::uint16_t material = 0;
};

struct MorphTarget {
  std::size_t sphereOffset = 0;
  Vec3 sphereCentre{};
  float sphereRadius = 0.0f;
  bool hasPositions = false;
  bool hasNormals = false;
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
};

struct BinMeshSplit {
  std::size_t offset = 0;      // of the split's index count
  std::uint32_t indexCount = 0;
  std::uint32_t material = 0;
  std::vector<std::uint32_t> indices;  // empty for a native geometry
};

struct BinMeshRecord {
  Origin origin;
  std::uint32_t flags = 0;     // 0 triangle list, 1 triangle strip
  std::uint32_t splitCount = 0;
  std::uint32_t totalIndexCount = 0;
  std::vector<BinMeshSplit> splits;
};

// The Extra Vert Colour record: the night colours the game blends with
// the prelight (day) colours by the hour.
struct NightColorsRecord {
  Origin origin;
  std::uint32_t size = 0;       // the chunk's declared payload size
  std::uint32_t hasColors = 0;  // non-zero: colours follow
  std::vector<Rgba> colors;     // as many whole colours as the record holds
};

// The body of a 2d effect light (type 0), field by field as stored.
struct LightEffectRecord {
  Rgba color{};
  float coronaFarClip = 0.0f;
  float pointLightRange = 0.0f;
  float coronaSize = 0.0f;
  float shadowSize = 0.0f;
  std::uint8_t coronaShowMode = 0;
  std::uint8_t coronaReflection = 0;
  std::uint8_t coronaFlareType = 0;
  std::uint8_t shadowColorMultiplier = 0;
  std::uint8_t flags1 = 0;
  std::string coronaTexture;  // up to the first zero byte of its 24
  std::string shadowTexture;
  std::uint8_t shadowZDistance = 0;
  std::uint8_t flags2 = 0;
  // Only in the 80-byte form; readers of the 76-byte form take (0, 0, 100).
  std::optional<std::array<std::int8_t, 3>> lookDirection;
};

constexpr std::uint32_t kEffect2dLight = 0;
constexpr std::uint32_t kEffect2dParticle = 1;

struct Effect2dRecord {
  std::size_t offset = 0;  // of the entry's header
  Vec3 position{};         // in the geometry's space
  std::uint32_t type = 0;
  std::uint32_t size = 0;  // of the body
  std::optional<LightEffectRecord> light;
  std::optional<std::string> particle;  // the effect's name
};

// The 2d effects record of a map object's geometry.
struct Effects2dRecord {
  Origin origin;
  std::uint32_t count = 0;  // as stored
  std::vector<Effect2dRecord> entries;  // as many as the record holds
};

struct GeometryRecord {
  Origin origin;               // the Geometry chunk
  Origin structOrigin;
  std::uint32_t format = 0;
  std::uint32_t triangleCount = 0;
  std::uint32_t vertexCount = 0;
  std::uint32_t morphTargetCount = 0;
  // The UV sets decoded: the count byte, or when that is 0 what the
  // textured flags imply, as the common readers do.
  std::uint32_t uvSetsRead = 0;
  std::optional<SurfaceProperties> surface;  // files older than 3.4
  std::vector<Rgba> prelight;
  std::vector<std::vector<Vec2>> uvSets;
  std::size_t trianglesOffset = 0;
  std::vector<Triangle> triangles;
  std::vector<MorphTarget> morphTargets;
  std::optional<MaterialListRecord> materialList;
  std::optional<BinMeshRecord> binMesh;
  std::optional<std::uint32_t> breakable;  // first word of the GeometryExtra record
  std::optional<NightColorsRecord> nightColors;
  std::optional<Effects2dRecord> effects;
  std::vector<std::uint32_t> otherPlugins;

  std::uint32_t flags() const { return format & 0xFFu; }
  std::uint32_t uvSetCountByte() const { return (format >> 16) & 0xFFu; }
  bool native() const { return (format & kNative) != 0; }
  std::size_t slotCount() const { return materialList ? materialList->slots.size() : 0; }
};

struct RightToRenderRecord {
  std::uint32_t pluginId = 0;
  std::uint32_t extraData = 0;
};

struct AtomicRecord {
  Origin origin;               // the Atomic chunk
  Origin structOrigin;
  std::uint32_t frameIndex = 0;
  std::uint32_t geometryIndex = 0;
  std::uint32_t flags = 0;
  std::uint32_t unused = 0;
  std::optional<RightToRenderRecord> rightToRender;
  std::optional<std::uint32_t> materialEffects;  // 1 when effects are enabled
  std::vector<std::uint32_t> otherPlugins;
};

struct CollisionRecord {
  Origin origin;
  std::uint32_t type = 0;      // Collision or CollisionAlternative
  std::uint32_t size = 0;
};

struct ClumpRecord {
  Origin origin;               // the Clump chunk
  Origin structOrigin;
  std::uint32_t atomicCount = 0;
  std::optional<std::uint32_t> lightCount;   // absent from files older than 3.3
  std::optional<std::uint32_t> cameraCount;
  std::vector<FrameRecord> frames;
  std::vector<GeometryRecord> geometries;
  std::vector<AtomicRecord> atomics;
  std::vector<CollisionRecord> collisions;
  std::vector<std::uint32_t> otherPlugins;
};

}  // namespace dffinfo
