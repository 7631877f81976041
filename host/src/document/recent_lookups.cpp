// The full checks behind recent_lookups.hpp, and what they keep.
#include "host/src/document/recent_lookups.hpp"

namespace mqhost::model {

ObjectRecord nothingKept;
RecentLookups recentLookups;

ObjectRecord* CheckAndKeepObject(ObjectHandle object, const char* function) {
  ObjectRecord* record = CheckObject(object, function);
  if (record != nullptr) {
    recentLookups.object = object;
    recentLookups.objectRecord = record;
  }
  return record;
}

ObjectRecord* CheckAndKeepSlot(DocumentHandle document, int32_t index, const char* function) {
  DocumentRecord* record = CheckDocument(document, function);
  ObjectRecord* object = record == nullptr ? nullptr : CheckSlot(*record, index, function);
  if (object != nullptr) {
    recentLookups.slotDocument = document;
    recentLookups.slotIndex = index;
    recentLookups.slotRecord = object;
  }
  return object;
}

}  // namespace mqhost::model
