// Decoders from chunks to records, one per record kind.  Each reports what
// it cannot read, or what does not add up within the record, and decodes as
// much as the bytes allow; checks across records live in validate.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "dff_inspect/byte_reader.h"
#include "dff_inspect/chunk_tree.h"
#include "dff_inspect/findings.h"
#include "dff_inspect/reading_order.h"
#include "dff_inspect/records.h"

namespace dffinfo {

ClumpRecord DecodeClump(ByteSpan file, const Chunk& clump, Findings& findings);
std::vector<FrameRecord> DecodeFrameList(ByteSpan file, const Chunk& frameList,
                                         Findings& findings);
GeometryRecord DecodeGeometry(ByteSpan file, const Chunk& geometry, Findings& findings);
MaterialListRecord DecodeMaterialList(ByteSpan file, const Chunk& materialList,
                                      Findings& findings);
MaterialRecord DecodeMaterial(ByteSpan file, const Chunk& material, Findings& findings);
std::optional<TextureRecord> DecodeTexture(ByteSpan file, const Chunk& texture,
                                           Findings& findings);
AtomicRecord DecodeAtomic(ByteSpan file, const Chunk& atomic, Findings& findings);
// The 2d effects record of a geometry; `geometry` is decoded as far as its
// Extension, and its bounds judge where the entries stand.
Effects2dRecord DecodeEffects2d(ByteSpan file, const Chunk& chunk, const GeometryRecord& geometry,
                                Findings& findings);

// Shared by the decoders.

// Reports a record whose bytes end before `what` when fewer than `count`
// elements of `elementSize` bytes remain; returns whether they do remain.
bool Need(ByteReader& reader, const Origin& record, const std::string& what,
          std::uint64_t count, std::uint64_t elementSize, Findings& findings);
// Reports bytes left after a record's last field: readers that trust a
// record to end where its fields end lose their place in the file.
void ExpectConsumed(const ByteReader& reader, const Origin& record, Findings& findings);
// Reports a plug-in record whose size is not the one its readers consume.
bool ExpectSize(const Chunk& chunk, std::uint32_t size, Findings& findings);
Origin OriginOf(const Chunk& chunk);

}  // namespace dffinfo
