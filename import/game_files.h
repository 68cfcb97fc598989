// Reading a game model's files into the import model.  Each reader refuses
// a file that dffinfo calls damaged, with dffinfo's own words, and a file
// it cannot carry whole (several clumps, native geometry) with the reason.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "import/import_model.h"

namespace import {

// What a reader returns: the part of the model it read, or why not.
template <class T>
struct Read {
  std::optional<T> value;
  std::string error;  // one or more lines naming the file; empty on success
  std::vector<std::string> warnings;
};

// The frames, geometries and atomics of a DFF holding one clump; the
// collision embedded in it, if any; and one warning per kind of data the
// model holds that the importer cannot carry.
Read<Model> ReadDff(const std::vector<std::uint8_t>& bytes, const std::string& path);

// Every texture of a texture dictionary, level 0 decoded to RGBA.  A
// texture in a format the importer does not decode is left out with a
// warning that names it.
Read<std::vector<Texture>> ReadTxd(const std::vector<std::uint8_t>& bytes, const std::string& path);
// The same, for a file already inspected: a search that weighs several
// dictionaries inspects each once.
Read<std::vector<Texture>> ReadTxd(const std::vector<std::uint8_t>& bytes, const dffinfo::Inspection& inspection,
                                   const std::string& path);

// A texture the importer decodes: one for Direct3D 9, the PC's platform.
bool IsPcTexture(const dffinfo::NativeTextureRecord& texture);

// The first entry of a COL file.
Read<Collision> ReadCol(const std::vector<std::uint8_t>& bytes, const std::string& path);

}  // namespace import
