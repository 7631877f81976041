// The fourteen exports declared from the export list, for a test plug-in that
// links stub_exports.cpp and defines its own few: a definition whose
// signature differs from the list does not compile.
#pragma once

#include "protocol/plugin_exports.hpp"

#define TEST_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

// NOLINTNEXTLINE(bugprone-macro-parentheses): the parameters are a parenthesised list
#define TEST_PLUGIN_DECLARE(name, ret, params) TEST_PLUGIN_EXPORT ret name params;
TERVOLIN_PLUGIN_EXPORTS(TEST_PLUGIN_DECLARE)
#undef TEST_PLUGIN_DECLARE
