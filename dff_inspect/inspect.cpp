#include "dff_inspect/inspect.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "dff_inspect/decoders.h"
#include "dff_inspect/txd_decoder.h"
#include "dff_inspect/validate.h"

namespace dffinfo {

Inspection Inspect(ByteSpan file) {
  Inspection result;
  result.chunks = ParseChunkTree(file, result.findings);
  for (const Chunk& chunk : result.chunks) {
    if (chunk.type == dff::ToWord(dff::ChunkType::TextureDictionary)) {
      result.dictionaries.push_back(DecodeTextureDictionary(file, chunk, result.findings));
    }
    if (chunk.type != dff::ToWord(dff::ChunkType::Clump)) continue;
    result.clumps.push_back(DecodeClump(file, chunk, result.findings));
    ValidateClump(result.clumps.back(), result.findings);
  }
  if (result.clumps.empty() && result.dictionaries.empty()) {
    result.findings.Damage("(file)", 0,
                           "the file holds no complete Clump chunk (nor a TextureDictionary)");
  }
  return result;
}

Inspection Inspect(const std::vector<std::uint8_t>& file) {
  return Inspect(ByteSpan{file.data(), file.size()});
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = "cannot open " + path + ": " + std::strerror(errno);
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
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace dffinfo
