#include "dff/chunk_type.h"

namespace dff {

const char* ChunkTypeName(std::uint32_t type) {
  switch (static_cast<ChunkType>(type)) {
    case ChunkType::Struct: return "Struct";
    case ChunkType::String: return "String";
    case ChunkType::Extension: return "Extension";
    case ChunkType::Texture: return "Texture";
    case ChunkType::Material: return "Material";
    case ChunkType::MaterialList: return "MaterialList";
    case ChunkType::FrameList: return "FrameList";
    case ChunkType::Geometry: return "Geometry";
    case ChunkType::Clump: return "Clump";
    case ChunkType::Atomic: return "Atomic";
    case ChunkType::TextureNative: return "TextureNative";
    case ChunkType::TextureDictionary: return "TextureDictionary";
    case ChunkType::GeometryList: return "GeometryList";
    case ChunkType::RightToRender: return "RightToRender";
    case ChunkType::MaterialEffects: return "MaterialEffects";
    case ChunkType::BinMesh: return "BinMesh";
    case ChunkType::SpecularMaterial: return "SpecularMaterial";
    case ChunkType::Effects2d: return "2dEffects";
    case ChunkType::NightColors: return "NightColours";
    case ChunkType::Collision: return "Collision";
    case ChunkType::ReflectionMaterial: return "ReflectionMaterial";
    case ChunkType::GeometryExtra: return "GeometryExtra";
    case ChunkType::FrameName: return "FrameName";
    case ChunkType::CollisionAlternative: return "CollisionAlternative";
  }
  return nullptr;
}

}  // namespace dff
