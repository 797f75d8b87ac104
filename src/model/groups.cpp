#include "model/groups.h"

int stepPartGroup(int group, int side) {
  int g = group + side;
  if (g < 0) g = kPartGroups - 1;
  if (g >= kPartGroups) g = 0;
  return g;
}

EditResult reassignSelection(Model& m, int group) {
  const auto flags = static_cast<uint8_t>(kSelectedBit + group);
  for (int32_t t = 0; t < m.triangleCount; ++t)
    if ((m.triFlags[t] & kSelectedBit) != 0) m.triFlags[t] = flags;
  return {Request::Present, kMsgNone};
}

EditResult colourSelection(Model& m, int32_t red, int32_t green, int32_t blue) {
  if (m.triangleCount <= 0) return {Request::Present, kMsgNone};
  const uint16_t word = colorWord(red, green, blue);
  for (int32_t t = 0; t < m.triangleCount; ++t)
    if ((m.triFlags[t] & kSelectedBit) != 0) m.triColor[t] = word;
  return {Request::Render, kMsgNone};
}

EditResult renamePartGroup(Model& m, int group, std::string_view answer) {
  setPartName(m, group, answer.substr(0, kPartNameLength));
  return {Request::Present, kMsgNone};
}
