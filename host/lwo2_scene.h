// The parts of the host's scene that come from an LWO2 object (its object
// file record, surfaces, texture layers, images and layer meshes), and the
// scene of a bare object file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/scene_model.h"
#include "lightwave/lwo2_object.h"

namespace host {

struct LoadedObject {
  Lwo2Object object;  // layer meshes move into the scene as items use them
  std::string filename;
  int objectFile = -1;           // index into Scene::objectFiles
  std::vector<int> layerMeshes;  // per layer: index into Scene::meshes, -1 while unused
};

// Adds the object's file record with its surfaces, their colour texture
// layers, and the images of its clips to the scene.  Surface names that
// polygons use without a SURF chunk ("Default" for untagged polygons)
// follow the file's surfaces with default values, as Layout lists them.  An image file that
// objects loaded before use too is shared.  The object's warnings join
// the scene's.
LoadedObject AddObjectFile(Scene& scene, Lwo2Object object, const std::string& filename);

// The scene's mesh for one layer (index into object.layers), added on
// first use; untagged polygons are on the surface "Default" there.
int UseLayerMesh(Scene& scene, LoadedObject& loaded, std::size_t layer);

// The item name Layout shows for a layer: the file's base name, followed
// for an object of several layers by ':' and the layer's name, or
// "Layer N" (N counted from 1) for an unnamed layer.
std::string LayerItemName(const std::string& filename, const Lwo2Object& object, const Lwo2Layer& layer);

// A bare object file as Layout shows it loaded into an empty scene: one
// item per layer that holds points (the first layer when none does), in
// file order, parented as the layers are, each at rest with its position
// and pivot at the layer's pivot, so that its points stay where they were
// modelled.  Throws LoadError.
Scene ObjectScene(Lwo2Object object, const std::string& path);

}  // namespace host
