// The primitive writers of the RenderWare binary stream: little-endian
// words, String chunks, and chunk framing whose sizes are patched after each
// payload, so no size is ever computed in advance.
#pragma once

#include <cstdint>

#include "dff/chunk_type.h"
#include "dff/output_stream.h"

namespace dff {

// Low byte first.  0 when both bytes went out, 1 otherwise; after a failed
// first byte the second is not attempted.
int WriteU16(OutputStream& stream, std::uint16_t value);
// Least significant byte first.  Always 0: a failure is kept by the stream.
int WriteU32(OutputStream& stream, std::uint32_t value);
// A float as its IEEE 754 single-precision bit pattern.
int WriteF32(OutputStream& stream, float value);

// A complete String chunk: header (type 2, size `length`, `version`) and
// exactly `length` bytes of `data`, which the caller has already padded.
std::uint32_t WriteStringChunk(OutputStream& stream, const void* data, std::uint32_t length,
                               std::uint32_t version);

// The padded length of a String chunk for a text of `textLength` bytes: the
// next multiple of four strictly above it, so 1 to 4 zero bytes follow.
std::uint32_t PaddedStringLength(std::uint32_t textLength);

// Writes a header with a size of 0 and returns where the payload starts.
std::int32_t BeginChunk(OutputStream& stream, ChunkType type, std::uint32_t version);
// Patches the size of the chunk whose payload started at `payloadStart` and
// leaves the stream at the end of that payload.  Returns 12 plus the size.
std::int32_t EndChunk(OutputStream& stream, std::int32_t payloadStart);

}  // namespace dff
