#include "dff_inspect/validate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "dff/chunk_type.h"

namespace dffinfo {
namespace {

constexpr std::size_t kHeader = dff::kChunkHeaderSize;

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

// Reports the first of many like faults once, with how many there are, so
// that a badly damaged geometry does not bury everything else.
class FirstOfMany {
 public:
  void Add(std::size_t offset, std::string message) {
    if (count_++ == 0) {
      offset_ = offset;
      message_ = std::move(message);
    }
  }
  void Report(const std::string& path, const std::string& what, Findings& findings) const {
    if (count_ == 0) return;
    std::string message = message_;
    if (count_ > 1) message += " (" + std::to_string(count_) + " " + what + " in all)";
    findings.Damage(path, offset_, std::move(message));
  }

 private:
  std::size_t count_ = 0;
  std::size_t offset_ = 0;
  std::string message_;
};

void ValidateFrames(const std::vector<FrameRecord>& frames, Findings& findings) {
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const FrameRecord& frame = frames[i];
    // Readers attach a frame to its parent while still reading the list.
    if (frame.parent != -1 && (frame.parent < 0 || static_cast<std::size_t>(frame.parent) >= i)) {
      findings.Damage(frame.entry.path, frame.entry.offset + 48,
                      "frame " + std::to_string(i) + " names parent " +
                          std::to_string(frame.parent) + ", which is not an earlier frame");
    }
    // The game copies the record into a 24-byte slot and ends it with a
    // zero byte at the record's length, without a bound.
    if (frame.name && frame.name->size() > kMaxFrameNameBytes) {
      findings.Damage(frame.nameRecord.path, frame.nameRecord.offset,
                      "frame name \"" + *frame.name + "\" is " +
                          std::to_string(frame.name->size()) +
                          " bytes; the game keeps a frame name in 24 bytes with its terminator "
                          "and overwrites the memory after them with the rest. Rename the "
                          "object to at most 23 bytes");
    }
  }
}

void ValidateFormat(const GeometryRecord& g, Findings& findings) {
  const std::uint32_t sets = g.uvSetCountByte();
  const bool wantTextured = sets == 1;
  const bool wantTextured2 = sets >= 2;
  const bool hasTextured = (g.format & kTextured) != 0;
  const bool hasTextured2 = (g.format & kTextured2) != 0;
  if (wantTextured == hasTextured && wantTextured2 == hasTextured2) return;
  findings.Damage(g.structOrigin.path, g.structOrigin.offset + kHeader,
                  "format word " + Hex(g.format) + " has a UV set count of " +
                      std::to_string(sets) + ", which needs TEXTURED (0x04) " +
                      (wantTextured ? "set" : "clear") + " and TEXTURED2 (0x80) " +
                      (wantTextured2 ? "set" : "clear") + "; readers disagree on such files");
}

void ValidateTriangles(const GeometryRecord& g, Findings& findings) {
  FirstOfMany badVertex;
  FirstOfMany badMaterial;
  const std::size_t slots = g.slotCount();
  for (std::size_t t = 0; t < g.triangles.size(); ++t) {
    const Triangle& tri = g.triangles[t];
    const std::size_t at = g.trianglesOffset + 8 * t;
    for (std::uint16_t corner : {tri.a, tri.b, tri.c}) {
      if (corner >= g.vertexCount) {
        badVertex.Add(at, "triangle " + std::to_string(t) + " uses vertex " +
                              std::to_string(corner) + " of " + std::to_string(g.vertexCount));
        break;
      }
    }
    if (tri.material >= slots) {
      badMaterial.Add(at + 4, "triangle " + std::to_string(t) + " uses material " +
                                  std::to_string(tri.material) + " of " + std::to_string(slots));
    }
  }
  badVertex.Report(g.structOrigin.path, "triangles like it", findings);
  badMaterial.Report(g.structOrigin.path, "triangles like it", findings);
}

void ValidateBinMesh(const GeometryRecord& g, Findings& findings) {
  if (!g.binMesh) return;
  const BinMeshRecord& mesh = *g.binMesh;
  const std::size_t slots = g.slotCount();
  FirstOfMany badVertex;
  std::uint64_t sum = 0;
  for (std::size_t s = 0; s < mesh.splits.size(); ++s) {
    const BinMeshSplit& split = mesh.splits[s];
    sum += split.indexCount;
    if (split.material >= slots) {
      // Readers index the material array with this number unchecked.
      findings.Damage(mesh.origin.path, split.offset + 4,
                      "split " + std::to_string(s) + " uses material " +
                          std::to_string(split.material) + " of " + std::to_string(slots));
    }
    for (std::size_t i = 0; i < split.indices.size(); ++i) {
      if (split.indices[i] >= g.vertexCount) {
        badVertex.Add(split.offset + 8 + 4 * i,
                      "split " + std::to_string(s) + " uses vertex " +
                          std::to_string(split.indices[i]) + " of " +
                          std::to_string(g.vertexCount));
      }
    }
  }
  badVertex.Report(mesh.origin.path, "indices like it", findings);
  const std::size_t totalAt = mesh.origin.offset + kHeader + 8;
  if (mesh.splits.size() == mesh.splitCount && sum != mesh.totalIndexCount) {
    findings.Damage(mesh.origin.path, totalAt,
                    "the splits hold " + std::to_string(sum) + " indices but the total says " +
                        std::to_string(mesh.totalIndexCount));
  }
  // A geometry without a triangle list is drawn from its splits alone.
  const bool triangleList = mesh.flags == 0;
  if (triangleList && g.triangleCount > 0 &&
      mesh.totalIndexCount != 3ull * g.triangleCount) {
    findings.Damage(mesh.origin.path, totalAt,
                    "a triangle list of " + std::to_string(g.triangleCount) +
                        " triangles needs " + std::to_string(3ull * g.triangleCount) +
                        " indices but the total says " + std::to_string(mesh.totalIndexCount));
  }
}

void ValidateSphere(const GeometryRecord& g, Findings& findings) {
  for (const MorphTarget& target : g.morphTargets) {
    float farthest = 0.0f;
    std::size_t farthestVertex = 0;
    for (std::size_t i = 0; i < target.positions.size(); ++i) {
      const Vec3& p = target.positions[i];
      const float dx = p[0] - target.sphereCentre[0];
      const float dy = p[1] - target.sphereCentre[1];
      const float dz = p[2] - target.sphereCentre[2];
      const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
      if (distance > farthest) {
        farthest = distance;
        farthestVertex = i;
      }
    }
    // Rounding of a sphere computed in single precision stays well inside
    // this margin.
    const float margin = 1e-4f * std::max(1.0f, target.sphereRadius);
    if (!(farthest <= target.sphereRadius + margin) && !target.positions.empty()) {
      findings.Warn(g.structOrigin.path, target.sphereOffset,
                    "the bounding sphere (radius " + std::to_string(target.sphereRadius) +
                        ") leaves out vertex " + std::to_string(farthestVertex) + " at distance " +
                        std::to_string(farthest) +
                        "; the game clips and shadows the model by this sphere");
    }
  }
}

// The game reads texture and mask names into 32-byte buffers.
void CheckNameFits(const std::string& name, const Origin& where, const char* what,
                   Findings& findings) {
  if (name.size() <= kMaxTextureNameBytes) return;
  findings.Damage(where.path, where.offset,
                  std::string(what) + " \"" + name + "\" is " + std::to_string(name.size()) +
                      " bytes; the game reads it into a 32-byte buffer with its terminator and "
                      "overwrites the memory after it. Rename the image to at most 31 bytes");
}

void ValidateTextureNames(const TextureRecord& texture, Findings& findings) {
  CheckNameFits(texture.name, texture.nameString, "texture name", findings);
  CheckNameFits(texture.mask, texture.maskString, "mask name", findings);
}

void ValidateMaterial(const MaterialRecord& m, Findings& findings) {
  if (!m.structOrigin.path.empty() && m.textured != 0 && !m.texture) {
    findings.Damage(m.structOrigin.path, m.structOrigin.offset + kHeader + 12,
                    "the material is marked textured but holds no Texture chunk; readers then "
                    "take the next chunk for its texture");
  }
  if (m.textured == 0 && m.texture) {
    findings.Damage(m.texture->origin.path, m.texture->origin.offset,
                    "the material is marked untextured but holds a Texture chunk, which readers "
                    "then take for its Extension");
  }
  if (m.texture) ValidateTextureNames(*m.texture, findings);
  if (m.effects) {
    for (const EffectSlot& slot : m.effects->slots) {
      if (slot.texture) ValidateTextureNames(*slot.texture, findings);
      if (slot.bumpedTexture) ValidateTextureNames(*slot.bumpedTexture, findings);
    }
  }
}

// What the game makes of the day (prelight) and night colours: it reads
// one night colour per vertex after the flag, and lights a map object by
// the day colours alone when they are present.
void ValidateColors(const GeometryRecord& g, Findings& findings) {
  const bool prelit = (g.format & kPrelit) != 0;
  if (g.nightColors && g.nightColors->hasColors != 0) {
    const NightColorsRecord& night = *g.nightColors;
    const std::uint64_t expected = 4 + 4 * std::uint64_t{g.vertexCount};
    if (night.size != expected) {
      findings.Damage(night.origin.path, night.origin.offset,
                      "the night colour record holds " + std::to_string(night.size) + " bytes, but the game reads " +
                          std::to_string(expected) + " for " + std::to_string(g.vertexCount) +
                          " vertices and loses its place in the file after it");
    }
    if (!prelit) {
      findings.Damage(night.origin.path, night.origin.offset,
                      "the geometry has night colours but no day colours (PRELIT clear); the game blends the "
                      "two and reads day colours that are not there");
    }
  }
  if (prelit && !g.prelight.empty() &&
      std::all_of(g.prelight.begin(), g.prelight.end(),
                  [](const Rgba& c) { return c[0] == 0 && c[1] == 0 && c[2] == 0; })) {
    findings.Warn(g.structOrigin.path, g.structOrigin.offset + kHeader,
                  "every day colour is black: the game draws the model black by day");
  }
  if (!prelit && (g.format & kNormals) == 0 && g.vertexCount > 0) {
    findings.Warn(g.structOrigin.path, g.structOrigin.offset + kHeader,
                  "the geometry has neither day colours (PRELIT) nor normals: as a map object the game draws "
                  "it evenly bright, the same by day and by night");
  }
}

void ValidateGeometry(const GeometryRecord& g, Findings& findings) {
  if (g.structOrigin.path.empty()) return;  // the Struct is missing; already reported
  ValidateFormat(g, findings);
  ValidateTriangles(g, findings);
  ValidateBinMesh(g, findings);
  ValidateSphere(g, findings);
  ValidateColors(g, findings);
  if (g.vertexCount > kMaxVertices) {
    findings.Warn(g.structOrigin.path, g.structOrigin.offset + kHeader + 8,
                  std::to_string(g.vertexCount) +
                      " vertices: the game's 16-bit indices reach only 65535");
  }
  if (g.materialList) {
    for (const MaterialRecord& m : g.materialList->materials) ValidateMaterial(m, findings);
  }
}

void ValidateAtomics(const ClumpRecord& clump, Findings& findings) {
  for (std::size_t i = 0; i < clump.atomics.size(); ++i) {
    const AtomicRecord& atomic = clump.atomics[i];
    if (atomic.structOrigin.path.empty()) continue;
    const std::size_t at = atomic.structOrigin.offset + kHeader;
    if (atomic.frameIndex >= clump.frames.size()) {
      findings.Damage(atomic.structOrigin.path, at,
                      "atomic " + std::to_string(i) + " uses frame " +
                          std::to_string(atomic.frameIndex) + " of " +
                          std::to_string(clump.frames.size()));
    }
    if (atomic.geometryIndex >= clump.geometries.size()) {
      findings.Damage(atomic.structOrigin.path, at + 4,
                      "atomic " + std::to_string(i) + " uses geometry " +
                          std::to_string(atomic.geometryIndex) + " of " +
                          std::to_string(clump.geometries.size()));
    }
  }
}

void ValidateCollisions(const ClumpRecord& clump, Findings& findings) {
  for (const CollisionRecord& collision : clump.collisions) {
    if (collision.size <= kMaxCollisionBytes) continue;
    findings.Damage(collision.origin.path, collision.origin.offset,
                    "the collision data is " + std::to_string(collision.size) +
                        " bytes; the game copies it whole into a buffer of 16384 and "
                        "overwrites the memory after it. Simplify the collision model");
  }
}

}  // namespace

void ValidateClump(const ClumpRecord& clump, Findings& findings) {
  ValidateFrames(clump.frames, findings);
  for (const GeometryRecord& g : clump.geometries) ValidateGeometry(g, findings);
  ValidateAtomics(clump, findings);
  ValidateCollisions(clump, findings);
}

}  // namespace dffinfo
