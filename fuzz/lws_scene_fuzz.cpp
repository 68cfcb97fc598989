// The LWS scene reader on any text, then the scene built from it.  The
// scene sits in a folder that does not exist, so no object it names is
// found; a scene that loads no object builds whole.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/lightwave_files.h"
#include "host/lws_scene_builder.h"
#include "lightwave/lws_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const char* const path = "/nonexistent-velmora-fuzz/scenes/fuzz.lws";
  try {
    host::SceneFromLws(host::ReadLws(text, path), path, host::LoadOptions{});
  } catch (const host::LoadError&) {
  }
  return 0;
}
