// Creation, vertex editing, the triangle tools, the benchmark and the cutting tools, as
// the dispatch hands them over by action code.
#include "model/create.h"
#include "model/cutting.h"
#include "model/vertex_edit.h"
#include "ui/commands.h"

namespace {

constexpr int kMenuDrill = 24;

// The command ends the pass after its request.
PassFlow ends(Editor& ed, EditResult result) {
  applyResult(ed.requests, result);
  return PassFlow::EndPass;
}

// The command lets the pass go on to the tool handling.
PassFlow continues(Editor& ed) {
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}

PassFlow create(Editor& ed) {
  const uint8_t flagByte = ed.menus.menuPartGroup[kMenuCreatePrimitive] & kGroupMask;
  return ends(ed,
              createShape(ed.model, ed.fields, ed.menus.invokingMenu, flagByte, ed.currentColor));
}

PassFlow drill(Editor& ed) {
  // Like every confirm, the drill needs triangles to work on.
  if (ed.model.triangleCount <= 0) return continues(ed);
  return ends(ed, drillModel(ed.model, ed.fields, ed.camera));
}

}  // namespace

PassFlow runBuildCommand(Editor& ed, int actionCode) {
  Model& m = ed.model;
  ToolState& tools = ed.tools;
  switch (actionCode) {
    case 12:  // ".... create ...."
      return create(ed);
    case 13:  // "Delete last vert"
      return ends(ed, deleteLastVertex(m));
    case 17:  // "....confirm....." of the "dRill" menu
      if (ed.menus.invokingMenu == kMenuDrill) return drill(ed);
      return continues(ed);
    case 18:  // " New"
      return ends(ed, clearModel(m));
    case 24:  // "delete last Tri"
      return ends(ed, deleteLastTriangle(m));
    case 25:  // "deLete last line"
      return ends(ed, deleteLastLine(m));
    case 26:  // "Delete vert"
      return ends(ed, deleteVertex(m, tools.pickSlots[2]));
    case 27:  // "Manual triangle"
      tools.pickSlots[2] = -1;
      tools.pickCount = 0;
      tools.tool = kToolManualTriangle;
      return continues(ed);
    case 28:  // "Auto triangle"
      tools.tool = kToolAutoTriangle;
      return continues(ed);
    case 29:  // "Slice xy plane"
      return ends(ed, sliceModel(m, ed.fields, kAxisZ));
    case 33:  // "Benchmark"
      tools.fpsStart = ed.platform.seconds();
      tools.fpsFrames = 0.0;
      tools.tool = kToolBenchmark;
      return ends(ed, {Request::Render, kMsgNone});
    case 35:  // "Move vert"
      return ends(ed, moveVertex(m, ed.fields, tools.pickSlots[2]));
    case 36:  // "sLice yz plane"
      return ends(ed, sliceModel(m, ed.fields, kAxisX));
    case 37:  // "slIce xz plane"
      return ends(ed, sliceModel(m, ed.fields, kAxisY));
    default:
      return continues(ed);
  }
}
