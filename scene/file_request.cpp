#include "scene/file_request.h"

#include <cstring>

#include "platform/path_rules.h"

namespace scene {
namespace {

FileRequestRecord gSaveRequest;
// Static like the host's record, and two exports never run at the same
// time.
FileRequestRecord gColRequest;

// The filter list: label, pattern, label, pattern, each ended by a NUL
// byte, the list by a further one.
constexpr char kDffFilter[] = "DFF Files (*.dff)\0*.dff\0All Files\0*.*\0";
static_assert(sizeof kDffFilter == 39, "the filter list is 38 characters and the closing NUL");
constexpr char kIdeFilter[] = "IDE Files (*.ide)\0*.ide\0All Files\0*.*\0";
constexpr char kColRequestTitle[] = "Select COL file";
constexpr char kColFilter[] = "COL Files (*.col)\0*.col\0All Files\0*.*\0";

void CopyIntoBuffer(char* buffer, const std::string& text) {
  const std::size_t length = std::min(text.size(), std::size_t{kFileRequestBufferSize - 1});
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace

FileChoice RunFileRequest(FileRequestRecord& record, int reqType, const char* title,
                          const char* filter, LWFileActivateFunc fileRequest, int version,
                          const std::string& proposal) {
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
  record.path[0] = '\0';
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

std::string ProposeColName(const char* sceneName) {
  return platform::ProposedFileName(sceneName, ".col", kFileRequestBufferSize);
}

}  // namespace scene
