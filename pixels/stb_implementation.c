/* The one translation unit that compiles the stb decoder, resampler and
 * DXT compressor: of the decoder only the formats no other library reads
 * here (TGA and BMP), and no file access of its own.  stb_dxt uses memcpy
 * without including its header. */
#include <string.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_DXT_IMPLEMENTATION
#include "pixels/stb.h"
