/* The PNG encoder's C interface (png_encoding.c); png_file.h is the one to
   use from C++. */
#ifndef VELMORA_RENDER_PNG_ENCODING_H
#define VELMORA_RENDER_PNG_ENCODING_H

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*render_png_sink)(void* context, void* data, int size);

/* Encodes 8-bit RGBA rows, top to bottom, as a PNG file whose bytes go to
   `sink` in pieces.  Returns 0 on failure (out of memory). */
int render_encode_png(const unsigned char* rgba, int width, int height, render_png_sink sink, void* context);

#ifdef __cplusplus
}
#endif

#endif
