// Frames and vertices at the edges of what a float holds, and frames of very
// unequal axis scales, through the operation table: an operation either does
// its work with every written value finite, or answers 0 and changes nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "geometry/cmq_object.hpp"
#include "geometry_scene.hpp"
#include "operations/operations.hpp"
#include "platform/clipboard_testing.hpp"

namespace {

using geometry_test::Frame;
using geometry_test::Matrix16;
using geometry_test::ObjectData;
using geometry_test::Point3;
using namespace tervolin;

const Matrix16 kUnit = mqhost::IdentityMatrix();

Matrix16 Moved(Point3 origin) { return Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, origin); }

// A quad of the first four vertices and an orphan (never moved) at (7, 7, 7).
ObjectData Quad(const Matrix16& frame, std::vector<Point3> corners, bool selected = false) {
  ObjectData object;
  object.name = "quad";
  object.vertices = std::move(corners);
  object.vertices.push_back({7, 7, 7});
  object.faces = {{0, 1, 2, 3}};
  object.frame = frame;
  object.selected = selected;
  return object;
}

struct Switches {
  bool transform = false;
  bool global = false;
  bool rotation = false;
  bool scale = false;
  bool translation = false;
};

class FrameLimits : public geometry_test::GeometryScene {
 protected:
  // Runs `code` on object 0 (current, and the reference) with `options`.
  int32_t Run(int32_t code, const Switches& switches, const std::string& clipboard = "") {
    options.transformVertices = switches.transform;
    options.useGlobal = switches.global;
    options.copyRotation = switches.rotation;
    options.copyScale = switches.scale;
    options.copyTranslation = switches.translation;
    options.axisToSet = tervolin::AxisToSet::Y;
    if (code == OpClipboardPaste) {
      EXPECT_TRUE(platform::testing::PutClipboardText(clipboard));
    }
    cmq::CMQObject current = cmq::CMQObject::Current(document);
    return tervolin::DispatchOperation(document, current, code, options);
  }
  std::vector<ObjectData> Objects() {
    std::vector<ObjectData> objects;
    for (int32_t i = 0; i < mqhost::ObjectSlotCount(document); ++i)
      objects.push_back(mqhost::GetObject(document, i));
    return objects;
  }
  static bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
  static void ExpectSameVertices(const std::vector<ObjectData>& before,
                                 const std::vector<ObjectData>& after) {
    ASSERT_EQ(before.size(), after.size());
    for (size_t o = 0; o < before.size(); ++o) {
      for (size_t v = 0; v < before[o].vertices.size(); ++v) {
        const Point3 p = before[o].vertices[v];
        const Point3 q = after[o].vertices[v];
        EXPECT_TRUE(SameBits(p.x, q.x) && SameBits(p.y, q.y) && SameBits(p.z, q.z)) << o << ":" << v;
      }
    }
  }
  static void ExpectSame(const std::vector<ObjectData>& before, const std::vector<ObjectData>& after) {
    ExpectSameVertices(before, after);
    for (size_t o = 0; o < before.size() && o < after.size(); ++o) {
      for (size_t k = 0; k < 16; ++k)
        EXPECT_TRUE(SameBits(before[o].frame[k], after[o].frame[k])) << o << ":" << k;
    }
  }
  static void ExpectFinite(const std::vector<ObjectData>& objects) {
    for (const ObjectData& object : objects) {
      for (float value : object.frame) EXPECT_TRUE(std::isfinite(value));
      for (const Point3& p : object.vertices) EXPECT_TRUE(std::isfinite(p.x + p.y + p.z));
    }
  }
};

// Near the float limit: the centre is found without overflow, and every
// result that would not be finite refuses the operation before it writes.
TEST_F(FrameLimits, NoOperationWritesAValueThatIsNotFinite) {
  const Matrix16 hugeAxes = Frame({3e38f, 3e38f, 0}, {-3e38f, 3e38f, 0}, {0, 0, 3e38f}, {0, 0, 0});
  const std::string hugeScales = "3e38,0,0,0,0,3e38,0,0,0,0,3e38,0,0,0,0,1";
  // Its inverse's origin row is beyond the float range.
  const Matrix16 atTheLimit =
      Frame({1.0067235f, 1.9534879f, -1.7004539f}, {-0.8287633f, 0.14993355f, -0.3184104f},
            {-0.32932833f, 1.5520269f, 1.5880013f}, {16.713167f, 5.094083e+37f, -3.4028235e+38f});
  const struct {
    const char* name;
    int32_t code;
    Switches options;
    ObjectData object;
    std::string clipboard;
    int32_t result;
  } cases[] = {
      // clang-format off
      {"the centre of a box from 2e38 to 3e38", OpCenterOfObject, {}, Quad(kUnit, {{3e38f, -3e38f, 1}, {2e38f, -3e38f, 1}, {3e38f, -3e38f, 1}, {2e38f, -3e38f, 1}}), "", 1},
      {"an origin that moves further than a float reaches", OpCenterOfObject, {true}, Quad(Moved({-3e38f, 0, 0}), {{3e38f, 0, 0}, {3e38f, 1, 0}, {3e38f, 0, 1}, {3e38f, 1, 1}}), "", 0},
      {"vertices moved past the limit with the origin", OpCenterOfObject, {true}, Quad(kUnit, {{3e38f, 0, 0}, {1e38f, 1, 0}, {3e38f, 0, 1}, {1e38f, 1, 1}}), "", 0},
      {"a quarter turn of a far frame", OpRotateZ, {true}, Quad(Moved({3e38f, 0, 0}), {{-3e38f, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}}), "", 0},
      {"a mirror in a far plane", OpMirrorX, {true}, Quad(Moved({2e38f, 0, 0}), {{-2e38f, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}}), "", 0},
      {"the same mirror through the vertex-space origin", OpMirrorX, {true, true}, Quad(Moved({2e38f, 0, 0}), {{-2e38f, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}}), "", 1},
      {"a paste of huge scales that carries vertices", OpClipboardPaste, {true, false, false, true}, Quad(kUnit, {{2, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}}), hugeScales, 0},
      {"the same paste of the frame alone", OpClipboardPaste, {false, false, false, true}, Quad(kUnit, {{2, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}}), hugeScales, 1},
      {"a clear of a frame whose origin is at the float limit", OpClear, {true}, Quad(atTheLimit, {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}}), "", 0},
      {"a copy of axes too long to measure", OpCopyToSelected, {false, false, true, true}, Quad(hugeAxes, {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}}), "", 0},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    mqhost::DestroyDocument(document);
    document = mqhost::CreateDocument();
    Add(c.object);
    Add(Quad(kUnit, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true));  // a target for the copy
    const std::vector<ObjectData> before = Objects();
    EXPECT_EQ(Run(c.code, c.options, c.clipboard), c.result);
    const std::vector<ObjectData> after = Objects();
    if (c.result == 0) {
      ExpectSame(before, after);
    } else {
      ExpectFinite(after);
    }
    if (c.code == OpCenterOfObject && c.result == 1) {
      const Point3 origin = geometry_test::Row(after[0].frame, 3);
      EXPECT_FLOAT_EQ(origin.x, 2.5e38f);
      EXPECT_EQ(origin.y, -3e38f);
      EXPECT_EQ(origin.z, 1.0f);
    }
  }
}

// Axes of very unequal lengths span space as well as equal ones: with
// "Trans(&f)orm" every operation takes the vertices through such a frame.
// Flat axes give them no coordinates to keep: the operations that turn the
// frame refuse it, while clear resets it and leaves the vertices where they are.
TEST_F(FrameLimits, TransformJudgesAFramesInverseByItsOwnScale) {
  const Matrix16 flat = Frame({1, 0, 0}, {2, 0, 0}, {0, 0, 1}, {0, 0, 0});
  const Matrix16 zeroAxis = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {1, 2, 3});
  const Matrix16 nearlyFlat = Frame({1, 0, 0}, {0, 1, 0}, {1, 1, 1e-8f}, {0, 0, 0});
  const struct {
    const char* name;
    Matrix16 frame;
    bool regular;
  } frames[] = {
      {"scales 1e5 : 1 : 1", Frame({1e5f, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 2, 3}), true},
      {"scales 1e6 : 1 : 1, turned", mqhost::ComposeMatrix({1e6f, 1, 1}, {30, 20, 10}, {1, 2, 3}), true},
      {"scales 1e3 : 1 : 1e-3, turned", mqhost::ComposeMatrix({1e3f, 1, 1e-3f}, {-60, 45, 120}, {0, 0, 0}),
       true},
      {"two parallel axes", flat, false},
      {"a zero axis", zeroAxis, false},
      {"nearly flat", nearlyFlat, false},
  };
  const std::string turned = "0,1,0,0,-1,0,0,0,0,0,1,0,0,0,0,1";
  for (const auto& f : frames) {
    for (int32_t code : {OpLine, OpRotateX, OpMirrorY, OpCopyToSelected, OpClipboardPaste, OpClear}) {
      SCOPED_TRACE(std::string(f.name) + ", code " + std::to_string(code));
      mqhost::DestroyDocument(document);
      document = mqhost::CreateDocument();
      ObjectData object = Quad(f.frame, {{0, 0, 0}, {1, 2, 0}, {1, 1, 1}, {0, 1, 2}});
      object.selectedVertices = {0, 1};
      Add(object);
      object.selected = true;
      Add(object);  // the target of the copy, with the same frame
      const std::vector<ObjectData> before = Objects();
      const int32_t result = Run(code, {true, false, true}, turned);
      const std::vector<ObjectData> after = Objects();
      const size_t changed = code == OpCopyToSelected ? 1 : 0;
      if (f.regular) {
        EXPECT_EQ(result, 1);
        // Quarter turns and directions keep the old scale and origin.
        const bool mirror = code != OpLine && code != OpRotateX;
        const Matrix16 carried = mirror
                                     ? after[changed].frame
                                     : geometry_test::Recomposed(before[changed].frame, after[changed].frame);
        geometry_test::ExpectVerticesCarried(before[changed], after[changed], before[changed].frame, carried,
                                             1e-3f);
      } else if (code == OpLine || code == OpRotateX || code == OpMirrorY) {
        EXPECT_EQ(result, 0);
        ExpectSame(before, after);
      } else {
        // Copy, paste and clear write their frame; the vertices stay.
        EXPECT_EQ(result, 1);
        if (code == OpClear) {
          EXPECT_EQ(after[0].frame, kUnit);
        }
        ExpectSameVertices(before, after);
      }
    }
  }
  // Without "Trans(&f)orm" a flat frame still turns.
  mqhost::SetFrame(document, 0, flat);
  EXPECT_EQ(Run(OpRotateZ, {}), 1);
  EXPECT_EQ(geometry_test::Row(mqhost::FrameOf(document, 0), 0).x, 2.0f);
}

}  // namespace
