// RGBA images as PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace import_scene {

// The PNG file's bytes; empty when the image cannot be encoded.
std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, std::uint32_t width, std::uint32_t height);

}  // namespace import_scene
