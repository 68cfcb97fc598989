// Scenes of map objects with lights and particle nulls, written as
// LightWave files into a folder, exported there by lwhost's map command
// and read back.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "dff_inspect/inspect.h"
#include "lightwave/lws_writer.h"
#include "tests/placement/layout_rule.h"
#include "tests/support/files_and_programs.h"

namespace effecttest {

// A scene item and where Layout puts it.
struct SceneItem {
  host::LwsWriterItem item;
  placementtest::Pose pose;
};

// An object item of `objectFile` (a box written beside the scene).
SceneItem Object(const std::string& objectFile, placementtest::Pose pose);
SceneItem Null(const std::string& name, placementtest::Pose pose);
// A point light of colour `rgb` and intensity 1.
SceneItem PointLight(const std::string& name, placementtest::Pose pose, host::Vec3 rgb);

class SceneFolder {
 public:
  SceneFolder();
  ~SceneFolder();
  SceneFolder(const SceneFolder&) = delete;
  SceneFolder& operator=(const SceneFolder&) = delete;

  // Writes a box object file of that name.
  void WriteBox(const std::string& objectFile) const;
  // Writes a flat grid of 257 x 257 points, more than one geometry holds.
  void WriteBigGrid(const std::string& objectFile) const;
  void WriteScene(const std::vector<SceneItem>& items) const;
  // lwhost --map scene.lws -o map.dff.
  testsupport::ProgramResult ExportMap() const;
  dffinfo::Inspection ReadMap() const;
  bool MapWritten() const;

 private:
  std::filesystem::path folder_;
};

std::vector<placementtest::Pose> Poses(const std::vector<SceneItem>& items);

}  // namespace effecttest
