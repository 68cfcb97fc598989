// What a map section is made of, read from Layout's scene: its models and
// their instances.
//
// An instance is an object item that no item loading the same object file
// stands above, with the items below it that load that file too (the other
// layers of a several-layer object, parented to it).  Instances of one
// object file with the same layers and the same scaling share one model;
// the model is built from the first of them, in the object's own space
// with its pivot at the origin and the scaling applied.  A model is named
// after its object file; a second layer set or scaling of the same file is
// named with "_2", the next with "_3", and so on.
//
// A model named "LOD<model>" or "<model>_lod" (without regard to case; its
// object file's name, or the layer name of its first instance's root) is
// the low-detail stand-in of <model> when the section has that model: each
// of its instances serves the instance of <model> nearest to it, which
// the IPL links to it by its line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lwsdk/types.h"
#include "placement/lightwave_placement.h"
#include "scene/export_messages.h"
#include "scene/host_services.h"

namespace mapexport {

struct SectionModelPlan {
  std::string name;                // model, TXD and COL entry name
  std::string objectFile;          // as the host names it
  std::vector<LWItemID> items;     // the first instance's items, its root first
  placement::Vec3 scaling{1, 1, 1};
  // The first instance's pivot, which the model's origin is: every
  // instance stands where this point of its object stands.
  placement::Vec3 pivot{0, 0, 0};
  // The model this one stands in for far away, when it is a LOD model.
  std::optional<std::size_t> lodOf;
  // The name of the LOD model to build for this one when it is large
  // enough (section_lods.h); set only when LOD models are built.
  std::optional<std::string> generatedLod;
};

struct SectionInstancePlan {
  std::size_t model = 0;
  std::string itemName;
  std::vector<LWItemID> items;  // its root first
  // From the model's space into the world, in the game's axes: a turn and
  // a move, nothing else.
  placement::Affine world;
  // The line of the LOD instance that stands in for this one, or -1.
  int lod = -1;
};

struct SectionScan {
  std::vector<SectionModelPlan> models;
  std::vector<SectionInstancePlan> instances;  // in item order
  std::vector<scene::MessageLines> warnings;
  std::optional<scene::MessageLines> error;
};

SectionScan ScanSection(const scene::HostServices& services);

}  // namespace mapexport
