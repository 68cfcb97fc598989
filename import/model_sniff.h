// Telling a game model's file by its first chunk, as a host's loaders are
// offered every file they might read and must pass over the others
// without reading them whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace import {

// Whether the bytes start as a model the import reads: a chunk header of a
// clump, or of the UV animation dictionary that comes before the clump of
// a model with UV animation, stamped by a RenderWare 3 library.
bool StartsLikeModel(const std::uint8_t* bytes, std::size_t size);

enum class FileStart { kModel, kOther, kUnreadable };

// The same for the first bytes of a file, its path in UTF-8: kOther also
// for a file shorter than a chunk header, kUnreadable for one that cannot
// be opened.
FileStart LookAtFileStart(const std::string& path);

}  // namespace import
