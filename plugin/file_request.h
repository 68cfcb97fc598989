// The static save-request record the module hands to the host's file
// requester.  It lives as long as the module: the host writes the chosen
// path into its buffers, and fullName keeps the last choice between
// requests as Layout users are used to.  (The COL request belongs to the
// clump writer, which asks for the file while it writes.)
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

// Shows the save request for the DFF file.  `version` is the one the
// requester takes under the name the host served it by.
FileChoice RequestDffFile(LWFileActivateFunc fileRequest, int version, const char* sceneName);

}  // namespace plugin
