// The fourteen exports from the export list, each answering nothing (0, null)
// and doing nothing: a test plug-in links this and defines, with the list's
// own signatures, only the exports it answers differently. The defaults are
// weak, so a plug-in's own definition is the one its library exports.
#include "protocol/plugin_exports.hpp"

namespace {
template <typename Result>
Result Nothing() {
  return Result();
}
}  // namespace

// The list names the parameters; the defaults read none of them.
#pragma GCC diagnostic ignored "-Wunused-parameter"
// NOLINTNEXTLINE(bugprone-macro-parentheses): the parameters are a parenthesised list
#define STUB_EXPORT(name, ret, params) \
  extern "C" __attribute__((visibility("default"), weak)) ret name params { return Nothing<ret>(); }
TERVOLIN_PLUGIN_EXPORTS(STUB_EXPORT)
#undef STUB_EXPORT
