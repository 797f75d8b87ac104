// Commands that set or clear the selection bit, and the selection centre read-back.
#pragma once

#include "model/edit_result.h"
#include "model/fields.h"
#include "model/model.h"

// "sl. eNtire model": selects every triangle.
EditResult selectAll(Model& m);
// "cLear selection": unselects every triangle.
EditResult clearSelection(Model& m);
// A row of "By part group": selects (or with `unselect` clears) every triangle of `group`;
// triangles of other groups keep their bit.
EditResult selectGroup(Model& m, int group, bool unselect);
// "selection center": copies the centre of the selection's box into X1, Y1, Z1.
EditResult selectionCenterToFields(const Selection& s, Fields& f);
