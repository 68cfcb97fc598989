// The steps of MeshObject::BuildGeometry, in the order it runs them.  Each
// step reads what the earlier ones left in the record.
#pragma once

#include <cstdint>
#include <vector>

#include "lwsdk/types.h"
#include "scene/mesh_object.h"

namespace scene {

// `points`: one per scanned host point, with its position in output axes.
void ReadPoints(MeshObject& object, LWMeshInfoID mesh);

// `polygons`: the triangles of every face, patch and subdivision polygon
// of three or more vertices, in host order, with reversed corners.
void ReadTriangles(MeshObject& object, LWMeshInfoID mesh);

// Each point's normal: the normalised sum of the unit face normals of the
// triangles that use it.  Not run for a geometry with colours.
void ComputeNormals(MeshObject& object);

// `colorPlan` and `colorSetCount`: which colour maps give the corners'
// day and night colours.  Before ReadUvSamples, which makes room for them.
void FindColorMaps(MeshObject& object, LWMeshInfoID mesh);

// `uvSetCount`, each point's samples per UV map and each corner's sample
// indices; every corner has one index in every map.
void ReadUvSamples(MeshObject& object, LWMeshInfoID mesh);

// Each corner's day and night colour samples, after ReadUvSamples.
void ReadColorSamples(MeshObject& object, LWMeshInfoID mesh);

// Each corner's vertex, shared by the corners of a point whose samples
// agree in every map.
void MakeVertices(MeshObject& object);

// Numbers the vertices by first use and fills the output arrays, moved
// into the frame's space.
void WriteVertexArrays(MeshObject& object);

// `dayColors` and `nightColors` of the vertices in `numbering` (positions
// in `vertices`, in output order); nothing without colour lists.
void WriteColorArrays(MeshObject& object, const std::vector<std::int32_t>& numbering);

// `surfaces` from the object file, each triangle's surface (with default
// entries for unknown tags), `materials` and the corner materials.
void ReadSurfaces(MeshObject& object);
void AssignPolygonSurfaces(MeshObject& object, LWMeshInfoID mesh);
void BuildMaterialList(MeshObject& object);

}  // namespace scene
