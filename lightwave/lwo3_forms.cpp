#include "lightwave/lwo3_forms.h"

namespace host {

std::string Lwo3Child::Label() const { return form ? "FORM " + IdText(id) : IdText(id); }

std::optional<Lwo3Child> NextChild(IffReader& parent) {
  std::optional<IffChunk> chunk = NextChunk(parent, IffLength::kU4);
  if (!chunk) return std::nullopt;
  Lwo3Child child{false, chunk->id, chunk->body};
  if (chunk->id == MakeId("FORM")) {
    if (child.body.remaining() < 4) {
      child.body.Fail("a FORM of " + std::to_string(child.body.remaining()) + " bytes has no room for its type");
    }
    child.form = true;
    child.id = child.body.Id4();
  }
  return child;
}

}  // namespace host
