// The path rules every part of the system shares, in the exact results of
// the Windows shell functions they stand for, on every platform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Everything after the last backslash, slash or colon (PathStripPathA).
std::string StripPath(std::string_view path);

// Drops the extension: the last "." after which the name holds no
// backslash and no space, and everything after it (PathRemoveExtensionA,
// which knows only the backslash as a separator).  A name without one is
// kept whole.
std::string RemoveExtension(std::string_view path);

// The file name a request proposes for a scene: the scene's name without
// its extension, plus `extension`, with the end of the base cut so that the
// whole fits a buffer of `bufferSize` bytes with its terminator.  A null
// scene name counts as empty.
std::string ProposedFileName(const char* sceneName, std::string_view extension,
                             std::size_t bufferSize);

}  // namespace platform
