#include "import/model_sniff.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "dff/chunk_type.h"
#include "dff_inspect/chunk_names.h"
#include "platform/host_path.h"

namespace import {
namespace {

constexpr std::uint32_t kUvAnimationDictionary = 0x2B;

std::uint32_t Word(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
         std::uint32_t{bytes[3]} << 24;
}

}  // namespace

bool StartsLikeModel(const std::uint8_t* bytes, std::size_t size) {
  if (size < dff::kChunkHeaderSize) return false;
  const std::uint32_t type = Word(bytes);
  if (type != static_cast<std::uint32_t>(dff::ChunkType::Clump) && type != kUvAnimationDictionary) return false;
  const std::uint32_t library = dffinfo::UnpackVersion(Word(bytes + 8)).version;
  return library >= 0x30000 && library <= 0x3FFFF;
}

FileStart LookAtFileStart(const std::string& path) {
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  const std::unique_ptr<std::FILE, Closer> file(platform::OpenFile(std::filesystem::u8path(path), "rb"));
  if (!file) return FileStart::kUnreadable;
  std::uint8_t header[dff::kChunkHeaderSize] = {};
  const std::size_t read = std::fread(header, 1, sizeof header, file.get());
  return StartsLikeModel(header, read) ? FileStart::kModel : FileStart::kOther;
}

}  // namespace import
