// "Info Messages 2" and "File Request 2": what the module shows the user
// and asks of them.  Messages are recorded; file requests are recorded and
// answered by the responder the host's owner supplied.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "host/host_state.h"
#include "host/services.h"

namespace host {
namespace {

void Record(MessageKind kind, const char* line1, const char* line2, const char* operation) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return;
  if (line1 == nullptr) state->Fault(std::string(operation) + ": null first line");
  Message message{kind, line1 ? line1 : "", std::nullopt};
  if (line2 != nullptr) message.line2 = line2;
  state->messages.push_back(std::move(message));
}

void LWCALL Info(const char* line1, const char* line2) {
  Record(MessageKind::kInfo, line1, line2, "Info Messages 2 info");
}

void LWCALL Error(const char* line1, const char* line2) {
  Record(MessageKind::kError, line1, line2, "Info Messages 2 error");
}

void LWCALL Warning(const char* line1, const char* line2) {
  Record(MessageKind::kWarning, line1, line2, "Info Messages 2 warning");
}

// The length of a NUL-ended text, looking at no more than `limit` bytes.
std::size_t TextLength(const char* text, std::size_t limit) {
  const void* end = std::memchr(text, '\0', limit);
  return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : limit;
}

// A text buffer of the request, read no further than its declared length
// so that a buffer the module forgot to terminate is not overrun.
std::string BufferText(const char* buffer, int bufLen) {
  if (buffer == nullptr || bufLen <= 0) return {};
  return std::string(buffer, TextLength(buffer, static_cast<std::size_t>(bufLen)));
}

// The file-type filter list: NUL-ended strings ended by an empty one, kept
// whole with every NUL.  The bound stops a list that lacks its final empty
// string from reading on indefinitely.
std::string FilterList(const char* list) {
  constexpr std::size_t kLongestList = 4096;
  if (list == nullptr) return {};
  std::size_t length = 0;
  while (length < kLongestList) {
    const std::size_t entry = TextLength(list + length, kLongestList - length);
    length += entry + 1;
    if (entry == 0) break;
  }
  return std::string(list, std::min(length, kLongestList));
}

FileRequest Capture(const LWFileReqLocal& request) {
  FileRequest seen;
  seen.reqType = request.reqType;
  seen.title = request.title ? request.title : "";
  seen.fileType = FilterList(request.fileType);
  seen.path = BufferText(request.path, request.bufLen);
  seen.baseName = BufferText(request.baseName, request.bufLen);
  seen.bufLen = request.bufLen;
  return seen;
}

std::optional<std::string> Ask(HostState& state, const FileRequest& request) {
  if (!state.responder) return std::nullopt;
  // The module's frames lie between here and the caller: an exception must
  // not unwind through them.
  try {
    return state.responder(request);
  } catch (const std::exception& failure) {
    state.Fault(std::string("File Request 2: the responder failed: ") + failure.what());
  }
  return std::nullopt;
}

// A chosen path longer than the buffer is cut to fit, as a dialog limited
// to the buffer's length would have cut it.
void Deliver(const std::string& path, LWFileReqLocal& request) {
  const std::size_t room = static_cast<std::size_t>(request.bufLen) - 1;
  const std::size_t length = std::min(path.size(), room);
  std::memcpy(request.fullName, path.data(), length);
  request.fullName[length] = '\0';
}

int Request(int version, int expectedVersion, LWFileReqLocal* request) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return AFUNC_BADAPP;
  if (version != expectedVersion) return AFUNC_BADVERSION;
  if (request == nullptr) {
    state->Fault("File Request 2: null request");
    return AFUNC_BADLOCAL;
  }
  const FileRequest seen = Capture(*request);
  state->fileRequests.push_back(seen);
  if (request->fullName == nullptr || request->bufLen <= 0) {
    state->Fault("File Request 2: no buffer to return the chosen file in");
    return AFUNC_BADLOCAL;
  }
  const std::optional<std::string> chosen = Ask(*state, seen);
  request->result = chosen ? 1 : 0;
  if (chosen) Deliver(*chosen, *request);
  return AFUNC_OK;
}

int LWCALL RequestFile(int version, LWFileReqLocal* request) {
  return Request(version, LWFILEREQ_VERSION, request);
}

int LWCALL RequestFile3(int version, LWFileReqLocal* request) {
  return Request(version, LWFILEREQ3_VERSION, request);
}

LWMessageFuncs MakeMessages() {
  LWMessageFuncs table{};
  table.info = &Info;
  table.error = &Error;
  table.warning = &Warning;
  return table;
}

}  // namespace

LWMessageFuncs* MessageService() {
  static LWMessageFuncs table = MakeMessages();
  return &table;
}

LWFileActivateFunc FileRequestService() { return &RequestFile; }

LWFileActivateFunc FileRequest3Service() { return &RequestFile3; }

}  // namespace host
