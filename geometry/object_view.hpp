// cmq::ObjectView: one object as one operation sees it. The object's document
// index and each count are read once, when they are first needed; every selection test and every step of a
// walk uses them. An operation changes vertex positions and frames only, never the counts or the object's
// place in its document, so what the view read stays true for as long as the operation runs.
//
// The walks read only what they use: a walk over the selection asks whether a
// vertex is selected before it asks whether it is live, and reads a position
// only where the caller does. A vertex is live when its reference count is
// above 0, a face when it has at least one point, as the object wrappers
// define them (cmq_object.hpp); the walks visit live ones in ascending index.
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

#include "binding/host_api.hpp"
#include "geometry/cmq_object.hpp"
#include "geometry/math.hpp"

namespace cmq {

class ObjectView {
 public:
  // Reads nothing yet: the index is read when a selection test or IsValid
  // first needs it (never for a wrapper with a null handle).
  explicit ObjectView(const CMQObject& object)
      : host_(&tervolin::HostApi()), document_(object.Document()), object_(object.Object()) {}

  // CMQObject::IsValid, answered from the index read when the view was made.
  bool IsValid() const { return DocumentIndex() >= 0; }
  int32_t DocumentIndex() const {
    if (index_ == kUnread) {
      index_ =
          object_ != nullptr && document_ != nullptr ? host_->MQDoc_GetObjectIndex(document_, object_) : -1;
    }
    return index_;
  }
  ObjectHandle Object() const { return object_; }

  int32_t VertexCount() const {
    if (vertexCount_ < 0) vertexCount_ = host_->MQObj_GetVertexCount(object_);
    return vertexCount_;
  }
  int32_t FaceCount() const {
    if (faceCount_ < 0) faceCount_ = host_->MQObj_GetFaceCount(object_);
    return faceCount_;
  }

  bool IsVertexLive(int32_t vertex) const { return host_->MQObj_GetVertexRefCount(object_, vertex) > 0; }
  bool IsVertexSelected(int32_t vertex) const {
    return host_->MQDoc_IsSelectVertex(document_, DocumentIndex(), vertex) != 0;
  }
  Float3 GetVertex(int32_t vertex) const {
    Float3 position{0.0f, 0.0f, 0.0f};
    host_->MQObj_GetVertex(object_, vertex, &position.x);
    return position;
  }
  void SetVertex(int32_t vertex, const Float3& position) const {
    host_->MQObj_SetVertex(object_, vertex, &position.x);
  }

  int32_t FacePointCount(int32_t face) const { return host_->MQObj_GetFacePointCount(object_, face); }
  bool IsFaceSelected(int32_t face) const {
    return host_->MQDoc_IsSelectFace(document_, DocumentIndex(), face) != 0;
  }
  bool IsLineSelected(int32_t face, int32_t line) const {
    return host_->MQDoc_IsSelectLine(document_, DocumentIndex(), face, line) != 0;
  }
  // The points of a face whose point count the caller has read (at least 1).
  std::vector<int32_t> FacePoints(int32_t face, int32_t count) const {
    std::vector<int32_t> points(static_cast<size_t>(count), 0);
    host_->MQObj_GetFacePointArray(object_, face, points.data());
    return points;
  }

  // The walks take the host functions into locals: the table does not change
  // while a plug-in call runs, and a walk of a million vertices then pays
  // for the host's answers alone.

  // f(vertex) for every live vertex; an f that answers bool stops the walk
  // by answering false.
  template <class F>
  void ForEachLiveVertex(F&& f) const {
    const int32_t count = VertexCount();
    auto* const refCount = host_->MQObj_GetVertexRefCount;
    for (int32_t vertex = 0; vertex < count; ++vertex) {
      if (refCount(object_, vertex) <= 0) continue;
      if constexpr (std::is_same_v<decltype(f(vertex)), bool>) {
        if (!f(vertex)) return;
      } else {
        f(vertex);
      }
    }
  }

  // The next live, selected vertex after `vertex` (-1 to start), or -1.
  int32_t NextSelectedVertex(int32_t vertex) const {
    const int32_t count = VertexCount();
    if (vertex + 1 >= count) return -1;
    const int32_t index = DocumentIndex();
    auto* const isSelected = host_->MQDoc_IsSelectVertex;
    auto* const refCount = host_->MQObj_GetVertexRefCount;
    for (++vertex; vertex < count; ++vertex) {
      if (isSelected(document_, index, vertex) != 0 && refCount(object_, vertex) > 0) return vertex;
    }
    return -1;
  }

 private:
  static constexpr int32_t kUnread = -2;
  const tervolin::HostFunctionTable* host_;
  DocumentHandle document_;
  ObjectHandle object_;
  mutable int32_t index_ = kUnread;
  mutable int32_t vertexCount_ = -1;
  mutable int32_t faceCount_ = -1;
};

}  // namespace cmq
