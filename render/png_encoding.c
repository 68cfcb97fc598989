/* stb_image_write's PNG encoder, compiled here with every function static,
   so that it cannot clash with another copy linked into the same program
   (the tests write their image files with one).  Only the wrapper below is
   visible. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "render/png_encoding.h"

int render_encode_png(const unsigned char* rgba, int width, int height, render_png_sink sink, void* context) {
  return stbi_write_png_to_func(sink, context, width, height, 4, rgba, width * 4);
}
