// What the modal steps (prompt, help panel) share: the key wait and the panel frame.
#pragma once

#include <cstdint>
#include <string>

#include "core/platform/platform.h"

// Polls the key buffer until a key arrives and returns it, sleeping between polls and
// showing the screen at most about 30 times a second meanwhile.
std::string waitForKey(Platform& p);

// The frame of a modal panel: blank rows `topRow` and `bottomRow` over columns 6..33 and one
// blank cell at columns 6 and 33 of every row between, in the given colours.
void drawPanelFrame(Platform& p, uint32_t foreground, uint32_t background, int topRow,
                    int bottomRow);
