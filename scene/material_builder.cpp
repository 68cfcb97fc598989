#include "scene/material_builder.h"

#include <cmath>
#include <optional>

#include "platform/device_names.h"

namespace scene {
namespace {

std::string TextOrEmpty(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

// The first value of a channel; a channel the host does not know reads 0.
float FirstValue(const double* values) { return values != nullptr ? static_cast<float>(values[0]) : 0.0f; }

// The image of the first image layer of a texture: a game material carries
// one texture, so procedural and gradient layers and later image layers are
// left out.  Null when the texture has no image layer or its first one has
// no image assigned.
LWImageID FirstLayerImage(LWTextureID texture, const LWTextureFuncs& textureFuncs) {
  for (LWTLayerID layer = textureFuncs.firstLayer(texture); layer != nullptr;
       layer = textureFuncs.nextLayer(texture, layer)) {
    if (textureFuncs.layerType(layer) == TLT_IMAGE) {
      LWImageID image = nullptr;
      textureFuncs.getParam(layer, TXTAG_IMAGE, &image);
      return image;
    }
  }
  return nullptr;
}

std::optional<std::string> ImageTextureName(LWImageID image, const LWImageList& imageList) {
  if (image == nullptr) return std::nullopt;
  const char* name = imageList.name(image);
  if (name == nullptr) return std::nullopt;
  return MakeTextureName(name);
}

void ReadTexture(LWSurfaceID surface, const LWSurfaceFuncs& surfaceFuncs,
                 const LWTextureFuncs& textureFuncs, const LWImageList& imageList,
                 MaterialEntry& entry) {
  const LWTextureID texture = surfaceFuncs.getTex(surface, SURF_COLR);
  if (texture == nullptr) return;
  std::optional<std::string> name = ImageTextureName(FirstLayerImage(texture, textureFuncs), imageList);
  if (!name) return;
  entry.textureName = std::move(*name);
  entry.textured = 1;
}

void SetRgba(MaterialEntry& entry) {
  for (std::size_t i = 0; i < 3; ++i) entry.rgba[i] = ColorByte(static_cast<double>(entry.color[i]));
  entry.rgba[3] = ColorByte(1.0 - static_cast<double>(entry.transparency));
}

}  // namespace

std::uint8_t ColorByte(double value) {
  const double scaled = value * 255.0;
  if (!(scaled > 0.0)) return 0;  // also NaN
  if (scaled >= 255.0) return 255;
  return static_cast<std::uint8_t>(scaled);
}

std::string MakeTextureName(std::string_view imageName) { return platform::TextureNameOfImage(imageName); }

MaterialEntry MakeMaterialEntry(LWSurfaceID surface, const LWSurfaceFuncs& surfaceFuncs,
                                const LWTextureFuncs& textureFuncs, const LWImageList& imageList) {
  MaterialEntry entry;
  entry.surfaceName = TextOrEmpty(surfaceFuncs.name(surface));
  if (const double* color = surfaceFuncs.getFlt(surface, SURF_COLR)) {
    for (std::size_t i = 0; i < 3; ++i) entry.color[i] = static_cast<float>(color[i]);
  }
  ReadTexture(surface, surfaceFuncs, textureFuncs, imageList, entry);
  entry.transparency = FirstValue(surfaceFuncs.getFlt(surface, SURF_TRAN));
  SetRgba(entry);
  entry.reflectivity = FirstValue(surfaceFuncs.getFlt(surface, SURF_REFL));
  entry.glossiness = FirstValue(surfaceFuncs.getFlt(surface, SURF_GLOS));
  entry.reflectionImageName = ImageTextureName(surfaceFuncs.getImg(surface, SURF_RIMG), imageList);
  return entry;
}

MaterialEntry MakeDefaultMaterial(std::string_view surfaceName) {
  MaterialEntry entry;
  entry.surfaceName = std::string(surfaceName);
  entry.color = {1.0f, 1.0f, 1.0f};
  SetRgba(entry);
  return entry;
}

}  // namespace scene
