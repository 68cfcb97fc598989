#include "col/col3_writer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace col {
namespace {

constexpr std::size_t kNameField = 22;

std::uint32_t Padded(std::uint32_t bytes) { return (bytes + 3u) & ~3u; }

class EntryBytes {
 public:
  explicit EntryBytes(std::vector<std::uint8_t>& file) : file_(file), start_(file.size()) {}

  // The position of the next byte, as header offsets count it.
  std::uint32_t Offset() const { return static_cast<std::uint32_t>(file_.size() - start_ - 4); }

  void U8(std::uint8_t v) { file_.push_back(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void I16(std::int16_t v) { U16(static_cast<std::uint16_t>(v)); }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void F32(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
  }
  void Vector(const Vec3& v) {
    for (float f : v) F32(f);
  }
  void Bytes(const char* data, std::size_t count) { file_.insert(file_.end(), data, data + count); }
  void Zeros(std::size_t count) { file_.insert(file_.end(), count, 0); }
  void PadToFour() { Zeros(Padded(Offset()) - Offset()); }
  void PatchU32(std::uint32_t offset, std::uint32_t v) {
    const std::size_t at = start_ + 4 + offset;
    for (int i = 0; i < 4; ++i) file_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  }

 private:
  std::vector<std::uint8_t>& file_;
  std::size_t start_;
};

void CheckMesh(const Mesh& mesh, const std::string& what, const Entry& entry) {
  const std::string where = "the COL entry '" + entry.name + "': its " + what;
  if (mesh.faces.size() > kMaxFaces) throw std::invalid_argument(where + " has more than 65,535 faces");
  if (mesh.vertices.size() > kMaxVertices) throw std::invalid_argument(where + " has more than 32,767 vertices");
  std::size_t used = 0;
  for (const Face& face : mesh.faces) {
    for (std::uint16_t index : {face.a, face.b, face.c}) {
      if (index >= mesh.vertices.size()) throw std::invalid_argument(where + " has a face index past its vertices");
      used = std::max<std::size_t>(used, index + 1u);
    }
  }
  if (used != mesh.vertices.size()) {
    throw std::invalid_argument(where + " ends in vertices no face uses, which readers cannot count");
  }
}

void CheckEntry(const Entry& entry) {
  if (entry.name.size() > kMaxNameBytes || entry.name.find('\0') != std::string::npos) {
    throw std::invalid_argument("the COL entry name '" + entry.name + "' does not fit in 21 bytes");
  }
  if (entry.spheres.size() > 0xFFFF || entry.boxes.size() > 0xFFFF) {
    throw std::invalid_argument("the COL entry '" + entry.name + "' has more than 65,535 spheres or boxes");
  }
  CheckMesh(entry.mesh, "collision mesh", entry);
  CheckMesh(entry.shadow, "shadow mesh", entry);
  for (const FaceGroup& group : entry.faceGroups) {
    if (group.first > group.last || group.last >= entry.mesh.faces.size()) {
      throw std::invalid_argument("the COL entry '" + entry.name + "' has a face group outside its faces");
    }
  }
}

std::uint32_t FlagsOf(const Entry& entry) {
  std::uint32_t flags = 0;
  if (entry.HasCollision()) flags |= kFlagNotEmpty;
  if (!entry.faceGroups.empty()) flags |= kFlagFaceGroups;
  if (!entry.shadow.faces.empty()) flags |= kFlagShadowMesh;
  return flags;
}

// Where the header's offset fields sit, counted as offsets are.
constexpr std::uint32_t kSizeField = 0;
constexpr std::uint32_t kSphereOffsetField = 80;
constexpr std::uint32_t kBoxOffsetField = 84;
constexpr std::uint32_t kVertexOffsetField = 92;
constexpr std::uint32_t kFaceOffsetField = 96;
constexpr std::uint32_t kShadowVertexOffsetField = 108;
constexpr std::uint32_t kShadowFaceOffsetField = 112;

void WriteHeader(const Entry& entry, EntryBytes& out) {
  out.Bytes("COL3", 4);
  out.U32(0);  // the size, once known
  char name[kNameField] = {};
  std::memcpy(name, entry.name.data(), entry.name.size());
  out.Bytes(name, kNameField);
  out.U16(entry.modelId);
  out.Vector(entry.bounds.min);
  out.Vector(entry.bounds.max);
  out.Vector(entry.bounds.centre);
  out.F32(entry.bounds.radius);
  out.U16(static_cast<std::uint16_t>(entry.spheres.size()));
  out.U16(static_cast<std::uint16_t>(entry.boxes.size()));
  out.U16(static_cast<std::uint16_t>(entry.mesh.faces.size()));
  out.U8(0);  // lines: the game builds wheel lines itself
  out.U8(0);
  out.U32(FlagsOf(entry));
  out.Zeros(6 * 4);  // sphere, box, line, vertex, face and triangle-plane offsets
  out.U32(static_cast<std::uint32_t>(entry.shadow.faces.size()));
  out.Zeros(2 * 4);  // shadow vertex and face offsets
}

void WriteSurface(const SurfaceRecord& s, EntryBytes& out) {
  out.U8(s.material);
  out.U8(s.piece);
  out.U8(s.brightness);
  out.U8(s.light);
}

void WriteVertices(const std::vector<PackedVertex>& vertices, EntryBytes& out) {
  for (const PackedVertex& v : vertices) {
    for (std::int16_t c : v) out.I16(c);
  }
  out.PadToFour();
}

void WriteFaces(const std::vector<Face>& faces, EntryBytes& out) {
  for (const Face& f : faces) {
    out.U16(f.a);
    out.U16(f.b);
    out.U16(f.c);
    out.U8(f.material);
    out.U8(f.light);
  }
}

// Writes the block that `write` produces and points `field` at it, unless
// the block is empty: an absent block keeps offset 0.
template <typename Write>
void Block(bool present, std::uint32_t field, EntryBytes& out, Write write) {
  if (!present) return;
  out.PatchU32(field, out.Offset());
  write();
}

}  // namespace

void AppendCol3Entry(const Entry& entry, std::vector<std::uint8_t>& file) {
  CheckEntry(entry);
  EntryBytes out(file);
  WriteHeader(entry, out);
  Block(!entry.spheres.empty(), kSphereOffsetField, out, [&] {
    for (const Sphere& s : entry.spheres) {
      out.Vector(s.centre);
      out.F32(s.radius);
      WriteSurface(s.surface, out);
    }
  });
  Block(!entry.boxes.empty(), kBoxOffsetField, out, [&] {
    for (const Box& b : entry.boxes) {
      out.Vector(b.min);
      out.Vector(b.max);
      WriteSurface(b.surface, out);
    }
  });
  Block(!entry.mesh.vertices.empty(), kVertexOffsetField, out, [&] { WriteVertices(entry.mesh.vertices, out); });
  // The groups sit just below the faces, their count in the last four
  // bytes before the first face, where the game looks for them.
  for (const FaceGroup& g : entry.faceGroups) {
    out.Vector(g.min);
    out.Vector(g.max);
    out.U16(g.first);
    out.U16(g.last);
  }
  if (!entry.faceGroups.empty()) out.U32(static_cast<std::uint32_t>(entry.faceGroups.size()));
  Block(!entry.mesh.faces.empty(), kFaceOffsetField, out, [&] { WriteFaces(entry.mesh.faces, out); });
  Block(!entry.shadow.vertices.empty(), kShadowVertexOffsetField, out,
        [&] { WriteVertices(entry.shadow.vertices, out); });
  Block(!entry.shadow.faces.empty(), kShadowFaceOffsetField, out, [&] { WriteFaces(entry.shadow.faces, out); });
  // The size counts what follows the size field itself.
  out.PatchU32(kSizeField, out.Offset() - 4);
}

}  // namespace col
