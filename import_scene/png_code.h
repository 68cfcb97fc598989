/* The PNG encoder, callable from C and C++. */
#ifndef IMPORT_SCENE_PNG_CODE_H
#define IMPORT_SCENE_PNG_CODE_H

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*velmora_png_sink)(void* context, void* data, int size);

/* Calls `sink` with the PNG file's bytes; 0 on failure. */
int velmora_encode_png(velmora_png_sink sink, void* context, int width, int height, const unsigned char* rgba);

#ifdef __cplusplus
}
#endif

#endif
