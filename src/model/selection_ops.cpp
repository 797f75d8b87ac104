#include "model/selection_ops.h"

EditResult selectAll(Model& m) {
  for (int32_t t = 0; t < m.triangleCount; ++t) m.triFlags[t] |= kSelectedBit;
  return {Request::Render, kMsgNone};
}

EditResult clearSelection(Model& m) {
  for (int32_t t = 0; t < m.triangleCount; ++t)
    m.triFlags[t] = static_cast<uint8_t>(m.triFlags[t] & kGroupMask);
  return {Request::Render, kMsgNone};
}

EditResult selectGroup(Model& m, int group, bool unselect) {
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    uint8_t& flags = m.triFlags[t];
    if ((flags & kGroupMask) != group) continue;
    flags = unselect ? static_cast<uint8_t>(flags & kGroupMask)
                     : static_cast<uint8_t>(flags | kSelectedBit);
  }
  return {Request::Render, kMsgNone};
}

EditResult selectionCenterToFields(const Selection& s, Fields& f) {
  f.floatFields[kX1] = s.selectionCenter.x;
  f.floatFields[kY1] = s.selectionCenter.y;
  f.floatFields[kZ1] = s.selectionCenter.z;
  return {Request::Present, kMsgNone};
}
