#include "scene/file_request.h"

#include <cstring>

#include "platform/path_rules.h"

namespace scene {
namespace {

FileRequestRecord gSaveRequest;
// Static like the host's record, and two exports never run at the same
// time.
FileRequestRecord gColRequest;
// The import's request for a model's TXD.
FileRequestRecord gTxdRequest;

// The filter list: label, pattern, label, pattern, each ended by a NUL
// byte, the list by a further one.
constexpr char kDffFilter[] = "DFF Files (*.dff)\0*.dff\0All Files\0*.*\0";
static_assert(sizeof kDffFilter == 39, "the filter list is 38 characters and the closing NUL");
constexpr char kIdeFilter[] = "IDE Files (*.ide)\0*.ide\0All Files\0*.*\0";
constexpr char kColRequestTitle[] = "Select COL file";
constexpr char kColFilter[] = "COL Files (*.col)\0*.col\0All Files\0*.*\0";
constexpr char kTxdRequestTitle[] = "Select the model's TXD file";
constexpr char kTxdFilter[] = "TXD Files (*.txd)\0*.txd\0All Files\0*.*\0";

void CopyIntoBuffer(char* buffer, const std::string& text) {
  const std::size_t length = std::min(text.size(), std::size_t{kFileRequestBufferSize - 1});
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace

FileChoice RunFileRequest(FileRequestRecord& record, int reqType, const char* title,
                          const char* filter, LWFileActivateFunc fileRequest, int version,
                          const std::string& proposal, const std::string& folder) {
  LWFileReqLocal& local = record.local;
  local.reqType = reqType;
  local.result = 0;
  local.title = title;
  local.fileType = filter;
  local.path = record.path;
  local.baseName = record.baseName;
  local.fullName = record.fullName;
  local.bufLen = kFileRequestBufferSize;
  local.pickName = nullptr;
  CopyIntoBuffer(record.path, folder);
  CopyIntoBuffer(record.baseName, proposal);

  FileChoice choice;
  if (fileRequest == nullptr) return choice;
  if (fileRequest(version, &local) != AFUNC_OK || local.result <= 0) return choice;
  // The host writes a terminated path; the last byte is forced to one in
  // case a host filled the whole buffer.
  record.fullName[kFileRequestBufferSize - 1] = '\0';
  choice.chosen = true;
  choice.path = record.fullName;
  return choice;
}

FileChoice RequestDffFile(LWFileActivateFunc fileRequest, int version, const char* sceneName) {
  return RunFileRequest(gSaveRequest, FREQ_SAVE, "lol omg save file!111", kDffFilter,
                        fileRequest, version,
                        platform::ProposedFileName(sceneName, ".dff", kFileRequestBufferSize));
}

FileChoice RequestIdeFile(LWFileActivateFunc fileRequest, int version, const char* sceneName) {
  return RunFileRequest(gSaveRequest, FREQ_SAVE, "Save map section (IDE file)", kIdeFilter, fileRequest, version,
                        platform::ProposedFileName(sceneName, ".ide", kFileRequestBufferSize));
}

FileChoice RequestColFile(LWFileActivateFunc fileRequest, int version, const char* sceneName) {
  return RunFileRequest(gColRequest, FREQ_LOAD, kColRequestTitle, kColFilter, fileRequest, version,
                        ProposeColName(sceneName));
}

FileChoice RequestTxdFile(LWFileActivateFunc fileRequest, int version, const std::string& dffPath) {
  const std::size_t nameStart = dffPath.find_last_of("/\\") + 1;  // 0 when there is no folder
  // A folder cut to fit would be another folder: the host then picks one.
  const std::string folder = nameStart < std::size_t{kFileRequestBufferSize} ? dffPath.substr(0, nameStart) : std::string();
  const std::string proposal =
      platform::ProposedFileName(dffPath.substr(nameStart).c_str(), ".txd", kFileRequestBufferSize);
  return RunFileRequest(gTxdRequest, FREQ_LOAD, kTxdRequestTitle, kTxdFilter, fileRequest, version, proposal, folder);
}

std::string ProposeColName(const char* sceneName) {
  return platform::ProposedFileName(sceneName, ".col", kFileRequestBufferSize);
}

}  // namespace scene
