#include "tools/runner/obj_import.hpp"

#include <fstream>
#include <map>
#include <sstream>

#include "tools/runner/run_error.hpp"

#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>

namespace runner {

namespace {

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

}  // namespace

std::vector<mqhost::ObjectData> ImportObj(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw RunError("scene " + path + ": cannot be read");

  tinyobj::attrib_t attrib;
  std::vector<tinyobj::shape_t> shapes;
  std::vector<tinyobj::material_t> materials;
  std::string warning;
  std::string error;
  // Faces stay polygons; materials are not the runner's business.
  const bool read = tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, &file, nullptr, false);
  if (!read) throw RunError("scene " + path + ": not a readable OBJ file: " + FirstLine(error));

  const size_t vertexCount = attrib.vertices.size() / 3;
  std::vector<mqhost::ObjectData> objects;
  for (const tinyobj::shape_t& shape : shapes) {
    const tinyobj::mesh_t& mesh = shape.mesh;
    if (mesh.num_face_vertices.empty()) continue;  // lines and points only: no polygon object
    mqhost::ObjectData object;
    object.name = shape.name.empty() ? "obj" + std::to_string(objects.size() + 1) : shape.name;
    // A single object keeps the file's numbering; with several, each takes the
    // vertices its faces use, in file order.
    std::map<int, int32_t> local;
    size_t at = 0;
    for (size_t face = 0; face < mesh.num_face_vertices.size(); ++face) {
      std::vector<int32_t> points;
      for (unsigned corner = 0; corner < mesh.num_face_vertices[face]; ++corner, ++at) {
        const int index = mesh.indices[at].vertex_index;
        if (index < 0 || static_cast<size_t>(index) >= vertexCount) {
          throw RunError("scene " + path + ": face " + std::to_string(face + 1) + " of \"" + object.name +
                         "\" names vertex " + std::to_string(index + 1) + ", but the file has " +
                         std::to_string(vertexCount) + " vertices");
        }
        local.emplace(index, 0);
        points.push_back(index);
      }
      object.faces.push_back(std::move(points));
    }
    if (shapes.size() == 1) {
      for (size_t v = 0; v < vertexCount; ++v) local[static_cast<int>(v)] = 0;
    }
    for (auto& [global, index] : local) {
      index = static_cast<int32_t>(object.vertices.size());
      object.vertices.push_back(
          {attrib.vertices[3 * global], attrib.vertices[3 * global + 1], attrib.vertices[3 * global + 2]});
    }
    for (std::vector<int32_t>& face : object.faces) {
      for (int32_t& point : face) point = local[point];
    }
    objects.push_back(std::move(object));
  }
  if (objects.empty()) throw RunError("scene " + path + ": the OBJ file has no faces");
  return objects;
}

}  // namespace runner
