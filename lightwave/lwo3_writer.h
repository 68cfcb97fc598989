// Writing of LWO3 object files, as LightWave 2018 and later lay them out:
// tests and benchmarks make the same object in both formats with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lightwave/lwo2_object.h"

namespace host {

// The node that holds each surface's values.
enum class Lwo3Material {
  // LightWave's classic channels: colour texture layers on the Color entry.
  kStandard,
  // Principled BSDF, holding what the reader maps back: Roughness
  // 1 - glossiness, Metallic the reflectivity; one image colour layer at
  // most, as an Image node wired to its Color input.
  kPrincipled,
};

// The object as an LWO3 file: an OTAG naming the first UV map, then TAGS
// and the layers as in LWO2; then a FORM CLIP per clip that a colour layer
// uses or no surface uses (clips that only reflection maps use are held
// inline, as LightWave holds them); then a FORM SURF per surface: its name,
// a vertex colour map if it has one, a node graph in which the Surface
// node's Material input is fed by a node of the given kind and a node of
// the other kind stands unconnected, values stored as doubles, and the
// surface shader holding the reflection map.  Throws std::length_error as
// the LWO2 writer does, and std::invalid_argument for colour layers a
// Principled material cannot hold.
std::vector<std::uint8_t> WriteLwo3(const Lwo2Object& object, Lwo3Material material = Lwo3Material::kStandard);

// Writes WriteLwo3(object, material) to a file; throws std::runtime_error
// naming the path when it cannot be written.
void WriteLwo3File(const Lwo2Object& object, const std::string& path,
                   Lwo3Material material = Lwo3Material::kStandard);

}  // namespace host
