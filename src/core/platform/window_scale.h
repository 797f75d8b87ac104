// How large the window opens: a whole multiple of the screen mode's size.
#pragma once

// The largest multiple `--scale` accepts.
constexpr int kMostWindowScale = 8;

// The multiple to open the window at: `requested` when it is 1 or more (the --scale option);
// otherwise 2 when the desktop is at least twice the mode's size in both directions (a
// high-density display would show the mode's size tiny), else 1. A desktop size of 0 is
// unknown and gives 1.
int windowScaleFor(int requested, int modeWidth, int modeHeight, int desktopWidth,
                   int desktopHeight);
