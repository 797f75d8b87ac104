// The selection, transform, part-group and colour commands of the menus.
#include "model/groups.h"
#include "model/selection_ops.h"
#include "model/transforms.h"
#include "ui/commands.h"

namespace {

enum EditMenu : int {
  kMenuMove = 11,
  kMenuDuplicate = 12,
  kMenuRotate = 13,
  kMenuScale = 14,
  kMenuDelete = 21,
  kMenuActions = 22,
  kMenuChangeColor = 27,
};

// "continues": the interface is redrawn and the tools still see this pass.
PassFlow continues(Editor& ed, EditResult r) {
  applyResult(ed.requests, r);
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}

// "ends": the request is raised and the pass ends.
PassFlow ends(Editor& ed, EditResult r) {
  applyResult(ed.requests, r);
  return PassFlow::EndPass;
}

// A confirm ends the pass when it changed something, and continues when it only redraws.
PassFlow byResult(Editor& ed, EditResult r) {
  if (r.request == Request::Render || r.request == Request::Normals) return ends(ed, r);
  return continues(ed, r);
}

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
      return byResult(ed, moveSelection(m, ed.selection, pointOne(f), absolute));
    case kMenuDuplicate:
      return byResult(ed, duplicateSelection(m, ed.selection, pointOne(f), absolute));
    case kMenuRotate:
      return byResult(ed,
                      rotateSelection(m, pointOne(f), ff[kXYAngle], ff[kXZAngle], ff[kYZAngle]));
    case kMenuScale:
      return byResult(ed,
                      scaleSelection(m, pointOne(f), Vec3{ff[kXScale], ff[kYScale], ff[kZScale]}));
    case kMenuDelete:
      return byResult(ed, deleteSelection(m, flagOn(ed, kRemoveVerts)));
    case kMenuChangeColor: {
      const auto& dv = f.displayValues;
      return byResult(
          ed, colourSelection(m, dv[kFieldChangeRed], dv[kFieldChangeGreen], dv[kFieldChangeBlue]));
    }
    default:
      return continues(ed, {});
  }
}

}  // namespace

PassFlow runEditCommand(Editor& ed, int actionCode) {
  Model& m = ed.model;
  MenuState& ms = ed.menus;
  switch (actionCode) {
    case 14:
      return ends(ed, selectAll(m));
    case 15:
      return ends(ed, clearSelection(m));
    case 16:
      return ends(ed, flipSelection(m, ed.selection, Axis::X));
    case 17:
      return confirm(ed);
    case 19: {
      // The keyboard reuses the side of the last click; before any click it is 0.
      if (ms.invokingMenu > kMenuCount) return continues(ed, {});
      uint8_t& group = ms.menuPartGroup[ms.invokingMenu];
      group = static_cast<uint8_t>(stepPartGroup(group, ms.hitSide));
      return continues(ed, {});
    }
    case 20:
      return continues(ed, reassignSelection(m, ms.menuPartGroup[kMenuActions]));
    case 21:
      return continues(ed, selectionCenterToFields(ed.selection, ed.fields));
    case 22:
      return ends(ed, flipSelection(m, ed.selection, Axis::Y));
    case 23:
      return ends(ed, flipSelection(m, ed.selection, Axis::Z));
    case 34:
      return ends(ed, reverseFaces(m));
    default:
      return continues(ed, {});
  }
}
