// Host faults: the failures the host's contract allows it to answer, given on
// a seeded schedule so that a plug-in's handling of each can be tried at any
// call where it may come. With a schedule running, each call that may fail
// answers its failure with the schedule's chance, drawn from its own seeded
// generator, so the same seed and the same calls give the same faults:
//   widget creation        the create request leaves "id" at 0;
//   settings tree          request 505 writes a null settings element;
//   settings element       FindChildElement and AddChildElement answer null,
//                          GetElementText answers no text;
//   send message           MQ_SendMessage answers 0 and writes nothing;
//   null object            MQDoc_GetObject answers null for an index in range;
//   no object index        MQDoc_GetObjectIndex answers -1;
//   current object index   MQDoc_GetCurrentObjectIndex answers -1 (no current
//                          object) or an index past the last slot, which
//                          MQDoc_GetObject then answers with null, without an
//                          error, as it does for -1;
//   null scene             MQDoc_GetScene answers null;
//   clipboard held         the clipboard cannot be opened (another program
//                          holds it);
//   clipboard data         a global block cannot be allocated or locked, or
//                          the clipboard refuses the data set on it.
// The clipboard faults reach a plug-in through the clipboard the host offers
// (mqhost/clipboard.hpp); on Windows the plug-in uses the system's clipboard,
// and they are never answered.
// Faults are answers, not protocol errors: a caller that goes on to use a
// null handle, or passes -1 on where an index is needed, still gets the
// protocol error of that call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mqhost/api.hpp"
#include "protocol/host_types.hpp"

namespace mqhost {

enum class HostFault {
  WidgetCreation,
  SettingsTree,
  SettingsElement,
  SendMessage,
  NullObject,
  NoObjectIndex,
  CurrentObjectIndex,
  NullScene,
  ClipboardOpen,
  ClipboardData,
};
inline constexpr int kHostFaultKinds = 10;
MQHOST_API const char* HostFaultName(HostFault fault);

// Starts a schedule: every call that may fail with one of the failures in
// `kinds` (bit 1 << HostFault) answers it with a chance of `percent` in 100
// (0 to 100). Replaces a running schedule and forgets the faults answered so
// far.
inline constexpr uint32_t kAllHostFaults = (1u << kHostFaultKinds) - 1;
MQHOST_API void ScheduleHostFaults(uint64_t seed, int percent, uint32_t kinds = kAllHostFaults);
// Stops the schedule: every call answers normally again.
MQHOST_API void StopHostFaults();
// The faults answered since the schedule started, in order, each as
// "null scene: MQDoc_GetScene".
MQHOST_API std::vector<std::string> AnsweredHostFaults();

// Without a schedule: MQDoc_GetObjectIndex answers -1 for this object (by its
// handle) until ClearHiddenObjects, as a host may for an object it no longer
// counts as in the document.
MQHOST_API void HideObjectIndex(ObjectHandle object);
MQHOST_API void ClearHiddenObjects();

}  // namespace mqhost
