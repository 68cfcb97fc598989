// The stb image decoder, resampler and DXT compressor as this system builds
// them (stb_implementation.c): from memory only, the decoder for TGA and BMP
// alone.  Image sizes are checked by DecodeTgaOrBmp before decoding.
#pragma once

#define STBI_NO_STDIO
#include <stb/stb_dxt.h>
#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
