#include "geometry/cmq_object.hpp"

#include <algorithm>

#include "binding/host_api.hpp"
#include "geometry/view_pool.hpp"
#include "platform/locale_text.hpp"

namespace cmq {

using tervolin::HostApi;

namespace {
constexpr int kNameBufferSize = 250;
}  // namespace

// ---------------------------------------------------------------------------
// Views

bool CMQVertex::IsSelected() const { return owner->IsVertexSelected(index); }

bool CMQFace::IsSelected() const { return owner->IsFaceSelected(index); }

int32_t CMQFace::GetPointCount() const { return owner->GetFacePointCount(index); }

// ---------------------------------------------------------------------------
// Iterators

VertexIterator::VertexIterator(const CMQObject& owner) : owner_(&owner) {
  if (owner_->GetVertexCount() >= 1) {
    while (index_ < owner_->GetVertexCount() && owner_->GetVertexRefCount(index_) <= 0) ++index_;
  }
}

std::shared_ptr<CMQVertex> VertexIterator::operator*() const {
  return std::allocate_shared<CMQVertex>(detail::RecyclingAllocator<CMQVertex>(), index_, owner_,
                                         owner_->GetVertex(index_));
}

FaceIterator::FaceIterator(const CMQObject& owner) : owner_(&owner) {
  if (owner_->GetFaceCount() >= 1) {
    while (index_ < owner_->GetFaceCount() && owner_->GetFacePointCount(index_) <= 0) ++index_;
  }
}

std::shared_ptr<CMQFace> FaceIterator::operator*() const {
  return std::allocate_shared<CMQFace>(detail::RecyclingAllocator<CMQFace>(), index_, owner_);
}

// ---------------------------------------------------------------------------
// The object wrapper

CMQObject CMQObject::Current(DocumentHandle document) {
  if (document == nullptr) return CMQObject();
  const int32_t index = HostApi().MQDoc_GetCurrentObjectIndex(document);
  return CMQObject(HostApi().MQDoc_GetObject(document, index), document);
}

CMQObject CMQObject::ByIndex(DocumentHandle document, int32_t index) {
  if (document == nullptr) return CMQObject();
  return CMQObject(HostApi().MQDoc_GetObject(document, index), document);
}

CMQObject CMQObject::ByUniqueID(DocumentHandle document, uint32_t uniqueId) {
  if (document == nullptr) return CMQObject();
  return CMQObject(HostApi().MQDoc_GetObjectFromUniqueID(document, static_cast<int32_t>(uniqueId)), document);
}

bool CMQObject::IsValid() const { return object_ != nullptr && document_ != nullptr && DocumentIndex() >= 0; }

std::string CMQObject::GetName() const {
  // The host may fill all 250 bytes without a terminator: the name then is
  // all of them, and nothing past the buffer is read.
  char buffer[kNameBufferSize] = {};
  HostApi().MQObj_GetName(object_, buffer, kNameBufferSize);
  const char* end = std::find(buffer, buffer + kNameBufferSize, '\0');
  return std::string(buffer, static_cast<size_t>(end - buffer));
}

std::vector<int32_t> CMQObject::GetFacePoints(int32_t face) const {
  const int32_t count = GetFacePointCount(face);
  if (count <= 0) return {};
  std::vector<int32_t> points(static_cast<size_t>(count), 0);
  HostApi().MQObj_GetFacePointArray(object_, face, points.data());
  return points;
}

std::pair<int32_t, int32_t> CMQObject::GetFaceEdge(int32_t face, int32_t edge) const {
  const std::vector<int32_t> points = GetFacePoints(face);
  const auto count = static_cast<int32_t>(points.size());
  if (count == 0) return {-1, -1};
  // Any edge number, negative ones included, names one of the face's edges.
  int32_t start = edge % count;
  if (start < 0) start += count;
  const int32_t end = start == count - 1 ? 0 : start + 1;
  return {points[static_cast<size_t>(start)], points[static_cast<size_t>(end)]};
}

Float3 CMQObject::GetFaceNormal(int32_t face) const {
  return FaceNormalOf(GetFacePoints(face), [this](int32_t vertex) { return GetVertex(vertex); });
}

// ---------------------------------------------------------------------------

std::u16string ToWide(const std::string& text) {
  std::u16string wide;
  if (!platform::LocaleMultiByteToUtf16(text, wide)) return u"invalid";
  return wide;
}

}  // namespace cmq
