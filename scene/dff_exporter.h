// The in-memory model of one export: every frame and mesh object of the
// scene, and the two orders of the frames the writer needs.  The export
// command drives it through its phases once, in this order: construct, set
// sceneName, BuildFrames, BuildAllGeometry, WriteClump, ReleaseAll,
// destroy.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "col/item_roles.h"
#include "dff/output_stream.h"
#include "lwsdk/file_request.h"
#include "lwsdk/images.h"
#include "lwsdk/item_info.h"
#include "lwsdk/object_info.h"
#include "lwsdk/scene_info.h"
#include "lwsdk/surfaces.h"
#include "lwsdk/textures.h"
#include "platform/host_path.h"
#include "scene/build_choices.h"
#include "scene/frame_node.h"
#include "scene/mesh_object.h"

namespace scene {

class FramePlacement;

class DffExporter {
 public:
  // The host's tables are borrowed and must outlive the exporter.
  DffExporter(const LWSceneInfo* sceneInfo, const LWObjectInfo* objectInfo,
              const LWObjectFuncs* sceneObjects, const LWSurfaceFuncs* surfaceFuncs,
              const LWItemInfo* itemInfo, const LWImageList* imageList,
              const LWTextureFuncs* textureFuncs, LWFileActivateFunc fileRequest);
  ~DffExporter();
  DffExporter(const DffExporter&) = delete;
  DffExporter& operator=(const DffExporter&) = delete;

  // Walks the scene's object items at time 0: one frame per object, one
  // mesh object per object with polygons, linked and ordered, with every
  // matrix final.  Called once.
  void BuildFrames();
  // Builds each mesh object's geometry, first to last, keeping only what
  // the writer reads; with the choice to split, a mesh object over the
  // vertex limit then becomes its parts.  After BuildFrames.
  void BuildAllGeometry();
  // Writes the one Clump of the file (scene/write_clump.cpp), asking the
  // user for the COL file to embed after the last Atomic.  Returns the
  // clump's length.  The clump always ends with its Extension, empty unless
  // a COL file was embedded.  A COL file that cannot be opened leaves that
  // Extension empty and sets colError; a COL file that fails while being
  // read fails the stream.
  std::int32_t WriteClump(dff::OutputStream& stream);
  // Frees every frame, then every mesh object, and empties the lists.
  void ReleaseAll();

  // What this command builds differently from the first command's
  // defaults; set before BuildFrames.
  BuildChoices choices;
  // The object items BuildFrames left out of the clump as collision or
  // shadow items, in item order.
  struct LeftOutItem {
    LWItemID item = nullptr;
    col::ItemRole role = col::ItemRole::kCollision;
  };
  std::vector<LeftOutItem> leftOutItems;

  // The scene's name as the host reports it; the export command sets it.
  const char* sceneName = nullptr;
  // One per object item, in host item order.
  std::vector<std::unique_ptr<FrameNode>> frames;
  // One per object item with polygons, in item order; the position is the
  // geometry and atomic index.
  std::vector<std::unique_ptr<MeshObject>> meshObjects;

  const LWSceneInfo* sceneInfo;
  const LWObjectInfo* objectInfo;
  const LWObjectFuncs* sceneObjects;
  const LWSurfaceFuncs* surfaceFuncs;
  const LWItemInfo* itemInfo;
  const LWImageList* imageList;
  const LWTextureFuncs* textureFuncs;
  LWFileActivateFunc fileRequest;
  // What the requester takes under the name the host served it by: its
  // version argument and the encoding of the paths it returns.  The export
  // command sets them.
  int fileRequestVersion = LWFILEREQ_VERSION;
  platform::TextEncoding fileRequestText = platform::TextEncoding::kNative;

  // The encoding of the item names the host serves; the export command sets
  // it.  Frame names too long for the game are cut without splitting a
  // character of it.
  platform::TextEncoding itemNameText = platform::TextEncoding::kNative;
  // The frame names BuildFrames had to cut to fit the game, for the
  // command to tell the user: how many, and the first as the rule made it
  // and as it is written.
  struct FrameNameCuts {
    int count = 0;
    std::string firstAsMade;
    std::string firstAsWritten;
  };
  FrameNameCuts frameNameCuts;

  // The frames with no item above them that has a frame, in item order.
  std::vector<FrameNode*> rootFrames;
  // Every frame in FrameList order: each frame's index is its position.
  std::vector<FrameNode*> orderedFrames;

  // Set by WriteClump when the chosen COL file could not be opened: a
  // sentence naming the file and the system's reason.  The clump was then
  // written with an empty Extension, and the command reports this instead of
  // success.
  std::optional<std::string> colError;

 private:
  // Builds the frame and, when the item has polygons, the mesh object of
  // one object item.
  void AddObjectItem(LWItemID item, std::int32_t frameNumber);
  void LinkFrames(FramePlacement& placement);
  // Lists `roots` and all their descendants: each group of siblings
  // together, the descendants of later siblings before those of earlier
  // ones, every frame after its parent.
  void AppendFrameGroup(const std::vector<FrameNode*>& roots);
  // Makes roots of frames that parent loops left out of orderedFrames.
  void BreakParentLoops();
  // Replaces every mesh object over the vertex limit by its parts and
  // numbers the geometries again.
  void SplitOversizedMeshes();
};

}  // namespace scene
