// The clump writer.  One recursive operation writes every chunk of the
// tree; what a chunk holds depends on its type and the type around it, and
// which frame, geometry, material or atomic it speaks of comes from the
// writer's four cursors.  Each list chunk resets its cursor to -1 and each
// element advances it first thing, so element i of a list always reads
// element i of the content.
#include "dff/clump_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "dff/chunk_writer.h"

namespace dff {

BoundingSphere ComputeBoundingSphere(const std::vector<platform::Vec3f>& positions) {
  BoundingSphere sphere;
  if (positions.empty()) return sphere;
  platform::Vec3f low = positions.front();
  platform::Vec3f high = positions.front();
  for (const platform::Vec3f& p : positions) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  auto middle = [](float a, float b) {
    return static_cast<float>((static_cast<double>(a) + static_cast<double>(b)) / 2.0);
  };
  sphere.centre = {middle(low.x, high.x), middle(low.y, high.y), middle(low.z, high.z)};

  double farthest = 0.0;
  for (const platform::Vec3f& p : positions) {
    const double dx = static_cast<double>(p.x) - static_cast<double>(sphere.centre.x);
    const double dy = static_cast<double>(p.y) - static_cast<double>(sphere.centre.y);
    const double dz = static_cast<double>(p.z) - static_cast<double>(sphere.centre.z);
    farthest = std::max(farthest, std::sqrt(dx * dx + dy * dy + dz * dz));
  }
  sphere.radius = static_cast<float>(farthest);
  if (static_cast<double>(sphere.radius) < farthest) {
    sphere.radius = std::nextafter(sphere.radius, std::numeric_limits<float>::infinity());
  }
  return sphere;
}

namespace {

// The texture filter word: trilinear filtering, wrapping in u and v, and
// the texture's own mipmaps.
constexpr std::uint32_t kTextureFilterFlags = 0x00011106u;
// What the material record's unused word has always held in our files.
constexpr std::uint32_t kMaterialUnusedWord = 0x00BAA3DCu;
constexpr float kMaterialAmbient = 0.4f;
constexpr float kMaterialSpecular = 1.0f;
constexpr float kMaterialDiffuse = 1.0f;
// Atomic flags: collision test and render.
constexpr std::uint32_t kAtomicFlags = 5;
// The specular record's texture name field: the name, zero-padded.
constexpr char kSpecularTexture[] = "vehiclespecdot64";
constexpr std::size_t kSpecularNameField = 24;

// Geometry format flags.  The count byte above them says how many UV sets
// follow; a textured flag must agree with it, or readers guess a count.
constexpr std::uint16_t kGeometryBaseFlags = 0x72;  // positions, normals, lit, modulated
constexpr std::uint16_t kGeometryPrelit = 0x08;
constexpr std::uint16_t kGeometryNormals = 0x10;
constexpr std::uint16_t kGeometryOneUvSet = 0x04;
constexpr std::uint16_t kGeometryManyUvSets = 0x80;
constexpr std::int32_t kMostUvSets = 0xFF;

// A geometry with day colours carries them instead of normals, as the
// game's own map models do.
std::uint16_t GeometryFlags(const ClumpGeometry& mesh) {
  std::uint16_t flags = kGeometryBaseFlags;
  if (!mesh.dayColors.empty()) flags = static_cast<std::uint16_t>((flags & ~kGeometryNormals) | kGeometryPrelit);
  if (mesh.uvSetCount == 1) return flags | kGeometryOneUvSet;
  if (mesh.uvSetCount >= 2) return flags | kGeometryManyUvSets;
  return flags;
}

// The 16-bit index words of the triangle list.  Geometries with more
// vertices than these can address are refused before anything is written.
std::uint16_t Low16(std::int32_t value) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
}

void WriteVec3(OutputStream& stream, const platform::Vec3f& v) {
  WriteF32(stream, v.x);
  WriteF32(stream, v.y);
  WriteF32(stream, v.z);
}

// Little-endian values of the bulk arrays (texture coordinates, triangles,
// positions, normals, BinMesh indices), handed to the stream in blocks: a
// model of a million triangles would otherwise cost tens of millions of
// stream calls.  The bytes are those the word writers would produce.
class BlockWriter {
 public:
  explicit BlockWriter(OutputStream& stream) : stream_(stream), block_(kBlockSize) {}
  ~BlockWriter() { Flush(); }
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  void U8(std::uint8_t value) { Put(value); }
  void U16(std::uint16_t value) {
    Put(static_cast<std::uint8_t>(value & 0xFFu));
    Put(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    if (used_ + 4 > kBlockSize) Flush();
    for (int shift = 0; shift < 32; shift += 8) block_[used_++] = static_cast<std::uint8_t>(value >> shift);
  }
  void F32(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
  }
  void Vec3(const platform::Vec3f& v) {
    F32(v.x);
    F32(v.y);
    F32(v.z);
  }

 private:
  static constexpr std::size_t kBlockSize = 64 * 1024;

  void Put(std::uint8_t byte) {
    if (used_ == kBlockSize) Flush();
    block_[used_++] = byte;
  }
  void Flush() {
    stream_.WriteBytes(block_.data(), used_);
    used_ = 0;
  }

  OutputStream& stream_;
  std::vector<std::uint8_t> block_;
  std::size_t used_ = 0;
};

void WriteString(OutputStream& stream, const std::string& text) {
  const std::uint32_t padded = PaddedStringLength(static_cast<std::uint32_t>(text.size()));
  std::vector<char> buffer(padded, '\0');
  std::memcpy(buffer.data(), text.data(), text.size());
  WriteStringChunk(stream, buffer.data(), padded, kLibraryVersion);
}

std::string DescribeMesh(const ClumpGeometry& mesh) {
  const std::string name(mesh.frameName);
  return "the geometry of object \"" + name + "\" (mesh " + std::to_string(mesh.geometryIndex) + ")";
}

// The writer indexes the output arrays by the mesh's counts and its corner
// lists; a mesh whose arrays disagree with them would be read out of
// bounds.  The geometry builder never makes one, so this names the object
// and fails the file rather than writing it.
bool CheckMeshIsWritable(OutputStream& stream, const ClumpGeometry& mesh) {
  const auto vertices = static_cast<std::size_t>(std::max(mesh.vertexCount, 0));
  const auto corners = static_cast<std::size_t>(std::max(mesh.triangleCount, 0)) * 3;
  const std::int32_t materials = mesh.materialCount;
  // A prelit geometry is written without normals, so it need not have them.
  const bool normalsAgree = mesh.normals.size() == vertices || (!mesh.dayColors.empty() && mesh.normals.empty());
  bool arraysAgree = mesh.vertexCount >= 0 && mesh.triangleCount >= 0 &&
                     mesh.positions.size() == vertices && normalsAgree &&
                     mesh.uvSets.size() == static_cast<std::size_t>(std::max(mesh.uvSetCount, 0)) &&
                     mesh.cornerVertices.size() == corners && mesh.cornerMaterials.size() == corners;
  for (const auto& uvSet : mesh.uvSets) arraysAgree = arraysAgree && uvSet.size() == vertices;
  arraysAgree = arraysAgree && (mesh.dayColors.empty() || mesh.dayColors.size() == vertices) &&
                (mesh.nightColors.empty() || (mesh.nightColors.size() == vertices && !mesh.dayColors.empty()));
  if (!arraysAgree) {
    stream.Fail(DescribeMesh(mesh) + " has output arrays that disagree with its counts");
    return false;
  }
  if (mesh.uvSetCount > kMostUvSets) {
    stream.Fail(DescribeMesh(mesh) + " has " + std::to_string(mesh.uvSetCount) +
                " UV sets; a DFF geometry holds at most 255");
    return false;
  }
  for (std::size_t i = 0; i < corners; ++i) {
    if (mesh.cornerVertices[i] < 0 || mesh.cornerVertices[i] >= mesh.vertexCount ||
        mesh.cornerMaterials[i] < 0 || mesh.cornerMaterials[i] >= materials) {
      stream.Fail(DescribeMesh(mesh) + " has a triangle corner outside its vertices or materials");
      return false;
    }
  }
  return true;
}

// ---- Struct payloads --------------------------------------------------------

void WriteClumpStruct(OutputStream& stream, const ClumpContent& content) {
  WriteU32(stream, static_cast<std::uint32_t>(content.GeometryCount()));
  WriteU32(stream, 0);  // lights
  WriteU32(stream, 0);  // cameras
}

void WriteFrameListStruct(OutputStream& stream, const ClumpContent& content) {
  WriteU32(stream, static_cast<std::uint32_t>(content.FrameCount()));
  for (std::int32_t index = 0; index < content.FrameCount(); ++index) {
    const ClumpFrame frame = content.Frame(index);
    for (std::size_t row = 0; row < 3; ++row) {
      for (std::size_t column = 0; column < 3; ++column) {
        WriteF32(stream, frame.rotation.m[row][column]);
      }
    }
    WriteVec3(stream, frame.position);
    WriteU32(stream, static_cast<std::uint32_t>(frame.parentIndex));
    WriteU32(stream, 0);
  }
}

void WriteGeometryStruct(OutputStream& stream, const ClumpGeometry& mesh) {
  BlockWriter out(stream);
  const bool prelit = !mesh.dayColors.empty();
  out.U16(GeometryFlags(mesh));
  out.U16(static_cast<std::uint16_t>(mesh.uvSetCount));
  out.U32(static_cast<std::uint32_t>(mesh.triangleCount));
  out.U32(static_cast<std::uint32_t>(mesh.vertexCount));
  out.U32(1);  // morph targets
  for (const auto& color : mesh.dayColors) {
    for (const std::uint8_t channel : color) out.U8(channel);
  }
  for (const auto& uvSet : mesh.uvSets) {
    for (const auto& uv : uvSet) {
      out.F32(uv[0]);
      out.F32(uv[1]);
    }
  }
  // Readers take the words as (second corner, first corner, material,
  // third corner).
  for (std::size_t corner = 0; corner < mesh.cornerVertices.size(); corner += 3) {
    out.U16(Low16(mesh.cornerVertices[corner + 1]));
    out.U16(Low16(mesh.cornerVertices[corner]));
    out.U16(Low16(mesh.cornerMaterials[corner]));
    out.U16(Low16(mesh.cornerVertices[corner + 2]));
  }
  const BoundingSphere sphere = ComputeBoundingSphere(mesh.positions);
  out.Vec3(sphere.centre);
  out.F32(sphere.radius);
  out.U32(1);  // positions present
  out.U32(prelit ? 0 : 1);  // normals present
  for (const platform::Vec3f& position : mesh.positions) out.Vec3(position);
  if (prelit) return;
  for (const platform::Vec3f& normal : mesh.normals) out.Vec3(normal);
}

// The Extra Vert Colour record: a non-zero "has colours" word, then the
// night colours in vertex order.
void WriteNightColors(OutputStream& stream, const ClumpGeometry& mesh) {
  BlockWriter out(stream);
  out.U32(1);
  for (const auto& color : mesh.nightColors) {
    for (const std::uint8_t channel : color) out.U8(channel);
  }
}

void WriteMaterialListStruct(OutputStream& stream, const ClumpGeometry& mesh) {
  WriteU32(stream, static_cast<std::uint32_t>(mesh.materialCount));
  // -1: every material is its own, none refers back to an earlier one.
  for (std::int32_t i = 0; i < mesh.materialCount; ++i) WriteU32(stream, 0xFFFFFFFFu);
}

void WriteMaterialStruct(OutputStream& stream, const ClumpMaterial& material) {
  WriteU32(stream, 0);
  stream.WriteBytes(material.rgba.data(), material.rgba.size());
  WriteU32(stream, kMaterialUnusedWord);
  WriteU32(stream, static_cast<std::uint32_t>(material.textured));
  WriteF32(stream, kMaterialAmbient);
  WriteF32(stream, kMaterialSpecular);
  WriteF32(stream, kMaterialDiffuse);
}

void WriteAtomicStruct(OutputStream& stream, const ClumpGeometry& mesh) {
  WriteU32(stream, static_cast<std::uint32_t>(mesh.frameIndex));
  WriteU32(stream, static_cast<std::uint32_t>(mesh.geometryIndex));
  WriteU32(stream, kAtomicFlags);
  WriteU32(stream, 0);
}

// ---- Plug-in payloads -------------------------------------------------------

void WriteReflectionMaterial(OutputStream& stream, const ClumpMaterial& material) {
  const float r = material.reflectivity;
  WriteF32(stream, r);
  WriteF32(stream, r);
  WriteF32(stream, r);
  WriteF32(stream, 1.0f);
  WriteF32(stream, r);
  WriteF32(stream, 1.0f);
}

void WriteSpecularMaterial(OutputStream& stream, const ClumpMaterial& material) {
  WriteF32(stream, material.glossiness);
  std::array<char, kSpecularNameField> name{};
  std::memcpy(name.data(), kSpecularTexture, sizeof kSpecularTexture - 1);
  stream.WriteBytes(name.data(), name.size());
}

// The triangle corners grouped by material, each group in corner order,
// with indices at full width.  A group's length is counted from the
// corners themselves, so the record always agrees with its own lists.
void WriteBinMesh(OutputStream& stream, const ClumpGeometry& mesh) {
  const auto materials = static_cast<std::size_t>(mesh.materialCount);
  // groupStart[k] is where material k's corners begin in `grouped`.
  std::vector<std::size_t> groupStart(materials + 1, 0);
  for (const std::int32_t material : mesh.cornerMaterials) {
    ++groupStart[static_cast<std::size_t>(material) + 1];
  }
  for (std::size_t k = 0; k < materials; ++k) groupStart[k + 1] += groupStart[k];
  std::vector<std::int32_t> grouped(mesh.cornerVertices.size());
  std::vector<std::size_t> next(groupStart.begin(), groupStart.end() - 1);
  for (std::size_t corner = 0; corner < mesh.cornerVertices.size(); ++corner) {
    grouped[next[static_cast<std::size_t>(mesh.cornerMaterials[corner])]++] =
        mesh.cornerVertices[corner];
  }

  BlockWriter out(stream);
  out.U32(0);  // triangle lists, not strips
  out.U32(static_cast<std::uint32_t>(materials));
  out.U32(static_cast<std::uint32_t>(mesh.cornerVertices.size()));
  for (std::size_t k = 0; k < materials; ++k) {
    out.U32(static_cast<std::uint32_t>(groupStart[k + 1] - groupStart[k]));
    out.U32(static_cast<std::uint32_t>(k));
    for (std::size_t i = groupStart[k]; i < groupStart[k + 1]; ++i) {
      out.U32(static_cast<std::uint32_t>(grouped[i]));
    }
  }
}

// Copies the open COL file to the stream unchanged.  A read error fails the
// stream: a collision record cut short would be taken for a whole one.
void WriteCollision(OutputStream& stream, std::FILE* colFile, const char* colPath) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), colFile);
    stream.WriteBytes(buffer.data(), count);
    if (count < buffer.size()) break;
  }
  if (std::ferror(colFile) != 0) {
    stream.Fail(std::string("reading the COL file ") + colPath + " failed: " +
                std::strerror(errno));
  }
}

// The writer of one clump: its content and its cursors.
class ClumpWriter {
 public:
  explicit ClumpWriter(ClumpContent& source) : content(source) {}

  // Writes one chunk of the clump tree; what it holds depends on its type,
  // the type of the chunk around it, and the cursors.  Returns 12 plus the
  // payload size.
  std::int32_t WriteChunk(OutputStream& stream, ChunkType type, std::optional<ChunkType> enclosing,
                          std::uint32_t version);

 private:
  // The payloads that depend on the enclosing chunk.
  void WriteStructPayload(OutputStream& stream, std::optional<ChunkType> enclosing);
  void WriteExtensionPayload(OutputStream& stream, std::optional<ChunkType> enclosing);
  // The geometry and material the cursors select while writing.
  ClumpGeometry CurrentMesh() const { return content.Geometry(geometryCursor); }
  ClumpMaterial CurrentMaterial() const { return content.Material(geometryCursor, materialCursor); }

  ClumpContent& content;
  std::int32_t frameCursor = -2;
  std::int32_t atomicCursor = -2;
  std::int32_t geometryCursor = -2;
  std::int32_t materialCursor = -2;
  // The collision data being embedded; open only while its chunk is written.
  std::FILE* colFile = nullptr;
  std::string colPath;
};

std::int32_t ClumpWriter::WriteChunk(OutputStream& stream, ChunkType type,
                                     std::optional<ChunkType> enclosing, std::uint32_t version) {
  // A failed file is abandoned: nothing after the failure is written or
  // asked for, and nothing reads the model past the point that failed.
  if (stream.failed()) return 0;
  const std::int32_t payloadStart = BeginChunk(stream, type, version);
  auto child = [&](ChunkType childType) {
    WriteChunk(stream, childType, type, kLibraryVersion);
  };
  // Each element advances the cursor as it starts; on a failed stream it
  // writes nothing and advances nothing, so the list stops there.
  auto elements = [&](std::int32_t& cursor, ChunkType elementType, auto elementCount) {
    cursor = -1;
    while (!stream.failed() && cursor < elementCount() - 1) child(elementType);
  };

  switch (type) {
    case ChunkType::Clump: {
      child(ChunkType::Struct);
      child(ChunkType::FrameList);
      child(ChunkType::GeometryList);
      elements(atomicCursor, ChunkType::Atomic, [&] { return content.GeometryCount(); });
      // The game reads the clump's Extension after its last Atomic and
      // rejects the clump without one, so it is always written: holding the
      // collision data when the content has some, empty otherwise.
      const CollisionFile collision = content.OpenCollision();
      colFile = collision.file.get();
      colPath = collision.path;
      child(ChunkType::Extension);
      colFile = nullptr;
      break;
    }

    case ChunkType::FrameList:
      child(ChunkType::Struct);
      elements(frameCursor, ChunkType::Extension, [&] { return content.FrameCount(); });
      break;

    case ChunkType::FrameName: {
      const std::string& name = content.Frame(++frameCursor).name;
      stream.WriteBytes(name.data(), name.size());
      break;
    }

    case ChunkType::GeometryList:
      child(ChunkType::Struct);
      elements(geometryCursor, ChunkType::Geometry, [&] { return content.GeometryCount(); });
      break;

    case ChunkType::Geometry:
      if (!CheckMeshIsWritable(stream, content.Geometry(++geometryCursor))) {
        break;
      }
      child(ChunkType::Struct);
      child(ChunkType::MaterialList);
      child(ChunkType::Extension);
      break;

    case ChunkType::MaterialList:
      child(ChunkType::Struct);
      elements(materialCursor, ChunkType::Material, [&] { return CurrentMesh().materialCount; });
      break;

    case ChunkType::Material:
      ++materialCursor;
      child(ChunkType::Struct);
      if (CurrentMaterial().textured > 0) child(ChunkType::Texture);
      child(ChunkType::Extension);
      break;

    case ChunkType::Texture: {
      child(ChunkType::Struct);
      const ClumpMaterial& material = CurrentMaterial();
      // The Texture of an environment map names the reflection image.
      WriteString(stream, enclosing == ChunkType::MaterialEffects
                              ? material.reflectionImageName.value_or(std::string())
                              : material.textureName);
      WriteString(stream, std::string());  // no mask
      child(ChunkType::Extension);
      break;
    }

    case ChunkType::Atomic:
      ++atomicCursor;
      child(ChunkType::Struct);
      child(ChunkType::Extension);
      break;

    case ChunkType::Struct:
      WriteStructPayload(stream, enclosing);
      break;

    case ChunkType::Extension:
      WriteExtensionPayload(stream, enclosing);
      break;

    case ChunkType::MaterialEffects:
      // Inside the geometry list the atomic cursor is still negative: the
      // material form, an environment map.  Inside an atomic: "enabled".
      if (atomicCursor < 0) {
        WriteU32(stream, 2);  // environment map
        WriteU32(stream, 2);  // first effect: environment map
        WriteF32(stream, CurrentMaterial().reflectivity);
        WriteU32(stream, 0);  // no frame-buffer alpha
        WriteU32(stream, 1);  // has a texture
        child(ChunkType::Texture);
        WriteU32(stream, 0);  // no second effect
      } else {
        WriteU32(stream, 1);
      }
      break;

    case ChunkType::ReflectionMaterial:
      WriteReflectionMaterial(stream, CurrentMaterial());
      break;

    case ChunkType::SpecularMaterial:
      WriteSpecularMaterial(stream, CurrentMaterial());
      break;

    case ChunkType::BinMesh:
      WriteBinMesh(stream, CurrentMesh());
      break;

    case ChunkType::GeometryExtra:
      WriteU32(stream, 0);
      break;

    case ChunkType::NightColors:
      WriteNightColors(stream, CurrentMesh());
      break;

    case ChunkType::RightToRender:
      WriteU32(stream, ToWord(ChunkType::MaterialEffects));
      WriteU32(stream, 0);
      break;

    case ChunkType::Collision:
      WriteCollision(stream, colFile, colPath.c_str());
      break;

    default:
      break;
  }
  return EndChunk(stream, payloadStart);
}

void ClumpWriter::WriteStructPayload(OutputStream& stream, std::optional<ChunkType> enclosing) {
  switch (enclosing.value_or(ChunkType::Struct)) {
    case ChunkType::Clump:
      WriteClumpStruct(stream, content);
      break;
    case ChunkType::FrameList:
      WriteFrameListStruct(stream, content);
      break;
    case ChunkType::GeometryList:
      WriteU32(stream, static_cast<std::uint32_t>(content.GeometryCount()));
      break;
    case ChunkType::Geometry:
      WriteGeometryStruct(stream, CurrentMesh());
      break;
    case ChunkType::MaterialList:
      WriteMaterialListStruct(stream, CurrentMesh());
      break;
    case ChunkType::Material:
      WriteMaterialStruct(stream, CurrentMaterial());
      break;
    case ChunkType::Texture:
      WriteU32(stream, kTextureFilterFlags);
      break;
    case ChunkType::Atomic:
      WriteAtomicStruct(stream, content.Geometry(atomicCursor));
      break;
    default:
      break;
  }
}

void ClumpWriter::WriteExtensionPayload(OutputStream& stream, std::optional<ChunkType> enclosing) {
  auto child = [&](ChunkType childType) {
    WriteChunk(stream, childType, ChunkType::Extension, kLibraryVersion);
  };
  switch (enclosing.value_or(ChunkType::Extension)) {
    case ChunkType::FrameList:
      child(ChunkType::FrameName);
      break;
    case ChunkType::Geometry:
      child(ChunkType::BinMesh);
      child(ChunkType::GeometryExtra);
      if (!CurrentMesh().nightColors.empty()) child(ChunkType::NightColors);
      break;
    case ChunkType::Material:
      if (CurrentMaterial().reflectionImageName.has_value()) {
        child(ChunkType::MaterialEffects);
        child(ChunkType::ReflectionMaterial);
      }
      child(ChunkType::SpecularMaterial);
      break;
    case ChunkType::Atomic:
      child(ChunkType::RightToRender);
      child(ChunkType::MaterialEffects);
      break;
    case ChunkType::Clump:
      if (colFile != nullptr) child(ChunkType::Collision);
      break;
    default:  // a Texture's Extension stays empty
      break;
  }
}

}  // namespace

std::int32_t WriteClump(OutputStream& stream, ClumpContent& content) {
  return ClumpWriter(content).WriteChunk(stream, ChunkType::Clump, std::nullopt, kLibraryVersion);
}

}  // namespace dff
