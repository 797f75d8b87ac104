#include "ui/field_labels.h"

#include "ui/menu_tables.h"

int fieldCodeOfLabel(int label) {
  if (label < 0 || label >= kLabelCount) return -1;
  const MenuLabel& l = menuLabels[label];
  return l.kind == kField ? l.arg : -1;
}
