// Internal to the host library: the object checks of the host calls that the
// plug-in makes per vertex, face or line, answered from the last check that
// passed. A walk asks about one object millions of times in a row, so a check
// naming the same object handle, or the same document and slot, as the last
// one that passed is a few compares instead of a walk through the registry.
//
// A kept record answers only while it is alive. That is enough: records are
// never freed or reused (document_model.hpp), a deleted object's record dies,
// destroying a document kills its objects, and a live object never leaves its
// slot. So a stale handle, an emptied slot or a destroyed document always
// reaches the full check and its protocol error, with nothing to forget.
#pragma once

#include <cstdint>

#include "host/src/document/document_model.hpp"

namespace mqhost::model {

// A record that is never alive: what the lookups keep before the first check
// passes, so that the kept record needs no null test.
extern ObjectRecord nothingKept;

struct RecentLookups {
  ObjectHandle object = nullptr;
  ObjectRecord* objectRecord = &nothingKept;
  DocumentHandle slotDocument = nullptr;
  int32_t slotIndex = -1;
  ObjectRecord* slotRecord = &nothingKept;
};

extern RecentLookups recentLookups;

// The full checks, keeping what passes (out of line: the first call of a walk).
ObjectRecord* CheckAndKeepObject(ObjectHandle object, const char* function);
ObjectRecord* CheckAndKeepSlot(DocumentHandle document, int32_t index, const char* function);

// The kept record when `object` is the handle of the last passing object
// check, or when `document` and `index` name the slot of the last passing
// slot check, and it is still alive; otherwise null (and nothing is recorded:
// the caller then runs the full check).
inline ObjectRecord* KeptObject(ObjectHandle object) {
  ObjectRecord* kept = recentLookups.objectRecord;
  return object == recentLookups.object && kept->alive ? kept : nullptr;
}

inline ObjectRecord* KeptSlot(DocumentHandle document, int32_t index) {
  ObjectRecord* kept = recentLookups.slotRecord;
  return document == recentLookups.slotDocument && index == recentLookups.slotIndex && kept->alive ? kept
                                                                                                   : nullptr;
}

// CheckObject, with the same answers and protocol errors.
inline ObjectRecord* CheckObjectRecent(ObjectHandle object, const char* function) {
  ObjectRecord* kept = KeptObject(object);
  return kept != nullptr ? kept : CheckAndKeepObject(object, function);
}

// CheckDocument, then CheckSlot: the live object in slot `index` of
// `document`, with the same answers and protocol errors.
inline ObjectRecord* CheckSlotRecent(DocumentHandle document, int32_t index, const char* function) {
  ObjectRecord* kept = KeptSlot(document, index);
  return kept != nullptr ? kept : CheckAndKeepSlot(document, index, function);
}

}  // namespace mqhost::model
