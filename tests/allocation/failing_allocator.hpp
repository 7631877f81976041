// This program's replacement of operator new: while armed, it counts the
// allocations made by the plug-in library's own code and fails one of them
// with std::bad_alloc. Other allocations (the test's, the host's) pass.
#pragma once

#include <cstddef>

namespace failing_allocator {

// Counts from 0 again; allocation `n` (from 1) fails, none when `n` is 0.
void Arm(long n);
void Disarm();
// The plug-in's allocations counted since the last Arm.
long PluginAllocations();

// What this program's operator new does; `caller` is its return address.
void* Allocate(std::size_t size, void* caller);

}  // namespace failing_allocator
