// A plug-in library that answers every host version with 0: the host must not
// go on to MQInit. It exports the fourteen names (stub_exports.cpp) so that
// only the version check fails.
#include "tests/runner/stub_exports.hpp"

TEST_PLUGIN_EXPORT uint32_t MQCheckVersion(uint32_t /*hostVersion*/) { return 0; }
TEST_PLUGIN_EXPORT int32_t MQInit(const char* /*hostFile*/) { return 1; }
TEST_PLUGIN_EXPORT const char* MQGetPlugInName() { return "refuses every host"; }
TEST_PLUGIN_EXPORT int32_t MQGetPlugInType() { return 4; }
