#include "bench/cases.hpp"

namespace bench {

namespace {

using tervolin::Options;

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
  c.plugin = [](const Options& t, DocumentHandle d, cmq::CMQObject& o) {
    return tervolin::SetOriginToCenter(d, o, t, true);
  };
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code2_all";
  c.operation = tervolin::OpCenterOfObject;
  c.plugin = [](const Options& t, DocumentHandle d, cmq::CMQObject& o) {
    return tervolin::SetOriginToCenter(d, o, t, false);
  };
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code3_line";
  c.selection = Selection::LastLine;
  c.operation = tervolin::OpLine;
  c.plugin = [](const Options& t, DocumentHandle d, cmq::CMQObject& o) {
    return tervolin::AlignAxisToLine(d, o, t);
  };
  AddWithAndWithoutTransform(cases, c);

  c.name = "code3_vertices";
  c.selection = Selection::LastTwoVertices;
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code4_face";
  c.selection = Selection::LastFace;
  c.perFace = true;
  c.operation = tervolin::OpFaceNormal;
  c.plugin = [](const Options& t, DocumentHandle d, cmq::CMQObject& o) {
    return tervolin::AlignAxisToFaceNormal(d, o, t);
  };
  AddWithAndWithoutTransform(cases, c);

  c.name = "code4_vertices";
  c.selection = Selection::LastThreeVertices;
  c.perFace = false;
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code5_vertex";
  c.selection = Selection::LastVertex;
  c.operation = tervolin::OpOriginToVertex;
  c.plugin = [](const Options& t, DocumentHandle d, cmq::CMQObject& o) {
    return tervolin::AlignAxisToVertex(d, o, t);
  };
  AddWithAndWithoutTransform(cases, c);

  c = {};
  c.name = "code8_rotateX_T";
  c.operation = tervolin::OpRotateX;
  c.transform = true;
  c.plugin = [](const Options& t, DocumentHandle, cmq::CMQObject& o) {
    return tervolin::RotateAxis90(o, tervolin::OpRotateX, t);
  };
  c.protocol = [](DocumentHandle d, Calls calls) { return ProtocolRotateX(d, calls); };
  c.array = [](ArrayScene s) { return ArrayRotateX(s); };
  cases.push_back(c);

  c = {};
  c.name = "code11_mirrorX_T";
  c.operation = tervolin::OpMirrorX;
  c.transform = true;
  c.plugin = [](const Options& t, DocumentHandle, cmq::CMQObject& o) {
    return tervolin::MirrorAxis(o, tervolin::OpMirrorX, t);
  };
  c.protocol = [](DocumentHandle d, Calls calls) { return ProtocolMirrorX(d, calls); };
  c.array = [](ArrayScene s) { return ArrayMirrorX(s); };
  cases.push_back(c);

  c = {};
  c.name = "code16_clear_T";
  c.operation = tervolin::OpClear;
  c.transform = true;
  c.plugin = [](const Options& t, DocumentHandle d, cmq::CMQObject& o) {
    return tervolin::ClearAxis(d, o, t);
  };
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

void Configure(tervolin::Options& options, const Case& c) {
  options.transformVertices = c.transform;
  options.axisToSet = tervolin::AxisToSet::Y;
  options.referenceObjectId = tervolin::kCurrentObjectReference;
  options.useGlobal = false;
}

}  // namespace bench
