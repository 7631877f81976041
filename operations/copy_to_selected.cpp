// Code 7: the reference object's rotation, scale and translation, each by
// choice, to every other selected object of the document.
#include "binding/host_api.hpp"
#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "operations/operations.hpp"

namespace tervolin {

int32_t CopyToSelected(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::CMQObject source = ReferenceObject(document, current, options.referenceObjectId);
  // A reference that names no object of the document has no frame to give.
  if (!source.IsValid()) return 0;
  const MQMatrix sourceFrame = ReadLocalMatrix(source.Object());

  // The count is asked again for every object, as the host may answer
  // differently once a frame has been written.
  for (int32_t index = 0; index < HostApi().MQDoc_GetObjectCount(document); ++index) {
    cmq::CMQObject target = cmq::CMQObject::ByIndex(document, index);
    if (!target.IsValid() || target.Object() == source.Object()) continue;
    if (HostApi().MQObj_GetIntValue(target.Object(), mq::kObjectSelected) == 0) continue;

    // Every target is rebuilt through the host, also when it keeps all three
    // of its own parts.
    const MQMatrix own = ReadLocalMatrix(target.Object());
    MQMatrix next = own;
    RebuildMatrix(next, options.copyScale ? sourceFrame : own, options.copyRotation ? sourceFrame : own,
                  options.copyTranslation ? sourceFrame : own);
    if (options.transformVertices) {
      MQMatrix scratch = next;
      MoveVerticesWithMatrix(target, scratch, true);
    }
    WriteLocalMatrix(target.Object(), next);
  }
  return 1;
}

}  // namespace tervolin
