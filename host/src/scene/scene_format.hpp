// What the scene file's reader and writer share: the format version, the
// size limit on what is read, and the field paths that messages name
// ("objects[2].faces[5][1]").
#pragma once

#include <cstddef>
#include <string>

namespace mqhost::scene {

constexpr int kFormatVersion = 1;

// Larger scene files are refused before they are read (a few million
// vertices fit).
constexpr size_t kSceneFileLimit = 256u << 20;

inline std::string Item(const std::string& path, size_t index) {
  return path + "[" + std::to_string(index) + "]";
}

}  // namespace mqhost::scene
