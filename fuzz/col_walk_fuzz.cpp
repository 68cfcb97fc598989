// brasko's chunk walk on any bytes in memory, every collision record it
// reaches copied to the null device as brasko copies it to a COL file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "extractor/chunk_walk.h"
#include "extractor/collision_copy.h"
#include "extractor/file_io.h"
#include "extractor/memory_source.h"

namespace {

class DiscardingSink final : public extractor::CollisionSink {
 public:
  void OnCollision(const extractor::CollisionChunk& chunk, extractor::ByteSource& source) override {
    std::string error;
    const std::unique_ptr<extractor::OutputFile> out = extractor::OutputFile::Create("/dev/null", error);
    if (!out) __builtin_trap();  // the machine, not the input: stop the campaign
    extractor::CopyBytes(source, chunk.available, *out);
    out->Close();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  extractor::MemorySource source(std::vector<std::uint8_t>(data, data + size));
  DiscardingSink sink;
  extractor::WalkFirstChunk(source, sink);
  return 0;
}
