/* The one translation unit that compiles the stb decoder and resampler:
 * only the formats maketxd looks for, and no file access of their own. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include "pixels/stb.h"
