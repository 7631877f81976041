// The copy-to-selected case, whose scene is many objects rather than one grid.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace bench {

void RegisterCopyToSelected(int64_t iterations);
// One run through each path on a small document; true when they agree.
bool VerifyCopyToSelected();

}  // namespace bench
