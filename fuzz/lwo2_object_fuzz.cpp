// The object reader (LWO2 or LWO3) on any bytes, loaded as a bare object becomes a
// scene.  A refusal is an answer; only a crash, a leak or a hang is a fault.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/lightwave_files.h"
#include "host/lwo2_scene.h"
#include "lightwave/lwo_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  try {
    host::ObjectScene(host::ReadLwo(bytes, "fuzz.lwo"), "fuzz.lwo");
  } catch (const host::LoadError&) {
  }
  return 0;
}
