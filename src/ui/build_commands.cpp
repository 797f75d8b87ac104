// Creation, vertex editing, the triangle tools, the benchmark and the cutting tools, as
// the dispatch hands them over.
#include <optional>

#include "model/vertex_edit.h"
#include "ui/commands.h"
#include "ui/field_values.h"

namespace {

// The shape a create menu appends.
std::optional<Shape> shapeOfMenu(int menu) {
  switch (menu) {
    case kMenuNewVertex:
      return Shape::Vertex;
    case kMenuNewLine:
      return Shape::Line;
    case kMenuNewTriangle:
      return Shape::Triangle;
    case kMenuNewQuad:
      return Shape::Quad;
    case kMenuNewCube:
      return Shape::Cube;
    case kMenuNewDisc:
      return Shape::Disc;
    case kMenuNewCylinder:
      return Shape::Cylinder;
    case kMenuNewCone:
      return Shape::Cone;
    default:
      return std::nullopt;
  }
}

PassFlow create(Editor& ed) {
  const std::optional<Shape> shape = shapeOfMenu(ed.menus.invokingMenu);
  if (!shape) return ends(ed, {});
  const uint8_t flagByte = ed.menus.menuPartGroup[kMenuCreatePrimitive] & kGroupMask;
  return ends(ed,
              createShape(ed.model, *shape, shapeSizesOf(ed.fields), flagByte, ed.currentColor));
}

PassFlow drill(Editor& ed) {
  // Like every confirm, the drill needs triangles to work on.
  if (ed.model.triangleCount <= 0) return continues(ed);
  return ends(ed, drillModel(ed.model, drillCircleOf(ed.fields, ed.camera)));
}

}  // namespace

PassFlow runBuildCommand(Editor& ed, Action action) {
  Model& m = ed.model;
  ToolState& tools = ed.tools;
  switch (action) {
    case Action::Create:
      return create(ed);
    case Action::DeleteLastVertex:
      return ends(ed, deleteLastVertex(m));
    case Action::Confirm:
      if (ed.menus.invokingMenu == kMenuDrill) return drill(ed);
      return continues(ed);
    case Action::New:
      return ends(ed, clearModel(m));
    case Action::DeleteLastTriangle:
      return ends(ed, deleteLastTriangle(m));
    case Action::DeleteLastLine:
      return ends(ed, deleteLastLine(m));
    case Action::DeleteVertex:
      return ends(ed, deleteVertex(m, tools.pickSlots[2]));
    case Action::ManualTriangle:
      tools.pickSlots[2] = -1;
      tools.pickCount = 0;
      tools.tool = kToolManualTriangle;
      return continues(ed);
    case Action::AutoTriangle:
      tools.tool = kToolAutoTriangle;
      return continues(ed);
    case Action::SliceXY:
      return ends(ed, sliceModel(m, kAxisZ, slicePlaneOf(ed.fields, kAxisZ), &ed.history));
    case Action::Benchmark:
      tools.fpsStart = ed.platform.seconds();
      tools.fpsFrames = 0.0;
      tools.tool = kToolBenchmark;
      return ends(ed, {Request::Render, kMsgNone});
    case Action::MoveVertex:
      return ends(ed, moveVertex(m, fieldPoint(ed.fields, 1), tools.pickSlots[2]));
    case Action::SliceYZ:
      return ends(ed, sliceModel(m, kAxisX, slicePlaneOf(ed.fields, kAxisX), &ed.history));
    case Action::SliceXZ:
      return ends(ed, sliceModel(m, kAxisY, slicePlaneOf(ed.fields, kAxisY), &ed.history));
    default:
      return continues(ed);
  }
}
