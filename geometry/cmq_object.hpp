// Views of one object of one document, read and written through the host:
// the object wrapper cmq::CMQObject, the vertex and face views cmq::CMQVertex
// and cmq::CMQFace, and the iterators over the object's live vertices and faces.
//
// Generic in part: the shared-pointer views, their iterators and ranges (and
// view_pool.hpp behind them) serve plug-ins that walk an object view by view.
// This object plug-in does not reach them: its operations and dialog use the
// wrapper's factories and direct calls through cmq::ObjectView (their tests:
// tests/plugin/object_views_test.cpp).
//
// Nothing here copies or caches the host's geometry: every step of a walk asks
// the host for the current count and the vertex's reference count (or the
// face's point count), every selection test asks for the object's document
// index, and every dereference makes a new shared view holding what the host
// answered at that moment.
//
// A vertex is live when at least one face uses it (reference count above 0), a
// face when it has at least one point. The walks visit live ones only, in
// ascending index. Views and iterators keep a plain pointer to the wrapper that
// made them: the wrapper must outlive them.
//
// The walks run once per vertex of objects with millions of them, so their
// steps and the wrapper's per-vertex calls are inline (the end of this file):
// each is the host call and nothing more. The operations and the dialog walk
// through cmq::ObjectView (object_view.hpp) instead, which reads the index and
// the counts once per operation.
#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "binding/host_api.hpp"
#include "geometry/math.hpp"
#include "protocol/host_types.hpp"

namespace cmq {

class CMQObject;

// One vertex as it was when the view was made.
class CMQVertex {
 public:
  CMQVertex(int32_t vertexIndex, const CMQObject* vertexOwner, const Float3& vertexPosition) noexcept
      : index(vertexIndex), owner(vertexOwner), position(vertexPosition) {}
  CMQVertex(const CMQVertex&) = default;
  CMQVertex& operator=(const CMQVertex&) = default;

  // Asks the host, through the owner's document.
  bool IsSelected() const;

  int32_t index = -1;
  const CMQObject* owner = nullptr;
  Float3 position{0.0f, 0.0f, 0.0f};
};

// One face; its points and selection are asked of the host on demand.
class CMQFace {
 public:
  CMQFace(int32_t faceIndex, const CMQObject* faceOwner) noexcept : index(faceIndex), owner(faceOwner) {}
  CMQFace(const CMQFace&) = default;
  CMQFace& operator=(const CMQFace&) = default;

  bool IsSelected() const;
  int32_t GetPointCount() const;

  int32_t index = -1;
  const CMQObject* owner = nullptr;
};

// Compared against an iterator, asks the host for the current count.
struct IterationEnd {};

class VertexIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = std::shared_ptr<CMQVertex>;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = std::shared_ptr<CMQVertex>;

  // The first live vertex of `owner` (or the end when there is none).
  explicit VertexIterator(const CMQObject& owner);

  std::shared_ptr<CMQVertex> operator*() const;
  inline VertexIterator& operator++();
  int32_t Index() const { return index_; }
  inline bool AtEnd() const;

  friend bool operator==(const VertexIterator& it, IterationEnd) { return it.AtEnd(); }
  friend bool operator!=(const VertexIterator& it, IterationEnd) { return !it.AtEnd(); }
  friend bool operator==(const VertexIterator& a, const VertexIterator& b) {
    return a.owner_ == b.owner_ && a.index_ == b.index_;
  }
  friend bool operator!=(const VertexIterator& a, const VertexIterator& b) { return !(a == b); }

 private:
  int32_t index_ = 0;
  const CMQObject* owner_ = nullptr;
};

class FaceIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = std::shared_ptr<CMQFace>;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = std::shared_ptr<CMQFace>;

  explicit FaceIterator(const CMQObject& owner);

  std::shared_ptr<CMQFace> operator*() const;
  inline FaceIterator& operator++();
  int32_t Index() const { return index_; }
  inline bool AtEnd() const;

  friend bool operator==(const FaceIterator& it, IterationEnd) { return it.AtEnd(); }
  friend bool operator!=(const FaceIterator& it, IterationEnd) { return !it.AtEnd(); }
  friend bool operator==(const FaceIterator& a, const FaceIterator& b) {
    return a.owner_ == b.owner_ && a.index_ == b.index_;
  }
  friend bool operator!=(const FaceIterator& a, const FaceIterator& b) { return !(a == b); }

 private:
  int32_t index_ = 0;
  const CMQObject* owner_ = nullptr;
};

// for (auto vertex : object.Vertices()) ... ; the range borrows the wrapper.
class VertexRange {
 public:
  explicit VertexRange(const CMQObject& owner) : owner_(&owner) {}
  VertexIterator begin() const { return VertexIterator(*owner_); }
  IterationEnd end() const { return {}; }

 private:
  const CMQObject* owner_;
};

class FaceRange {
 public:
  explicit FaceRange(const CMQObject& owner) : owner_(&owner) {}
  FaceIterator begin() const { return FaceIterator(*owner_); }
  IterationEnd end() const { return {}; }

 private:
  const CMQObject* owner_;
};

// Names one object of one document. Owns neither handle and copies freely:
// a value, not a base class; the factories do not check what the host
// answered: use IsValid.
class CMQObject {
 public:
  CMQObject() = default;
  CMQObject(ObjectHandle object, DocumentHandle document) : object_(object), document_(document) {}

  // The document's current object.
  static CMQObject Current(DocumentHandle document);
  // The object in slot `index`; null for an empty slot.
  static CMQObject ByIndex(DocumentHandle document, int32_t index);
  // The object with this unique ID; null when there is none.
  static CMQObject ByUniqueID(DocumentHandle document, uint32_t uniqueId);

  ObjectHandle Object() const { return object_; }
  DocumentHandle Document() const { return document_; }

  // Both handles set, and the document still holds the object.
  bool IsValid() const;
  // The object's index in its document (negative: not in it).
  inline int32_t DocumentIndex() const;
  // The object's name, at most 250 bytes.
  std::string GetName() const;

  inline int32_t GetVertexCount() const;
  inline int32_t GetFaceCount() const;
  inline int32_t GetVertexRefCount(int32_t vertex) const;
  inline int32_t GetFacePointCount(int32_t face) const;
  inline Float3 GetVertex(int32_t vertex) const;
  inline void SetVertex(int32_t vertex, const Float3& position) const;
  // The selection of one vertex or face, asked as the views ask it: the
  // object's document index first, then the selection itself.
  inline bool IsVertexSelected(int32_t vertex) const;
  inline bool IsFaceSelected(int32_t face) const;

  // The face's vertex indices in its own point order; empty for a face
  // without points.
  std::vector<int32_t> GetFacePoints(int32_t face) const;
  // (start, end) vertex of edge k: from point k to point k + 1, the last edge
  // closing the face; negative k counts from the end (-1 is the closing edge).
  // A face without points gives (-1, -1).
  std::pair<int32_t, int32_t> GetFaceEdge(int32_t face, int32_t edge) const;
  // The unnormalised normal e × u of a face, e its first edge and u its
  // closing edge reversed (averaged with the second edge reversed for faces of
  // four or more points). A face of fewer than two points gives (0, 0, 0).
  Float3 GetFaceNormal(int32_t face) const;
  // Line k of a face is edge k as GetFaceEdge numbers it.
  inline bool IsLineSelected(int32_t face, int32_t line) const;

  VertexRange Vertices() const { return VertexRange(*this); }
  FaceRange Faces() const { return FaceRange(*this); }

 private:
  ObjectHandle object_ = nullptr;
  DocumentHandle document_ = nullptr;
};
static_assert(std::is_trivially_copyable_v<CMQObject> && !std::is_polymorphic_v<CMQObject>,
              "the object wrapper is a value: two handles, copied as they are");

// ---------------------------------------------------------------------------
// Inline: the per-vertex and per-face calls and the walks' steps.

inline int32_t CMQObject::DocumentIndex() const {
  return tervolin::HostApi().MQDoc_GetObjectIndex(document_, object_);
}
inline int32_t CMQObject::GetVertexCount() const { return tervolin::HostApi().MQObj_GetVertexCount(object_); }
inline int32_t CMQObject::GetFaceCount() const { return tervolin::HostApi().MQObj_GetFaceCount(object_); }
inline int32_t CMQObject::GetVertexRefCount(int32_t vertex) const {
  return tervolin::HostApi().MQObj_GetVertexRefCount(object_, vertex);
}
inline int32_t CMQObject::GetFacePointCount(int32_t face) const {
  return tervolin::HostApi().MQObj_GetFacePointCount(object_, face);
}
inline Float3 CMQObject::GetVertex(int32_t vertex) const {
  Float3 position{0.0f, 0.0f, 0.0f};
  tervolin::HostApi().MQObj_GetVertex(object_, vertex, &position.x);
  return position;
}
inline void CMQObject::SetVertex(int32_t vertex, const Float3& position) const {
  tervolin::HostApi().MQObj_SetVertex(object_, vertex, &position.x);
}
inline bool CMQObject::IsVertexSelected(int32_t vertex) const {
  const int32_t objectIndex = DocumentIndex();
  return tervolin::HostApi().MQDoc_IsSelectVertex(document_, objectIndex, vertex) != 0;
}
inline bool CMQObject::IsFaceSelected(int32_t face) const {
  const int32_t objectIndex = DocumentIndex();
  return tervolin::HostApi().MQDoc_IsSelectFace(document_, objectIndex, face) != 0;
}
inline bool CMQObject::IsLineSelected(int32_t face, int32_t line) const {
  const int32_t objectIndex = DocumentIndex();
  return tervolin::HostApi().MQDoc_IsSelectLine(document_, objectIndex, face, line) != 0;
}

inline VertexIterator& VertexIterator::operator++() {
  ++index_;
  while (index_ >= 0 && index_ < owner_->GetVertexCount() && owner_->GetVertexRefCount(index_) < 1) ++index_;
  return *this;
}
inline bool VertexIterator::AtEnd() const { return index_ == owner_->GetVertexCount(); }

inline FaceIterator& FaceIterator::operator++() {
  ++index_;
  while (index_ >= 0 && index_ < owner_->GetFaceCount() && owner_->GetFacePointCount(index_) < 1) ++index_;
  return *this;
}
inline bool FaceIterator::AtEnd() const { return index_ == owner_->GetFaceCount(); }

// GetFaceNormal's arithmetic over a face's points, with `position` reading a
// vertex: only the points the normal uses are read.
template <class Position>
Float3 FaceNormalOf(const std::vector<int32_t>& points, Position position) {
  const size_t count = points.size();
  // A face of one point has no edge to span a plane with.
  if (count < 2) return {0.0f, 0.0f, 0.0f};
  const Float3 p0 = position(points[0]);
  const Float3 p1 = position(points[1]);
  const Float3 last = position(points[count - 1]);
  const Float3 e = p1 - p0;
  Float3 u = p0 - last;
  if (count > 3) {
    const Float3 w = position(points[2]) - p1;
    u = (u - w) * 0.5f;
  }
  return Cross(e, u);
}

// The narrow name under the process's character-type locale as UTF-16;
// u"invalid" when it does not convert.
std::u16string ToWide(const std::string& text);

}  // namespace cmq
