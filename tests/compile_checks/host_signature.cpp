// Compiled twice by host_signature_check.cmake: as it is, a definition that
// matches the host function list must compile; with WRONG_SIGNATURE, one whose
// parameter lost its const must not.
#include "host/src/calls/host_function_declarations.hpp"

#ifdef WRONG_SIGNATURE
MQHOST_EXPORT_C void MQObj_SetVertex(ObjectHandle, int, float*) {}
#else
MQHOST_EXPORT_C void MQObj_SetVertex(ObjectHandle, int, const float*) {}
#endif
