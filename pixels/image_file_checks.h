// What the stb decoder does not check: that an image file holds all the
// data its headers promise.  stb_image fills what is missing with zeros, so
// a cut or damaged file would become a black or transparent texture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pixels {

// The kind of file by its signature; TGA files have none.
enum class ImageKind { Png, Jpeg, Bmp, Unsigned };

ImageKind KindOf(const std::vector<std::uint8_t>& bytes);

// Why the file is damaged, or nothing when it holds everything its headers
// promise.  PNG: every chunk complete with a matching checksum, up to the
// IEND chunk.  JPEG: every segment complete, no Huffman table of more than
// 256 codes (the decoder would write past its tables), and the end marker
// after the last scan.  BMP: the pixel rows the header describes.  These
// three are checked before the decoder reads anything.  A file without a
// signature is taken as TGA (the colour map and the pixels, packet by packet
// when run-length coded), so it is checked once the decoder has recognised
// it.
std::optional<std::string> FindDamage(const std::vector<std::uint8_t>& bytes, ImageKind kind);

}  // namespace pixels
