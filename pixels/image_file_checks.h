// What the decoders do not check before they allocate, or at all: that an
// image file holds the data its headers promise.  stb_image (TGA and BMP)
// fills what is missing with zeros, so a cut or damaged file would become a
// black or transparent texture; libspng (PNG) would allocate the whole
// image before finding its data short, and checks some chunks' checksums only.
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
// promise.  PNG: every chunk complete up to the IEND chunk with a matching
// checksum (libspng checks those of the chunks before the image data, but
// not the image data's own nor those after it), and at least as
// much compressed image data as the pixels of its size need at deflate's
// highest ratio.  BMP: the pixel rows the header describes.  A file without
// a signature is taken as TGA (the colour map and the pixels, packet by
// packet when run-length coded).  JPEG files are left to libjpeg-turbo,
// which reports every damage itself.
std::optional<std::string> FindDamage(const std::vector<std::uint8_t>& bytes, ImageKind kind);

}  // namespace pixels
