// Which menu labels are numeric fields, and the field code each one edits.
#pragma once

// Field code (0..49 displayValues, 50..83 floatFields) of a label of kind field, or -1 for
// every other label.
int fieldCodeOfLabel(int label);
