// Paths the LightWave host hands over as narrow text.  Which encoding that
// text is in depends on the service that produced it: Layout's older
// services speak the system's ANSI code page, those of Layout 2023 and
// later speak UTF-8.  Opening such a path right means converting it from
// the encoding it came in, not from whatever the C library assumes.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

enum class TextEncoding {
  // The system's narrow encoding: the ANSI code page on Windows; elsewhere
  // file names are bytes and the text is taken as it is.
  kNative,
  kUtf8,
};

// The file-system path that a host text names.  On Windows the text is
// converted to UTF-16, so that any file name the user can pick in the host
// opens; a text that is not valid in its encoding gives an empty path,
// which no file has, rather than the name of some other file.
std::filesystem::path PathFromHostText(std::string_view text, TextEncoding encoding);

// The host text that names `path`, for handing a path back to the host:
// on Windows converted from UTF-16 (a character the ANSI code page lacks
// becomes '?', which names no file rather than another one).
std::string HostTextFromPath(const std::filesystem::path& path, TextEncoding encoding);

// std::fopen for a path in the file system's own form (UTF-16 on Windows).
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace platform
