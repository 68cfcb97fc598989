# 32-bit Windows (i686), the platform of 32-bit Layout.
set(VELMORA_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# SSE2 arithmetic instead of the x87 unit's 80-bit registers, so that the
# 32-bit module rounds every float as the 64-bit one and the Linux build do
# and all three write the same bytes.  Every processor that runs a 32-bit
# Layout today has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
