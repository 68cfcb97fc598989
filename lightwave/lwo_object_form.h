// The outer frame of an LightWave object file: the FORM header, and the
// walk over its top-level chunks that names the chunk and byte of a fault.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lightwave/iff_reader.h"

namespace host {

struct ObjectForm {
  std::uint32_t type = 0;  // LWO2 or LWO3
  IffReader body;          // the chunks after the form's type
};

// The file's FORM.  Forms of other types (older and newer LightWave
// objects, modo objects, other IFF files) are refused by name, with what
// the user can do.  Throws LoadError.
ObjectForm OpenObjectForm(const std::vector<std::uint8_t>& bytes, const std::string& fileName);

// Calls `read` on each top-level chunk of the form in turn.  A fault in the
// framing or in `read` becomes a LoadError naming the file, the chunk and
// the byte.
void ForEachTopLevelChunk(IffReader form, const std::string& fileName,
                          const std::function<void(const IffChunk&)>& read);

}  // namespace host
