#include "dff_inspect/inspect.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "dff_inspect/col_reader.h"
#include "dff_inspect/decoders.h"
#include "dff_inspect/txd_decoder.h"
#include "dff_inspect/validate.h"
#include "platform/host_path.h"

namespace dffinfo {

namespace {

// The game's plug-in copies the record's payload and reads one entry from
// it; a payload without a COL fourcc it takes as a headerless COLL body.
void DecodeEmbeddedCollisions(ByteSpan file, Inspection& result) {
  for (const ClumpRecord& clump : result.clumps) {
    for (const CollisionRecord& collision : clump.collisions) {
      const std::size_t payload = collision.origin.offset + dff::kChunkHeaderSize;
      // Without a fourcc the game reads a headerless COLL body (the
      // PlayStation 2 form), which is listed by its size only.
      if (!StartsColEntry(file, payload)) continue;
      std::vector<ColEntryRecord> entries = DecodeColEntries(
          file, payload, std::min(file.size, payload + collision.size), collision.origin.path, result.findings);
      if (entries.size() > 1) {
        result.findings.Warn(collision.origin.path, entries[1].origin.offset,
                             "the collision holds " + std::to_string(entries.size()) +
                                 " entries; the game reads only the first");
      }
      for (ColEntryRecord& entry : entries) result.colEntries.push_back(std::move(entry));
    }
  }
}

}  // namespace

Inspection Inspect(ByteSpan file) {
  Inspection result;
  if (StartsColEntry(file, 0)) {
    result.colEntries = DecodeColEntries(file, 0, file.size, "", result.findings);
    return result;
  }
  result.chunks = ParseChunkTree(file, result.findings);
  for (const Chunk& chunk : result.chunks) {
    if (chunk.type == dff::ToWord(dff::ChunkType::TextureDictionary)) {
      result.dictionaries.push_back(DecodeTextureDictionary(file, chunk, result.findings));
    }
    if (chunk.type != dff::ToWord(dff::ChunkType::Clump)) continue;
    result.clumps.push_back(DecodeClump(file, chunk, result.findings));
    ValidateClump(result.clumps.back(), result.findings);
  }
  DecodeEmbeddedCollisions(file, result);
  if (result.clumps.empty() && result.dictionaries.empty()) {
    result.findings.Damage("(file)", 0,
                           "the file holds no complete Clump chunk (nor a TextureDictionary)");
  }
  return result;
}

Inspection Inspect(const std::vector<std::uint8_t>& file) {
  return Inspect(ByteSpan{file.data(), file.size()});
}

namespace {

struct Closer {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

bool ReadOpenedFile(std::FILE* opened, const std::string& shown, std::vector<std::uint8_t>& bytes,
                    std::string& error) {
  const std::unique_ptr<std::FILE, Closer> file(opened);
  if (!file) {
    error = "cannot open " + shown + ": " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  std::uint8_t buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.insert(bytes.end(), buffer, buffer + got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file.get())) {
    error = "cannot read " + shown + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  return ReadOpenedFile(std::fopen(path.c_str(), "rb"), path, bytes, error);
}

bool ReadWholeFileAt(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  return ReadOpenedFile(platform::OpenFile(path, "rb"), path.u8string(), bytes, error);
}

}  // namespace dffinfo
