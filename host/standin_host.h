// The stand-in LightWave host: serves a host::Scene through the exact
// service tables declared in lwsdk/, the way Layout serves its own scene.
//
// The host's global function is a plain C function pointer without a
// context argument, so one StandInHost at a time is the active host; it is
// made active by construction and stops being so when destroyed.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/scene_model.h"
#include "lwsdk/globals.h"

namespace host {

enum class MessageKind { kInfo, kError, kWarning };

struct Message {
  MessageKind kind;
  std::string line1;
  std::optional<std::string> line2;  // absent when the module passed null
};

// What the user did with a file request.  The responder sees the request
// as the module filled it (type, title, filter list, proposed base name)
// and answers with a chosen path, or nothing for a cancel.
struct FileRequest {
  int reqType = 0;
  std::string title;
  // The whole filter list: every NUL-ended string up to and including the
  // empty one that ends the list.
  std::string fileType;
  std::string path;
  std::string baseName;
  int bufLen = 0;
};
using FileResponder = std::function<std::optional<std::string>(const FileRequest&)>;

class StandInHost {
 public:
  explicit StandInHost(Scene scene);
  ~StandInHost();
  StandInHost(const StandInHost&) = delete;
  StandInHost& operator=(const StandInHost&) = delete;

  // The global function handed to activations.
  GlobalFunc global() const;
  // The same look-up, from C++.  The tables serve the active host.
  void* Global(const char* serviceName, int useMode = GFUSE_TRANSIENT);

  // Edits show in every later answer.  Handles are positions in the scene,
  // so inserting or removing elements moves the handles of those after them.
  // Mesh snapshots already handed out keep what they showed: the editable
  // scene makes them take copies of their meshes.
  const Scene& scene() const;
  Scene& scene();

  // A service the host does not serve: the global function answers null.
  void Withhold(const std::string& serviceName);
  // Also serves the service named `servedName` under `alias`, as a newer
  // Layout serves its services under newer names.  The requester served as
  // "File Request 3" takes version 4, as Layout's does.
  void ServeAlias(const std::string& alias, const std::string& servedName);
  // Answers every file request; without one, every request is cancelled.
  // A chosen path is cut to fit the module's buffer; a responder that
  // throws counts as a cancel and is noted as a fault.
  void SetFileResponder(FileResponder responder);

  // Everything the module showed, in order.
  const std::vector<Message>& messages() const;
  // Service names in the order the module asked for them.
  const std::vector<std::string>& requestedServices() const;
  // Every file request the module made at the supported version, as it
  // made it.
  const std::vector<FileRequest>& fileRequests() const;
  // Mesh snapshots handed out and not yet destroyed.
  int liveMeshSnapshots() const;
  // Calls that Layout would not have survived, in order: a handle this host
  // never handed out (or of the wrong kind), a destroyed snapshot, a null
  // output pointer.  Each such call answered null or zero.
  const std::vector<std::string>& faults() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace host
