/* stb_image_write compiled with its functions kept to this file (so that a
 * program that also compiles it elsewhere links), behind one function of
 * ours.  Third-party code: our warning flags do not apply. */
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "import_scene/png_code.h"

int velmora_encode_png(velmora_png_sink sink, void* context, int width, int height, const unsigned char* rgba) {
  return stbi_write_png_to_func(sink, context, width, height, 4, rgba, width * 4);
}
