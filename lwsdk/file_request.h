/*
 * "File Request 2" and "File Request 3": the host's file requester.
 */
#ifndef VELMORA_LWSDK_FILE_REQUEST_H
#define VELMORA_LWSDK_FILE_REQUEST_H

#include "lwsdk/types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define LWFILEREQFUNC_GLOBAL "File Request 2"
#define LWFILEREQ_VERSION 3

/* Layout 2023 and later also serve the requester as "File Request 3": the
 * same function and record, with UTF-8 texts, called with version 4. */
#define LWFILEREQFUNC3_GLOBAL "File Request 3"
#define LWFILEREQ3_VERSION 4

#define FREQ_LOAD 1
#define FREQ_SAVE 2
#define FREQ_DIRECTORY 3
#define FREQ_MULTILOAD 4

typedef struct st_LWFileReqLocal {
  int reqType;
  int result;
  const char *title;
  const char *fileType;
  char *path;
  char *baseName;
  char *fullName;
  int bufLen;
  int(LWCALL *pickName)(void);
} LWFileReqLocal;

typedef int(LWCALL *LWFileActivateFunc)(int version, LWFileReqLocal *request);

#ifdef __cplusplus
}
#endif

#endif /* VELMORA_LWSDK_FILE_REQUEST_H */
