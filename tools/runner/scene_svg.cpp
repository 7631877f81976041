#include "tools/runner/scene_svg.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "mqhost/matrix_values.hpp"
#include "tools/runner/svg_writer.hpp"

namespace runner {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kDrawingSize = 440;  // the square the object is fitted into
constexpr int kMargin = 30;
constexpr int kTitleHeight = 28;  // above the drawing
constexpr int kLegendWidth = 190;
const char* const kAxisNames[3] = {"X", "Y", "Z"};
const char* const kAxisColours[3] = {"#d62728", "#2ca02c", "#1f77b4"};
const char* const kHighlight = "#ff7f0e";

struct Point2 {
  double x = 0;
  double y = 0;
};

// The page's right and up directions in the scene.
struct View {
  mqhost::Point3 right;
  mqhost::Point3 up;
};

// The fixed view: turned 30 degrees about Y, then tilted 20 degrees to look
// down on the object, Y up on the page.
View FixedView() {
  const double yaw = 30 * kPi / 180;
  const double pitch = 20 * kPi / 180;
  return {{static_cast<float>(std::cos(yaw)), 0, static_cast<float>(-std::sin(yaw))},
          {static_cast<float>(-std::sin(yaw) * std::sin(pitch)), static_cast<float>(std::cos(pitch)),
           static_cast<float>(-std::cos(yaw) * std::sin(pitch))}};
}

// The camera's own X and Y axes.
View CameraView(const mqhost::Point3& angle) {
  const mqhost::Matrix16 camera = mqhost::ComposeMatrix({1, 1, 1}, angle, {0, 0, 0});
  return {{camera[0], camera[1], camera[2]}, {camera[4], camera[5], camera[6]}};
}

double Dot(const mqhost::Point3& a, const mqhost::Point3& b) {
  return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

mqhost::Point3 Row(const mqhost::Matrix16& frame, size_t row) {
  return {frame[4 * row], frame[4 * row + 1], frame[4 * row + 2]};
}

// Axis end points: from the frame's origin along each axis's direction, all
// three the same length.
std::array<mqhost::Point3, 3> AxisEnds(const mqhost::Matrix16& frame, double length) {
  std::array<mqhost::Point3, 3> ends{};
  const mqhost::Point3 origin = Row(frame, 3);
  for (int axis = 0; axis < 3; ++axis) {
    const mqhost::Point3 d = Row(frame, static_cast<size_t>(axis));
    const double norm = std::sqrt(double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z);
    const double scale = norm > 0 && std::isfinite(norm) ? length / norm : 0;
    ends[axis] = {static_cast<float>(origin.x + d.x * scale), static_cast<float>(origin.y + d.y * scale),
                  static_cast<float>(origin.z + d.z * scale)};
  }
  return ends;
}

// A length that suits the object: half its bounding box's diagonal.
double AxisLength(const mqhost::ObjectData& object) {
  if (object.vertices.empty()) return 1;
  mqhost::Point3 low = object.vertices.front();
  mqhost::Point3 high = low;
  for (const mqhost::Point3& v : object.vertices) {
    low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
    high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
  }
  const double dx = double(high.x) - low.x;
  const double dy = double(high.y) - low.y;
  const double dz = double(high.z) - low.z;
  const double half = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
  return half > 0 && std::isfinite(half) ? half : 1;
}

class Picture {
 public:
  explicit Picture(const ScenePicture& picture)
      : picture_(picture), view_(picture.cameraAngle ? CameraView(*picture.cameraAngle) : FixedView()) {
    length_ = AxisLength(picture.reference ? *picture.reference : picture.after);
    axesBefore_ = AxisEnds(picture.before.frame, length_);
    axesAfter_ = AxisEnds(picture.after.frame, length_);
    Fit();
  }

  std::string Draw() {
    // The selection as the operation read it: before any vertex moved.
    const mqhost::ObjectData& source = picture_.reference ? *picture_.reference : picture_.before;
    Title();
    if (picture_.reference) Wireframe(*picture_.reference, "reference edge", "#9aa7b8", "4,3");
    OldPlaces();
    for (const auto& [before, after] : picture_.others) Wireframe(after, "other edge", "#777", "");
    Wireframe(picture_.after, "edge", "#444", "");
    if (picture_.selectionRead) Selection(source);
    // Axes over everything else, the new ones on top.
    for (const auto& [before, after] : picture_.others) {
      Axes(before.frame, AxisEnds(before.frame, length_), "other before", 1.5, "5,4");
    }
    Axes(picture_.before.frame, axesBefore_, "before", 1.5, "5,4");
    for (const auto& [before, after] : picture_.others) {
      Axes(after.frame, AxisEnds(after.frame, length_), "other after", 2.5, "");
    }
    Axes(picture_.after.frame, axesAfter_, "after", 2.5, "");
    if (!picture_.others.empty()) {
      Name(picture_.after);
      for (const auto& [before, after] : picture_.others) Name(after);
    }
    Legend();
    return svg_.Finish(kDrawingSize + 2 * kMargin + kLegendWidth, kDrawingSize + 2 * kMargin + kTitleHeight);
  }

 private:
  void Include(const mqhost::Point3& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
    const Point2 q = Project(p);
    if (!std::isfinite(q.x) || !std::isfinite(q.y)) return;
    if (!any_) {
      low_ = high_ = q;
      any_ = true;
    }
    low_ = {std::min(low_.x, q.x), std::min(low_.y, q.y)};
    high_ = {std::max(high_.x, q.x), std::max(high_.y, q.y)};
  }

  // An object's name beside its vertices' centre, where several objects show.
  void Name(const mqhost::ObjectData& object) {
    if (object.vertices.empty()) return;
    double x = 0;
    double y = 0;
    double z = 0;
    for (const mqhost::Point3& v : object.vertices) {
      x += v.x / static_cast<double>(object.vertices.size());
      y += v.y / static_cast<double>(object.vertices.size());
      z += v.z / static_cast<double>(object.vertices.size());
    }
    const Point2 p = At({static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)});
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    svg_.Add("<text class='object name' x='" + SvgWriter::N(p.x + 8) + "' y='" + SvgWriter::N(p.y) +
             "' fill='#555' font-style='italic' stroke='#fff' stroke-width='3' paint-order='stroke'>" +
             SvgWriter::Escape(object.name) + "</text>");
  }

  void Title() {
    if (picture_.title.empty()) return;
    svg_.Add("<text class='title' x='" + SvgWriter::N(kMargin) + "' y='" + SvgWriter::N(kMargin - 4) +
             "' font-size='16' font-weight='bold' fill='#222'>" + SvgWriter::Escape(picture_.title) +
             "</text>");
  }

  void Fit() {
    std::vector<const mqhost::ObjectData*> objects = {&picture_.before, &picture_.after};
    for (const auto& [before, after] : picture_.others) {
      objects.push_back(&before);
      objects.push_back(&after);
    }
    for (const mqhost::ObjectData* object : objects) {
      for (const mqhost::Point3& v : object->vertices) Include(v);
      Include(Row(object->frame, 3));
      if (object != &picture_.before && object != &picture_.after) {
        for (const mqhost::Point3& end : AxisEnds(object->frame, length_)) Include(end);
      }
    }
    if (picture_.reference) {
      for (const mqhost::Point3& v : picture_.reference->vertices) Include(v);
    }
    for (const auto& ends : {axesBefore_, axesAfter_}) {
      for (const mqhost::Point3& end : ends) Include(end);
    }
    const double extent = std::max(high_.x - low_.x, high_.y - low_.y);
    scale_ = extent > 0 && std::isfinite(extent) ? kDrawingSize / extent : 1;
  }

  Point2 Project(const mqhost::Point3& p) const { return {Dot(p, view_.right), -Dot(p, view_.up)}; }

  Point2 At(const mqhost::Point3& p) const {
    const Point2 q = Project(p);
    const double width = (high_.x - low_.x) * scale_;
    const double height = (high_.y - low_.y) * scale_;
    return {kMargin + (kDrawingSize - width) / 2 + (q.x - low_.x) * scale_,
            kTitleHeight + kMargin + (kDrawingSize - height) / 2 + (q.y - low_.y) * scale_};
  }

  void Line(const mqhost::Point3& a, const mqhost::Point3& b, const std::string& cls,
            const std::string& style) {
    const Point2 p = At(a);
    const Point2 q = At(b);
    svg_.Add("<line class='" + cls + "' x1='" + SvgWriter::N(p.x) + "' y1='" + SvgWriter::N(p.y) + "' x2='" +
             SvgWriter::N(q.x) + "' y2='" + SvgWriter::N(q.y) + "' " + style + "/>");
  }

  static bool Has(const mqhost::ObjectData& object, int32_t vertex) {
    return vertex >= 0 && static_cast<size_t>(vertex) < object.vertices.size();
  }

  void Wireframe(const mqhost::ObjectData& object, const std::string& cls, const std::string& colour,
                 const std::string& dashes) {
    const std::string style = "stroke='" + colour + "' stroke-width='1'" +
                              (dashes.empty() ? "" : " stroke-dasharray='" + dashes + "'");
    for (const std::vector<int32_t>& face : object.faces) {
      for (size_t i = 0; i < face.size() && face.size() >= 2; ++i) {
        const int32_t a = face[i];
        const int32_t b = face[(i + 1) % face.size()];
        if (Has(object, a) && Has(object, b)) Line(object.vertices[a], object.vertices[b], cls, style);
      }
    }
  }

  void OldPlaces() {
    const mqhost::ObjectData& before = picture_.before;
    const mqhost::ObjectData& after = picture_.after;
    if (before.vertices.size() != after.vertices.size()) return;
    for (size_t v = 0; v < after.vertices.size(); ++v) {
      const mqhost::Point3& was = before.vertices[v];
      const mqhost::Point3& now = after.vertices[v];
      moved_ = moved_ || was.x != now.x || was.y != now.y || was.z != now.z;
    }
    if (!moved_) return;
    Wireframe(before, "old edge", "#c8c8c8", "");
    for (size_t v = 0; v < after.vertices.size(); ++v) {
      const mqhost::Point3& was = before.vertices[v];
      const mqhost::Point3& now = after.vertices[v];
      if (was.x == now.x && was.y == now.y && was.z == now.z) continue;
      Line(was, now, "old place", "stroke='#bbb' stroke-width='1' stroke-dasharray='2,2'");
      const Point2 p = At(was);
      svg_.Add("<circle class='old place' cx='" + SvgWriter::N(p.x) + "' cy='" + SvgWriter::N(p.y) +
               "' r='2.5' fill='#ccc'/>");
    }
  }

  void Selection(const mqhost::ObjectData& object) {
    for (const int32_t index : object.selectedFaces) {
      if (index < 0 || static_cast<size_t>(index) >= object.faces.size()) continue;
      std::string points;
      for (const int32_t v : object.faces[index]) {
        if (!Has(object, v)) continue;
        const Point2 p = At(object.vertices[v]);
        points += (points.empty() ? "" : " ") + SvgWriter::N(p.x) + "," + SvgWriter::N(p.y);
      }
      svg_.Add("<polygon class='selected face' points='" + points + "' fill='" + kHighlight +
               "' fill-opacity='0.35' stroke='none'/>");
    }
    for (const auto& [faceIndex, edge] : object.selectedLines) {
      if (faceIndex < 0 || static_cast<size_t>(faceIndex) >= object.faces.size()) continue;
      const std::vector<int32_t>& face = object.faces[faceIndex];
      if (edge < 0 || static_cast<size_t>(edge) >= face.size()) continue;
      const int32_t a = face[edge];
      const int32_t b = face[(edge + 1) % face.size()];
      if (Has(object, a) && Has(object, b)) {
        Line(object.vertices[a], object.vertices[b], "selected line",
             std::string("stroke='") + kHighlight + "' stroke-width='4' stroke-linecap='round'");
      }
    }
    for (const int32_t v : object.selectedVertices) {
      if (!Has(object, v)) continue;
      const Point2 p = At(object.vertices[v]);
      svg_.Add("<circle class='selected vertex' cx='" + SvgWriter::N(p.x) + "' cy='" + SvgWriter::N(p.y) +
               "' r='4.5' fill='" + kHighlight + "' stroke='#fff'/>");
    }
  }

  // Each axis on a white halo, so that it shows over an edge or the
  // selection it lies on; the labels of the axes after the pick likewise.
  void Axes(const mqhost::Matrix16& frame, const std::array<mqhost::Point3, 3>& ends, const std::string& when,
            double width, const std::string& dashes) {
    const mqhost::Point3 origin = Row(frame, 3);
    const std::string halo = SvgWriter::N(width + 3);
    for (int axis = 0; axis < 3; ++axis) {
      Line(origin, ends[axis], "halo", "stroke='#fff' stroke-opacity='0.85' stroke-width='" + halo + "'");
      Line(origin, ends[axis], std::string("axis ") + when + " " + kAxisNames[axis],
           std::string("stroke='") + kAxisColours[axis] + "' stroke-width='" + SvgWriter::N(width) + "'" +
               (dashes.empty() ? "" : " stroke-dasharray='" + dashes + "'"));
      if (when != "after" && when != "other after") continue;
      const Point2 p = At(ends[axis]);
      svg_.Add("<text x='" + SvgWriter::N(p.x + 5) + "' y='" + SvgWriter::N(p.y - 5) + "' fill='" +
               kAxisColours[axis] +
               "' font-weight='bold' stroke='#fff' stroke-width='3' paint-order='stroke' "
               "stroke-linejoin='round'>" +
               kAxisNames[axis] + "</text>");
    }
  }

  void Legend() {
    const int x = kDrawingSize + 2 * kMargin;
    int y = kTitleHeight + kMargin;
    auto entry = [&](const std::string& mark, const std::string& text) {
      svg_.Add(mark);
      svg_.Add("<text x='" + SvgWriter::N(x + 34) + "' y='" + SvgWriter::N(y + 4) + "' fill='#333'>" +
               SvgWriter::Escape(text) + "</text>");
      y += 20;
    };
    auto stroke = [&](const std::string& style) {
      return "<line x1='" + SvgWriter::N(x) + "' y1='" + SvgWriter::N(y) + "' x2='" + SvgWriter::N(x + 26) +
             "' y2='" + SvgWriter::N(y) + "' " + style + "/>";
    };
    svg_.Add("<text x='" + SvgWriter::N(x) + "' y='" + SvgWriter::N(y - 10) + "' font-weight='bold'>" +
             SvgWriter::Escape(picture_.after.name) + "</text>");
    y += 6;
    for (int axis = 0; axis < 3; ++axis) {
      entry(stroke(std::string("stroke='") + kAxisColours[axis] + "' stroke-width='2.5'"),
            std::string(kAxisNames[axis]) + " after the pick");
    }
    entry(stroke("stroke='#555' stroke-width='1.5' stroke-dasharray='5,4'"), "axes before the pick");
    entry(stroke("stroke='#444' stroke-width='1'"), "object");
    if (moved_) entry(stroke("stroke='#c8c8c8' stroke-width='1'"), "where the vertices were");
    if (picture_.selectionRead) {
      entry(stroke(std::string("stroke='") + kHighlight + "' stroke-width='4'"), "selection read");
    }
    if (picture_.reference) {
      entry(stroke("stroke='#9aa7b8' stroke-width='1' stroke-dasharray='4,3'"),
            "reference: " + picture_.reference->name);
    }
    for (const auto& [before, after] : picture_.others) {
      entry(stroke("stroke='#777' stroke-width='1'"), "also changed: " + after.name);
    }
  }

  const ScenePicture& picture_;
  View view_;
  std::array<mqhost::Point3, 3> axesBefore_{};
  std::array<mqhost::Point3, 3> axesAfter_{};
  Point2 low_;
  Point2 high_;
  bool any_ = false;
  bool moved_ = false;
  double scale_ = 1;
  double length_ = 1;
  SvgWriter svg_;
};

}  // namespace

std::string SceneSvg(const ScenePicture& picture) { return Picture(picture).Draw(); }

}  // namespace runner
