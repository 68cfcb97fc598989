// The chunks that LWO2 and LWO3 object files share byte for byte: layers,
// points, vertex maps, polygons and their tags, and the tag names.  Both
// object readers hand every top-level chunk to this reader first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "lightwave/iff_reader.h"
#include "lightwave/lwo2_object.h"

namespace host {

class LwoGeometryReader {
 public:
  explicit LwoGeometryReader(std::string fileName) : fileName_(std::move(fileName)) {}

  // Reads the chunk when it is one of the shared ones and returns true;
  // returns false, reading nothing, for any other.  Throws IffError.
  bool Read(const IffChunk& chunk);

  // The layers, each polygon named by its surface; call once every chunk
  // is read, so that a TAGS chunk written after the PTAG chunks that use
  // it is still found.  Throws LoadError.
  std::vector<Lwo2Layer> TakeLayers();

 private:
  // Where, in the layer being read, the latest PNTS and POLS chunks start:
  // indices in VMAP, VMAD, POLS and PTAG count from there.
  struct LayerState {
    std::size_t pointBase = 0;
    std::size_t pointCount = 0;
    std::size_t polygonBase = 0;
    std::size_t polygonCount = 0;
    std::vector<std::uint32_t> surfaceTags;  // per polygon, kNoTag for none
  };

  void ReadLayer(IffReader body);
  void ReadPoints(IffReader body);
  void ReadUvMap(IffReader body, bool perPolygon);
  void ReadPolygons(IffReader body);
  void ReadSurfaceTags(IffReader body);
  void ResolveSurfaceTags();
  Lwo2Layer& CurrentLayer();
  std::size_t PointIndex(IffReader& body) const;
  std::size_t PolygonIndex(IffReader& body) const;

  std::string fileName_;
  std::vector<Lwo2Layer> layers_;
  std::vector<LayerState> states_;  // parallel to layers_
  std::vector<std::string> tags_;
};

}  // namespace host
