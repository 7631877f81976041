// The declarations of the host functions the replacement host implements,
// generated from the host function list. Every file that defines one includes
// this first, so a definition whose signature differs from the list is a
// conflicting declaration of a C function and does not compile.
#pragma once

#include "mqhost/api.hpp"
#include "protocol/host_function_list.hpp"

// NOLINTBEGIN(bugprone-macro-parentheses): the parameters are a parenthesised list
#define MQHOST_DECLARE_USED(ret, name, params) MQHOST_EXPORT_C ret name params;
#define MQHOST_DECLARE_NONE(name)
MQ_HOST_FUNCTIONS(MQHOST_DECLARE_USED, MQHOST_DECLARE_NONE)
#undef MQHOST_DECLARE_USED
#undef MQHOST_DECLARE_NONE
// NOLINTEND(bugprone-macro-parentheses)
