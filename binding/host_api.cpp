#include "binding/host_api.hpp"

#include "platform/dynamic_library.hpp"

namespace tervolin {

#define MQ_HOST_NAME_USED(ret, name, params) #name,
#define MQ_HOST_NAME_INERT(name) #name,
const char* const kHostFunctionNames[kHostFunctionCount] = {
    MQ_HOST_FUNCTIONS(MQ_HOST_NAME_USED, MQ_HOST_NAME_INERT)};
#undef MQ_HOST_NAME_USED
#undef MQ_HOST_NAME_INERT

namespace {

// Converts a looked-up symbol address to the field's function pointer type.
template <typename Fn>
void Assign(Fn& field, void* symbol) {
  static_assert(sizeof(Fn) == sizeof(void*), "function pointers are pointer-sized");
  field = reinterpret_cast<Fn>(symbol);
}

void* ResolveFromLibrary(void* context, const char* name) {
  return platform::FindSymbol(static_cast<platform::LibraryHandle>(context), name);
}

}  // namespace

bool BindHostFunctions(HostFunctionTable& table, HostResolver resolve, void* context) {
  HostFunctionTable scratch;
#define MQ_HOST_BIND(name)                  \
  {                                         \
    void* symbol = resolve(context, #name); \
    if (symbol == nullptr) return false;    \
    Assign(scratch.name, symbol);           \
  }
#define MQ_HOST_BIND_USED(ret, name, params) MQ_HOST_BIND(name)
#define MQ_HOST_BIND_INERT(name) MQ_HOST_BIND(name)
  MQ_HOST_FUNCTIONS(MQ_HOST_BIND_USED, MQ_HOST_BIND_INERT)
#undef MQ_HOST_BIND_USED
#undef MQ_HOST_BIND_INERT
#undef MQ_HOST_BIND
  table = scratch;
  return true;
}

bool BindHostFromFile(const char* file) {
  if (file == nullptr) return false;
  platform::LibraryHandle library = platform::OpenLibrary(file);
  if (library == nullptr) return false;
  const bool bound = BindHostFunctions(HostApi(), ResolveFromLibrary, library);
  // The host executable stays loaded in the real host; closing our extra
  // reference only drops the count that LoadLibrary added.
  platform::CloseLibrary(library);
  return bound;
}

HostFunctionTable& HostApi() {
  static HostFunctionTable table;
  return table;
}

}  // namespace tervolin
