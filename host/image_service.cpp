// "LW Image List 4": the scene's images in order, with names and files.
#include <cstddef>
#include <optional>

#include "host/host_state.h"
#include "host/scene_refs.h"
#include "host/services.h"

namespace host {
namespace {

std::optional<std::size_t> ImageIndex(HostState& state, LWImageID image, const char* operation) {
  return Resolve(state, HandleKind::kImage, image, state.scene.images.size(), operation);
}

LWImageID LWCALL First() {
  HostState* state = ActiveHostState();
  if (state == nullptr || state->scene.images.empty()) return nullptr;
  return MakeHandle<LWImageID>(HandleKind::kImage, 0);
}

LWImageID LWCALL Next(LWImageID image) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto index = ImageIndex(*state, image, "LW Image List 4 next");
  if (!index || *index + 1 >= state->scene.images.size()) return nullptr;
  return MakeHandle<LWImageID>(HandleKind::kImage, *index + 1);
}

const char* LWCALL Name(LWImageID image) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto index = ImageIndex(*state, image, "LW Image List 4 name");
  return index ? state->Text(state->scene.images[*index].name) : nullptr;
}

// Still images only: every frame shows the same file.  A scene built by
// hand may name an image without giving its file; the name stands for it.
const char* LWCALL Filename(LWImageID image, LWFrame /*frame*/) {
  HostState* state = ActiveHostState();
  if (state == nullptr) return nullptr;
  const auto index = ImageIndex(*state, image, "LW Image List 4 filename");
  if (!index) return nullptr;
  const Image& found = state->scene.images[*index];
  return state->Text(found.filename.empty() ? found.name : found.filename);
}

LWImageList MakeTable() {
  LWImageList table{};
  table.first = &First;
  table.next = &Next;
  table.name = &Name;
  table.filename = &Filename;
  return table;
}

}  // namespace

LWImageList* ImageListService() {
  static LWImageList table = MakeTable();
  return &table;
}

}  // namespace host
