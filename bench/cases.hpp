// The benchmark cases: one operation of the plug-in with its options, the
// selection it runs on, and its floors.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bench/floors.hpp"
#include "bench/grid_scene.hpp"
#include "geometry/cmq_object.hpp"
#include "operations/operations.hpp"

namespace bench {

struct Case {
  std::string name;
  Selection selection = Selection::Half;
  bool perFace = false;  // the walk that matters is over faces
  int32_t operation = 0;
  bool transform = false;
  // The plug-in's operation on the current object.
  std::function<int32_t(const tervolin::Options&, DocumentHandle, cmq::CMQObject&)> plugin;
  std::function<int32_t(DocumentHandle, Calls)> protocol;
  std::function<int32_t(ArrayScene)> array;
};

const std::vector<Case>& Cases();

// The case's options: the current object as the reference, "set to Y", no
// global mirror.
void Configure(tervolin::Options& options, const Case& c);

}  // namespace bench
