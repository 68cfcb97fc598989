#include "lightwave/lwo_object_form.h"

#include <optional>

#include "lightwave/load_error.h"

namespace host {
namespace {

constexpr std::uint32_t kForm = MakeId("FORM");
constexpr std::uint32_t kLwo2 = MakeId("LWO2");
constexpr std::uint32_t kLwo3 = MakeId("LWO3");

// Why a FORM that is not an object this host reads is refused, and what
// the user can do.
std::string RefusalOf(std::uint32_t formType) {
  if (formType == MakeId("LWOB") || formType == MakeId("LWLO")) {
    return "is an LWOB object from LightWave 5 or older, which this host does not read; "
           "open it in LightWave Modeler 6 or later and save it to store it as LWO2";
  }
  if (formType == MakeId("LXOB")) return "is a modo object (LXOB), not a LightWave object";
  return "is an IFF file of type '" + IdText(formType) + "', not a LightWave object";
}

// "PNTS chunk", or "FORM SURF" for a nested form.
std::string LabelOf(const IffChunk& chunk) {
  if (chunk.id != kForm || chunk.body.remaining() < 4) return IdText(chunk.id) + " chunk";
  IffReader body = chunk.body;
  return "FORM " + IdText(body.Id4());
}

}  // namespace

ObjectForm OpenObjectForm(const std::vector<std::uint8_t>& bytes, const std::string& fileName) {
  auto fail = [&](const std::string& what) -> void { throw LoadError(fileName + ": " + what); };
  if (bytes.empty()) fail("the file is empty");
  if (bytes.size() < 12) fail("the file is too short (" + std::to_string(bytes.size()) + " bytes) for an object");
  IffReader file(bytes.data(), bytes.size(), 0);
  if (file.Id4() != kForm) fail("not a LightWave object file: it does not start with an IFF FORM header");
  const std::uint32_t length = file.U4();
  const std::uint32_t type = file.Id4();
  if (type != kLwo2 && type != kLwo3) fail(RefusalOf(type));
  if (length < 4 || length - 4 > file.remaining()) {
    fail("the file is truncated: its FORM header announces " + std::to_string(length) + " bytes but " +
         std::to_string(bytes.size() - 8) + " follow");
  }
  // Bytes after the form are not part of the object.
  return ObjectForm{type, file.Take(length - 4)};
}

void ForEachTopLevelChunk(IffReader form, const std::string& fileName,
                          const std::function<void(const IffChunk&)>& read) {
  auto fail = [&](const std::string& what) { throw LoadError(fileName + ": " + what); };
  for (;;) {
    std::optional<IffChunk> chunk;
    try {
      chunk = NextChunk(form, IffLength::kU4);
    } catch (const IffError& error) {
      fail(std::string(error.what()) + " (byte " + std::to_string(error.offset()) + ")");
    }
    if (!chunk) break;
    try {
      read(*chunk);
    } catch (const IffError& error) {
      fail(LabelOf(*chunk) + " at byte " + std::to_string(chunk->offset) + ": " + error.what() +
           " (byte " + std::to_string(error.offset()) + ")");
    }
  }
}

}  // namespace host
