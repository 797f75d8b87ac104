// The nine screen modes and their text grids.
#pragma once

struct ScreenMode {
  int mode, width, height, columns, rows;
};

// Returns nullptr for an unknown mode number.
const ScreenMode* findScreenMode(int mode);
