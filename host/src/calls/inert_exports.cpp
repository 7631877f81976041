// The host functions the plug-in binds but never calls. The replacement host
// exports them so that binding succeeds, and records any call as a protocol
// error: a plug-in that calls one is asking for something we do not model.
#include "host/src/calls/call_counter.hpp"
#include "mqhost/api.hpp"
#include "mqhost/error_log.hpp"
#include "protocol/host_function_list.hpp"

// The incomplete build of the host exports this one under another name, so
// that binding stops at it (MQInit's failure path).
#ifdef MQHOST_OMIT_ONE_FUNCTION
#define MQDoc_Compact MQDoc_Compact_left_out
#endif

#define MQHOST_SKIP_USED(ret, name, params)
#define MQHOST_DEFINE_INERT(name)                                            \
  MQHOST_EXPORT_C void name() {                                              \
    mqhost::call_counter::Count();                                           \
    mqhost::RecordProtocolError("call of unsupported host function " #name); \
  }

MQ_HOST_FUNCTIONS(MQHOST_SKIP_USED, MQHOST_DEFINE_INERT)
