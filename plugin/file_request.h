// The static file-request records the module hands to the host's file
// requester.  They live as long as the module: the host writes the chosen
// path into their buffers, and fullName keeps the last choice between
// requests as Layout users are used to.
#pragma once

#include <string>

#include "plugin/lw_host.h"

namespace plugin {

constexpr int kFileRequestBufferSize = 512;

// What the user chose, or nothing when the request was cancelled or the
// host refused it.
struct FileChoice {
  bool chosen = false;
  std::string path;
};

// The base name proposed for a scene: its name without the extension, plus
// the given extension, cut short enough to fit the request's buffers with
// its terminator.  A null scene name counts as empty.
std::string ProposeFileName(const char* sceneName, const std::string& extension);

// Shows the save request for the DFF file.  `version` is the one the
// requester takes under the name the host served it by.
FileChoice RequestDffFile(LWFileActivateFunc fileRequest, int version, const char* sceneName);

// Shows the load request for the COL file to embed.
FileChoice RequestColFile(LWFileActivateFunc fileRequest, int version, const char* sceneName);

}  // namespace plugin
