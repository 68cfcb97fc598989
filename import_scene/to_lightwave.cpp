// ToLightWave: frames become items (objects where atomics hang, nulls
// elsewhere), placed by the inverse of the export's placement.
#include <cctype>
#include <exception>
#include <map>

#include "import_scene/collision_object.h"
#include "import_scene/file_names.h"
#include "import_scene/frame_turn.h"
#include "import_scene/image_names.h"
#include "import_scene/item_order.h"
#include "import_scene/layer_mesh.h"
#include "import_scene/lightwave_files.h"
#include "import_scene/surfaces.h"
#include "placement/lightwave_placement.h"
#include "platform/worker_threads.h"

namespace import_scene {
namespace {

// The frame's turn and scaling, from its rows (the images of its axes in
// the game's row-vector convention) to Layout's heading, pitch, bank and
// scaling; its position in Layout's axes.  Each item's pivot stays at its
// origin, which is where its frame stands, and its points are the frame's
// vertices: the export then gives each frame back as it was.
void Place(const import::Frame& frame, host::LwsWriterItem& item) {
  const placement::ItemMotion motion = FrameMotion(frame);
  item.rotation = motion.rotation;
  item.scale = motion.scaling;
  item.position = motion.position;
}

// Prelit models are the map command's: their collision belongs in the
// scene, where that command takes it.  The first command would export
// collision items as geometry; it embeds the COL file instead.
bool IsMapModel(const import::Model& model) {
  for (const import::Geometry& g : model.geometries) {
    if (!g.dayColors.empty()) return true;
  }
  return false;
}

class Converter {
 public:
  Converter(const import::Model& model, const std::string& baseName)
      : model_(model), baseName_(baseName), images_(model.textures) {}

  SceneFiles Run() {
    files_.sceneFileName = SafeFileName(baseName_) + ".lws";
    objectNames_.Claim(baseName_ + "_collision", ".lwo");
    std::map<std::size_t, std::vector<std::size_t>> atomicsOfFrame;
    for (std::size_t a = 0; a < model_.atomics.size(); ++a) {
      atomicsOfFrame[static_cast<std::size_t>(model_.atomics[a].frame)].push_back(a);
    }
    std::vector<std::size_t> order = ItemOrder(model_);
    std::vector<int> itemOfFrame(model_.frames.size(), -1);
    for (std::size_t position = 0; position < order.size(); ++position) itemOfFrame[order[position]] = static_cast<int>(position);
    for (std::size_t f : order) AddFrameItem(f, atomicsOfFrame[f], itemOfFrame);
    AddExtraAtomicItems();
    WarnOfChangedNames();
    WarnOfMasks();
    AddCollision();
    MakeLayerMeshes();
    for (const auto& [texture, named] : images_.named()) {
      if (named.second == nullptr) {
        files_.warnings.push_back("texture \"" + texture + "\" is not in the texture dictionary: its surface names " +
                                  std::string(kImageFolder) + "/" + named.first +
                                  " all the same, so the export writes the name; put the image there");
        continue;
      }
      files_.images.push_back({named.first, named.second});
    }
    return std::move(files_);
  }

 private:
  void AddFrameItem(std::size_t f, const std::vector<std::size_t>& atomics, const std::vector<int>& itemOfFrame) {
    const import::Frame& frame = model_.frames[f];
    host::LwsWriterItem item;
    Place(frame, item);
    if (frame.parent >= 0) item.parent = itemOfFrame[static_cast<std::size_t>(frame.parent)];
    if (atomics.empty()) {
      item.kind = host::LwsItemKind::kNull;
      item.name = frame.name;
    } else {
      AddAtomicObject(atomics[0], frame.name, item);
      for (std::size_t extra = 1; extra < atomics.size(); ++extra) {
        extraAtomics_.push_back({atomics[extra], static_cast<int>(files_.items.size())});
      }
    }
    files_.items.push_back(std::move(item));
  }

  // A frame holds one item; its further atomics become children of it that
  // stand where it stands, and export as frames of their own.
  void AddExtraAtomicItems() {
    if (!extraAtomics_.empty()) {
      files_.warnings.push_back(std::to_string(extraAtomics_.size()) +
                                " atomics share a frame with another atomic: each comes in as an item of its own "
                                "under that frame's item, and the export gives it a frame of its own");
    }
    for (const auto& [atomic, parentItem] : extraAtomics_) {
      const import::Frame& frame = model_.frames[static_cast<std::size_t>(model_.atomics[atomic].frame)];
      host::LwsWriterItem item;
      item.parent = parentItem;
      AddAtomicObject(atomic, frame.name, item);
      files_.items.push_back(std::move(item));
    }
  }

  // Atomics whose frames share a name (or a file name, case aside) are the
  // layers of one object, each layer named after its frame: Layout names
  // such an item "object:layer" and the export names its frame after the
  // layer.  An atomic alone in its object makes the item "object", named
  // after the frame.
  void AddAtomicObject(std::size_t atomic, const std::string& frameName, host::LwsWriterItem& item) {
    const import::Geometry& geometry = model_.geometries[static_cast<std::size_t>(model_.atomics[atomic].geometry)];
    std::string key = SafeFileName(frameName);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto [found, added] = objectOfName_.emplace(key, files_.objects.size());
    if (added) files_.objects.push_back({objectNames_.Claim(frameName, ".lwo"), {}});
    ObjectFile& file = files_.objects[found->second];
    host::Lwo2Layer layer;
    layer.number = static_cast<int>(file.object.layers.size());
    layer.name = frameName;
    std::vector<std::string> surfaces =
        AddSurfaces(geometry.materials, !geometry.dayColors.empty(), images_, file.object, files_.warnings);
    meshes_.push_back({found->second, file.object.layers.size(), &geometry, std::move(surfaces)});
    file.object.layers.push_back(std::move(layer));
    item.objectPath = file.fileName;
    item.layer = static_cast<int>(file.object.layers.size());
  }

  // Each atomic's mesh is made apart from the others, on every core, once
  // the objects and their layers stand.  What a task throws (out of
  // memory) is thrown here, as if made on this thread.
  void MakeLayerMeshes() {
    std::vector<std::exception_ptr> failures(meshes_.size());
    {
      platform::WorkerThreads workers;
      for (std::size_t i = 0; i < meshes_.size(); ++i) {
        const PendingMesh& pending = meshes_[i];
        host::Lwo2Layer& layer = files_.objects[pending.object].object.layers[pending.layer];
        workers.Add([&layer, &pending, &failure = failures[i]] {
          try {
            layer.mesh = LayerMesh(*pending.geometry, pending.surfaces);
          } catch (...) {
            failure = std::current_exception();
          }
        });
      }
      workers.Finish();
    }
    for (const std::exception_ptr& failure : failures) {
      if (failure) std::rethrow_exception(failure);
    }
  }

  // LightWave's surfaces have no place for a texture's mask name.
  void WarnOfMasks() {
    for (const import::Geometry& geometry : model_.geometries) {
      for (const import::Material& material : geometry.materials) {
        if (material.mask.empty()) continue;
        files_.warnings.push_back("textures name masks (\"" + material.mask +
                                  "\" the first), which the import does not carry: the export writes none");
        return;
      }
    }
  }

  void WarnOfChangedNames() {
    for (const ObjectFile& file : files_.objects) {
      if (file.object.layers.size() != 1 || file.fileName == file.object.layers[0].name + ".lwo") continue;
      files_.warnings.push_back("frame \"" + file.object.layers[0].name + "\" comes in as the object " +
                                file.fileName + ": its name cannot be a file name as it stands, and the export "
                                "names the frame after the object");
    }
  }

  void AddCollision() {
    if (!model_.collision) return;
    const import::Collision& collision = *model_.collision;
    files_.colFileName = SafeFileName(baseName_) + ".col";
    files_.colBytes = &collision.bytes;
    ObjectFile file;
    file.fileName = SafeFileName(baseName_ + "_collision") + ".lwo";
    file.object = CollisionObject(collision);
    if (IsMapModel(model_)) {
      for (const host::Lwo2Layer& layer : file.object.layers) {
        if (layer.mesh.polygons.empty()) continue;
        host::LwsWriterItem item;
        item.objectPath = file.fileName;
        item.layer = layer.number + 1;
        files_.items.push_back(std::move(item));
      }
    }
    if (!collision.spheres.empty() || !collision.boxes.empty()) {
      files_.warnings.push_back("the collision's " + std::to_string(collision.spheres.size()) + " spheres and " +
                                std::to_string(collision.boxes.size()) + " boxes have no layer: they stay in " +
                                files_.colFileName + ", which the first command embeds unchanged");
    }
    files_.objects.push_back(std::move(file));
  }

  const import::Model& model_;
  std::string baseName_;
  ImageNames images_;
  FileNames objectNames_;
  SceneFiles files_;
  struct PendingMesh {
    std::size_t object = 0;
    std::size_t layer = 0;
    const import::Geometry* geometry = nullptr;
    std::vector<std::string> surfaces;  // of each material slot
  };
  std::vector<PendingMesh> meshes_;
  std::vector<std::pair<std::size_t, int>> extraAtomics_;
  std::map<std::string, std::size_t> objectOfName_;  // lower-case safe name -> its object  // atomic, its frame's item
};

}  // namespace

SceneFiles ToLightWave(const import::Model& model, const std::string& baseName) {
  return Converter(model, baseName).Run();
}

}  // namespace import_scene
