// Runs the command of an action for the menu that invoked it.
#pragma once

#include "core/editor.h"
#include "core/pass_flow.h"
#include "ui/actions.h"

PassFlow runCommand(Editor& ed, Action action);
