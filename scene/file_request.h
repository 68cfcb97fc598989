// The file requests the modules make through the host's file requester:
// the save request of the export command, the exporter's COL request while
// it writes the clump, and the import's request for a model's TXD.  Each
// keeps its record and buffers in static storage, as long as the module:
// the host writes the chosen path into them, and fullName keeps the last
// choice between requests as Layout users are used to.
#pragma once

#include <string>

#include "lwsdk/file_request.h"

namespace scene {

constexpr int kFileRequestBufferSize = 512;

// What the user chose, or nothing when the request was cancelled or the
// host refused it.
struct FileChoice {
  bool chosen = false;
  std::string path;
};

// One request record with its three buffers.
struct FileRequestRecord {
  LWFileReqLocal local{};
  char path[kFileRequestBufferSize]{};
  char baseName[kFileRequestBufferSize]{};
  char fullName[kFileRequestBufferSize]{};
};

// Fills `record` afresh (`folder` as the path the request opens in, empty
// for the host's choice; `proposal` as the base name; each cut to fit) and
// shows the request.  A null requester counts as a cancel.
FileChoice RunFileRequest(FileRequestRecord& record, int reqType, const char* title,
                          const char* filter, LWFileActivateFunc fileRequest, int version,
                          const std::string& proposal, const std::string& folder = {});

// Shows the save request for the DFF file.  `version` is the one the
// requester takes under the name the host served it by.
FileChoice RequestDffFile(LWFileActivateFunc fileRequest, int version, const char* sceneName);

// Shows the load request for the COL file to embed; the same requester
// and version.
FileChoice RequestColFile(LWFileActivateFunc fileRequest, int version, const char* sceneName);

// The COL file name proposed to the user: the scene's name without its
// extension, plus ".col".  A null name counts as empty.  A name too long
// for the request's buffer loses the end of its base, never the ".col".
std::string ProposeColName(const char* sceneName);

// Shows the load request for the TXD of the model at `dffPath` (as the host
// named it), opened in the model's folder with NAME.txd proposed.
FileChoice RequestTxdFile(LWFileActivateFunc fileRequest, int version, const std::string& dffPath);

// Shows the save request for a map section's IDE file, whose name the
// section's other files take.
FileChoice RequestIdeFile(LWFileActivateFunc fileRequest, int version, const char* sceneName);

}  // namespace scene
