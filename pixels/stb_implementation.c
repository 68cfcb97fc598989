/* The one translation unit that compiles the stb decoder, resampler and
 * DXT compressor: only the formats maketxd looks for, and no file access of
 * their own.  stb_dxt uses memcpy without including its header. */
#include <string.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_DXT_IMPLEMENTATION
#include "pixels/stb.h"
