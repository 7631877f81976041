// Code 7: the reference object's rotation, scale and translation, each by
// choice, to every other selected object of the document.
#include <utility>
#include <vector>

#include "geometry/frame.hpp"
#include "geometry/vertex_moves.hpp"
#include "operations/vertex_compensation.hpp"
#include "binding/host_api.hpp"
#include "operations/operations.hpp"

namespace tervolin {

int32_t CopyToSelected(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::CMQObject source = ReferenceObject(document, current, options.referenceObjectId);
  // A reference that names no object of the document has no frame to give.
  if (!source.IsValid()) return 0;
  const MQMatrix sourceFrame = ReadLocalMatrix(source.Object());

  // Every target's frame and vertex moves are worked out before the first is
  // written: one that would not be finite refuses the whole copy unchanged.
  struct Change {
    cmq::CMQObject target;
    MQMatrix frame;
    cmq::VertexMoves moves;
  };
  std::vector<Change> changes;
  // The count is asked again for every object.
  for (int32_t index = 0; index < HostApi().MQDoc_GetObjectCount(document); ++index) {
    cmq::CMQObject target = cmq::CMQObject::ByIndex(document, index);
    if (!target.IsValid() || target.Object() == source.Object()) continue;
    if (HostApi().MQObj_GetIntValue(target.Object(), mq::kObjectSelected) == 0) continue;

    // Every target is rebuilt through the host, also when it keeps all three
    // of its own parts.
    const MQMatrix own = ReadLocalMatrix(target.Object());
    Change change{target, own, {}};
    RebuildMatrix(change.frame, options.copyScale ? sourceFrame : own, options.copyRotation ? sourceFrame : own,
                  options.copyTranslation ? sourceFrame : own);
    if (!IsFinite(change.frame)) return 0;
    if (options.transformVertices) {
      MQMatrix scratch = change.frame;
      if (!PlanVerticesWithMatrix(target, scratch, true, change.moves)) return 0;
    }
    changes.push_back(std::move(change));
  }
  // Written target by target, in document order: vertices, then the frame.
  for (const Change& change : changes) {
    change.moves.Apply();
    WriteLocalMatrix(change.target.Object(), change.frame);
  }
  return 1;
}

}  // namespace tervolin
