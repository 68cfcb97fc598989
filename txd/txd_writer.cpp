#include "txd/txd_writer.h"

#include <cstdint>
#include <limits>

#include "dff/chunk_writer.h"

namespace txd {
namespace {

using dff::ChunkType;
using dff::kLibraryVersion;

void WriteU8(dff::OutputStream& stream, std::uint8_t value) { stream.WriteByte(value); }

// The text, then zero bytes up to the field's size.
void WriteNameField(dff::OutputStream& stream, const std::string& text) {
  stream.WriteBytes(text.data(), text.size());
  for (std::size_t i = text.size(); i < kNameFieldBytes; ++i) stream.WriteByte(0);
}

void WriteNativeRecord(dff::OutputStream& stream, const NativeTexture& t) {
  dff::WriteU32(stream, kPlatformD3D9);
  WriteU8(stream, t.filter);
  WriteU8(stream, t.addressing);
  dff::WriteU16(stream, 0);  // unused
  WriteNameField(stream, t.name);
  WriteNameField(stream, t.mask);
  dff::WriteU32(stream, t.rasterFormat);
  dff::WriteU32(stream, t.d3dFormat);
  dff::WriteU16(stream, t.width);
  dff::WriteU16(stream, t.height);
  WriteU8(stream, t.depth);
  WriteU8(stream, static_cast<std::uint8_t>(t.levels.size()));
  WriteU8(stream, t.rasterType);
  WriteU8(stream, t.flags);
  for (const std::vector<std::uint8_t>& level : t.levels) {
    dff::WriteU32(stream, static_cast<std::uint32_t>(level.size()));
    stream.WriteBytes(level.data(), level.size());
  }
}

void WriteEmptyExtension(dff::OutputStream& stream) {
  dff::EndChunk(stream, dff::BeginChunk(stream, ChunkType::Extension, kLibraryVersion));
}

void WriteTextureNative(dff::OutputStream& stream, const NativeTexture& texture) {
  const std::int32_t native = dff::BeginChunk(stream, ChunkType::TextureNative, kLibraryVersion);
  const std::int32_t record = dff::BeginChunk(stream, ChunkType::Struct, kLibraryVersion);
  WriteNativeRecord(stream, texture);
  dff::EndChunk(stream, record);
  WriteEmptyExtension(stream);
  dff::EndChunk(stream, native);
}

}  // namespace

std::string CheckNativeTexture(const NativeTexture& texture) {
  if (texture.name.size() > kMaxNameBytes) {
    return "the texture name \"" + texture.name + "\" is longer than " +
           std::to_string(kMaxNameBytes) + " bytes";
  }
  if (texture.mask.size() > kMaxNameBytes) {
    return "the mask name \"" + texture.mask + "\" of texture \"" + texture.name +
           "\" is longer than " + std::to_string(kMaxNameBytes) + " bytes";
  }
  if (texture.levels.empty() || texture.levels.size() > std::numeric_limits<std::uint8_t>::max()) {
    return "texture \"" + texture.name + "\" has " + std::to_string(texture.levels.size()) +
           " mip levels (1 to 255 can be stored)";
  }
  return {};
}

void WriteTextureDictionary(dff::OutputStream& stream, const std::vector<NativeTexture>& textures) {
  if (textures.size() > std::numeric_limits<std::uint16_t>::max()) {
    stream.Fail(std::to_string(textures.size()) + " textures do not fit one dictionary (at most 65535)");
    return;
  }
  for (const NativeTexture& texture : textures) {
    const std::string problem = CheckNativeTexture(texture);
    if (!problem.empty()) {
      stream.Fail(problem);
      return;
    }
  }
  const std::int32_t dictionary =
      dff::BeginChunk(stream, ChunkType::TextureDictionary, kLibraryVersion);
  const std::int32_t header = dff::BeginChunk(stream, ChunkType::Struct, kLibraryVersion);
  dff::WriteU16(stream, static_cast<std::uint16_t>(textures.size()));
  dff::WriteU16(stream, kDeviceD3D9);
  dff::EndChunk(stream, header);
  for (const NativeTexture& texture : textures) WriteTextureNative(stream, texture);
  WriteEmptyExtension(stream);
  dff::EndChunk(stream, dictionary);
}

}  // namespace txd
