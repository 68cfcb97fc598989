#include "dff_inspect/decoders.h"

namespace dffinfo {
namespace {

using dff::ChunkType;

constexpr std::uint32_t kFrameEntrySize = 56;

FrameRecord ReadFrameEntry(ByteReader& reader, const std::string& structPath) {
  FrameRecord frame;
  frame.entry = {structPath, reader.offset()};
  for (float& value : frame.rotation) value = reader.F32();
  for (float& value : frame.position) value = reader.F32();
  frame.parent = reader.I32();
  frame.matrixFlags = reader.U32();
  return frame;
}

void AttachName(ByteSpan file, const Chunk& extension, FrameRecord& frame) {
  const Chunk* nameChunk = FindChild(extension, ChunkType::FrameName);
  if (nameChunk == nullptr) return;
  ByteReader reader = PayloadReader(file, *nameChunk);
  frame.name = reader.Text(nameChunk->size);
  frame.nameRecord = OriginOf(*nameChunk);
}

}  // namespace

std::vector<FrameRecord> DecodeFrameList(ByteSpan file, const Chunk& frameList,
                                         Findings& findings) {
  std::vector<FrameRecord> frames;
  ReadingOrder order(frameList, findings);
  const Chunk* structChunk = order.Next(ChunkType::Struct);
  if (structChunk == nullptr) return frames;
  const Origin origin = OriginOf(*structChunk);
  ByteReader reader = PayloadReader(file, *structChunk);
  if (!Need(reader, origin, "frame count", 1, 4, findings)) return frames;
  const std::uint32_t count = reader.U32();
  // Only the entries that are there are decoded, so a corrupt count costs
  // no more memory than the file's own bytes.
  if (Need(reader, origin, "frames", count, kFrameEntrySize, findings)) {
    frames.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) frames.push_back(ReadFrameEntry(reader, origin.path));
    ExpectConsumed(reader, origin, findings);
  } else {
    while (reader.remaining() >= kFrameEntrySize) frames.push_back(ReadFrameEntry(reader, origin.path));
  }

  const std::vector<const Chunk*> extensions = ChildrenOfType(frameList, ChunkType::Extension);
  if (extensions.size() != count) {
    findings.Damage(frameList.path, frameList.offset,
                    "the frame list declares " + std::to_string(count) + " frames but holds " +
                        std::to_string(extensions.size()) + " frame Extensions");
  }
  // The game reads one Extension per frame, in frame order, after the
  // frames' Struct.
  for (std::size_t i = 0; i < count && i < extensions.size(); ++i) {
    const Chunk* extension = order.Next(ChunkType::Extension);
    if (extension != nullptr && i < frames.size()) AttachName(file, *extension, frames[i]);
  }
  return frames;
}

}  // namespace dffinfo
