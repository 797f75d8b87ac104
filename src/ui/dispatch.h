// Runs the command of an action code (0..38) for the menu that invoked it.
#pragma once

#include "core/editor.h"
#include "core/pass_flow.h"

PassFlow runCommand(Editor& ed, int actionCode);
