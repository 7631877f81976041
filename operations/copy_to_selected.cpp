// Code 7: the reference object's rotation, scale and translation, each by
// choice, to every other selected object of the document.
#include <utility>
#include <vector>

#include "binding/host_api.hpp"
#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry/object_view.hpp"
#include "geometry/vertex_moves.hpp"
#include "operations/operations.hpp"
#include "operations/vertex_motion.hpp"

namespace tervolin {

int32_t CopyToSelected(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::ObjectView source(ReferenceObject(document, current, options.referenceObjectId));
  // A reference that names no object of the document has no frame to give.
  if (!source.IsValid()) return 0;
  const MQMatrix sourceFrame = ReadLocalMatrix(source.Object());

  // Every target's frame and vertex moves are worked out before the first is
  // written: one that would not be finite refuses the whole copy unchanged.
  struct Change {
    ObjectHandle target;
    MQMatrix frame;
    cmq::VertexMoves moves;
  };
  std::vector<Change> changes;
  // Writing frames and moving vertices leave the document's objects as they
  // are: the count is read once.
  const int32_t objectCount = HostApi().MQDoc_GetObjectCount(document);
  for (int32_t index = 0; index < objectCount; ++index) {
    // An empty slot answers a null handle, and the host may say of an object
    // it answered that it is not in the document (a negative index): both
    // are skipped. The selection flag is asked first: a host may find an
    // object's index by a walk over its objects, and only the selected ones
    // need it.
    const cmq::ObjectView target(cmq::CMQObject::ByIndex(document, index));
    if (target.Object() == nullptr || target.Object() == source.Object()) continue;
    if (HostApi().MQObj_GetIntValue(target.Object(), mq::kObjectSelected) == 0) continue;
    if (!target.IsValid()) continue;

    // Every target is rebuilt through the host, also when it keeps all three
    // of its own parts.
    const MQMatrix own = ReadLocalMatrix(target.Object());
    Change change{target.Object(), own, {}};
    RebuildMatrix(change.frame, options.copyScale ? sourceFrame : own,
                  options.copyRotation ? sourceFrame : own, options.copyTranslation ? sourceFrame : own);
    if (!IsFinite(change.frame)) return 0;
    if (options.transformVertices) {
      // A target whose frame does not span space keeps its vertices; a
      // regular one whose inverse the host could not give refuses the copy.
      const MQMatrix inverse = ReadLocalInverseMatrix(target.Object());
      MQMatrix scratch = change.frame;
      if (FrameIsInvertible(own)) {
        if (!IsInverseFrame(own, inverse)) return 0;
        if (!PlanVerticesBetweenFrames(target, own, inverse, scratch, true, change.moves)) return 0;
      }
    }
    changes.push_back(std::move(change));
  }
  // Written target by target, in document order: vertices, then the frame.
  for (const Change& change : changes) {
    change.moves.Apply();
    WriteLocalMatrix(change.target, change.frame);
  }
  return 1;
}

}  // namespace tervolin
