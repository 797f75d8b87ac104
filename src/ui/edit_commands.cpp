// The selection, transform, part-group and colour commands of the menus.
#include "model/groups.h"
#include "model/selection_ops.h"
#include "model/transforms.h"
#include "ui/commands.h"

namespace {

Vec3 pointOne(const Fields& f) {
  return Vec3{f.floatFields[kX1], f.floatFields[kY1], f.floatFields[kZ1]};
}

PassFlow confirm(Editor& ed) {
  Model& m = ed.model;
  const Fields& f = ed.fields;
  const auto& ff = f.floatFields;
  const bool absolute = flagOn(ed, kAbsoluteCoords);
  switch (ed.menus.invokingMenu) {
    case kMenuMove:
      return byResult(ed, moveSelection(m, ed.selection, pointOne(f), absolute, &ed.history));
    case kMenuDuplicate:
      return byResult(ed, duplicateSelection(m, ed.selection, pointOne(f), absolute));
    case kMenuRotate:
      return byResult(ed, rotateSelection(m, pointOne(f), ff[kXYAngle], ff[kXZAngle], ff[kYZAngle],
                                          &ed.history));
    case kMenuScale:
      return byResult(ed, scaleSelection(m, pointOne(f),
                                         Vec3{ff[kXScale], ff[kYScale], ff[kZScale]}, &ed.history));
    case kMenuDelete:
      return byResult(ed, deleteSelection(m, flagOn(ed, kRemoveVerts), &ed.history));
    case kMenuChangeColor: {
      const auto& dv = f.displayValues;
      return byResult(
          ed, colourSelection(m, dv[kFieldChangeRed], dv[kFieldChangeGreen], dv[kFieldChangeBlue]));
    }
    default:
      return continues(ed);
  }
}

}  // namespace

PassFlow runEditCommand(Editor& ed, Action action) {
  Model& m = ed.model;
  MenuState& ms = ed.menus;
  switch (action) {
    case Action::SelectEntireModel:
      return ends(ed, selectAll(m));
    case Action::ClearSelection:
      return ends(ed, clearSelection(m));
    case Action::FlipX:
      return ends(ed, flipSelection(m, ed.selection, Axis::X, &ed.history));
    case Action::Confirm:
      return confirm(ed);
    case Action::StepPartGroup: {
      // The keyboard reuses the side of the last click; before any click it is 0.
      if (ms.invokingMenu > kMenuCount) return continues(ed);
      uint8_t& group = ms.menuPartGroup[ms.invokingMenu];
      group = static_cast<uint8_t>(stepPartGroup(group, ms.hitSide));
      return continues(ed);
    }
    case Action::ReassignTo:
      return continues(ed, reassignSelection(m, ms.menuPartGroup[kMenuActions]));
    case Action::SelectionCenter:
      return continues(ed, selectionCenterToFields(ed.selection, ed.fields));
    case Action::FlipY:
      return ends(ed, flipSelection(m, ed.selection, Axis::Y, &ed.history));
    case Action::FlipZ:
      return ends(ed, flipSelection(m, ed.selection, Axis::Z, &ed.history));
    case Action::ReverseFaces:
      return ends(ed, reverseFaces(m));
    default:
      return continues(ed);
  }
}
