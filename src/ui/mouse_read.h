// The mouse read of every pass.
#pragma once

#include "core/editor.h"

// Moves this pass's mouse state to the previous one and reads the platform's report into
// input: position (screen and frame pixels), buttons and their press edges, wheel notches.
void readMouse(Editor& ed);
