// OBJ and PLY files into the model: the whole file parsed and checked first, then copied.
#include "io/mesh_import.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "io/file_format.h"
#include "io/imported_mesh.h"

EditResult commitMesh(Model& m, const ImportedMesh& mesh) {
  const size_t v = mesh.vertices.size(), t = mesh.triangles.size();
  if (v > static_cast<size_t>(m.maxv)) return {Request::None, kMsgTooManyVerteces};
  if (t > static_cast<size_t>(m.maxt)) return {Request::None, kMsgTooManyTriangles};
  std::copy(mesh.vertices.begin(), mesh.vertices.end(), m.vertexPos.begin());
  std::copy(mesh.triangles.begin(), mesh.triangles.end(), m.triVerts.begin());
  clearTriangleFlags(m);
  if (!mesh.groups.empty()) std::copy(mesh.groups.begin(), mesh.groups.end(), m.triFlags.begin());
  if (mesh.colors.empty())
    std::fill_n(m.triColor.begin(), t, uint16_t{0});
  else
    std::copy(mesh.colors.begin(), mesh.colors.end(), m.triColor.begin());
  if (!mesh.groupNames.empty()) {
    for (int g = 0; g < kPartGroups; ++g)
      setPartName(m, g, static_cast<size_t>(g) < mesh.groupNames.size() ? mesh.groupNames[g] : "");
  }
  m.vertexCount = static_cast<int32_t>(v);
  m.triangleCount = static_cast<int32_t>(t);
  m.lineCount = 0;
  return {Request::Normals, kMsgNone};
}

uint8_t parseMeshFile(std::span<const uint8_t> file, FileFormat format, ImportedMesh& mesh) {
  try {
    const std::string_view bytes(reinterpret_cast<const char*>(file.data()), file.size());
    return format == FileFormat::Obj ? parseObj(bytes, mesh) : parsePly(bytes, mesh);
  } catch (const std::bad_alloc&) {
    mesh = ImportedMesh{};
    return kMsgTooManyTriangles;  // more than this machine's memory holds
  } catch (const std::length_error&) {
    mesh = ImportedMesh{};
    return kMsgTooManyTriangles;
  }
}

EditResult importMeshFile(Model& m, std::span<const uint8_t> file, FileFormat format,
                          bool& colors) {
  ImportedMesh mesh;
  const uint8_t refused = parseMeshFile(file, format, mesh);
  if (refused != kMsgNone) return {Request::None, refused};
  const EditResult r = commitMesh(m, mesh);
  colors = !mesh.colors.empty();
  return r;
}
