#include "allocation/failing_allocator.hpp"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace failing_allocator {

namespace {

long failAt = 0;
long pluginAllocations = 0;
bool armed = false;

// True when `caller` is code of the plug-in library.
bool FromPlugin(void* caller) {
  static thread_local bool inside = false;
  if (inside) return false;
  inside = true;
  Dl_info info{};
  const bool plugin = dladdr(caller, &info) != 0 && info.dli_fname != nullptr &&
                      std::strstr(info.dli_fname, TERVOLIN_PLUGIN_FILE_NAME) != nullptr;
  inside = false;
  return plugin;
}

}  // namespace

// Reached from operator new below; `caller` is where operator new was called.
void* Allocate(std::size_t size, void* caller) {
  if (armed && FromPlugin(caller) && ++pluginAllocations == failAt) throw std::bad_alloc();
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void Arm(long n) {
  pluginAllocations = 0;
  failAt = n;
  armed = true;
}

void Disarm() { armed = false; }

long PluginAllocations() { return pluginAllocations; }

}  // namespace failing_allocator

void* operator new(std::size_t size) {
  return failing_allocator::Allocate(size, __builtin_return_address(0));
}
void* operator new[](std::size_t size) {
  return failing_allocator::Allocate(size, __builtin_return_address(0));
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
