#include "bench/cases.hpp"

namespace bench {

namespace {

using tervolin::Tervolin;

void AddWithAndWithoutTransform(std::vector<Case>& cases, Case c) {
  cases.push_back(c);
  c.name += "_T";
  c.transform = true;
  cases.push_back(c);
}

std::vector<Case> MakeCases() {
  std::vector<Case> cases;
  Case c;

  c = {};
  c.name = "code1_selected";
  c.operation = tervolin::OpCenterOfVertices;
  c.plugin = [](Tervolin& t, DocumentHandle d, cmq::CMQObject& o) { return t.SetOriginToCenter(d, o, true); };
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code2_all";
  c.operation = tervolin::OpCenterOfObject;
  c.plugin = [](Tervolin& t, DocumentHandle d, cmq::CMQObject& o) {
    return t.SetOriginToCenter(d, o, false);
  };
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code3_line";
  c.selection = Selection::LastLine;
  c.operation = tervolin::OpLine;
  c.plugin = [](Tervolin& t, DocumentHandle d, cmq::CMQObject& o) { return t.AlignAxisToLine(d, o); };
  AddWithAndWithoutTransform(cases, c);

  c.name = "code3_vertices";
  c.selection = Selection::LastTwoVertices;
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code4_face";
  c.selection = Selection::LastFace;
  c.perFace = true;
  c.operation = tervolin::OpFaceNormal;
  c.plugin = [](Tervolin& t, DocumentHandle d, cmq::CMQObject& o) { return t.AlignAxisToFaceNormal(d, o); };
  AddWithAndWithoutTransform(cases, c);

  c.name = "code4_vertices";
  c.selection = Selection::LastThreeVertices;
  c.perFace = false;
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code5_vertex";
  c.selection = Selection::LastVertex;
  c.operation = tervolin::OpOriginToVertex;
  c.plugin = [](Tervolin& t, DocumentHandle d, cmq::CMQObject& o) { return t.AlignAxisToVertex(d, o); };
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code8_rotateX_T";
  c.operation = tervolin::OpRotateX;
  c.transform = true;
  c.plugin = [](Tervolin& t, DocumentHandle, cmq::CMQObject& o) { return t.RotateAxis90(o); };
  c.protocol = [](DocumentHandle d, Calls calls) { return ProtocolRotateX(d, calls); };
  c.array = [](ArrayScene s) { return ArrayRotateX(s); };
  cases.push_back(c);

  c = {};
  c.name = "code11_mirrorX_T";
  c.operation = tervolin::OpMirrorX;
  c.transform = true;
  c.plugin = [](Tervolin& t, DocumentHandle, cmq::CMQObject& o) { return t.MirrorAxis(o); };
  c.protocol = [](DocumentHandle d, Calls calls) { return ProtocolMirrorX(d, calls); };
  c.array = [](ArrayScene s) { return ArrayMirrorX(s); };
  cases.push_back(c);

  c = {};
  c.name = "code16_clear_T";
  c.operation = tervolin::OpClear;
  c.transform = true;
  c.plugin = [](Tervolin& t, DocumentHandle d, cmq::CMQObject& o) { return t.ClearAxis(d, o); };
  c.protocol = [](DocumentHandle d, Calls calls) { return ProtocolClear(d, calls); };
  c.array = [](ArrayScene s) { return ArrayClear(s); };
  cases.push_back(c);

  // The floors of the cases that come in pairs take the transform flag.
  for (Case& k : cases) {
    if (k.protocol) continue;
    const bool t = k.transform;
    switch (k.operation) {
      case tervolin::OpCenterOfVertices:
      case tervolin::OpCenterOfObject: {
        const bool selectedOnly = k.operation == tervolin::OpCenterOfVertices;
        k.protocol = [selectedOnly, t](DocumentHandle d, Calls calls) {
          return ProtocolCentre(d, selectedOnly, t, calls);
        };
        k.array = [selectedOnly, t](ArrayScene s) { return ArrayCentre(s, selectedOnly, t); };
        break;
      }
      case tervolin::OpLine:
        k.protocol = [t](DocumentHandle d, Calls calls) { return ProtocolLine(d, t, calls); };
        k.array = [t](ArrayScene s) { return ArrayLine(s, t); };
        break;
      case tervolin::OpFaceNormal:
        k.protocol = [t](DocumentHandle d, Calls calls) { return ProtocolFaceNormal(d, t, calls); };
        k.array = [t](ArrayScene s) { return ArrayFaceNormal(s, t); };
        break;
      case tervolin::OpOriginToVertex:
        k.protocol = [t](DocumentHandle d, Calls calls) { return ProtocolVertex(d, t, calls); };
        k.array = [t](ArrayScene s) { return ArrayVertex(s, t); };
        break;
      default: break;
    }
  }
  return cases;
}

}  // namespace

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = MakeCases();
  return cases;
}

void Configure(tervolin::Tervolin& plugin, const Case& c) {
  plugin.operation = c.operation;
  plugin.transformVertices = c.transform;
  plugin.setToX = 0;
  plugin.referenceObjectId = tervolin::kCurrentObjectReference;
  plugin.useGlobal = false;
}

}  // namespace bench
