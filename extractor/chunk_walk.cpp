#include "extractor/chunk_walk.h"

#include <algorithm>
#include <iomanip>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "extractor/chunk_reader.h"

namespace extractor {
namespace {

bool IsContainer(std::uint32_t type) {
  return type == dff::ToWord(dff::ChunkType::Clump) ||
         type == dff::ToWord(dff::ChunkType::Extension);
}

std::string DescribeChunk(std::uint32_t type, std::uint64_t headerOffset) {
  std::ostringstream text;
  const char* name = dff::ChunkTypeName(type);
  if (name != nullptr) {
    text << "the " << name << " chunk";
  } else {
    text << "the chunk of type 0x" << std::hex << std::uppercase << std::setw(8)
         << std::setfill('0') << type << std::dec;
  }
  text << " at offset " << headerOffset;
  return text.str();
}

struct OpenChunk {
  std::uint32_t type = 0;
  std::uint64_t headerOffset = 0;
  std::uint64_t end = 0;  // may lie past the end of a cut-off input
};

class Walk {
 public:
  Walk(ByteSource& source, CollisionSink& sink) : source_(source), sink_(sink) {}

  WalkResult Run() {
    if (!VisitChunk()) return {problem_};
    while (!open_.empty()) {
      if (source_.Position() >= open_.back().end) {
        open_.pop_back();
        continue;
      }
      if (!VisitChunk()) return {problem_};
    }
    return {};
  }

 private:
  // Reads the chunk header at the current position, then opens the chunk,
  // hands it to the sink or skips it.  False when the walk ends here.
  bool VisitChunk() {
    const std::uint64_t offset = source_.Position();
    const OpenChunk* parent = open_.empty() ? nullptr : &open_.back();
    if (!HeaderFits(offset, parent)) return false;

    const std::optional<dff::ChunkHeader> header = ReadChunkHeader(source_);
    if (!header) return Stop(Text("the chunk header at offset ", offset, " could not be read"));
    const std::uint64_t end = offset + dff::kChunkHeaderSize + header->size;
    if (parent != nullptr && end > parent->end) {
      return Stop(Text(DescribeChunk(header->type, offset), " claims ", header->size,
                       " bytes, which run past offset ", parent->end, ", where ",
                       DescribeChunk(parent->type, parent->headerOffset), " ends"));
    }

    if (IsContainer(header->type)) {
      // Its size is trusted no further than its children prove it: a Clump
      // cut off by the end of the input still yields the collision chunks
      // that precede the cut.
      open_.push_back(OpenChunk{header->type, offset, end});
      return true;
    }
    if (dff::IsCollisionChunk(header->type)) return HandOver(*header, offset, end);
    return Skip(*header, offset, end);
  }

  bool HeaderFits(std::uint64_t offset, const OpenChunk* parent) {
    const std::uint64_t fileEnd = source_.Size();
    const bool parentIsTheBound = parent != nullptr && parent->end <= fileEnd;
    const std::uint64_t bound = parentIsTheBound ? parent->end : fileEnd;
    if (offset + dff::kChunkHeaderSize <= bound) return true;

    if (parentIsTheBound) {
      return Stop(Text("the chunk header at offset ", offset, " runs past offset ",
                       parent->end, ", where ", DescribeChunk(parent->type, parent->headerOffset),
                       " ends"));
    }
    if (offset < fileEnd) {
      return Stop(Text("the chunk header at offset ", offset,
                       " is cut off by the end of the file at offset ", fileEnd));
    }
    if (parent == nullptr) return Stop("the file is empty");
    return Stop(Text("the file ends at offset ", fileEnd, ", inside ",
                     DescribeChunk(parent->type, parent->headerOffset),
                     ", which claims to run to offset ", parent->end));
  }

  bool HandOver(const dff::ChunkHeader& header, std::uint64_t offset, std::uint64_t end) {
    const std::uint64_t payload = offset + dff::kChunkHeaderSize;
    CollisionChunk chunk;
    chunk.headerOffset = offset;
    chunk.header = header;
    chunk.available = std::min<std::uint64_t>(header.size, source_.Size() - payload);
    sink_.OnCollision(chunk, source_);
    // Nothing follows a chunk that the end of the input cut off; the sink
    // has reported the loss.
    if (!chunk.Complete()) return false;
    return MoveTo(end);
  }

  bool Skip(const dff::ChunkHeader& header, std::uint64_t offset, std::uint64_t end) {
    if (end > source_.Size()) {
      return Stop(Text(DescribeChunk(header.type, offset), " claims ", header.size,
                       " bytes, but the file ends at offset ", source_.Size()));
    }
    return MoveTo(end);
  }

  bool MoveTo(std::uint64_t offset) {
    if (source_.Seek(offset)) return true;
    return Stop(Text("the file could not be read at offset ", offset));
  }

  bool Stop(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }

  template <typename... Parts>
  static std::string Text(const Parts&... parts) {
    std::ostringstream text;
    (text << ... << parts);
    return text.str();
  }

  ByteSource& source_;
  CollisionSink& sink_;
  std::vector<OpenChunk> open_;
  std::string problem_;
};

}  // namespace

WalkResult WalkFirstChunk(ByteSource& source, CollisionSink& sink) {
  return Walk(source, sink).Run();
}

}  // namespace extractor
