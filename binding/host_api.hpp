// The process-wide table of host functions, bound by MQInit.
//
// Every call into the host goes through `HostApi()`. Binding resolves the names
// of host_function_list.hpp in order through one callback, so the same code
// binds from the real host, from our replacement host, or from a test's fake.
#pragma once

#include "protocol/host_function_list.hpp"

namespace tervolin {

struct HostFunctionTable {
// The table is generated from the list; its parameters are types and names,
// which cannot be parenthesised.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define MQ_HOST_FIELD_USED(ret, name, params) ret(*name) params = nullptr;
#define MQ_HOST_FIELD_INERT(name) void (*name)() = nullptr;
  MQ_HOST_FUNCTIONS(MQ_HOST_FIELD_USED, MQ_HOST_FIELD_INERT)
#undef MQ_HOST_FIELD_USED
#undef MQ_HOST_FIELD_INERT
  // NOLINTEND(bugprone-macro-parentheses)
};

// The name of every host function, in binding order.
extern const char* const kHostFunctionNames[kHostFunctionCount];

// Looks one name up; returns null when the host does not export it.
using HostResolver = void* (*)(void* context, const char* name);

// Resolves all names in binding order into a scratch table, stopping at the
// first one the resolver does not find. Only a complete binding replaces
// `table`; on failure it is left as it was. Returns true on success.
bool BindHostFunctions(HostFunctionTable& table, HostResolver resolve, void* context);

// Loads `file` with the platform's library loader, binds the process-wide table
// from it and closes the handle again. True only when all names were found.
bool BindHostFromFile(const char* file);

// The process-wide table. Its pointers are null until MQInit has succeeded.
HostFunctionTable& HostApi();

}  // namespace tervolin
