#include "dff_inspect/col_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace dffinfo {
namespace {

constexpr std::size_t kNameField = 22;
constexpr std::uint32_t kSphereBytes = 20;
constexpr std::uint32_t kBoxBytes = 28;
constexpr std::uint32_t kVertexBytes = 6;
constexpr std::uint32_t kFaceBytes = 8;
constexpr std::uint32_t kGroupBytes = 28;
constexpr int kSurfaceTypes = 179;
constexpr std::uint32_t kFlagNotEmpty = 0x02;
constexpr std::uint32_t kFlagFaceGroups = 0x08;
constexpr std::uint32_t kFlagShadowMesh = 0x10;
constexpr std::uint32_t kKnownFlags = kFlagNotEmpty | kFlagFaceGroups | kFlagShadowMesh;

int VersionOf(const char* fourcc) {
  if (std::memcmp(fourcc, "COLL", 4) == 0) return 1;
  if (std::memcmp(fourcc, "COL2", 4) == 0) return 2;
  if (std::memcmp(fourcc, "COL3", 4) == 0) return 3;
  if (std::memcmp(fourcc, "COL4", 4) == 0) return 4;
  return 0;
}

// The header's length counted from the byte after the fourcc, which is
// where the first block may start.
std::uint32_t HeaderBytes(int version) { return version == 3 ? 116u : 104u; }

// One block of an entry, its place counted as header offsets are.
struct Block {
  std::string what;
  std::uint64_t start = 0;
  std::uint64_t end = 0;
};

class EntryDecoder {
 public:
  EntryDecoder(ByteSpan file, std::size_t entry, std::size_t available, ColEntryRecord& record,
               Findings& findings)
      : file_(file), base_(entry + 4), room_(available), record_(record), findings_(findings) {}

  void Decode() {
    ReadHeader();
    if (failed_) return;
    ReadPrimitives();
    ReadMesh("face", record_.faceOffset, record_.faceCount, "vertex", record_.vertexOffset, record_.mesh);
    if (record_.flags & kFlagFaceGroups) ReadFaceGroups();
    if (record_.version == 3) ReadShadow();
    CheckOverlaps();
    CheckFlags();
    CheckSurfaces();
    std::vector<Vec3> metres;
    metres.reserve(record_.mesh.vertices.size());
    for (const ColVertex& v : record_.mesh.vertices) {
      metres.push_back({v[0] / 128.0f, v[1] / 128.0f, v[2] / 128.0f});
    }
    CheckBounds(metres);
    if (metres.size() > 32767) {
      Warn(0, std::to_string(metres.size()) +
                  " vertices: tools that read face indices as signed 16-bit numbers lose those past 32,767");
    }
  }

  // COLL: the blocks follow the header one after the other, each after
  // its 32-bit count, in the order spheres, lines, boxes, vertices, faces.
  void DecodeLegacy() {
    constexpr std::uint64_t kBoundsAt = 28;
    if (room_ < kBoundsAt + 40) {
      Damage(0, "the entry ends before its bounds");
      return;
    }
    ByteReader r = At(kBoundsAt, room_ - kBoundsAt);
    record_.sphereRadius = r.F32();
    for (float& v : record_.sphereCentre) v = r.F32();
    for (float& v : record_.boxMin) v = r.F32();
    for (float& v : record_.boxMax) v = r.F32();
    record_.decoded = true;
    std::uint32_t count = 0;
    if (!Counted(r, "spheres", 20, count)) return;
    record_.spheres.resize(count);
    for (ColSphere& s : record_.spheres) {
      s.radius = r.F32();
      for (float& v : s.centre) v = r.F32();
      s.surface = ReadSurface(r);
    }
    if (!Counted(r, "lines", 24, count)) return;
    r.Skip(std::size_t{count} * 24);
    if (!Counted(r, "boxes", 28, count)) return;
    record_.boxes.resize(count);
    for (ColBox& b : record_.boxes) {
      for (float& v : b.min) v = r.F32();
      for (float& v : b.max) v = r.F32();
      b.surface = ReadSurface(r);
    }
    if (!Counted(r, "vertices", 12, count)) return;
    record_.legacyMesh.vertices.resize(count);
    for (Vec3& v : record_.legacyMesh.vertices) {
      for (float& c : v) c = r.F32();
    }
    if (!Counted(r, "faces", 16, count)) return;
    record_.legacyMesh.faces.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      ColLegacyFace& f = record_.legacyMesh.faces[i];
      for (std::uint32_t& c : f.corners) c = r.U32();
      f.surface = ReadSurface(r);
      const std::uint32_t largest = std::max({f.corners[0], f.corners[1], f.corners[2]});
      if (largest >= record_.legacyMesh.vertices.size()) {
        Damage(r.offset() - base_ - 16, "face " + std::to_string(i) + " uses vertex " + std::to_string(largest) +
                                            " of " + std::to_string(record_.legacyMesh.vertices.size()) +
                                            "; the game reads memory past the vertices for it");
      }
    }
    CheckSurfaces();
    CheckBounds(record_.legacyMesh.vertices);
  }

 private:
  void Damage(std::uint64_t at, const std::string& message) {
    findings_.Damage(record_.origin.path, static_cast<std::size_t>(base_ + at), Named(message));
  }
  void Warn(std::uint64_t at, const std::string& message) {
    findings_.Warn(record_.origin.path, static_cast<std::size_t>(base_ + at), Named(message));
  }
  std::string Named(const std::string& message) const { return "entry '" + record_.name + "': " + message; }

  ByteReader At(std::uint64_t offset, std::uint64_t length) const {
    return ByteReader(file_, static_cast<std::size_t>(base_ + offset), static_cast<std::size_t>(length));
  }

  void ReadHeader() {
    const std::uint32_t header = HeaderBytes(record_.version);
    if (room_ < header) {
      failed_ = true;
      Damage(0, "the entry ends before its " + std::to_string(header + 4) + "-byte header");
      return;
    }
    constexpr std::uint32_t kBoundsAt = 28;  // after the size field, name and model id
    ByteReader r = At(kBoundsAt, header - kBoundsAt);
    for (float& v : record_.boxMin) v = r.F32();
    for (float& v : record_.boxMax) v = r.F32();
    for (float& v : record_.sphereCentre) v = r.F32();
    record_.sphereRadius = r.F32();
    record_.sphereCount = r.U16();
    record_.boxCount = r.U16();
    record_.faceCount = r.U16();
    record_.lineCount = r.U8();
    r.U8();
    record_.flags = r.U32();
    record_.sphereOffset = r.U32();
    record_.boxOffset = r.U32();
    record_.lineOffset = r.U32();
    record_.vertexOffset = r.U32();
    record_.faceOffset = r.U32();
    record_.planeOffset = r.U32();
    if (record_.version == 3) {
      record_.shadowFaceCount = r.U32();
      record_.shadowVertexOffset = r.U32();
      record_.shadowFaceOffset = r.U32();
    }
    record_.decoded = true;
  }

  // Checks that a block lies inside the entry past the header and returns
  // a reader over it, or nothing when it does not.
  std::optional<ByteReader> Place(const std::string& what, std::uint64_t offset, std::uint64_t count,
                                  std::uint64_t elementBytes) {
    const std::uint64_t length = count * elementBytes;
    if (offset == 0) {
      Damage(0, "the header counts " + std::to_string(count) + " " + what + "(s) but gives the " + what +
                    " block no offset");
      return std::nullopt;
    }
    if (offset < HeaderBytes(record_.version) || offset + length > room_) {
      Damage(offset, "the " + what + " block (offsets " + std::to_string(offset) + " to " +
                         std::to_string(offset + length) + ") lies outside the entry, whose blocks run from " +
                         std::to_string(HeaderBytes(record_.version)) + " to " + std::to_string(room_) +
                         "; the game reads memory past the entry for it");
      return std::nullopt;
    }
    if (offset % 4 != 0) Warn(offset, "the " + what + " block starts at offset " + std::to_string(offset) +
                                          ", not a multiple of 4 as in the game's own files");
    blocks_.push_back({what, offset, offset + length});
    return At(offset, length);
  }

  // Reads a block's count and checks that its elements (`what`, plural)
  // fit in the entry.
  bool Counted(ByteReader& r, const std::string& what, std::uint64_t elementBytes, std::uint32_t& count) {
    if (!r.Has(1, 4)) {
      Damage(r.offset() - base_, "the entry ends before the count of its " + what);
      return false;
    }
    count = r.U32();
    if (r.Has(count, elementBytes)) return true;
    Damage(r.offset() - base_, "the entry ends before its " + std::to_string(count) + " " + what);
    return false;
  }

  static ColSurface ReadSurface(ByteReader& r) {
    ColSurface s;
    s.material = r.U8();
    s.piece = r.U8();
    s.brightness = r.U8();
    s.light = r.U8();
    return s;
  }

  void ReadPrimitives() {
    if (record_.sphereCount > 0) {
      if (auto r = Place("sphere", record_.sphereOffset, record_.sphereCount, kSphereBytes)) {
        record_.spheres.resize(record_.sphereCount);
        for (ColSphere& s : record_.spheres) {
          for (float& v : s.centre) v = r->F32();
          s.radius = r->F32();
          s.surface = ReadSurface(*r);
        }
      }
    }
    if (record_.boxCount > 0) {
      if (auto r = Place("box", record_.boxOffset, record_.boxCount, kBoxBytes)) {
        record_.boxes.resize(record_.boxCount);
        for (ColBox& b : record_.boxes) {
          for (float& v : b.min) v = r->F32();
          for (float& v : b.max) v = r->F32();
          b.surface = ReadSurface(*r);
        }
      }
    }
  }

  // Faces first: the vertex count is the largest index + 1.
  void ReadMesh(const std::string& faceName, std::uint32_t faceOffset, std::uint32_t faceCount,
                const std::string& vertexName, std::uint32_t vertexOffset, ColMesh& mesh) {
    if (faceCount == 0) return;
    auto faces = Place(faceName, faceOffset, faceCount, kFaceBytes);
    if (!faces) return;
    mesh.faces.resize(faceCount);
    std::uint32_t vertexCount = 0;
    for (ColFace& f : mesh.faces) {
      f.a = faces->U16();
      f.b = faces->U16();
      f.c = faces->U16();
      f.material = faces->U8();
      f.light = faces->U8();
      vertexCount = std::max<std::uint32_t>(vertexCount, std::max({f.a, f.b, f.c}) + 1u);
    }
    auto vertices = Place(vertexName + " (as far as the largest face index " + std::to_string(vertexCount - 1) +
                              " reaches)",
                          vertexOffset, vertexCount, kVertexBytes);
    if (!vertices) return;
    mesh.vertices.resize(vertexCount);
    for (ColVertex& v : mesh.vertices) {
      for (std::int16_t& c : v) c = static_cast<std::int16_t>(vertices->U16());
    }
  }

  void ReadFaceGroups() {
    if (record_.faceCount == 0 || record_.faceOffset < HeaderBytes(record_.version) + 4 ||
        record_.faceOffset > room_) {
      return;  // the flag check reports groups without faces
    }
    const std::uint32_t countAt = record_.faceOffset - 4;
    ByteReader countReader = At(countAt, 4);
    const std::uint32_t count = countReader.U32();
    const std::uint64_t length = std::uint64_t{count} * kGroupBytes;
    if (length > countAt - HeaderBytes(record_.version)) {
      Damage(countAt, "the face group count " + std::to_string(count) +
                          " puts the groups before the end of the header; the game reads them from there");
      return;
    }
    blocks_.push_back({"face group", countAt - length, record_.faceOffset});
    ByteReader r = At(countAt - length, length);
    record_.faceGroups.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      ColFaceGroup& g = record_.faceGroups[i];
      for (float& v : g.min) v = r.F32();
      for (float& v : g.max) v = r.F32();
      g.first = r.U16();
      g.last = r.U16();
      if (g.first > g.last || g.last >= record_.faceCount) {
        Damage(countAt - length + i * kGroupBytes,
               "face group " + std::to_string(i) + " covers faces " + std::to_string(g.first) + " to " +
                   std::to_string(g.last) + ", outside the " + std::to_string(record_.faceCount) +
                   " faces; the game tests faces past the list for it");
      }
    }
  }

  void ReadShadow() {
    const bool anyField = record_.shadowFaceCount != 0 || record_.shadowVertexOffset != 0 ||
                          record_.shadowFaceOffset != 0;
    const bool allFields = record_.shadowFaceCount != 0 && record_.shadowVertexOffset != 0 &&
                           record_.shadowFaceOffset != 0;
    if (anyField && !allFields) {
      Warn(0, "the shadow mesh's count and offsets are not all set, so the game draws no shadow mesh");
      return;
    }
    if (!allFields) return;
    if (record_.shadowFaceCount > 0xFFFFu) {
      Damage(0, "the shadow mesh counts " + std::to_string(record_.shadowFaceCount) +
                    " faces, more than 16-bit face numbers reach");
      return;
    }
    ReadMesh("shadow face", record_.shadowFaceOffset, record_.shadowFaceCount, "shadow vertex",
             record_.shadowVertexOffset, record_.shadow);
  }

  void CheckOverlaps() {
    std::sort(blocks_.begin(), blocks_.end(), [](const Block& x, const Block& y) { return x.start < y.start; });
    for (std::size_t i = 1; i < blocks_.size(); ++i) {
      const Block& before = blocks_[i - 1];
      const Block& block = blocks_[i];
      if (block.start >= before.end) continue;
      Damage(block.start, "the " + before.what + " block (offsets " + std::to_string(before.start) + " to " +
                              std::to_string(before.end) + ") overlaps the " + block.what + " block (from " +
                              std::to_string(block.start) + "); the game reads one as the other");
    }
  }

  void CheckFlags() {
    const bool hasCollision = record_.sphereCount || record_.boxCount || record_.faceCount;
    const bool hasShadow = !record_.shadow.faces.empty();
    const std::uint64_t flagsAt = 76;
    if (hasCollision && !(record_.flags & kFlagNotEmpty)) {
      Damage(flagsAt, "the entry has spheres, boxes or faces but not flag 0x02, so the game takes the model "
                      "as having no collision at all; set 0x02");
    }
    if (!hasCollision && (record_.flags & kFlagNotEmpty)) {
      Damage(flagsAt, "flag 0x02 says the entry has collision, but it has no sphere, box or face");
    }
    if ((record_.flags & kFlagFaceGroups) && record_.faceCount == 0) {
      Damage(flagsAt, "flag 0x08 says the faces are grouped, but the entry has no faces");
    }
    if (record_.version == 3 && hasShadow != ((record_.flags & kFlagShadowMesh) != 0)) {
      Damage(flagsAt, hasShadow ? "the entry has a shadow mesh but not flag 0x10, so the game ignores it"
                                : "flag 0x10 says the entry has a shadow mesh, but it has none");
    }
    if (record_.flags & ~kKnownFlags) {
      Warn(flagsAt, "flags " + Hex(record_.flags & ~kKnownFlags) +
                        " mean nothing to the game's COL2/COL3 reader (0x01, cones, it clears)");
    }
  }

  static std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
  }

  void CheckSurfaces() {
    auto check = [&](std::uint8_t material, const std::string& what, std::size_t index) {
      if (material < kSurfaceTypes) return true;
      Damage(0, what + " " + std::to_string(index) + " has surface type " + std::to_string(material) +
                    ", past the game's last (178); the game reads its surface table out of bounds");
      return false;
    };
    for (std::size_t i = 0; i < record_.spheres.size(); ++i) {
      if (!check(record_.spheres[i].surface.material, "sphere", i)) return;
    }
    for (std::size_t i = 0; i < record_.boxes.size(); ++i) {
      if (!check(record_.boxes[i].surface.material, "box", i)) return;
    }
    for (std::size_t i = 0; i < record_.mesh.faces.size(); ++i) {
      if (!check(record_.mesh.faces[i].material, "face", i)) return;
    }
    for (std::size_t i = 0; i < record_.legacyMesh.faces.size(); ++i) {
      if (!check(record_.legacyMesh.faces[i].surface.material, "face", i)) return;
    }
  }

  void CheckBounds(const std::vector<Vec3>& vertices) {
    // A stored vertex may sit up to half a step outside a box made from
    // the unrounded points.
    constexpr double kSlack = 1.0 / 128.0;
    auto metres = [](float v) { return static_cast<double>(v); };
    for (std::size_t i = 0; i < vertices.size(); ++i) {
      for (std::size_t axis = 0; axis < 3; ++axis) {
        const double at = metres(vertices[i][axis]);
        if (at >= metres(record_.boxMin[axis]) - kSlack && at <= metres(record_.boxMax[axis]) + kSlack) continue;
        Warn(28, "vertex " + std::to_string(i) + " lies outside the bounding box; the game may cull or skip "
                                                 "collision tests on the part outside it");
        i = vertices.size();
        break;
      }
    }
    double squared = 0.0;
    for (std::size_t axis = 0; axis < 3; ++axis) {
      const double centre = metres(record_.sphereCentre[axis]);
      const double half = std::max(std::fabs(metres(record_.boxMax[axis]) - centre),
                                   std::fabs(metres(record_.boxMin[axis]) - centre));
      squared += half * half;
    }
    if (std::sqrt(squared) > static_cast<double>(record_.sphereRadius) * (1.0 + 1e-5) + 1e-4) {
      Warn(52, "the bounding sphere does not enclose the bounding box; the game culls the model with the "
               "sphere, so parts inside the box can vanish at the screen's edge");
    }
  }

  ByteSpan file_;
  std::uint64_t base_;  // file offset of the byte after the fourcc
  std::uint64_t room_;  // bytes of the entry from base_, as far as the data reaches
  ColEntryRecord& record_;
  Findings& findings_;
  std::vector<Block> blocks_;
  bool failed_ = false;
};

}  // namespace

bool StartsColEntry(ByteSpan file, std::size_t offset) {
  if (offset > file.size || file.size - offset < 8) return false;
  return VersionOf(reinterpret_cast<const char*>(file.data + offset)) != 0;
}

std::vector<ColEntryRecord> DecodeColEntries(ByteSpan file, std::size_t begin, std::size_t end,
                                             const std::string& parent, Findings& findings) {
  std::vector<ColEntryRecord> entries;
  const std::string prefix = parent.empty() ? "" : parent + "/";
  std::size_t at = begin;
  while (at < end) {
    if (end - at < 8 || !StartsColEntry(file, at)) {
      const std::string where = entries.empty() ? (prefix.empty() ? "(file)" : parent) : entries.back().origin.path;
      if (entries.empty()) {
        findings.Damage(where, at, "no COL entry starts here (COLL, COL2, COL3 or COL4 expected)");
      } else {
        findings.Warn(where, at, std::to_string(end - at) +
                                     " bytes after the last entry start no COL entry; the game stops reading there");
      }
      break;
    }
    ColEntryRecord record;
    ByteReader header(file, at, end - at);
    record.fourcc = header.Text(4);
    record.version = VersionOf(record.fourcc.c_str());
    record.size = header.U32();
    record.origin = {prefix + record.fourcc + "[" + std::to_string(entries.size()) + "]", at};
    const std::uint64_t entryEnd = std::uint64_t{at} + 8 + record.size;
    if (entryEnd > end) {
      findings.Damage(record.origin.path, at,
                      "the entry declares " + std::to_string(record.size) + " bytes, but only " +
                          std::to_string(end - at - 8) + " follow its size field");
    }
    constexpr std::uint64_t kNameAndIdEnd = 8 + kNameField + 2;
    if (std::min<std::uint64_t>(entryEnd, end) - at < kNameAndIdEnd) {
      findings.Damage(record.origin.path, at, "the entry ends before its name and model id");
      entries.push_back(std::move(record));
      break;
    }
    const std::string name = header.Text(kNameField);
    record.name = name.substr(0, name.find('\0'));
    record.modelId = header.U16();
    if (name.find('\0') == std::string::npos) {
      findings.Warn(record.origin.path, at + 8,
                    "the name fills all 22 bytes without a terminating zero; readers that expect one at most 21 "
                    "bytes long read past it");
    }
    const std::uint64_t room = std::min<std::uint64_t>(entryEnd, end) - (at + 4);
    EntryDecoder decoder(file, at, static_cast<std::size_t>(room), record, findings);
    if (record.version == 1) decoder.DecodeLegacy();
    if (record.version == 2 || record.version == 3) decoder.Decode();
    entries.push_back(std::move(record));
    if (entryEnd > end) break;
    at = static_cast<std::size_t>(entryEnd);
  }
  return entries;
}

}  // namespace dffinfo
