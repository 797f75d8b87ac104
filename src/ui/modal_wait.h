// The key wait of the modal steps (prompt, help panel).
#pragma once

#include <string>

#include "core/platform/platform.h"

// Polls the key buffer until a key arrives and returns it, sleeping between polls and
// showing the screen at most about 30 times a second meanwhile.
std::string waitForKey(Platform& p);
