// SIGTERM and SIGHUP end the editor like its close request: the handler only raises a flag,
// and the loop (and the window's event pump, so that a prompt ends too) reads it.
#pragma once

void installExitSignals();
bool exitSignalPending();
// For tests: forget a signal that was seen.
void clearExitSignal();
