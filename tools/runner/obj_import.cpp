#include "tools/runner/obj_import.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "fileio/safe_file.hpp"
#include "loader/visible_text.hpp"
#include "tools/runner/run_error.hpp"

#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>

namespace runner {

namespace {

// Larger OBJ files are refused before they are read.
constexpr size_t kObjFileLimit = 256u << 20;

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> tokens;
  std::istringstream stream(line);
  for (std::string token; stream >> token;) tokens.push_back(token);
  return tokens;
}

// The lines exactly as the loader splits them: a line ends at "\n", "\r" or
// "\r\n", so a file with old Mac endings is checked line by line too.
std::vector<std::string> LoaderLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

// A coordinate as the loader reads it, but refused when it is not a number
// or does not round to a finite float.
bool FiniteFloat(const std::string& token) {
  const char* begin = token.data();
  const char* end = begin + token.size();
  if (begin != end && *begin == '+') ++begin;
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  constexpr double kFirstOutOfRange = 0x1.ffffffp127;  // rounds to infinity as a float
  return error == std::errc() && stop == end && std::fabs(value) < kFirstOutOfRange;
}

// The checks the loader does not make, with the line they concern: every
// coordinate a finite float, every face corner a vertex of the file. (The
// loader reads "nan" as 0, 1e39 as infinity, and an index past 32 bits as
// another vertex.)
void CheckLines(const std::string& path, const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  int64_t vertexCount = 0;
  for (const std::string& line : LoaderLines(text)) {
    lines.push_back(Tokens(line));
    if (!lines.back().empty() && lines.back()[0] == "v") ++vertexCount;
  }
  int64_t vertexesBefore = 0;
  for (size_t number = 1; number <= lines.size(); ++number) {
    const std::vector<std::string>& tokens = lines[number - 1];
    const std::string where = "scene " + path + ":" + std::to_string(number) + ": ";
    if (tokens.empty()) continue;
    if (tokens[0] == "v") {
      ++vertexesBefore;
      if (tokens.size() < 4) throw RunError(where + "a vertex needs three coordinates");
      for (size_t i = 1; i < tokens.size(); ++i) {
        if (!FiniteFloat(tokens[i])) {
          throw RunError(where + "vertex coordinate \"" + tokens[i] + "\" is not a number a float can hold");
        }
      }
    } else if (tokens[0] == "f") {
      for (size_t i = 1; i < tokens.size(); ++i) {
        const std::string index = tokens[i].substr(0, tokens[i].find('/'));
        int64_t value = 0;
        const auto [stop, error] = std::from_chars(index.data(), index.data() + index.size(), value);
        if (error == std::errc::invalid_argument || stop != index.data() + index.size()) {
          throw RunError(where + "face corner \"" + tokens[i] + "\" is not a vertex index");
        }
        if (value == 0 && error == std::errc()) {
          throw RunError(where + "face names vertex 0, but OBJ counts vertices from 1");
        }
        const bool fits =
            error == std::errc() && (value > 0 ? value <= vertexCount : -value <= vertexesBefore);
        if (!fits) {
          const bool relative = index[0] == '-';
          std::string message = where;
          message += "face names vertex " + index + ", but the file has ";
          message += std::to_string(relative ? vertexesBefore : vertexCount) + " vertices";
          if (relative) message += " before this line";
          throw RunError(message);
        }
      }
    }
  }
}

}  // namespace

std::vector<mqhost::ObjectData> ImportObj(const std::string& path) {
  std::string text;
  std::string reason;
  switch (fileio::ReadWholeFile(path, kObjFileLimit, &text, &reason)) {
    case fileio::ReadResult::kMissing:
      throw RunError("scene " + path + ": cannot open the file: there is no such file");
    case fileio::ReadResult::kFailed: throw RunError("scene " + path + ": " + reason);
    case fileio::ReadResult::kRead: break;
  }
  return ImportObjText(path, text);
}

std::vector<mqhost::ObjectData> ImportObjText(const std::string& path, const std::string& text) {
  if (text.size() > kObjFileLimit) {
    throw RunError("scene " + path + ": larger than " + std::to_string(kObjFileLimit >> 20) + " MiB");
  }
  CheckLines(path, text);

  tinyobj::attrib_t attrib;
  std::vector<tinyobj::shape_t> shapes;
  std::vector<tinyobj::material_t> materials;
  std::string warning;
  std::string error;
  std::istringstream stream(text);
  // Faces stay polygons; materials are not the runner's business.
  const bool read = tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &error, &stream, nullptr, false);
  if (!read) throw RunError("scene " + path + ": not a readable OBJ file: " + FirstLine(error));
  std::istringstream warnings(warning);
  for (std::string line; std::getline(warnings, line);) {
    if (!line.empty() && line[0] == '.')
      line.erase(0, 1);  // the loader ends some warnings ".\n" the wrong way round
    if (!line.empty())
      std::fprintf(stderr, "tervolin-run: scene %s: warning: %s\n", loader::Visible(path).c_str(),
                   loader::Visible(line).c_str());
  }
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
      // OBJ winds a face counter-clockwise seen from outside; the document's
      // face normal, (Q - P) x (P - R), points outward for the other winding.
      // Keeping the first corner and reversing the rest keeps outward out.
      if (points.size() > 2) std::reverse(points.begin() + 1, points.end());
      object.faces.push_back(std::move(points));
    }
    if (shapes.size() == 1) {
      for (size_t v = 0; v < vertexCount; ++v) local[static_cast<int>(v)] = 0;
    }
    for (auto& [global, index] : local) {
      index = static_cast<int32_t>(object.vertices.size());
      const size_t first = 3 * static_cast<size_t>(global);
      object.vertices.push_back(
          {attrib.vertices[first], attrib.vertices[first + 1], attrib.vertices[first + 2]});
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
