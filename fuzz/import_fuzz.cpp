// The import on any bytes: told by its first chunk, read as a DFF (with
// its embedded collision), as a TXD and as a COL file; a model that reads
// is turned into its LightWave scene and every object file made in memory,
// as lwhost --import makes them before writing, and into the one object
// the object loader hands the host.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "import/game_files.h"
#include "import/model_sniff.h"
#include "import_scene/clump_object.h"
#include "import_scene/lightwave_files.h"
#include "lightwave/lwo2_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  import::StartsLikeModel(data, size);
  import::Read<import::Model> model = import::ReadDff(bytes, "fuzz.dff");
  if (import::Read<std::vector<import::Texture>> textures = import::ReadTxd(bytes, "fuzz.txd"); textures.value) {
    if (model.value) model.value->textures = std::move(*textures.value);
  }
  import::ReadCol(bytes, "fuzz.col");
  if (!model.value) return 0;
  const import_scene::SceneFiles files = import_scene::ToLightWave(*model.value, "fuzz");
  for (const import_scene::ObjectFile& object : files.objects) {
    try {
      host::WriteLwo2(object.object);
    } catch (const std::length_error&) {
      // Reported by WriteSceneFiles as an object LWO2 cannot hold.
    }
  }
  host::WriteLws(files.items);
  std::vector<std::string> warnings;
  try {
    import_scene::ToClumpObject(*model.value, warnings);
  } catch (const std::length_error&) {
    // A surface too large for its sub-chunks: the loader reports it as failed.
  }
  return 0;
}
